"""The eleven figures of the practice paper.

Each function returns an RGB image of the figure's exact size.  The
numbers drawn here are the data of the questions that use the figures
(tools/paper/paper.html); keep the two in step.
"""
import math

import measured
import panels
from draw import Canvas

CIRCLED = "①②③④⑤⑥⑦⑧"


def described(text):
    """Attach the figure's description in words: what a screen reader
    says for the picture, complete enough to answer its questions."""
    def attach(make):
        make.description = text
        return make
    return attach


@described(
    "がけの上のなめらかな台から水平に飛び出した小球の、軌跡の候補を横から見た図。"
    "縦と横は同じ縮尺で描いてある。"
    "高さ19.6メートルのがけの上に、なめらかな曲面の台があり、その面は、がけの上から高さ5.1メートルの点から下って、がけの端で水平になっている。"
    "小球は、台の上の端に置いてあり、がけの端から水平右向きに飛び出す。飛び出す速さは書いていない。"
    "地面には、飛び出した点の真下をゼロとして、10メートルごとに、0、10、20、30、40メートルの目盛りがある。"
    "軌跡①、②、⑤は、軌跡の番号を、その軌跡が地面に達する点の下に書いてある。"
    "軌跡①は、はじめ水平で、しだいに急になって落ちる放物線で、10メートルの点に達する。"
    "軌跡②は、はじめ水平で、しだいに急になって落ちる放物線で、10メートルと20メートルの目盛りの間の、中ほどより少し10メートル寄りの点に達する。"
    "軌跡③は、はじめ水平で、しだいに急になって落ちる放物線で、20メートルの点に達する。"
    "軌跡③の番号は、その放物線の右側の、高さのほぼ半分のところに書いてあり、短い線で放物線とつないである。"
    "軌跡④は、飛び出した点から斜め下へまっすぐ進む直線で、軌跡③と同じ20メートルの点に達する。"
    "軌跡④の番号は、軌跡②と直線の間の、地面のすぐ上に書いてあり、短い線で直線とつないである。"
    "軌跡⑤は、はじめ水平で、しだいに急になって落ちる放物線で、40メートルの点に達する。"
    "図の下に、目盛りは飛び出した点の真下からの水平距離、と書いてある。")
def figure01():
    """A ball thrown horizontally from a cliff, drawn to one scale in both
    directions; five candidate paths, their numbers printed under the
    points where they reach the ground."""
    c = Canvas(430, 304)
    k = 7.5                          # pixels per metre, both ways
    lx, top = 92.0, 72.0             # launch point
    drop = 19.6 * k
    ground = top + drop
    X = lambda m: lx + m * k
    c.ground(8, 424, ground)
    c.polygon([(lx - 40, ground), (lx - 40, top), (lx, top), (lx, ground)], fill=235, outline=0)
    c.hatch(lx - 40, top, lx, ground, step=9, width=0.8)
    c.rect(lx - 40, top, lx, ground, outline=0)
    # height of the cliff
    c.arrow((lx - 54, top + 1), (lx - 54, ground - 1), width=1.0, head=6, both=True)
    c.segment((lx - 60, top), (lx - 40, top), 0.8)
    c.text(lx - 54, (top + ground) / 2, "19.6 m", 14, box=True)
    # the smooth ramp on the cliff top, level at the edge; the ball starts
    # at its top, 5.1 m above the cliff (the speed it leaves with is not given)
    rise = 5.1 * k
    ramp = [(lx - 40 + 40 * u / 40, top - rise * (1 - u / 40) ** 2) for u in range(41)]
    c.polygon([(lx - 40, top)] + ramp, fill=210, outline=0, width=1.2)
    c.arrow((lx - 54, top - rise + 1), (lx - 54, top - 1), width=1.0, head=5, both=True)
    c.segment((lx - 60, top - rise), (lx - 40, top - rise), 0.8)
    c.text(lx - 62, top - rise - 13, "5.1 m", 14)
    c.circle(lx - 36, top - rise - 6, 6, fill=0)

    def path(fn, metres, steps=160):
        return [(X(metres * i / steps), top + fn(i / steps) * drop) for i in range(steps + 1)]

    ends = {1: 10.0, 2: 10.0 * math.sqrt(2), 3: 20.0, 4: 20.0, 5: 40.0}
    # 1, 2, 3, 5: parabolas that start horizontally, so that only the
    # distance tells them apart; 3 is the true one
    for n in (1, 2, 3, 5):
        c.line(path(lambda u: u * u, ends[n]), 1.6)
    # 4: straight from the launch point to where 3 lands, numbered in the
    # corner between it, the ground and the end of 2
    c.line([(lx, top), (X(ends[4]), ground)], 1.6)
    # the scale of distances along the ground
    for m in range(0, 41, 10):
        c.segment((X(m), ground), (X(m), ground + 6), 1.2)
        c.text(X(m), ground + 15, f"{m}", 14)
    c.text(X(40) + 18, ground + 15, "m", 14)
    for n, m in ends.items():
        if n == 4:
            # low between 2 and the line, joined to the line clear of 3
            c.segment((X(15.3) + 7, ground - 17), (X(17.4), top + 0.87 * drop), 1.0)
            c.text(X(15.3), ground - 12, CIRCLED[n - 1], 15)
            continue
        if n == 3:
            # beside its own parabola, clear of the end it shares with 4
            c.segment((X(ends[3] * 0.74) + 2, top + 0.74 ** 2 * drop), (X(19.6) - 10, top + 0.50 * drop), 1.0)
            c.segment((X(m), ground - 5), (X(m), ground), 1.6)
            c.text(X(19.6), top + 0.50 * drop, CIRCLED[n - 1], 15, box=True)
            continue
        c.segment((X(m), ground - 5), (X(m), ground), 1.6)
        c.text(X(m), ground + 38, CIRCLED[n - 1], 15, box=True)
    c.text(215, 293, "（目盛りは飛び出した点の真下からの水平距離）", 14)
    return c.finish()


@described(
    "一定量の気体の圧力 p を縦軸に、体積 V を横軸にとったグラフが四つあり、①から④の番号が付いている。"
    "四つのグラフは、どれも同じ目盛りで描いてあり、横軸にも縦軸にも、相対値で1から4までの目盛りと、点線の格子がある。"
    "原点には O と書いてある。"
    "どのグラフにも線が2本あり、それぞれに127セルシウス度か527セルシウス度の温度が書いてある。"
    "グラフ①は、右下がりで、軸に近づいていく曲線が2本。"
    "原点に近い方の曲線には127セルシウス度と書いてあり、V が1のとき p が1、V が2のとき p が0.5、V が4のとき p が0.25の点を通る。"
    "原点から遠い方の曲線には527セルシウス度と書いてあり、V が1のとき p が2、V が2のとき p が1、V が4のとき p が0.5の点を通る。"
    "グラフ②は、グラフ①と同じ2本の曲線で、温度の書き方が逆。"
    "原点に近い方の曲線に527セルシウス度、遠い方の曲線に127セルシウス度と書いてある。"
    "グラフ③は、右下がりで、軸に近づいていく曲線が2本。"
    "原点に近い方の曲線には127セルシウス度と書いてあり、グラフ①の127セルシウス度の曲線と同じ点を通る。"
    "原点から遠い方の曲線には527セルシウス度と書いてあり、V が1のとき p が4、V が2のとき p が2、V が4のとき p が1の点を通る。"
    "グラフ④は、原点を通る右上がりの直線が2本。"
    "127セルシウス度と書いた直線は、V が2のとき p が1、V が4のとき p が2の点を通る。"
    "527セルシウス度と書いた直線は、V が2のとき p が2、V が4のとき p が4の点を通る。"
    "図の下に、縦軸は圧力 p、横軸は体積 V で、目盛りはどちらも相対値、と書いてある。")
def figure02():
    """Four p-V graphs of the isotherms at 127 and 527 degrees Celsius on
    one grid; only graph 1 is right (hyperbolas, the hotter one at twice
    the pressure)."""
    c = Canvas(412, 357)

    def panel(ox, oy, number, curves):
        x0, y0 = ox + 34, oy + 150           # origin
        sx, sy = 33.0, 29.0                  # pixels per grid unit
        top = 4.4
        for i in range(1, 5):
            c.dashed((x0 + i * sx, y0), (x0 + i * sx, y0 - top * sy), 0.8, 2, 2, fill=150)
            c.dashed((x0, y0 - i * sy), (x0 + top * sx, y0 - i * sy), 0.8, 2, 2, fill=150)
            c.text(x0 + i * sx, y0 + 10, str(i), 14)
            c.text(x0 - 9, y0 - i * sy, str(i), 14)
        c.arrow((x0, y0), (x0 + top * sx + 12, y0), 1.3, 7)
        c.arrow((x0, y0), (x0, y0 - top * sy - 10), 1.3, 7)
        c.text(x0 + top * sx + 10, y0 + 11, "V", 14)
        c.text(x0 - 13, y0 - top * sy - 4, "p", 14)
        c.text(x0 - 9, y0 + 10, "O", 14)
        for fn, label, where in curves:
            pts = []
            for i in range(401):
                u = top * max(i, 1) / 400
                v = fn(u)
                if 0 <= v <= top and u > 0:
                    pts.append((x0 + u * sx, y0 - v * sy))
            c.line(pts, 1.6)
            (lu, lv), anchor = where
            c.text(x0 + lu * sx, y0 - lv * sy, label, 14, anchor=anchor, box=True)
        c.text(ox + 188, oy + 14, number, 16)

    inner, outer = "127℃", "527℃"
    low = ((0.55, 0.55), "mm")               # below-left of the inner curve
    high = ((2.2, 1.6), "mm")                # above-right of the outer curve
    panel(0, 0, "①", [(lambda u: 1 / u, inner, low), (lambda u: 2 / u, outer, high)])
    panel(206, 0, "②", [(lambda u: 1 / u, outer, low), (lambda u: 2 / u, inner, high)])
    panel(0, 172, "③", [(lambda u: 1 / u, inner, low), (lambda u: 4 / u, outer, ((3.3, 2.0), "mm"))])
    panel(206, 172, "④", [(lambda u: 0.5 * u, inner, ((3.6, 1.0), "mm")),
                          (lambda u: u, outer, ((2.6, 3.4), "mm"))])
    c.text(206, 349, "縦軸は圧力 p、横軸は体積 V（目盛りはどちらも相対値）", 14)
    return c.finish()


@described(
    "凹レンズによる像の位置を考える図。"
    "左右に水平な光軸があり、5センチメートルごとに目盛りがある。"
    "右寄りに凹レンズがある。"
    "焦点の位置は描いてなく、光線も描いてない。"
    "破線の矢印が二つある。"
    "レンズの左15センチメートルに、光軸に垂直に立つ、はじめの物体。"
    "レンズの左6センチメートルに、はじめの物体より低い、はじめの像。"
    "実線の矢印の、移した後の物体が、レンズの左30センチメートルに立っている。"
    "寸法線で、移した後の物体からレンズまでが30センチメートル、はじめの物体からレンズまでが15センチメートル、はじめの像からレンズまでが6センチメートル。"
    "光軸の下の三角印と番号が、像の位置の候補。"
    "位置①は、レンズの左15センチメートルの目盛りの下で、はじめの物体の真下。"
    "位置②は、レンズの左10センチメートルと15センチメートルの目盛りの間で、中ほどより10センチメートルの目盛りに近い。"
    "位置③は、レンズの左5センチメートルと10センチメートルの目盛りの、ちょうど中ほど。"
    "位置④は、レンズの右5センチメートルと10センチメートルの目盛りの、ちょうど中ほど。"
    "位置⑤は、レンズの右15センチメートルの目盛りの下。"
    "図の下に、光軸の目盛りは5センチメートルごと、破線は、はじめの物体と像、実線は移した後の物体、と書いてある。")
def figure03():
    """Concave lens whose focal points the candidate is not told: the
    first object (15 cm left) and its virtual image (6 cm left) dashed,
    the moved object (30 cm left) solid; five candidate image positions
    under the axis, which carries a tick every 5 cm.  No rays are drawn,
    so the answer cannot be measured off the drawing."""
    c = Canvas(508, 355)
    k = 9.0                                  # pixels per cm
    lens_x, axis_y = 346.0, 176.0
    X = lambda cm: lens_x + cm * k           # cm measured to the right of the lens
    c.segment((8, axis_y), (500, axis_y), 1.0)
    for cm in range(-35, 20, 5):
        c.segment((X(cm), axis_y - 4), (X(cm), axis_y + 4), 0.9)
    c.text(24, axis_y - 13, "光軸", 14)
    # lens: thin in the middle, thick at the rim
    top, bot = axis_y - 110, axis_y + 110
    left, right = [], []
    for i in range(41):
        y = top + (bot - top) * i / 40
        t = (y - axis_y) / 110
        bulge = 3 + 9 * t * t
        left.append((lens_x - bulge, y))
        right.append((lens_x + bulge, y))
    c.polygon(left + right[::-1], fill=225, outline=0, width=1.4)
    c.text(lens_x, top - 14, "凹レンズ", 14)
    # the first object and its image, dashed
    h = 7.5 * k                              # object 7.5 cm tall
    first, image = X(-15), X(-6)
    c.dashed((first, axis_y), (first, axis_y - h + 8), 1.6, 5, 3)
    c._head((first, axis_y - h), (0, -1), 9, 0)
    c.text(first, axis_y - h - 29, "はじめの", 14)
    c.text(first, axis_y - h - 13, "物体", 14)
    c.dashed((image, axis_y), (image, axis_y - h * 0.4 + 6), 1.6, 4, 3)
    c._head((image, axis_y - h * 0.4), (0, -1), 7, 0)
    c.text(image + 4, axis_y - h * 0.4 - 29, "はじめの", 14)
    c.text(image + 4, axis_y - h * 0.4 - 13, "像", 14)
    # the moved object, solid
    moved = X(-30)
    c.arrow((moved, axis_y), (moved, axis_y - h), 2.4, 11)
    c.text(moved, axis_y - h - 29, "移した後の", 14)
    c.text(moved, axis_y - h - 13, "物体", 14)
    # candidate positions under the axis: every number on one row, each
    # joined to its mark by a leader, the two close ones spread apart alike,
    # so that no number stands out from the others
    y = axis_y + 36
    for n, (cm, shift) in enumerate(((-15, -4), (-12, 0), (-7.5, 4), (7.5, 0), (15, 0)), 1):
        x = X(cm)
        c.polygon([(x, axis_y + 6), (x - 4, axis_y + 13), (x + 4, axis_y + 13)], fill=0, outline=0, width=0.8)
        c.segment((x, axis_y + 14), (x + shift, y - 10), 0.7)
        c.text(x + shift, y, CIRCLED[n - 1], 15, box=True)
    # dimensions below: the first object and image, and the moved object
    for y, cm, label in ((300, -30, "30 cm"), (272, -15, "15 cm"), (244, -6, "6 cm")):
        c.segment((X(cm), axis_y + 64 if cm != -15 else axis_y + 48), (X(cm), y + 6), 0.7)
        c.arrow((X(cm) + 1, y), (lens_x - 1, y), 1.0, 6, both=True)
        c.text((X(cm) + lens_x) / 2, y - 10, label, 14, box=True)
    c.segment((lens_x, bot + 4), (lens_x, 306), 0.7)
    c.text(14, 336, "光軸の目盛りは 5 cm ごと。破線ははじめの物体と像、実線は移した後の物体。", 14, anchor="lm")
    return c.finish()


@described(
    "正の点電荷を左に、負の点電荷を右に置き、そのまわりの等電位線を10ボルトごとに描いた図。"
    "正の電荷を囲む閉じた線が、内側からプラス20ボルトとプラス10ボルト。"
    "負の電荷を囲む閉じた線が、内側からマイナス20ボルトとマイナス10ボルト。"
    "どの閉じた線も、真ん中の側がやや平たい卵形で、外側の線ほど大きく、真ん中に近づく。"
    "二つの電荷のちょうど真ん中を、上下にまっすぐ通る線が0ボルト。"
    "点 A から点 D までを順に結ぶ、矢印の付いた折れ線の経路がある。"
    "A は、上の方の0ボルトの線の上。"
    "B は、プラス10ボルトの線の上で、正の電荷の右上。"
    "C は、プラス20ボルトの線の上で、正の電荷の真右。"
    "D は、マイナス20ボルトの線の上で、負の電荷の真左。"
    "C から D へは水平にまっすぐ進む。"
    "図の下に、数値は各線の電位、と書いてある。")
def figure04():
    """Equipotentials (10 V apart) of a positive and a negative point
    charge; the path A, B, C, D along which the particle is moved."""
    c = Canvas(456, 346)
    cy = 148.0
    qp, qn = (148.0, cy), (308.0, cy)
    K = 2200.0                       # large enough that the lines bend as a pair's do

    def V(x, y):
        return K / max(math.hypot(x - qp[0], y - qp[1]), 1e-6) - K / max(math.hypot(x - qn[0], y - qn[1]), 1e-6)

    def on_level(level, angle_deg):
        """Point at potential `level` on the ray from the charge of its sign."""
        cx0, cy0 = qp if level > 0 else qn
        sign = 1 if level > 0 else -1
        ux, uy = math.cos(math.radians(angle_deg)), -math.sin(math.radians(angle_deg))
        lo, hi = 0.5, 2000.0             # potential falls (in magnitude) along the ray
        for _ in range(60):
            mid = (lo + hi) / 2
            if sign * V(cx0 + ux * mid, cy0 + uy * mid) > abs(level):
                lo = mid
            else:
                hi = mid
        return cx0 + ux * lo, cy0 + uy * lo

    for level in (10, 20, -10, -20):
        pts = [on_level(level, a) for a in range(0, 361, 2)]
        c.line(pts, 1.3)
    mid_x = (qp[0] + qn[0]) / 2
    c.segment((mid_x, 6), (mid_x, 290), 1.3)
    # values of the lines
    for level, angle in ((10, 135), (20, 125), (-10, 45), (-20, 55)):
        x, y = on_level(level, angle)
        c.text(x, y, f"{level:+d} V".replace("-", "−"), 14, box=True)
    c.text(mid_x + 10, 16, "0 V", 14, anchor="lm", box=True)
    # charges
    for (x, y), sign in ((qp, "+"), (qn, "−")):
        c.circle(x, y, 10, fill=255, outline=0, width=1.5)
        c.text(x, y, sign, 15)
    # the path
    pts = {
        "A": (mid_x, 30.0),
        "B": on_level(10, 45),
        "C": on_level(20, 0),
        "D": on_level(-20, 180),
    }
    names = "ABCD"
    for a, b in zip(names, names[1:]):
        (x0, y0), (x1, y1) = pts[a], pts[b]
        c.segment((x0, y0), (x1, y1), 1.8)
        m = 0.62 if a != "C" else 0.3
        c.arrow((x0, y0), (x0 + (x1 - x0) * m, y0 + (y1 - y0) * m), 1.8, 9)
    offsets = {"A": (-14, -4), "B": (10, -10), "C": (-4, 15), "D": (4, 15)}
    for n in names:
        x, y = pts[n]
        c.circle(x, y, 3.5, fill=0)
        dx, dy = offsets[n]
        c.text(x + dx, y + dy, n, 14, box=True)
    c.segment((8, 304), (448, 304), 0.8)
    c.text(228, 326, "数値は各線の電位", 14)
    return c.finish()


def _person(c, x, ground, hand, lean=8.0):
    """A simple standing figure, feet at x on the ground, reaching with
    both arms (drawn as one) towards the point `hand`."""
    hip = (x, ground - 36)
    neck = (x + lean, ground - 68)
    c.line([(x - 11, ground), hip, (x + 10, ground)], 2.2)
    c.line([hip, neck], 2.2)
    c.circle(neck[0] + lean * 0.3, neck[1] - 10, 9, fill=255, outline=0, width=1.6)
    shoulder = (neck[0], neck[1] + 5)
    elbow = ((shoulder[0] + hand[0]) / 2 - 2, (shoulder[1] + hand[1]) / 2 + 7)
    c.line([shoulder, elbow, hand], 2.0)


@described(
    "氷の上の人とボールの、二つの場面を上下に並べた図。"
    "上の場面には、押す前、静止、と書いてある。"
    "人が立ち、右にある質量 m のボールに両手を当てている。人の頭の上に、人の質量 k m が書いてある。"
    "下の場面には、押した後、と書いてある。"
    "ボールは右向きの矢印に v と書いてあり、人には左向きの矢印があって、速さは書いてない。"
    "どちらの場面も、床は氷。")
def figure05():
    """Upper scene: person and ball m at rest on ice, hands on the ball;
    lower scene: after the push, the ball moving right at v, the person
    left at a speed not given."""
    c = Canvas(404, 314)
    r = 18.0
    for row, caption in enumerate(("押す前（静止）", "押した後")):
        top = row * 152
        ground = top + 128
        c.rect(4, top + 4, 392, top + 148, outline=150, width=1.0)
        c.text(14, top + 20, caption, 14, anchor="lm")
        c.ground(14, 382, ground, depth=6)
        c.text(366, ground + 12, "氷", 14)
        if row == 0:
            px, bx = 170.0, 232.0
            _person(c, px, ground, (bx - r + 1, ground - r - 4), lean=10)
            c.text(px + 12, ground - 104, "km", 16)
        else:
            px, bx = 96.0, 300.0
            _person(c, px, ground, (px + 26, ground - 38), lean=-2)
            c.arrow((bx + r + 6, ground - r), (bx + r + 56, ground - r), 1.8, 10)
            c.text(bx + r + 31, ground - r - 16, "v", 16)
            c.arrow((px - 22, ground - 52), (px - 66, ground - 52), 1.8, 10)
        c.circle(bx, ground - r, r, fill=235, outline=0, width=1.6)
        c.text(bx, ground - 2 * r - 15, "m", 16)
    return c.finish()


def _box(c, x0, y0, x1, y1, lines, size=14):
    """A labelled box, as the sensors and the logger are drawn."""
    c.rect(x0, y0, x1, y1, fill=255, outline=0, width=1.4)
    for k, line in enumerate(lines):
        c.text((x0 + x1) / 2, (y0 + y1) / 2 + (k - (len(lines) - 1) / 2) * (size + 2), line, size)


@described(
    "コンデンサーを充電する回路と、測定の装置の図。"
    "左の回路は一つの輪で、左の辺に電池があり、E、6.0ボルトと書いてあって、上側がプラス極。"
    "上の辺に、左から、スイッチ S、抵抗 R、電流センサー。"
    "スイッチは開いている。"
    "右の辺にコンデンサー C がある。"
    "コンデンサーの上下の導線から右へ線が出て、電圧センサーにつながっている。"
    "電流センサーと電圧センサーから、それぞれ右端のデータロガーへ線がつながっている。"
    "抵抗の値と、コンデンサーの電気容量は書いてない。")
def figure06():
    """The charging circuit of 第2問 A: battery E, switch S, resistor R,
    current sensor and capacitor C in one loop, a voltage sensor across C,
    both sensors wired to a data logger."""
    c = Canvas(422, 142)
    L, R, T, B = 40.0, 244.0, 38.0, 122.0
    by = (T + B) / 2
    # battery on the left side, long plate up (+)
    c.segment((L, T), (L, by - 6), 1.6)
    c.segment((L, by + 6), (L, B), 1.6)
    c.segment((L - 14, by - 6), (L + 14, by - 6), 1.8)
    c.segment((L - 7, by + 6), (L + 7, by + 6), 4.5)
    c.text(L - 26, by - 10, "E", 15)
    c.text(L + 12, by + 22, "6.0 V", 14, anchor="lm")
    c.text(L + 20, by - 15, "+", 14)
    # switch, resistor and current sensor along the top
    s0, s1 = 56.0, 84.0
    c.segment((L, T), (s0, T), 1.6)
    c.circle(s0, T, 3, fill=255, outline=0, width=1.4)
    c.circle(s1, T, 3, fill=255, outline=0, width=1.4)
    c.segment((s0 + 2, T - 2), (s1 - 4, T - 17), 1.8)
    c.text((s0 + s1) / 2, T + 15, "S", 15)
    r0, r1 = 104.0, 144.0
    c.segment((s1 + 3, T), (r0, T), 1.6)
    zig = [(r0, T)]
    n = 8
    for i in range(n):
        zig.append((r0 + (r1 - r0) * (i + 0.5) / n, T + (-6 if i % 2 == 0 else 6)))
    zig.append((r1, T))
    c.line(zig, 1.6)
    c.text((r0 + r1) / 2, T + 17, "R", 15)
    a0, a1 = 164.0, 220.0
    c.segment((r1, T), (a0, T), 1.6)
    _box(c, a0, T - 17, a1, T + 17, ["電流", "センサー"])
    c.segment((a1, T), (R, T), 1.6)
    # capacitor on the right side, plates level
    c.segment((R, T), (R, by - 5), 1.6)
    c.segment((R, by + 5), (R, B), 1.6)
    c.segment((R - 16, by - 5), (R + 16, by - 5), 2.0)
    c.segment((R - 16, by + 5), (R + 16, by + 5), 2.0)
    c.text(R - 27, by, "C", 15)
    c.segment((R, B), (L, B), 1.6)
    # voltage sensor across C
    v0, v1 = 270.0, 326.0
    for y in (by - 26, by + 26):
        c.circle(R, y, 2.4, fill=0, outline=None)
        c.segment((R, y), (v0, y), 1.3)
    _box(c, v0, by - 34, v1, by + 34, ["電圧", "センサー"])
    # data logger, cabled to both sensors
    g0, g1 = 350.0, 414.0
    c.rect(g0, T - 4, g1, B, fill=235, outline=0, width=1.4)
    c.text((g0 + g1) / 2, by - 8, "データ", 14)
    c.text((g0 + g1) / 2, by + 8, "ロガー", 14)
    c.line([((a0 + a1) / 2, T - 17), ((a0 + a1) / 2, 10), (g0 + 22, 10), (g0 + 22, T - 4)], 1.0)
    c.segment((v1, by), (g0, by), 1.0)
    return c.finish()


def _reading(value):
    """A current as read off 図７'s grid: to a tenth of a mA, or nearly 0."""
    return "ほぼ0" if value < 0.05 else f"約{value:.1f}"


def _heights(curve):
    """The heights a curve of 図７ passes at 1, 2 and 4 s, in words."""
    return "時刻" + "、".join(f"{t}秒で{_reading(curve(t))}" for t in (1, 2, 4))


def _rc_words(panel):
    """What graph `panel` of 図７ shows: where its dashed curve starts, the
    heights it passes at 1, 2 and 4 s, and where it meets the solid curve;
    read off the grid as a sighted reader would, with no comparison drawn
    for the reader (how fast each falls is what 2A-問3 asks)."""
    factor, stretch, _mistake = panels.RC_PANELS[panel]
    start, scale = measured.charging_current()
    if (factor, stretch) == (1.0, 1.0):
        return "破線は実線とぴったり重なっていて、破線は見えない。グラフの中に、破線は実線と重なっている、と書いてある。"
    _solid, dashed = panels.rc_curves(panel)
    words = f"破線は、縦軸の{factor * start:.1f}から始まり、"
    words += _heights(dashed) + "の高さを通る。"
    if factor != 1.0 and stretch != 1.0:         # the two curves meet where their heights agree
        meet = math.log(factor) / (1 / (stretch * scale) - 1 / scale)
        if 0 < meet < panels.RC_AXES[0]:
            words += f"時刻約{meet:.1f}秒で実線と交わる。"
    return words


@described(
    "六つのグラフがあり、①から⑥の番号が付いている。"
    "どのグラフも、縦軸が電流 I で、単位はミリアンペア、0から6.0まで1.5ごとに目盛りがあり、"
    "横軸が時刻 t で、単位は秒、0から4まで1ごとに目盛りがある。"
    "どのグラフにも、実線と破線の曲線が1本ずつある。"
    "実線はどのグラフでも同じで、縦軸の約3.0から始まって右下がりに減り、"
    + _heights(panels.rc_curves(1)[0]) + "の高さを通る曲線。"
    + "".join(f"グラフ{CIRCLED[n - 1]}では、" + _rc_words(n) for n in panels.RC_PANELS)
    + "図の下に、どのグラフも、縦軸は電流 I、横軸は時刻 t、実線は表の測定で得た電流、"
    "破線は取りかえた後の電流の候補、と書いてある。")
def figure07():
    """Six graphs of the current against time: the measured charging
    current (solid, from the logger's readings) and a candidate for the
    current with R doubled (dashed), as panels.RC_PANELS has them."""
    c = Canvas(434, 305)
    t_max, i_max = panels.RC_AXES
    for n in panels.RC_PANELS:
        col, row = (n - 1) % 3, (n - 1) // 3
        ox, oy = 6 + col * 143, row * 136
        x0, y0 = ox + 38, oy + 106                 # origin
        sx, sy = 22.0, 13.5                        # pixels per second, per mA
        for k in range(1, 5):
            c.segment((x0 + k * sx, y0), (x0 + k * sx, y0 + 4), 1.0)
            c.text(x0 + k * sx, y0 + 13, str(k), 16)
        for k in range(1, 5):
            y = y0 - k * 1.5 * sy
            c.segment((x0 - 4, y), (x0, y), 1.0)
            c.segment((x0, y), (x0 + t_max * sx, y), 0.5, fill=190)
            c.text(x0 - 6, y, f"{k * 1.5:.1f}", 16, anchor="rm")
        c.arrow((x0, y0), (x0 + t_max * sx + 12, y0), 1.2, 6)
        c.arrow((x0, y0), (x0, y0 - i_max * sy - 12), 1.2, 6)
        c.text(x0 + t_max * sx + 11, y0 - 10, "t", 16)
        c.text(x0 + 10, y0 - i_max * sy - 10, "I", 16)
        c.text(x0 - 8, y0 + 12, "O", 16)
        c.text(ox + 126, oy + 14, CIRCLED[n - 1], 15)
        solid, dashed = panels.rc_curves(n)
        steps = 200
        c.line([(x0 + t_max * sx * k / steps, y0 - solid(t_max * k / steps) * sy) for k in range(steps + 1)], 1.6)
        pts = [(t_max * k / steps, dashed(t_max * k / steps)) for k in range(steps + 1)]
        pts = [(x0 + t * sx, y0 - min(i, i_max) * sy) for t, i in pts]
        c.dashed_curve(pts, 1.8, 5.0, 3.5)
        if panels.RC_PANELS[n][:2] == (1.0, 1.0):
            c.text(x0 + 50, oy + 32, "破線は実線と", 14)
            c.text(x0 + 50, oy + 47, "重なっている", 14)
    c.text(217, 283, "どのグラフも、縦軸は電流 I〔mA〕、横軸は時刻 t〔s〕", 14)
    c.text(217, 299, "実線は表の測定で得た電流、破線は取りかえた後の電流の候補", 14)
    return c.finish()


@described(
    "水平面上の2本の平行な導体レールを、真上から見た図。"
    "レールは左右に延びていて、間隔は L。"
    "2本のレールの左端は、抵抗値 R の抵抗でつながれている。"
    "レールの右の方に、質量 m の導体棒が、レールに垂直にのせてある。"
    "棒には右向きの矢印があり、F と書いてある。"
    "図の中には、紙面の裏から表へ向かう磁場を表す、中に点のある丸の記号が並んでいる。"
    "上に、真上から見た図、磁束密度 B、鉛直上向き、と書いてある。")
def figure08():
    """Rails seen from above for 第2問 B: a resistor R across their left
    ends, a rod of mass m across them pulled to the right by F, the field
    B pointing up towards the viewer."""
    c = Canvas(284, 298)
    x0, x1 = 40.0, 276.0                   # rails from the resistor to the right
    top, bottom = 112.0, 232.0
    c.segment((x0, top), (x1, top), 2.2)
    c.segment((x0, bottom), (x1, bottom), 2.2)
    y0, y1 = top + (bottom - top) * 0.25, top + (bottom - top) * 0.75
    zig = [(x0, top), (x0, y0)]
    n = 8
    for i in range(n):
        zig.append((x0 + (-7 if i % 2 == 0 else 7), y0 + (y1 - y0) * (i + 0.5) / n))
    c.line(zig + [(x0, y1), (x0, bottom)], 1.6)
    c.text(x0 + 14, (top + bottom) / 2, "R", 16, anchor="lm")
    rod = 178.0
    c.rect(rod - 4, top - 16, rod + 4, bottom + 16, fill=120, outline=0, width=1.2)
    c.text(rod - 16, bottom + 20, "m", 16)
    mid = (top + bottom) / 2
    c.arrow((rod + 8, mid), (rod + 56, mid), 2.0, 10)
    c.text(rod + 34, mid - 16, "F", 16, box=True)
    # spacing of the rails, at the right end
    c.segment((x1 - 14, top), (x1 - 14, top), 0.8)
    c.arrow((x1 - 14, top + 2), (x1 - 14, bottom - 2), 1.0, 6, both=True)
    c.text(x1 - 24, bottom - 22, "L", 16, anchor="rm", box=True)
    # field out of the page: dotted circles
    for fx in (80.0, 130.0, 226.0):
        for fy in (142.0, 202.0):
            c.circle(fx, fy, 6, fill=255, outline=0, width=1.1)
            c.circle(fx, fy, 1.6, fill=0, outline=None)
    c.text(142, 24, "真上から見た図", 14)
    c.text(142, 50, "磁束密度 B（鉛直上向き）", 14)
    c.text(236, 276, "レール", 14)
    c.segment((224, 266), (212, bottom + 2), 0.7)
    return c.finish()


def _rod_words(panel):
    """How graph `panel` of 図９ looks, as a sighted reader says it."""
    return {
        "straight": "原点から右上がりの直線。",
        "up then down": "原点から増えて、最大になった後に減り、右端で横軸に達する曲線。",
        "flat": "縦軸の上の点から始まる、横軸に平行な直線。",
        "straight then flat": "原点から右上がりの直線で増え、途中で折れ曲がって、その後は横軸に平行な直線。",
        "steeper and steeper": "原点から増え、しだいに傾きが大きくなっていく曲線。",
        "levelling off": "原点から増え、しだいに傾きが小さくなって、一定の値に近づいていく曲線。",
    }[panels.shape(_rod_samples(panel))]


def _rod_samples(panel):
    t_max, _v_max = panels.ROD_AXES
    curve, _mistake = panels.ROD_PANELS[panel]
    return [curve(t_max * k / 400) for k in range(401)]


@described(
    "五つのグラフがあり、①から⑤の番号が付いている。"
    "どのグラフも、縦軸が棒の速さ v、横軸が時刻 t で、原点に O と書いてある。"
    "目盛りの数値は書いてない。"
    + "".join(f"グラフ{CIRCLED[n - 1]}は、" + _rod_words(n) for n in panels.ROD_PANELS))
def figure09():
    """Five graphs of the rod's speed against time, as panels.ROD_PANELS
    has them; 5 is the one that levels off."""
    c = Canvas(450, 272)
    t_max, v_max = panels.ROD_AXES
    places = [(0, 0), (150, 0), (300, 0), (75, 136), (225, 136)]
    for n, (ox, oy) in zip(panels.ROD_PANELS, places):
        x0, y0 = ox + 28, oy + 112                 # origin
        sx, sy = 26.0, 62.0                        # pixels per time unit, per speed unit
        c.arrow((x0, y0), (x0 + t_max * sx + 12, y0), 1.3, 7)
        c.arrow((x0, y0), (x0, y0 - v_max * sy - 8), 1.3, 7)
        c.text(x0 + t_max * sx + 10, y0 + 12, "t", 14)
        c.text(x0 - 12, y0 - v_max * sy - 2, "v", 14)
        c.text(x0 - 10, y0 + 11, "O", 14)
        c.text(ox + 138, oy + 16, CIRCLED[n - 1], 15)
        pts = [(x0 + t_max * sx * k / 400, y0 - v * sy) for k, v in enumerate(_rod_samples(n))]
        pts = [(x, y) for x, y in pts if y >= y0 - v_max * sy]
        c.line(pts, 1.8)
    return c.finish()


def _tubes(c, paths, outer, inner):
    """Pipes drawn as two walls: all outer strokes first, then the
    interiors, so pipes that meet are open to each other."""
    for pts in paths:
        c.line(pts, outer, 0, round_caps=False)
    for pts in paths:
        c.line(pts, inner, 255, round_caps=False)


@described(
    "音の干渉の装置を正面から見た図。"
    "左端のスピーカーから入口に音が入り、右端の出口で聞く。"
    "左端には、スピーカー、入口、右端のじょうごの形の口には、出口、聞く、と書いてある。"
    "入口と出口の間で、音は二つの道に分かれてから、再び合わさる。"
    "下の道は、固定した U の字の形の管 P で、P、固定、と書いてある。"
    "上の道は、U の字を逆さにした形の引き出し管 Q で、Q、引き出せる、と書いてある。"
    "Q は上へ引き出すことができ、上向きの矢印に、引き出す、と書いてある。"
    "Q は少し引き出した位置に描いてあり、引き出す前の Q の上の端が破線で示してあって、引き出す前、と書いてある。"
    "右側の寸法線で、破線の位置から、今の Q の上の端までの長さが d。")
def figure10():
    """Sliding-tube interference apparatus: sound enters at the inlet,
    splits into the fixed tube P and the sliding U-tube Q, rejoins towards
    the outlet."""
    c = Canvas(449, 338)
    lx, rx = 120.0, 330.0            # the two vertical arms
    mid = 184.0                      # level of the inlet and outlet
    low = 272.0                      # bottom of the fixed tube P
    q_top = 62.0                     # top of the sliding tube Q, pulled out by d
    # the sliding U, a sleeve over the upper ends of the fixed arms
    _tubes(c, [[(lx, 146), (lx, q_top), (rx, q_top), (rx, 146)]], 22, 16)
    # fixed parts: both arms with the lower tube P, the inlet and the outlet
    _tubes(c, [[(lx, 108), (lx, low), (rx, low), (rx, 108)],
               [(58, mid), (lx, mid)], [(rx, mid), (392, mid)]], 14, 9)
    # source (loudspeaker) at the inlet
    c.rect(22, mid - 9, 34, mid + 9, fill=80, outline=0, width=1.2)
    c.polygon([(34, mid - 9), (58, mid - 20), (58, mid + 20), (34, mid + 9)], fill=255, outline=0, width=1.3)
    c.text(44, mid + 36, "スピーカー", 14)
    # listener's funnel at the outlet
    c.polygon([(392, mid - 7), (420, mid - 20), (420, mid + 20), (392, mid + 7)], fill=255, outline=0, width=1.3)
    c.text(406, mid + 36, "聞く", 14)
    c.text(lx - 38, mid - 22, "入口", 14)
    c.text(rx + 38, mid - 22, "出口", 14)
    c.text((lx + rx) / 2, low + 26, "P（固定）", 14)
    c.text((lx + rx) / 2, q_top + 58, "Q（引き出せる）", 14)
    # how Q moves
    c.arrow(((lx + rx) / 2, q_top - 16), ((lx + rx) / 2, 12), 1.5, 9)
    c.text((lx + rx) / 2 + 12, 24, "引き出す", 14, anchor="lm")
    # Q's top edge before it was pulled out (d = 0), dashed, and d between
    # that edge and the top edge now, on lines drawn out from both edges
    edge, before = q_top - 11, q_top - 11 + 34
    c.dashed((lx - 11, before), (rx + 11, before), 1.0, 5, 3)
    c.dashed((lx - 11, before), (lx - 11, before + 22), 1.0, 5, 3)
    c.dashed((rx + 11, before), (rx + 11, before + 22), 1.0, 5, 3)
    c.segment((rx + 11, edge), (rx + 66, edge), 0.8)
    c.segment((rx + 11, before), (rx + 66, before), 0.8)
    c.arrow((rx + 54, edge + 1), (rx + 54, before - 1), 1.0, 6, both=True)
    c.text(rx + 70, (edge + before) / 2, "d", 16, anchor="lm")
    c.text(lx - 18, before + 12, "引き出す前", 14, anchor="rm")
    return c.finish()



@described(
    "水平な一様な棒 AB を横から見た図。"
    "左端が A、右端が B。"
    "A は、天井から、途中に力センサーを付けた鉛直な糸でつるされている。"
    "棒は点 C で、床に立つ支柱の上にのっている。"
    "棒の上の寸法線で、A から C までが1.6メートル、C から B までが0.40メートル。"
    "C は右端 B の近くにある。"
    "長さは同じ縮尺で描いてある。")
def figure11():
    """Uniform bar AB on a post at C, end A hung from a vertical string;
    lengths to one scale (AC : CB = 4 : 1)."""
    c = Canvas(450, 240)
    scale = 175.0                             # pixels per metre
    xa = 50.0
    xc, xb = xa + 1.6 * scale, xa + 2.0 * scale
    bar_top, bar_bot = 120.0, 132.0
    floor = 214.0
    c.ceiling(14, 110, 16)
    c.segment((xa, 16), (xa, bar_top), 1.4)
    c.text(xa - 18, 90, "糸", 14)
    c.rect(xa - 9, 40, xa + 9, 64, fill=255, outline=0, width=1.4)
    c.text(xa + 16, 52, "力センサー", 14, anchor="lm")
    c.rect(xa, bar_top, xb, bar_bot, fill=215, outline=0, width=1.5)
    # post with a wedge top
    c.polygon([(xc - 3, bar_bot), (xc + 3, bar_bot), (xc + 14, floor), (xc - 14, floor)],
              fill=235, outline=0, width=1.4)
    c.ground(xc - 80, xc + 62, floor, depth=7)
    c.text(xc - 42, 176, "支柱", 14)
    c.text(xa - 14, bar_bot + 12, "A", 16)
    c.text(xb + 14, bar_bot + 8, "B", 16)
    c.text(xc - 18, bar_bot + 16, "C", 16)
    # lengths above the bar
    y = 96
    for x in (xa, xc, xb):
        c.segment((x, bar_top - 3), (x, y - 8), 0.8)
    c.arrow((xa + 1, y), (xc - 1, y), 1.1, 7, both=True)
    c.arrow((xc + 1, y), (xb - 1, y), 1.1, 7, both=True)
    c.text((xa + xc) / 2, y - 13, "1.6 m", 14)
    c.text((xc + xb) / 2, y - 13, "0.40 m", 14)
    c.text(xa + 130, 168, "一様な棒 AB", 14)
    return c.finish()


FIGURES = [figure01, figure02, figure03, figure04, figure05, figure06,
           figure07, figure08, figure09, figure10, figure11]
