#!/usr/bin/env python3
"""Check the question paper and the answer notes against the answer key.

Reads assets/00Vardo.tx (Shift-JIS / cp932) and docs/answers.md and checks:
  * the document declares Shift_JIS and decodes as cp932;
  * the 27 questions appear in answer-page order, each heading carrying its
    page caption and its points;
  * each question offers exactly as many choices as its answer page shows,
    numbered from (1) upwards, one per line;
  * the answer notes give, for each page in order, the key's correct choice
    and points, and they agree with the paper;
  * the cue link is present;
  * every figure the paper cites (図１ .. 図１１) names an existing figure
    tab, all eleven are cited by the questions, and from the first question
    on they are first cited in increasing order (図１ before 図２ ...);
  * the working's 「使う図」 for each question names the figures that
    question cites, and only those;
  * the numerical questions: the keyed choice is the recomputed value and
    no other choice is, and their examined choices stand in ascending order;
  * the wrong answers the working names, worked out from the data as each
    mistake goes, lead to their own choices and no other (mistaken());
  * the combination questions (組合せ): each choice names the same parts,
    the choices pair every option of every part once, and the keyed choice
    carries each part's worked option;
  * the graphs: the 2B table prints the timings measured.py holds and the
    squares of their tenths, the descriptions of 図７ and 図９ speak every
    plotted point, and the drawn lines pass where the paper says.
Prints one line per fault and exits 1 if there was any.

The key is the one built into the program, printed by the printkey tool
(built with it), so a key that drifts from the paper fails too.

Usage: python3 tools/check_paper.py --key build/tests/exam/printkey
"""
import html
import math
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.dont_write_bytecode = True          # keep tools/pictures free of caches
sys.path.insert(0, str(ROOT / "tools" / "pictures"))
import measured  # noqa: E402  (the graphs' data, as 図７ and 図９ draw them)

PAPER = ROOT / "assets" / "00Vardo.tx"
ANSWERS = ROOT / "docs" / "answers.md"
DESCRIPTIONS = ROOT / "assets" / "figures.txt"

CIRCLED = "①②③④⑤⑥⑦⑧"
FULLWIDTH_DIGITS = str.maketrans("０１２３４５６７８９", "0123456789")
CUE_LINK = '<a href="event:cue?1">合図の音を確かめる</a>'
FIGURE_COUNT = 11

# Answer pages in order: caption, choices shown, choices examined, correct
# choice, points; read from the program (tools/printkey) by read_key().
KEY = []

line_fit = measured.line_fit


# Measured values printed in the paper's tables; the graphs' are in measured.
MINIMA = [4.2, 12.6, 21.3, 29.7, 38.2]                    # 3A, cm, 1st to 5th
CAPACITOR_VOLTS = [2.1, 4.8, 7.6, 9.3, 10.4]              # 4-問1, V
MILLIAMPS = [5.0, 3.6, 2.2, 1.4, 0.80]                    # 4-問1, mA
FREQUENCY = [6.0e14, 7.0e14, 8.0e14, 9.0e14, 10.0e14]     # 5-問1, Hz
STOPPING = [0.40, 0.84, 1.22, 1.66, 2.05]                 # 5-問1, V
COUNT_HOURS = [0, 4, 8, 12]                               # 5-問2, h
COUNT_RATE = [980, 584, 377, 282]                         # 5-問2, per minute, background included
BACKGROUND = 180                                          # 5-問2, per minute

# The candidate image positions drawn under the axis in 図３, in cm to the
# right of the lens; 1-問3's choices name them by number only.
LENS_POSITIONS = {"①": -15.0, "②": -10.0, "③": -7.5, "④": 7.5, "⑤": 15.0}

# Where 図１'s paths reach the ground, in metres; 1-問1-1's choices name
# the paths by number only.
PATH_ENDS = {"①": 10.0, "②": 10.0 * math.sqrt(2), "③": 20.0, "④": 30.0, "⑤": 40.0}


def recomputed():
    """Each numerical answer worked out again from the question's data,
    in the unit its choices are printed in."""
    f = 1 / (1 / 30.0 - 1 / 10.0)                   # concave lens from the first object and image
    b = 1 / (1 / f - 1 / 15.0)                      # image of the moved object (negative: virtual)
    v_person = 4.0 * 6.0 / 60
    tension = 40 * (1.6 - 1.0) / 1.6
    spacing, _offset = line_fit(range(1, len(MINIMA) + 1), MINIMA)
    wavelength = 0.50e-3 * 1.2e-3 / 1.0            # from the bright lines' spacing
    n_plate = 1.5
    released = (226.025410 - 222.017578 - 4.002603) * 931.5   # MeV, atomic masses: electrons cancel
    cap, emf = 50e-6, 12.0
    resistance = sum((emf - v) / i for v, i in zip(CAPACITOR_VOLTS, MILLIAMPS)) / len(MILLIAMPS)
    planck_over_e, _intercept = line_fit(FREQUENCY, STOPPING)
    net = [math.log2(n - BACKGROUND) for n in COUNT_RATE]
    half_life = -1 / line_fit(COUNT_HOURS, net)[0]
    cap_work = 0.5 * (2 * cap) * emf ** 2 - 0.5 * cap * emf ** 2 - (2 * cap - cap) * emf * emf
    swing_slope, _pan = measured.swing_line()       # s^2 per gram
    return {
        "1-問1-1": 10 * math.sqrt(2 * 19.6 / 9.8),    # horizontal speed times the fall's time
        "1-問3": b,                                  # negative: on the object's (left) side
        "1-問4": -2.0e-6 * (-20 - 0),                # Q (V_D - V_A): D at -20 V, A at 0 V
        "1-問5": 0.5 * 4.0 * 6.0 ** 2 + 0.5 * 60 * v_person ** 2,
        "2A-問1-1": tension / (40 - tension),       # string over post
        "2A-問1-2": 40 + 40 * (1.6 - 1.0) / 0.40,    # bar's weight plus the load at B
        "2A-問3": measured.tension_line() * 0.40,    # slope m/r times r
        "2B-問4-6": 4 * math.pi ** 2 / (swing_slope * 1000),   # slope 4 pi^2 / k, per kg
        "3A-問1": 2 * spacing,                      # the path grows by 2d
        "3B-問4": (300 / (300 - 200) / 2) ** 2,   # 300 Hz: three loops to two, tension as speed squared
        "3B-問5": 330 * (340 + 10) / (340 - 10) - 330,   # beats: reflected less direct
        "3B-問6": 5 * wavelength / (n_plate - 1),  # centre moved five spacings: five wavelengths
        "4-問1": resistance,                         # V/mA = kilohm
        "4-問2": cap_work,                           # gap halved: capacitance doubles
        "5-問1": 1.6e-19 * planck_over_e,
        "5-問2": half_life * 4,                       # 1/16 is four half-lives
        "5-問3": 150 * 4.2 * (27.6 - 20.0) / (200 * (98.0 - 27.6)),
        "5-問5": released * 222 / (222 + 4),        # shared inversely as the masses
    }


def mistaken():
    """Wrong answers the working names, each worked out from the data the
    way the mistake goes: (question, the choice it must lead to, value).
    A mistake that lands nearer another choice makes that choice mean two
    things and its own choice mean none."""
    raw = [math.log2(n) for n in COUNT_RATE]
    f = 1 / (1 / 30.0 + 1 / 10.0)               # the virtual image taken as real
    moved = 1 / (1 / f - 1 / 15.0)
    return [
        ("1-問1-1", 1, 10 * math.sqrt(19.6 / (2 * 9.8))),      # divided by 2 for times 2
        ("1-問1-1", 2, 10 * math.sqrt(19.6 / 9.8)),            # the half dropped
        ("1-問1-1", 5, 10 * 2 * 19.6 / 9.8),                   # the square dropped
        ("1-問3", 1, -moved),                                 # that image put on the object's side
        ("1-問3", 2, -10.0),                                  # the image taken not to move
        ("1-問3", 4, -1 / (1 / -15.0 - 1 / 15.0)),            # a virtual image put on the far side
        ("1-問3", 5, moved),
        ("5-問2", 2, -4 / line_fit(COUNT_HOURS, raw)[0]),     # background left in
        ("5-問2", 3, 8 * 4.0),                               # 1/16 as eight halvings
        ("3B-問6", 1, 5 * 6.0e-7 / 1.5),                      # nt for (n - 1)t
        ("3B-問6", 4, 5 * 1.2e-3),                            # the shift taken for the plate
    ]


NUMBER = re.compile(r"(\d+(?:\.\d+)?)(?:/(\d+))?(?:×10\^(-?\d+))?")


def value_of(choice):
    """The number a choice states, as printed (1/8, 6.0×10^-4, 0.40 ...),
    with half a unit of its last printed digit as its tolerance.  A lens
    position "左 x cm" (the object's side) counts as -x, a position named
    only by its number in 図３ ("位置③") as drawn there, a path named by its
    number in 図１ ("道すじ③") as where it lands, and a leading
    minus sign makes the value negative."""
    position = re.fullmatch(r"\s*位置([①-⑤])\s*", choice)
    if position:
        return LENS_POSITIONS[position.group(1)], 0.05
    path = re.fullmatch(r"\s*道すじ([①-⑤])\s*", choice)
    if path:
        return PATH_ENDS[path.group(1)], 0.05
    m = NUMBER.search(choice)
    if not m:
        return None
    digits, denominator, exponent = m.groups()
    scale = 10.0 ** int(exponent) if exponent else 1.0
    v = float(digits) * scale
    decimals = len(digits.split(".")[1]) if "." in digits else 0
    tolerance = 0.5 * 10.0 ** -decimals * scale if v else 0.0   # "0 J" is exactly zero
    if denominator:
        v, tolerance = v / float(denominator), 1e-12
    if "左" in choice or re.match(r"\s*[－−-]\s*\d", choice):
        v = -v
    return v, tolerance


def same(printed, exact):
    """True when the exact value rounds to the printed choice."""
    if printed is None:
        return False
    value, tolerance = printed
    return abs(value - exact) <= tolerance * (1 + 1e-9)


def unmarked(doc):
    """The paper without the marks that only keep its lines from breaking
    inside a label or a quantity (make_paper.py's keep_together)."""
    return doc.replace("&#x2060;", "").replace("&nbsp;", " ")


def text_lines(fragment):
    """Plain text lines of an HTML fragment; <sup>x</sup> becomes ^x."""
    s = re.sub(r"<sup>(.*?)</sup>", r"^\1", fragment, flags=re.S)
    s = re.sub(r"<br\s*/?>|</?p[^>]*>|</h\d>|<hr[^>]*>", "\n", s, flags=re.I)
    s = html.unescape(re.sub(r"<[^>]+>", "", s))
    return [line.strip() for line in s.split("\n") if line.strip()]


def parse_paper(doc, faults):
    """Questions of the paper: caption, points, choice lines, body text."""
    parts = re.split(r"<h3>(.*?)</h3>", doc, flags=re.S)
    questions = []
    for i in range(1, len(parts), 2):
        heading = html.unescape(re.sub(r"<[^>]+>", "", parts[i])).strip()
        body = re.split(r"<h2>", parts[i + 1])[0]
        m = re.match(r"(\S+?)\s*[（(](\d+)点[）)]$", heading)
        if not m:
            faults.append(f"paper: heading {heading!r} lacks caption and points")
            continue
        lines = text_lines(body)
        choices = [line for line in lines if line[0] in CIRCLED]
        questions.append({"caption": m.group(1), "points": int(m.group(2)),
                          "choices": choices, "body": body})
    return questions


def check_paper(raw, faults):
    try:
        doc = raw.decode("cp932")
    except UnicodeDecodeError as e:
        faults.append(f"paper: not valid cp932: {e}")
        return []
    if doc.encode("cp932") != raw:
        faults.append("paper: cp932 bytes do not round-trip")
    if not re.search(r'<meta\s+http-equiv="Content-Type"\s+content="text/html;\s*charset=Shift_JIS">', doc):
        faults.append("paper: Shift_JIS <meta> declaration missing")
    doc = unmarked(doc)
    if CUE_LINK not in doc:
        faults.append("paper: cue link missing")
    if doc.count("event:cue") != 1:
        faults.append("paper: expected exactly one event link")

    questions = parse_paper(doc, faults)
    captions = [q["caption"] for q in questions]
    if captions != [k[0] for k in KEY]:
        faults.append(f"paper: question order {captions} differs from the answer pages")

    for q in questions:
        q["figures"] = []
        for ref in re.findall(r"図([0-9０-９]+)", q["body"]):
            if ref != ref.translate(str.maketrans("0123456789", "０１２３４５６７８９")):
                faults.append(f"{q['caption']}: 図{ref} should use full-width digits like the tab")
            n = int(ref.translate(FULLWIDTH_DIGITS))
            if n not in q["figures"]:
                q["figures"].append(n)
    check_figure_order(doc, faults)
    return questions


def check_figure_order(doc, faults):
    """Every 図 the paper names is a tab; from the first question on (after
    the instructions' first rule), the figures are first cited in
    increasing order, so the tabs are met one after another; all are used."""
    for ref in re.findall(r"図([0-9０-９]+)", doc):
        if not 1 <= int(ref.translate(FULLWIDTH_DIGITS)) <= FIGURE_COUNT:
            faults.append(f"paper: 図{ref} names no figure tab")
    start = doc.find("<hr")
    first = []
    for ref in re.findall(r"図([0-9０-９]+)", doc[start:] if start >= 0 else doc):
        n = int(ref.translate(FULLWIDTH_DIGITS))
        if n not in first:
            first.append(n)
    if first != sorted(first):
        faults.append(f"paper: figures first cited in the order {first}, not in increasing order")
    missing = sorted(set(range(1, FIGURE_COUNT + 1)) - set(first))
    if missing:
        faults.append(f"paper: figures never cited by the questions: {missing}")


def check_figures_used(text, questions, faults):
    """The working's 「使う図」 names the figures its question cites."""
    used = dict(re.findall(r"^## (\S+)\s*[—-]+.*?\n\n使う図：(.*)$", text, flags=re.M))
    for q in questions:
        said = used.get(q["caption"])
        if said is None:
            faults.append(f"answers {q['caption']}: no 「使う図」 line")
            continue
        named = [int(n.translate(FULLWIDTH_DIGITS)) for n in re.findall(r"図([0-9０-９]+)", said)]
        if named != q.get("figures", []) or (not named and said.strip() != "なし"):
            cited = "、".join(f"図{n}" for n in q.get("figures", [])) or "なし"
            faults.append(f"answers {q['caption']}: 使う図 {said.strip()!r}, the question cites {cited}")


def check_answers(text, questions, faults):
    entries = re.findall(r"^## (\S+)\s*[—-]+\s*正解\s*([①-⑧])\s*[（(](\d+)点[）)]", text, flags=re.M)
    if [e[0] for e in entries] != [k[0] for k in KEY]:
        faults.append(f"answers: entries {[e[0] for e in entries]} differ from the answer pages")
    for (caption, digit, points), (kcap, _shown, _examined, correct, kpoints) in zip(entries, KEY):
        if caption != kcap:
            continue
        if CIRCLED.index(digit) + 1 != correct:
            faults.append(f"answers {caption}: correct choice {digit}, key {CIRCLED[correct - 1]}")
        if int(points) != kpoints:
            faults.append(f"answers {caption}: {points} points, key {kpoints}")
    total = sum(k[4] for k in KEY)
    if total != 100:
        faults.append(f"key: points add up to {total}, not 100")


def check_order(questions, faults):
    """The numerical questions' examined choices read in ascending order, as
    the printed values go (an unexamined last choice may say anything)."""
    exact = recomputed()
    for q, (caption, _shown, examined, _correct, _points) in zip(questions, KEY):
        if caption not in exact:
            continue
        values = [v for v in (value_of(c[1:]) for c in q["choices"][:examined]) if v is not None]
        numbers = [v for v, _tolerance in values]
        if numbers != sorted(numbers) or len(set(map(str, numbers))) != len(numbers):
            faults.append(f"{q['caption']}: choices not in ascending order: {numbers}")


def check_numbers(questions, faults):
    exact = recomputed()
    for q, (caption, _shown, _examined, correct, _points) in zip(questions, KEY):
        if caption not in exact or len(q["choices"]) < correct:
            continue
        values = [value_of(c[1:]) for c in q["choices"]]
        if not same(values[correct - 1], exact[caption]):
            faults.append(f"{caption}: keyed choice {q['choices'][correct - 1]!r} "
                          f"is not the worked value {exact[caption]!r}")
        for k, v in enumerate(values, 1):
            if k != correct and same(v, exact[caption]):
                faults.append(f"{caption}: choice {q['choices'][k - 1]!r} also equals the answer")


def check_mistakes(questions, faults):
    by_caption = {q["caption"]: q for q in questions}
    for caption, choice, value in mistaken():
        values = [value_of(c[1:]) for c in by_caption[caption]["choices"]]
        nearest = min(range(len(values)), key=lambda k: abs(values[k][0] - value)) + 1
        if nearest != choice:
            faults.append(f"{caption}: the mistake giving {value:.3g} leads to "
                          f"{CIRCLED[nearest - 1]}, not to {CIRCLED[choice - 1]} as the working says")


# Combination questions: each choice line names one option per part
# (「①　T：大きくなる　　N：小さくなる」).  The parts' right options are
# worked out here from the question's data, as the numbers are.
def bar_post_moved():
    """2A-問2: the post slides from C towards B, string still at A."""
    def forces(x):                            # post x metres from A
        t = 40 * (x - 1.0) / x                # moments about the post
        return t, 40 - t
    (t0, n0), (t1, n1) = forces(1.6), forces(1.7)
    more = lambda after, before: "大きくなる" if after > before else "小さくなる"
    return {"T": more(t1, t0), "N": more(n1, n0)}


def miscounted_run():
    """2B-問5: how many swings the 150 g run timed, and the pan's mass
    where the line meets T^2 = 0."""
    slope, intercept = measured.swing_line()
    period = math.sqrt(slope * measured.DROPPED + intercept)
    timed = measured.TEN_SWINGS[measured.PAN_MASS.index(measured.DROPPED)]
    return {"ア": f"{round(timed / period)} 往復", "イ": intercept / slope}


def gas_heated():
    """5-問4: 27 to 327 degrees Celsius at fixed volume."""
    ratio = (327 + 273) / (27 + 273)
    return {"二乗平均速度": math.sqrt(ratio), "圧力": ratio}


def rod_on_rails():
    """4-問3, seen from above with x to the right, y up the page and z
    towards the viewer: the rod moves along +x across the rails (P's rail
    at the bottom, Q's at the top), the field points up (+z).  The current
    goes round the loop the way the push on the rod's charges drives it."""
    b, length, speed, ohms = 0.40, 0.50, 2.0, 2.0
    velocity, field = (1, 0, 0), (0, 0, 1)
    push = (velocity[1] * field[2] - velocity[2] * field[1],
            velocity[2] * field[0] - velocity[0] * field[2],
            velocity[0] * field[1] - velocity[1] * field[0])
    # down the rod (-y) means up through the resistor, from P to Q
    direction = "P から Q" if push[1] < 0 else "Q から P"
    current = b * length * speed / ohms
    return {"ア": direction, "イ": current * b * length}


COMBINATIONS = {"2A-問2": bar_post_moved, "2B-問5": miscounted_run, "4-問3": rod_on_rails,
                "5-問4": gas_heated}


def option_value(text):
    """A part's option as a number when it states one (「√2 倍」, 「25 g」,
    「0.040 N」)."""
    m = re.fullmatch(r"(√)?(\d+(?:\.\d+)?)\s*(?:倍|g|N)", text)
    if not m:
        return None
    return math.sqrt(float(m.group(2))) if m.group(1) else float(m.group(2))


def check_combinations(questions, faults):
    """Each combination question offers every pairing of its parts' options
    once, and the keyed choice pairs the worked option of every part."""
    for q, (caption, _shown, examined, correct, _points) in zip(questions, KEY):
        if caption not in COMBINATIONS:
            continue
        rows = []
        for line in q["choices"][:examined]:
            rows.append(dict(re.findall(r"(\S+?)：(.+?)(?=\s{2,}|\u3000\u3000|$)", line[1:].strip())))
        expected = COMBINATIONS[caption]()
        if any(set(r) != set(expected) for r in rows):
            faults.append(f"{caption}: choice parts {[list(r) for r in rows]}, expected {list(expected)}")
            continue
        options = {part: sorted({r[part] for r in rows}) for part in expected}
        pairs = {tuple(r[part] for part in expected) for r in rows}
        if len(pairs) != len(rows) or len(rows) != math.prod(len(o) for o in options.values()):
            faults.append(f"{caption}: the choices are not each pairing of {options} once")
        right = {}
        for part, want in expected.items():
            if isinstance(want, str):
                right[part] = want if want in options[part] else None
            else:
                right[part] = min(options[part], key=lambda o: abs((option_value(o) or math.inf) - want))
                if abs((option_value(right[part]) or math.inf) - want) > 0.1 * abs(want):
                    right[part] = None              # read off a graph: within a tenth, no closer
            if right[part] is None:
                faults.append(f"{caption}: no option of {part} is the worked {want!r}")
        if rows and len(rows) >= correct and rows[correct - 1] != right:
            faults.append(f"{caption}: keyed choice {rows[correct - 1]}, worked {right}")


def check_graph_data(doc, faults):
    """The graphs are drawn from measured.py: the 2B table prints its
    timings and squared periods, the descriptions speak its points, and
    the lines pass where the paper and descriptions say they do."""
    table = re.search(r"<th>t〔s〕</th>(.*?)</tr>.*?<th>T<sup>2</sup>〔s<sup>2</sup>〕</th>(.*?)</tr>", doc, re.S)
    if not table:
        faults.append("2B: table of t and T^2 missing")
    else:
        times = [float(x) for x in re.findall(r"<td>([\d.]+)</td>", table.group(1))]
        squares = [float(x) for x in re.findall(r"<td>([\d.]+)</td>", table.group(2))]
        if times != measured.TEN_SWINGS:
            faults.append(f"2B: table times {times}, drawn {measured.TEN_SWINGS}")
        if squares != [round(t2, 3) for t2 in measured.period_squared()]:
            faults.append(f"2B: table T^2 {squares} are not the squares of the tenth of t")
    spoken = dict(line.split("\t", 1) for line in DESCRIPTIONS.read_text(encoding="utf-8").splitlines() if "\t" in line)
    points = {"7": zip(measured.SPEED_SQUARED, measured.TENSION),
              "9": zip(measured.PAN_MASS, (round(t2, 3) for t2 in measured.period_squared()))}
    for figure, pairs in points.items():
        said = spoken.get(figure, "")
        for x, y in pairs:
            if not re.search(rf"(?<![\d.]){x:g}と{y:g}0*(?![\d])", said):
                faults.append(f"図{figure}: the description does not speak the point {x:g}, {y:g}")
    tension_at_8 = measured.tension_line() * 8
    if abs(tension_at_8 - 10) > 0.1:
        faults.append(f"図７: the line meets v^2 = 8 at {tension_at_8:.2f} N, not on the 10 N grid line")
    slope, intercept = measured.swing_line()
    for m, said in ((0, 0.10), (250, 1.10)):
        if abs(slope * m + intercept - said) > 0.01:
            faults.append(f"図９: the line is at {slope * m + intercept:.3f} s^2 at {m} g, described as {said}")
    if abs(-intercept / slope - -25) > 3:
        faults.append(f"図９: the line meets T^2 = 0 at {-intercept / slope:.1f} g, described as minus 25")


def read_key(tool):
    """The program's key: one line per group from the printkey tool."""
    out = subprocess.run([tool], check=True, capture_output=True, text=True, encoding="utf-8").stdout
    key = []
    for line in out.splitlines():
        _group, caption, shown, examined, correct, points = line.split("\t")
        key.append((caption, int(shown), int(examined), int(correct), int(points)))
    if len(key) != 27:
        raise SystemExit(f"{tool}: {len(key)} groups, expected 27")
    return key


def check_rules(doc, faults):
    """The rules paragraph must say which shown choices are never marked,
    or a candidate is told a rule the program does not apply."""
    for caption, shown, examined, _correct, _points in KEY:
        for k in range(examined + 1, shown + 1):
            if f"{caption} の{CIRCLED[k - 1]}は採点に使いません" not in doc:
                faults.append(f"paper: the rules do not say that {caption} {CIRCLED[k - 1]} is not marked")


def main():
    if len(sys.argv) != 3 or sys.argv[1] != "--key":
        raise SystemExit("usage: check_paper.py --key PRINTKEY-TOOL")
    KEY[:] = read_key(sys.argv[2])
    faults = []
    raw = PAPER.read_bytes()
    questions = check_paper(raw, faults)
    check_rules(unmarked(raw.decode("cp932", errors="replace")), faults)
    answers = ANSWERS.read_text(encoding="utf-8")
    check_answers(answers, questions, faults)
    check_figures_used(answers, questions, faults)
    check_numbers(questions, faults)
    check_order(questions, faults)
    check_mistakes(questions, faults)
    check_combinations(questions, faults)
    check_graph_data(unmarked(raw.decode("cp932", errors="replace")), faults)
    for f in faults:
        print("FAULT:", f)
    refs = {}
    for q in questions:
        for n in q.get("figures", []):
            refs.setdefault(n, []).append(q["caption"])
    print(f"{len(questions)} questions, {sum(q['points'] for q in questions)} points, "
          f"{sum(len(q['choices']) for q in questions)} choices")
    for n in sorted(refs):
        print(f"  図{n}: {', '.join(refs[n])}")
    print("OK" if not faults else f"{len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
