"""The eleven figures of the practice paper.

Each function returns an RGB image of the figure's exact size.  The
numbers drawn here are the data of the questions that use the figures
(tools/paper/paper.html); keep the two in step.
"""
import math

import measured
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
    "がけの上から水平に投げ出した小球の、道すじの候補を横から見た図。"
    "縦と横は同じ縮尺で描いてある。"
    "高さ19.6メートルのがけの上の点から、小球を水平右向きに、10メートル毎秒で投げ出す。"
    "地面には、投げ出した点の真下をゼロとして、10メートルごとに、0、10、20、30、40メートルの目盛りがある。"
    "道すじの番号は、その道すじが地面に達する点の下に書いてある。"
    "道すじ①は、はじめ水平で、しだいに急になって落ちる放物線で、10メートルの点に達する。"
    "道すじ②は、はじめ水平で、しだいに急になって落ちる放物線で、10メートルと20メートルの目盛りの間の、約14メートルの点に達する。"
    "道すじ③は、はじめ水平で、しだいに急になって落ちる放物線で、20メートルの点に達する。"
    "道すじ④は、投げ出した高さのまま水平にまっすぐ進み、30メートルの真上で向きを変えて真下に落ち、30メートルの点に達する。"
    "道すじ⑤は、はじめ水平で、しだいに急になって落ちる放物線で、40メートルの点に達する。"
    "図の下に、目盛りは投げ出した点の真下からの水平距離、と書いてある。")
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
    c.text(lx - 54, (top + ground) / 2, "19.6 m", 12, box=True)
    # initial velocity
    c.arrow((lx, 30), (lx + 44, 30), width=1.4, head=8)
    c.text(lx + 52, 30, "10 m/s", 12, anchor="lm")
    c.dashed((lx, 36), (lx, top - 8), 0.7, 3, 3)

    def path(fn, metres, steps=160):
        return [(X(metres * i / steps), top + fn(i / steps) * drop) for i in range(steps + 1)]

    ends = {1: 10.0, 2: 10.0 * math.sqrt(2), 3: 20.0, 4: 30.0, 5: 40.0}
    # 1, 2, 3, 5: parabolas that start horizontally, so that only the
    # distance tells them apart; 3 is the true one
    for n in (1, 2, 3, 5):
        c.line(path(lambda u: u * u, ends[n]), 1.6)
    # 4: straight on, then turning straight down
    r = 5.0 * k
    corner = [(X(ends[4]) - r + r * math.sin(a / 20 * math.pi / 2),
               top + r - r * math.cos(a / 20 * math.pi / 2)) for a in range(21)]
    c.line([(lx, top)] + corner + [(X(ends[4]), ground)], 1.6)
    c.circle(lx + 2, top - 6, 6, fill=0)
    # the scale of distances along the ground
    for m in range(0, 41, 10):
        c.segment((X(m), ground), (X(m), ground + 6), 1.2)
        c.text(X(m), ground + 15, f"{m}", 12)
    c.text(X(40) + 18, ground + 15, "m", 12)
    for n, m in ends.items():
        c.segment((X(m), ground - 5), (X(m), ground), 1.6)
        c.text(X(m), ground + 38, CIRCLED[n - 1], 15, box=True)
    c.text(215, 293, "（目盛りは投げ出した点の真下からの水平距離）", 12)
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
            c.text(x0 + i * sx, y0 + 10, str(i), 12)
            c.text(x0 - 9, y0 - i * sy, str(i), 12)
        c.arrow((x0, y0), (x0 + top * sx + 12, y0), 1.3, 7)
        c.arrow((x0, y0), (x0, y0 - top * sy - 10), 1.3, 7)
        c.text(x0 + top * sx + 10, y0 + 11, "V", 13)
        c.text(x0 - 13, y0 - top * sy - 4, "p", 13)
        c.text(x0 - 9, y0 + 10, "O", 12)
        for fn, label, where in curves:
            pts = []
            for i in range(401):
                u = top * max(i, 1) / 400
                v = fn(u)
                if 0 <= v <= top and u > 0:
                    pts.append((x0 + u * sx, y0 - v * sy))
            c.line(pts, 1.6)
            (lu, lv), anchor = where
            c.text(x0 + lu * sx, y0 - lv * sy, label, 12, anchor=anchor, box=True)
        c.text(ox + 188, oy + 14, number, 16)

    inner, outer = "127℃", "527℃"
    low = ((0.55, 0.55), "mm")               # below-left of the inner curve
    high = ((2.2, 1.6), "mm")                # above-right of the outer curve
    panel(0, 0, "①", [(lambda u: 1 / u, inner, low), (lambda u: 2 / u, outer, high)])
    panel(206, 0, "②", [(lambda u: 1 / u, outer, low), (lambda u: 2 / u, inner, high)])
    panel(0, 172, "③", [(lambda u: 1 / u, inner, low), (lambda u: 4 / u, outer, ((3.3, 2.0), "mm"))])
    panel(206, 172, "④", [(lambda u: 0.5 * u, inner, ((3.6, 1.0), "mm")),
                          (lambda u: u, outer, ((2.6, 3.4), "mm"))])
    c.text(206, 349, "縦軸は圧力 p、横軸は体積 V（目盛りはどちらも相対値）", 12)
    return c.finish()


@described(
    "凹レンズによる像の位置を考える図。"
    "左右に水平な光軸があり、5センチメートルごとに目盛りがある。"
    "右寄りに凹レンズがある。"
    "焦点の位置は描いてなく、光線も描いてない。"
    "破線の矢印が二つある。"
    "レンズの左30センチメートルに、光軸に垂直に立つ、はじめの物体。"
    "レンズの左10センチメートルに、その3分の1の高さの、はじめの像。"
    "実線の矢印の物体が、レンズの左15センチメートルに立っている。"
    "寸法線で、はじめの物体からレンズまでが30センチメートル、物体からレンズまでが15センチメートル、はじめの像からレンズまでが10センチメートル。"
    "光軸の下の三角印と番号が、像の位置の候補。"
    "位置①は、レンズの左15センチメートルの目盛りの下で、物体の真下。"
    "位置②は、レンズの左10センチメートルの目盛りの下で、はじめの像の真下。"
    "位置③は、レンズの左5センチメートルと10センチメートルの目盛りの、ちょうど中ほど。"
    "位置④は、レンズの右5センチメートルと10センチメートルの目盛りの、ちょうど中ほど。"
    "位置⑤は、レンズの右15センチメートルの目盛りの下。"
    "図の下に、光軸の目盛りは5センチメートルごと、破線は、はじめの物体と像、と書いてある。")
def figure03():
    """Concave lens whose focal points the candidate is not told: the
    first object (30 cm left) and its virtual image (10 cm left) dashed,
    the moved object (15 cm left) solid; five candidate image positions
    under the axis, which carries a tick every 5 cm.  No rays are drawn,
    so the answer cannot be measured off the drawing."""
    c = Canvas(508, 355)
    k = 9.0                                  # pixels per cm
    lens_x, axis_y = 346.0, 176.0
    X = lambda cm: lens_x + cm * k           # cm measured to the right of the lens
    c.segment((8, axis_y), (500, axis_y), 1.0)
    for cm in range(-35, 20, 5):
        c.segment((X(cm), axis_y - 4), (X(cm), axis_y + 4), 0.9)
    c.text(24, axis_y - 13, "光軸", 12)
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
    c.text(lens_x, top - 14, "凹レンズ", 12)
    # the first object and its image, dashed
    h = 7.5 * k                              # object 7.5 cm tall
    first, image = X(-30), X(-10)
    c.dashed((first, axis_y), (first, axis_y - h + 8), 1.6, 5, 3)
    c._head((first, axis_y - h), (0, -1), 9, 0)
    c.text(first, axis_y - h - 25, "はじめの", 12)
    c.text(first, axis_y - h - 11, "物体", 12)
    c.dashed((image, axis_y), (image, axis_y - h / 3 + 6), 1.6, 4, 3)
    c._head((image, axis_y - h / 3), (0, -1), 7, 0)
    c.text(image, axis_y - h / 3 - 25, "はじめの", 12)
    c.text(image, axis_y - h / 3 - 11, "像", 12)
    # the moved object, solid
    moved = X(-15)
    c.arrow((moved, axis_y), (moved, axis_y - h), 2.4, 11)
    c.text(moved, axis_y - h - 13, "物体", 12)
    # candidate positions under the axis: every number on one row, each
    # joined to its mark by a leader, the two close ones spread apart alike,
    # so that no number stands out from the others
    y = axis_y + 36
    for n, (cm, shift) in enumerate(((-15, 0), (-10, -5), (-7.5, 5), (7.5, 0), (15, 0)), 1):
        x = X(cm)
        c.polygon([(x, axis_y + 6), (x - 4, axis_y + 13), (x + 4, axis_y + 13)], fill=0, outline=0, width=0.8)
        c.segment((x, axis_y + 14), (x + shift, y - 10), 0.7)
        c.text(x + shift, y, CIRCLED[n - 1], 15, box=True)
    # dimensions below: the first object and image, and the moved object
    for y, cm, label in ((300, -30, "30 cm"), (272, -15, "15 cm"), (244, -10, "10 cm")):
        c.segment((X(cm), axis_y + 64 if cm != -15 else axis_y + 48), (X(cm), y + 6), 0.7)
        c.arrow((X(cm) + 1, y), (lens_x - 1, y), 1.0, 6, both=True)
        c.text((X(cm) + lens_x) / 2, y - 10, label, 12, box=True)
    c.segment((lens_x, bot + 4), (lens_x, 306), 0.7)
    c.text(20, 336, "光軸の目盛りは 5 cm ごと。破線は、はじめの物体と像。", 12, anchor="lm")
    return c.finish()


@described(
    "正の点電荷を左に、負の点電荷を右に置き、そのまわりの等電位線を10ボルトごとに描いた図。"
    "正の電荷を囲む閉じた線が、内側からプラス20ボルトとプラス10ボルト。"
    "負の電荷を囲む閉じた線が、内側からマイナス20ボルトとマイナス10ボルト。"
    "どの閉じた線も、真ん中の側がやや平たい卵形で、外側の線ほど大きく、真ん中に近づく。"
    "二つの電荷のちょうど真ん中を、上下にまっすぐ通る線が0ボルト。"
    "点 A から点 D までを順に結ぶ、矢印の付いた折れ線の道すじがある。"
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
        c.text(x, y, f"{level:+d}V".replace("-", "−"), 13, box=True)
    c.text(mid_x + 10, 14, "0V", 13, anchor="lm", box=True)
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
    c.text(228, 326, "数値は各線の電位", 13)
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
    "質量60キログラムの人が立ち、右にある質量4.0キログラムのボールに両手を当てている。"
    "下の場面には、押した後、と書いてある。"
    "ボールは右向きに6.0メートル毎秒で動き、人は左向きに動いている。"
    "人の矢印には速さが書いてない。"
    "どちらの場面も、床は氷。")
def figure05():
    """Upper scene: person and ball at rest on ice, hands on the ball;
    lower scene: after the push, moving apart."""
    c = Canvas(404, 314)
    r = 18.0
    for row, caption in enumerate(("押す前（静止）", "押した後")):
        top = row * 152
        ground = top + 128
        c.rect(4, top + 4, 392, top + 148, outline=150, width=1.0)
        c.text(14, top + 20, caption, 13, anchor="lm")
        c.ground(14, 382, ground, depth=6)
        c.text(368, ground + 11, "氷", 11)
        if row == 0:
            px, bx = 170.0, 232.0
            _person(c, px, ground, (bx - r + 1, ground - r - 4), lean=10)
        else:
            px, bx = 96.0, 300.0
            _person(c, px, ground, (px + 26, ground - 38), lean=-2)
            c.arrow((bx + r + 6, ground - r), (bx + r + 56, ground - r), 1.8, 10)
            c.text(bx + r + 31, ground - r - 15, "6.0 m/s", 12)
            c.arrow((px - 22, ground - 52), (px - 66, ground - 52), 1.8, 10)
        c.circle(bx, ground - r, r, fill=235, outline=0, width=1.6)
        c.text(px + 2, ground - 104 if row == 0 else ground - 96, "60 kg", 12)
        c.text(bx, ground - 2 * r - 14, "4.0 kg", 12)
    return c.finish()


@described(
    "水平な一様な棒 AB を横から見た図。"
    "棒の重さは40ニュートン。"
    "左端が A、右端が B。"
    "A は、天井から鉛直な糸でつるされている。"
    "棒は点 C で、床に立つ支柱の上にのっている。"
    "棒の上の寸法線で、A から C までが1.6メートル、C から B までが0.40メートル。"
    "C は右端 B の近くにある。"
    "長さは同じ縮尺で描いてある。")
def figure06():
    """Uniform bar AB on a post at C, end A hung from a vertical string;
    lengths to one scale (AC : CB = 4 : 1)."""
    c = Canvas(422, 142)
    scale = 150.0                             # pixels per metre
    xa = 50.0
    xc, xb = xa + 1.6 * scale, xa + 2.0 * scale
    bar_top, bar_bot = 68.0, 77.0
    floor = 124.0
    c.ceiling(20, 96, 12)
    c.segment((xa, 12), (xa, bar_top), 1.3)
    c.text(xa - 14, 34, "糸", 12)
    c.rect(xa, bar_top, xb, bar_bot, fill=215, outline=0, width=1.5)
    # post with a wedge top
    c.polygon([(xc - 2.5, bar_bot), (xc + 2.5, bar_bot), (xc + 11, floor), (xc - 11, floor)],
              fill=235, outline=0, width=1.4)
    c.ground(xc - 60, xc + 70, floor, depth=6)
    c.text(xc + 26, 104, "支柱", 12)
    c.text(xa - 12, bar_bot + 10, "A", 14)
    c.text(xb + 12, bar_bot + 8, "B", 14)
    c.text(xc - 16, bar_bot + 13, "C", 14)
    # lengths above the bar
    y = 50
    for x in (xa, xc, xb):
        c.segment((x, bar_top - 3), (x, y - 7), 0.7)
    c.arrow((xa + 1, y), (xc - 1, y), 1.0, 6, both=True)
    c.arrow((xc + 1, y), (xb - 1, y), 1.0, 6, both=True)
    c.text((xa + xc) / 2, y - 11, "1.6 m", 12)
    c.text((xc + xb) / 2, y - 11, "0.40 m", 12)
    c.text(xa + 100, 98, "一様な棒 AB（重さ 40 N）", 12)
    return c.finish()


def _dot(c, x, y):
    c.circle(x, y, 3.6, fill=0, outline=None)


def _spoken(x):
    """A number as the description says it: 0.96, マイナス25."""
    return f"マイナス{-x:g}" if x < 0 else f"{x:g}"


@described(
    "糸の張力の測定値を点で描き、直線を引いたグラフ。"
    "横軸は、小球の速さ v の2乗で、単位は平方メートル毎秒毎秒。"
    "0から8まで、1ごとに目盛りと格子線がある。"
    "縦軸は、糸の張力 F で、単位はニュートン。"
    "0から10まで、1ごとに目盛りと格子線がある。"
    "黒い点が6個あり、横軸の値と縦軸の値は、順に、"
    + "、".join(f"{_spoken(x)}と{_spoken(y)}" for x, y in zip(measured.SPEED_SQUARED, measured.TENSION))
    + "。点は直線の上下に少しばらついている。"
    "点の並びに合わせた直線が1本引いてあり、原点と、横軸8、縦軸10の格子の交点を通る。")
def figure07():
    """The measured tension F against v squared, with the least-squares
    line through the origin drawn out to the grid's corner, where it
    crosses v squared = 8, F = 10 so that its slope reads off the grid."""
    c = Canvas(434, 305)
    x0, y0 = 70.0, 262.0                      # origin
    sx, sy = 40.0, 23.0                       # pixels per m2/s2, per newton
    for i in range(0, 9):
        c.segment((x0 + i * sx, y0), (x0 + i * sx, y0 - 10 * sy), 0.6, fill=150)
        c.text(x0 + i * sx, y0 + 12, str(i), 11)
    for j in range(0, 11):
        c.segment((x0, y0 - j * sy), (x0 + 8 * sx, y0 - j * sy), 0.6, fill=150)
        c.text(x0 - 10, y0 - j * sy, str(j), 11, anchor="rm")
    c.segment((x0, y0), (x0 + 8 * sx + 14, y0), 1.4)
    c.segment((x0, y0), (x0, y0 - 10 * sy - 12), 1.4)
    c.text(x0 + 4 * sx, y0 + 32, "v² 〔m²/s²〕", 13)
    c.text(x0 - 44, y0 - 5 * sy - 10, "F", 13)
    c.text(x0 - 44, y0 - 5 * sy + 10, "〔N〕", 12)
    slope = measured.tension_line()
    c.segment((x0, y0), (x0 + 8 * sx, y0 - 8 * slope * sy), 1.3)
    for v2, f in zip(measured.SPEED_SQUARED, measured.TENSION):
        _dot(c, x0 + v2 * sx, y0 - f * sy)
    return c.finish()


@described(
    "ばね振り子の実験装置を横から見た図。"
    "スタンドの腕から、軽いばねが鉛直につるしてある。"
    "ばねの下端におもり皿がつるしてあり、皿の上におもりがのっている。"
    "おもりは上下に単振動する。上下の矢印に、振動、と書いてある。"
    "スタンドの柱には、振動の中心の高さに目印が付けてある。"
    "右下にストップウォッチがある。"
    "書いてある名前は、スタンド、ばね、おもり、おもり皿、目印、ストップウォッチ。")
def figure08():
    """A spring hung from a stand, a pan with a weight on its lower end,
    a marker on the stand at the centre of the swing, and a stopwatch."""
    c = Canvas(284, 298)
    base_y = 282.0
    post_x = 40.0
    c.rect(14, base_y - 10, 150, base_y, fill=200, outline=0, width=1.4)
    c.rect(post_x - 4, 20, post_x + 4, base_y - 10, fill=230, outline=0, width=1.3)
    arm_y = 28.0
    c.rect(post_x - 4, arm_y - 4, 150, arm_y + 4, fill=230, outline=0, width=1.3)
    c.text(post_x + 40, base_y - 24, "スタンド", 12, box=True)
    hx = 130.0
    top, bottom = arm_y + 4, 150.0
    c.spring((hx, top), (hx, bottom), turns=11, amp=8, lead=8)
    c.text(hx + 32, 90, "ばね", 12, anchor="lm")
    # pan on three short strings, weight on the pan
    pan_y = 186.0
    c.line([(hx, bottom), (hx - 26, pan_y)], 1.0)
    c.line([(hx, bottom), (hx + 26, pan_y)], 1.0)
    c.rect(hx - 30, pan_y, hx + 30, pan_y + 5, fill=120, outline=0, width=1.2)
    c.rect(hx - 14, pan_y - 22, hx + 14, pan_y, fill=170, outline=0, width=1.3)
    c.text(hx + 40, pan_y - 14, "おもり", 12, anchor="lm")
    c.text(hx + 40, pan_y + 8, "おもり皿", 12, anchor="lm")
    # marker at the centre of the swing, level with the pan
    c.polygon([(post_x + 4, pan_y + 2), (post_x + 16, pan_y - 4), (post_x + 16, pan_y + 8)],
              fill=0, outline=0, width=0.8)
    c.dashed((post_x + 18, pan_y + 2), (hx - 34, pan_y + 2), 0.8, 3, 3)
    c.text(post_x + 14, pan_y + 22, "目印", 12, anchor="lm")
    c.arrow((hx + 80, pan_y - 44), (hx + 80, pan_y - 74), 1.3, 7)
    c.arrow((hx + 80, pan_y - 44), (hx + 80, pan_y - 14), 1.3, 7)
    c.text(hx + 92, pan_y - 44, "振動", 11, anchor="lm")
    # stopwatch
    wx, wy = 226.0, 252.0
    c.circle(wx, wy, 18, fill=255, outline=0, width=1.6)
    c.rect(wx - 4, wy - 25, wx + 4, wy - 18, fill=0, outline=None)
    c.segment((wx, wy), (wx + 8, wy - 10), 1.4)
    c.text(wx - 10, wy - 38, "ストップウォッチ", 11)
    return c.finish()


SWING_AXIS = (-50, 300)                       # grams shown on the horizontal axis


@described(
    "ばね振り子の周期の2乗と、おもりの質量の関係を表すグラフ。"
    "横軸は、皿にのせたおもりの質量 m で、単位はグラム。"
    "マイナス50から300まで、25ごとに格子線があり、50ごとに数値が書いてある。"
    "縦軸は、周期 T の2乗で、単位は秒の2乗。"
    "0から1.2まで、0.1ごとに格子線があり、0.2ごとに数値が書いてある。"
    "黒い点が5個あり、横軸の値と縦軸の値は、順に、"
    + "、".join(f"{m}と{t2:.3f}" for m, t2 in zip(measured.PAN_MASS, measured.period_squared()))
    + "。150グラムの点だけが、ほかの点の並びから大きく下にはずれている。"
    "150グラムの点を除いた4点に合わせた直線が1本引いてあり、"
    "直線は、横軸のマイナス25グラムのあたりで、周期の2乗が0の横軸と交わる。"
    "また、横軸0で縦軸0.10、横軸250で縦軸1.10の、格子の交点のあたりを通る。")
def figure09():
    """T squared against the mass on the pan: five runs, the miscounted
    150 g run well below the others, and the students' line through the
    other four, drawn down to T squared = 0 so that the pan's mass can be
    read where it meets the axis."""
    c = Canvas(450, 272)
    lo, hi = SWING_AXIS
    x0, y0 = 78.0, 228.0                      # m = lo, T^2 = 0
    sx, sy = 1.0, 175.0                       # pixels per gram, per s^2
    X = lambda m: x0 + (m - lo) * sx
    Y = lambda t2: y0 - t2 * sy
    for m in range(lo, hi + 1, 25):
        c.segment((X(m), y0), (X(m), Y(1.2)), 0.6 if m % 50 else 0.8, fill=170 if m % 50 else 130)
        if m % 50 == 0:
            c.text(X(m), y0 + 12, str(m), 11)
    for j in range(0, 13):
        c.segment((X(lo), Y(j / 10)), (X(hi), Y(j / 10)), 0.6 if j % 2 else 0.8, fill=170 if j % 2 else 130)
        if j % 2 == 0:
            c.text(X(lo) - 8, Y(j / 10), f"{j / 10:.1f}", 11, anchor="rm")
    c.segment((X(lo), y0), (X(hi) + 12, y0), 1.4)
    c.segment((X(0), y0), (X(0), Y(1.2) - 10), 1.4)
    c.text(X(125), y0 + 32, "m 〔g〕", 13)
    c.text(26, Y(0.7), "T²", 13)
    c.text(26, Y(0.7) + 20, "〔s²〕", 12)
    slope, intercept = measured.swing_line()
    start, end = -intercept / slope, (1.2 - intercept) / slope
    c.segment((X(start), Y(0)), (X(end), Y(1.2)), 1.3)
    for m, t2 in zip(measured.PAN_MASS, measured.period_squared()):
        _dot(c, X(m), Y(t2))
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
    "左の音源、スピーカーから入口 A に音が入り、右の出口 B で聞く。"
    "左端のスピーカーには、音源、右端のじょうごの形の口には、聞く、と書いてある。"
    "A と B の間で、音は二つの道に分かれてから、再び合わさる。"
    "下の道は、固定した U の字の形の管 P で、P、固定、と書いてある。"
    "上の道は、U の字を逆さにした形の引き出し管 Q で、Q、引き出せる、と書いてある。"
    "Q は上へ引き出すことができ、上向きの矢印に、引き出す、と書いてある。"
    "Q は少し引き出した位置に描いてあり、引き出す前の Q の上の端が破線で示してあって、引き出す前、と書いてある。"
    "右側の寸法線で、破線の位置から、今の Q の上の端までの長さが d。")
def figure10():
    """Sliding-tube interference apparatus: sound enters at A, splits
    into the fixed tube P and the sliding U-tube Q, rejoins towards B."""
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
    c.text(40, mid + 38, "音源", 12)
    # listener's funnel at the outlet
    c.polygon([(392, mid - 7), (420, mid - 20), (420, mid + 20), (392, mid + 7)], fill=255, outline=0, width=1.3)
    c.text(406, mid + 38, "聞く", 12)
    c.text(lx - 22, mid - 20, "A", 14)
    c.text(rx + 22, mid - 20, "B", 14)
    c.text((lx + rx) / 2, low + 24, "P（固定）", 12)
    c.text((lx + rx) / 2, q_top + 58, "Q（引き出せる）", 12)
    # how Q moves
    c.arrow(((lx + rx) / 2, q_top - 16), ((lx + rx) / 2, 12), 1.5, 9)
    c.text((lx + rx) / 2 + 12, 24, "引き出す", 12, anchor="lm")
    # Q's top edge before it was pulled out (d = 0), dashed, and d between
    # that edge and the top edge now, on lines drawn out from both edges
    edge, before = q_top - 11, q_top - 11 + 34
    c.dashed((lx - 11, before), (rx + 11, before), 1.0, 5, 3)
    c.dashed((lx - 11, before), (lx - 11, before + 22), 1.0, 5, 3)
    c.dashed((rx + 11, before), (rx + 11, before + 22), 1.0, 5, 3)
    c.segment((rx + 11, edge), (rx + 66, edge), 0.8)
    c.segment((rx + 11, before), (rx + 66, before), 0.8)
    c.arrow((rx + 54, edge + 1), (rx + 54, before - 1), 1.0, 6, both=True)
    c.text(rx + 70, (edge + before) / 2, "d", 14, anchor="lm")
    c.text(lx - 20, before + 12, "引き出す前", 10, anchor="rm")
    return c.finish()


def _meter(c, x, y, letter):
    c.circle(x, y, 12, fill=255, outline=0, width=1.6)
    c.text(x, y, letter, 13)


def _circuit(c):
    """Left panel: battery E, switch S, ammeter, resistor R in a loop with
    the capacitor C on the bottom side and a voltmeter across it."""
    L, R, T, B = 56.0, 252.0, 40.0, 150.0
    by = (T + B) / 2
    c.segment((L, T), (L, by - 7), 1.6)
    c.segment((L, by + 7), (L, B), 1.6)
    c.segment((L - 18, by - 7), (L + 18, by - 7), 1.8)
    c.segment((L - 9, by + 7), (L + 9, by + 7), 4.5)
    c.text(L - 32, by - 10, "E", 14)
    c.text(L - 32, by + 10, "12 V", 11)
    c.text(L + 26, by - 16, "+", 12)
    s0, s1 = 76.0, 110.0
    c.segment((L, T), (s0, T), 1.6)
    c.circle(s0, T, 3, fill=255, outline=0, width=1.4)
    c.circle(s1, T, 3, fill=255, outline=0, width=1.4)
    c.segment((s0 + 2, T - 2), (s1 - 4, T - 20), 1.8)
    c.text((s0 + s1) / 2, T + 16, "S", 14)
    ax = 146.0
    c.segment((s1 + 3, T), (ax - 12, T), 1.6)
    _meter(c, ax, T, "A")
    c.text(ax, T + 24, "電流計", 11)
    r0, r1 = 184.0, 232.0
    c.segment((ax + 12, T), (r0, T), 1.6)
    zig = [(r0, T)]
    n = 8
    for i in range(n):
        zig.append((r0 + (r1 - r0) * (i + 0.5) / n, T + (-7 if i % 2 == 0 else 7)))
    zig.append((r1, T))
    c.line(zig, 1.6)
    c.segment((r1, T), (R, T), 1.6)
    c.text((r0 + r1) / 2, T - 18, "R", 14)
    c.segment((R, T), (R, B), 1.6)
    cx = 156.0
    c.segment((R, B), (cx + 6, B), 1.6)
    c.segment((cx - 6, B), (L, B), 1.6)
    c.segment((cx - 6, B - 16), (cx - 6, B + 16), 2.0)
    c.segment((cx + 6, B - 16), (cx + 6, B + 16), 2.0)
    c.text(cx - 22, B - 22, "C", 14)
    c.text(cx + 38, B - 18, "50 μF", 11)
    vy = 202.0
    for x in (cx - 52, cx + 52):
        c.circle(x, B, 2.6, fill=0, outline=None)
    c.line([(cx - 52, B), (cx - 52, vy), (cx - 12, vy)], 1.4)
    c.line([(cx + 52, B), (cx + 52, vy), (cx + 12, vy)], 1.4)
    _meter(c, cx, vy, "V")
    c.text(cx + 84, vy, "電圧計", 11)


def _rails(c):
    """Right panel, seen from above: two rails joined at the left end by
    a 2.0 ohm resistor PQ, a rod across them pulled to the right, and
    the field pointing up out of the page."""
    x0, x1 = 312.0, 446.0                  # rails from the resistor to the right
    top, bottom = 76.0, 168.0              # Q's rail, P's rail
    c.segment((x0, top), (x1, top), 2.0)
    c.segment((x0, bottom), (x1, bottom), 2.0)
    y0, y1 = top + (bottom - top) * 0.25, top + (bottom - top) * 0.75
    zig = [(x0, top), (x0, y0)]
    n = 8
    for i in range(n):
        zig.append((x0 + (-7 if i % 2 == 0 else 7), y0 + (y1 - y0) * (i + 0.5) / n))
    c.line(zig + [(x0, y1), (x0, bottom)], 1.6)
    c.text(x0 - 14, top, "Q", 13)
    c.text(x0 - 14, bottom, "P", 13)
    c.text(x0 + 12, (top + bottom) / 2, "2.0 Ω", 10, anchor="lm")
    rod = 386.0
    c.rect(rod - 3, top - 14, rod + 3, bottom + 14, fill=120, outline=0, width=1.2)
    mid = (top + bottom) / 2
    c.arrow((rod + 8, mid), (rod + 40, mid), 1.6, 8)
    c.text(rod + 26, mid - 14, "2.0 m/s", 10, box=True)
    c.text(rod, bottom + 26, "導体棒", 11)
    # spacing of the rails, at the right end
    c.arrow((x1 - 4, top + 2), (x1 - 4, bottom - 2), 0.9, 5, both=True)
    c.text(x1, top - 10, "0.50 m", 10, anchor="rm")
    # field out of the page: dotted circles
    for fx, fy in ((350, 96), (350, 148), (416, 96), (416, 148)):
        c.circle(fx, fy, 5, fill=255, outline=0, width=1.0)
        c.circle(fx, fy, 1.4, fill=0, outline=None)
    c.text(362, 18, "真上から見た図", 11)
    c.text(362, 36, "磁場 0.40 T（鉛直上向き）", 10)


@described(
    "左右二つの図がある。"
    "左の図は、電池、スイッチ、電流計、抵抗、コンデンサーを一つの輪につないだ回路図。"
    "左の辺に電池 E があり、起電力は12ボルトで、上側がプラス極。"
    "上の辺に、左から、スイッチ S、電流計、抵抗 R。"
    "スイッチは開いている。"
    "電流計は丸の中に A と書いた記号。"
    "抵抗の値は書いてない。"
    "右の辺は導線だけ。"
    "下の辺にコンデンサー C があり、電気容量は50マイクロファラド。"
    "コンデンサーの左右の導線から下へ線が出て、電圧計につながっている。"
    "電圧計は丸の中に V と書いた記号で、コンデンサーの両端の電圧を測る。"
    "右の図は、水平面上の2本の平行な導体レールを真上から見た図。"
    "レールは左右に延びている。"
    "2本のレールの左端は、2.0オームの抵抗でつながれている。"
    "抵抗の、下のレールの側の端が P、上のレールの側の端が Q。"
    "右端の寸法線で、レールの間隔が0.50メートル。"
    "レールの右の方に、導体棒がレールに垂直にのせてあり、右向きの矢印に、2.0メートル毎秒と書いてある。"
    "図の中には、紙面の裏から表へ向かう磁場を表す、中に点のある丸の記号が散らばっている。"
    "上に、磁場は0.40テスラで鉛直上向き、と書いてある。")
def figure11():
    """Left: the capacitor circuit of 第4問 A.  Right: rails seen from
    above for 第4問 B, the field pointing up towards the viewer."""
    c = Canvas(450, 240)
    _circuit(c)
    c.segment((276, 8), (276, 232), 0.8, fill=120)
    _rails(c)
    return c.finish()


FIGURES = [figure01, figure02, figure03, figure04, figure05, figure06,
           figure07, figure08, figure09, figure10, figure11]
