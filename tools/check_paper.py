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
  * the expression questions (文字式): the keyed choice is the expression
    worked out again, step by step, from the question's physics, and no
    other choice is;
  * the choice graphs of 図７ and 図９: the keyed graph draws what the
    physics gives, and no other graph does;
  * the combination questions (組合せ, 正誤): each choice names the same
    parts, the choices pair every option of every part once, and the keyed
    choice carries each part's worked option;
  * every wrong choice is a named mistake: the mistakes are worked out from
    the data as each goes and must lead to their own choice and no other
    (a mistake that lands nearer another choice makes that choice mean two
    things and its own choice mean none); a choice no table names fails;
  * the working speaks of every wrong choice of every question;
  * no text of a choice graph's part says what the keyed graph does;
  * the measured data: the tables print the values measured.py holds, the
    readings agree with one another as a real instrument's would (the
    charging current with the voltage, the rod's steady speeds with its
    pulls, the tube's spacings with one speed
    of sound but the one misread run, the force sensor's pulls with the
    bar's moments, the lead shot's temperatures with a run that loses a
    little heat), and the descriptions of 図７ and
    図９ say what each graph draws.
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
import measured  # noqa: E402  (the data the tables print and the figures draw)
import panels  # noqa: E402  (the curves the choice graphs draw)

PAPER = ROOT / "assets" / "00Vardo.tx"
ANSWERS = ROOT / "docs" / "answers.md"
DESCRIPTIONS = ROOT / "assets" / "figures.txt"

CIRCLED = "①②③④⑤⑥⑦⑧"
FULLWIDTH_DIGITS = str.maketrans("０１２３４５６７８９", "0123456789")
CUE_LINK = '<a href="event:cue?1">合図の音を確かめる</a>'
FIGURE_COUNT = 11
E_CHARGE = 1.6e-19

# Answer pages in order: caption, choices shown, choices examined, correct
# choice, points; read from the program (tools/printkey) by read_key().
KEY = []

line_fit = measured.line_fit

# The candidate image positions drawn under the axis in 図３, in cm to the
# right of the lens; 1-問3's choices name them by number only.
LENS_POSITIONS = {"①": -15.0, "②": -12.0, "③": -7.5, "④": 7.5, "⑤": 15.0}
# 1-問3: the object and its virtual image as first found, and where the
# object is moved to, in cm from the lens.
LENS_OBJECT, LENS_IMAGE, LENS_MOVED = 15.0, 6.0, 30.0

# Where 図１'s paths reach the ground, in metres; 1-問1-1's choices name
# the paths by number only.  Path ④ is straight: it is the wrong shape
# named in WORDED, and has no landing point of its own to weigh.
PATH_ENDS = {"①": 10.0, "②": 10.0 * math.sqrt(2), "③": 20.0, "④": None, "⑤": 40.0}

# 1-問1-1: the ramp's height above the cliff and the cliff's, in metres.
RAMP, CLIFF = 5.1, 19.6


def ramp_range(energy_half=0.5, fall_half=0.5, root=True, fall=CLIFF):
    """1-問1-1: the ball's speed off the ramp from m g h = (1/2) m v^2, its
    fall's time from H = (1/2) g t^2, the distance their product; or as a
    mistake drops a half (energy_half, fall_half = 1) or the root, or
    takes another height for the fall."""
    speed = math.sqrt(9.8 * RAMP / energy_half)
    time = math.sqrt(fall / (fall_half * 9.8)) if root else fall / (fall_half * 9.8)
    return speed * time


# 1-問4: the particle's kinetic energy at D, J (at rest at A).
ARRIVES = 1.0e-5

# 3B-問6: the laser's wavelength, the bright-line spacing (m), the film's
# thickness (m) and index; the slits' gap and the screen's distance are not
# given, so the shift is counted in bright lines.
LASER, SPACING, PLATE, PLATE_INDEX = 6.0e-7, 1.2e-3, 5.0e-6, 1.6


def white_line_shift(path, spacing=SPACING):
    """3B-問6: how far the white line moves when one path gains `path`
    (m): a wavelength's gain moves every line one spacing on."""
    return path / LASER * spacing

# 5-問5: the alpha particle's kinetic energy measured (MeV), and 1 u in MeV.
ALPHA, MEV_PER_U = 4.78, 931.5

# 4-問1 and 4-問2: the bar of 図１１, and the force sensor's reading there.
BAR_WEIGHT, BAR_LENGTH, BAR_POST = 40.0, 2.0, 1.6      # N, m, m from A
READING = 15.0                                          # N


def post_push(weight_arm=BAR_POST - BAR_LENGTH / 2, string_down=False, subtract=True):
    """4-問1: the post's push: the bar's weight from the string's pull by
    the moments about the post, then what the string does not hold; or as
    a mistake takes the weight's arm, the string's pull (as downward) or
    the last step (left out)."""
    weight = READING * BAR_POST / weight_arm
    if not subtract:
        return weight
    return weight + READING if string_down else weight - READING


# ---------------------------------------------------------------- numbers

def rc_row():
    """A row of the logger's table: V (V) and I (mA) at t = 1.00 s."""
    k = measured.RC_TIME.index(measured.RC_ROW)
    return measured.RC_VOLTS[k], measured.RC_MILLIAMPS[k]


def rc_resistance():
    """R (kilohm) from a row: the resistor has E - V, and V/mA = kilohm."""
    volts, milliamps = rc_row()
    return (measured.EMF - volts) / milliamps


def rc_capacitance(mean=True, hours=None, across=None, amperes=1e-3):
    """2A-問1-2: C (F) from the two rows that bound the interval: the
    charge let in, the mean current times the time between, over the
    voltage's rise; or as a mistake takes the current (the earlier one),
    the time (the later row's clock), the voltage (the later one whole) or
    the milliamperes (as amperes)."""
    (t0, t1), (v0, v1), (i0, i1) = ([row[measured.RC_TIME.index(t)] for t in measured.RC_SPAN]
                                    for row in (measured.RC_TIME, measured.RC_VOLTS, measured.RC_MILLIAMPS))
    current = (i0 + i1) / 2 if mean else i0
    charge = current * amperes * (t1 - t0 if hours is None else hours(t0, t1))
    return charge / (v1 - v0 if across is None else across(v0, v1))


def first_speed(spacing=None):
    """3A-問1: the speed of sound (m/s) from the first table's minima: the
    path through Q grows by 2d, so neighbouring minima are λ/2 apart."""
    if spacing is None:
        spacing, _ = measured.spacing_line()
    return measured.FIRST_FREQUENCY * 2 * spacing / 100


def rod_field(length=None, ohms=None):
    """2B-問4-6: B (T) from the slope of F against the steady speed: at
    that speed F v = (v B L)^2 / R, so the slope is (B L)^2 / R; or as a
    mistake takes the rails' gap or the resistance."""
    slope, _ = line_fit(measured.ROD_SPEED, measured.ROD_PULL)
    length = measured.ROD_GAP if length is None else length
    return math.sqrt(slope * (measured.ROD_OHMS if ohms is None else ohms)) / length


def bar_tension(string_arm, weight_arm):
    """The string's tension from the moments about the post."""
    return BAR_WEIGHT * weight_arm / string_arm


def recomputed():
    """Each numerical answer worked out again from the question's data,
    in the unit its choices are printed in."""
    f = 1 / (1 / LENS_OBJECT - 1 / LENS_IMAGE)      # concave lens from the first object and image
    b = 1 / (1 / f - 1 / LENS_MOVED)                # image of the moved object (negative: virtual)
    net = [math.log2(n - measured.BACKGROUND) for n in measured.COUNT_RATE]
    half_life = -1 / line_fit(measured.COUNT_HOURS, net)[0]
    return {
        "1-問1-1": ramp_range(),                      # the speed off the ramp times the fall's time
        "1-問3": b,                                  # negative: on the object's (left) side
        "1-問4": ARRIVES + -2.0e-6 * (-20 - 0),      # the energy it arrives with, and Q (V_D - V_A):
                                                     # D at -20 V, A at 0 V
        "2A-問1-2": rc_capacitance(),
        "2B-問4-6": rod_field(),
        "3A-問1": first_speed(),
        "3B-問6": white_line_shift((PLATE_INDEX - 1) * PLATE),   # the film's (n - 1) t in bright lines
        "4-問1": post_push(),
        "5-問2": half_life * 4,                       # 1/16 is four half-lives
        "5-問5": ALPHA * (222 + 4) / 222 / MEV_PER_U,   # the radon's recoil 4/222 of the alpha's
    }


NEAREST = "nearest"


def mistaken():
    """Wrong answers the working names, each worked out from the data the
    way the mistake goes: (question, the choice it must lead to, value),
    and NEAREST where the mistake only has to land nearer its choice than
    any other: a path in 図１, or a half-life the mistake reads off
    whichever two counts it takes.  Any other mistake's value rounds to its
    choice as printed.  A mistake that lands nearer another choice makes
    that choice mean two things and its own choice mean none."""
    raw = [math.log2(n) for n in measured.COUNT_RATE]
    tenth = [math.log2(n - measured.BACKGROUND_HOUR / 10) for n in measured.COUNT_RATE]
    f = 1 / (1 / LENS_OBJECT - 1 / LENS_IMAGE)
    spacing, _ = measured.spacing_line()
    minima = measured.FIRST_MINIMA
    return [
        ("1-問1-1", 1, ramp_range(fall=RAMP), NEAREST),         # the ramp's 5.1 m taken for the fall too
        ("1-問1-1", 2, ramp_range(energy_half=1)),                # the half dropped from the energy
        ("1-問1-1", 2, ramp_range(fall_half=1)),                  # ... or from the fall
        ("1-問1-1", 5, ramp_range(root=False)),                   # the fall's square root not taken
        ("1-問3", 1, 1 / (1 / f + 1 / LENS_MOVED)),           # 1/a carried over with its sign kept
        ("1-問3", 2, -LENS_IMAGE * LENS_MOVED / LENS_OBJECT),  # the image's distance in proportion
        ("1-問3", 4, -1 / (1 / f - 1 / LENS_MOVED)),          # a virtual image put on the far side
        ("1-問3", 5, 1 / (-1 / f - 1 / LENS_MOVED)),          # the concave lens's f taken positive
        ("1-問4", 1, -(-2.0e-6) * (-20 - 0)),                 # the field's work, not the outside force's
        ("1-問4", 2, ARRIVES),                                # all the work taken to become kinetic energy
        ("1-問4", 4, ARRIVES + 2 * -2.0e-6 * (-20 - 0)),      # the field's work and the energy's rise both
        ("1-問4", 5, ARRIVES + 2.0e-6 * (10 + 10 + 40)),      # each leg's size added up
        ("2A-問1-2", 1, rc_capacitance(across=lambda v0, v1: v1)),     # the charge before t0 forgotten
        ("2A-問1-2", 3, rc_capacitance(mean=False)),                     # the earlier current held throughout
        ("2A-問1-2", 4, rc_capacitance(hours=lambda t0, t1: t1)),       # the later clock for the time between
        ("2A-問1-2", 5, rc_capacitance(amperes=1.0)),                    # milliamperes taken as amperes
        ("2B-問4-6", 1, rod_field() * measured.ROD_GAP ** 2),   # L^2 carried to the wrong side: B^2 = slope R L^2
        ("2B-問4-6", 2, rod_field() ** 2),                    # the square root not taken: B^2 for B
        ("2B-問4-6", 3, rod_field(length=math.sqrt(measured.ROD_GAP))),   # the force taken as IB, L left out
        ("2B-問4-6", 5, rod_field(ohms=1.0)),                 # R left out: the emf v B L taken as the current
                                                              # (R is not 0.50 ohm, where this read as √2 B)
        ("3A-問1", 1, measured.FIRST_FREQUENCY * 4 * minima[0] / 100),   # the paths taken equal at d = 0:
                                                              # 2 d1 taken as half a wavelength
        ("3A-問1", 2, first_speed(spacing) / 2),              # the path taken to grow by d, not 2d
        ("3A-問1", 3, first_speed((minima[-1] - minima[0]) / len(minima))),   # the gaps counted as the
                                                              # readings: (d3 - d1) / 3
        ("3B-問6", 1, (PLATE_INDEX - 1) * PLATE),              # the path difference taken for the shift
        ("3B-問6", 3, white_line_shift(PLATE)),               # the index forgotten: t for (n - 1)t
        ("3B-問6", 4, white_line_shift(PLATE_INDEX * PLATE)),   # nt for (n - 1)t: the film's waves
                                                              # counted, the air's it displaced kept in
        ("3B-問6", 5, white_line_shift((PLATE_INDEX - 1) * PLATE, spacing=SPACING * 1e3)),   # the spacing's
                                                              # 1.2 mm taken as 1.2 m
        ("4-問1", 1, READING),                                  # the two supports taken to push alike
        ("4-問1", 3, post_push(subtract=False)),                # the weight found, the string's share kept in
        ("4-問1", 4, post_push(weight_arm=BAR_LENGTH - BAR_POST)),   # the weight's arm taken as CB
        ("4-問1", 5, post_push(string_down=True)),              # the string taken to pull the bar down
        ("5-問2", 2, -4 / line_fit(measured.COUNT_HOURS, tenth)[0], NEAREST),   # the hour's count over 10, not 6
        ("5-問2", 2, 4 * 12 / (tenth[0] - tenth[-1]), NEAREST),        # ... read off the first and last counts
        ("5-問2", 2, 4 * 8 / (tenth[0] - tenth[2]), NEAREST),          # ... or the first and the 8 h ones
        ("5-問2", 3, -4 / line_fit(measured.COUNT_HOURS, raw)[0]),     # background left in
        ("5-問2", 4, 16 * 4.0),                                             # 1/16 as sixteen halvings
        ("5-問5", 1, ALPHA * (1 - 4 / 222) / MEV_PER_U),                  # the recoil taken off, not added
        ("5-問5", 2, ALPHA / MEV_PER_U),                                   # no recoil
        ("5-問5", 4, 2 * ALPHA / MEV_PER_U),                               # equal momenta taken as equal energies
        ("5-問5", 5, ALPHA * (1 + 222 / 4) / MEV_PER_U),                   # shared the wrong way round
    ]


NUMBER = re.compile(r"(\d+(?:\.\d+)?)(?:/(\d+))?(?:×10\^(-?\d+))?")


def value_of(choice):
    """The number a choice states, as printed (1/8, 6.0×10^-4, 0.40 ...),
    with half a unit of its last printed digit as its tolerance.  A lens
    position "左 x cm" (the object's side) counts as -x, a position named
    only by its number in 図３ ("位置③") as drawn there, a path named by its
    number in 図１ ("軌跡③") as where it lands, and a leading
    minus sign makes the value negative."""
    position = re.fullmatch(r"\s*位置([①-⑤])\s*", choice)
    if position:
        return LENS_POSITIONS[position.group(1)], 0.05
    path = re.fullmatch(r"\s*軌跡([①-⑤])\s*", choice)
    if path:
        end = PATH_ENDS[path.group(1)]
        return (end, 0.05) if end is not None else None
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


# ---------------------------------------------------------------- expressions

def expression(text):
    """A printed expression or relation (「m(M － m)v^2/(2M)」, 「W = Q +
    mv^2/2」) as a function of its letters: the value, or for a relation
    the left side less the right.  Letters stand alone, so 2M is 2 × M;
    a subscript stays with its letter (v_1, T_0 for v₁, T₀)."""
    tokens = re.findall(r"\d+(?:\.\d+)?|[A-Za-z](?:_\d)?|\^|[-+－−/()=]|√", text.replace(" ", "").replace("\u3000", ""))
    if "".join(tokens) != re.sub(r"[\s\u3000]", "", text):
        raise ValueError(f"cannot read the expression {text!r}")
    out, previous = [], None
    for token in tokens:
        atom_start = token[0].isalnum() or token in ("(", "√")
        if atom_start and previous is not None and (previous[0].isalnum() or previous == ")"):
            out.append("*")
        out.append({"^": "**", "－": "-", "−": "-", "=": ")-(", "√": "math.sqrt"}.get(token, token))
        previous = token
    source = "(" + "".join(out) + ")"
    letters = sorted(set(t for t in tokens if t[0].isalpha()))
    return lambda values: eval(source, {"math": math, "__builtins__": {}}, {k: values[k] for k in letters})


# Sample values for the letters: two sets, so that no two expressions agree
# by chance at both.
SAMPLES = [
    dict(k=15.0, m=4.0, v=6.0, E=6.0, V=340.0, R=2.0, F=0.8, B=0.5, L=1.5, W=40.0, Q=1.7, f=330.0,
         u=25.0, x=1.6, v_1=9.0, T_0=15.0),
    dict(k=2.8, m=2.5, v=3.0, E=9.0, V=300.0, R=5.0, F=2.0, B=1.3, L=0.4, W=25.0, Q=0.6, f=500.0,
         u=40.0, x=0.7, v_1=4.5, T_0=6.0),
]


def ball_speed_from_wall(s, recoil=None):
    """1-問5: the energy gained on the ice, ½mv² and the person's ½(km)(v/k)²
    (recoil: the person's speed as a mistake takes it), given to the ball
    alone against the wall: its speed over v."""
    recoil = s["v"] / s["k"] if recoil is None else recoil
    gained = 0.5 * s["m"] * s["v"] ** 2 + 0.5 * s["k"] * s["m"] * recoil ** 2
    return math.sqrt(gained / (0.5 * s["m"])) / s["v"]


def resistor_power(s, share=1 / 9, voltage_across=None):
    """2A-問1-1: the capacitor holds `share` of its final energy ½CE², so
    its voltage is E√share; the resistor has the rest of E, and the power
    is that squared over R (or the voltage a mistake puts across R)."""
    volts = s["E"] * math.sqrt(share)
    across = s["E"] - volts if voltage_across is None else voltage_across(volts)
    return across ** 2 / s["R"]


def heat_share(s, power=None):
    """2B-問5: the rod at speed v drives the current vBL/R, whose heat per
    second is over F's power Fv; F is the pull the steady speed v₁ balances,
    v₁B²L²/R, so the share comes out in v and v₁ (or over the power a
    mistake takes, given F)."""
    pull = s["v_1"] * (s["B"] * s["L"]) ** 2 / s["R"]
    current = s["v"] * s["B"] * s["L"] / s["R"]
    return current ** 2 * s["R"] / (pull * s["v"] if power is None else power(pull))


def reflected_pitch(s, receive=+1):
    """3B-問5: the wall hears the horn of a car coming at u, and the
    driver, coming at u, hears the echo (receive: the observer's motion,
    0 leaving it out).  The driver hears the horn itself at f: the beats
    are the difference."""
    at_wall = s["f"] * s["V"] / (s["V"] - s["u"])
    return at_wall * (s["V"] + receive * s["u"]) / s["V"]


def bar_string(s, rule=lambda x, L: (x - L / 2) / x):
    """4-問3: the string's pull with the post at x, T_0 with it at C (4L/5
    from A): the moments about the post give T = W (x - L/2) / x, and the
    reading at C gives W.  A mistake's rule (T over W) is used both ways:
    to find W from T_0 and then T, so every mistake still meets T_0 at C."""
    return s["T_0"] * rule(s["x"], s["L"]) / rule(0.8 * s["L"], s["L"])


# caption: (the worked value, {choice: (mistake, value the mistake gives)}).
EXPRESSIONS = {
    "1-問5": (ball_speed_from_wall, {
        1: ("the two energies' ratio turned over", lambda s: 1 / ball_speed_from_wall(s)),
        2: ("the person's recoil forgotten: the ball gets the energy it had", lambda s: ball_speed_from_wall(s, 0.0)),
        4: ("the speed taken in proportion to the energy: no square root", lambda s: ball_speed_from_wall(s) ** 2),
        5: ("the masses' ratio turned over in the momentum: the heavier person the faster, at kv",
            lambda s: ball_speed_from_wall(s, s["k"] * s["v"])),
    }),
    "2A-問1-1": (resistor_power, {
        1: ("the capacitor's voltage taken for the resistor's", lambda s: resistor_power(s, voltage_across=lambda v: v)),
        2: ("the power going into the capacitor, V I", lambda s: s["E"] / 3 * (s["E"] - s["E"] / 3) / s["R"]),
        3: ("the energy taken in proportion to V: no square root", lambda s: resistor_power(s, share=1 / 81)),
        4: ("the capacitor's voltage not taken off", lambda s: resistor_power(s, voltage_across=lambda v: s["E"])),
    }),
    "3B-問5": (lambda s: reflected_pitch(s) - s["f"], {
        1: ("horn and driver moving together taken to cancel: no shift, no beat", lambda s: 0.0),
        2: ("only the wall's hearing of a coming horn counted, the driver's own motion left out",
            lambda s: reflected_pitch(s, receive=0) - s["f"]),
        3: ("the echo's pitch taken for the number of beats", lambda s: reflected_pitch(s)),
        5: ("the two pitches added, not subtracted", lambda s: reflected_pitch(s) + s["f"]),
        6: ("the signs turned round, as if the car drew away: the echo low",
            lambda s: s["f"] - s["f"] * (s["V"] - s["u"]) / (s["V"] + s["u"])),
    }),
    "2B-問5": (heat_share, {
        2: ("the share turned over: F's power over the heat", lambda s: 1 / heat_share(s)),
        3: ("the kinetic energy's share taken for the heat's", lambda s: 1 - heat_share(s)),
        4: ("F's power taken at the steady speed, F v₁", lambda s: heat_share(s, power=lambda f: f * s["v_1"])),
    }),
    "4-問3": (bar_string, {
        1: ("the post's push about A taken for the string's pull",
            lambda s: bar_string(s, lambda x, L: L / 2 / x)),
        3: ("the string's arm taken as the bar's length L", lambda s: bar_string(s, lambda x, L: (x - L / 2) / L)),
        4: ("the string's arm taken from the post to B",
            lambda s: bar_string(s, lambda x, L: (x - L / 2) / (L - x))),
        5: ("the lever's arms turned over: T to W as x to x - L/2",
            lambda s: bar_string(s, lambda x, L: x / (x - L / 2))),
        6: ("A's guess in the dialogue: T in proportion to x", lambda s: bar_string(s, lambda x, L: x)),
    }),
}

def check_expressions(questions, faults):
    """The keyed expression is the worked one at every sample, every other
    is the mistake named for it and no other choice is."""
    for q, (caption, shown, _examined, correct, _points) in zip(questions, KEY):
        if caption in EXPRESSIONS:
            worked, mistakes = EXPRESSIONS[caption]
            try:
                printed = [expression(c[1:]) for c in q["choices"]]
            except ValueError as e:
                faults.append(f"{caption}: {e}")
                continue
            close = lambda a, b: abs(a - b) <= 1e-6 * max(1.0, abs(a), abs(b))
            for s in SAMPLES:
                values = [p(s) for p in printed]
                if not close(values[correct - 1], worked(s)):
                    faults.append(f"{caption}: keyed {q['choices'][correct - 1]!r} is {values[correct - 1]:.6g}, "
                                  f"worked {worked(s):.6g}")
                for choice, (name, fn) in mistakes.items():
                    hits = [k + 1 for k, value in enumerate(values) if close(value, fn(s))]
                    if hits != [choice]:
                        faults.append(f"{caption}: the mistake ({name}) gives {fn(s):.6g}, "
                                      f"which is choice {hits or 'none'}, not {choice}")
                    if close(fn(s), worked(s)):
                        faults.append(f"{caption}: the mistake ({name}) gives the right answer")


# ---------------------------------------------------------------- choice graphs

def graph_faults(figure, group, drawn, worked, named):
    """The faults of a figure of choice graphs: the keyed one draws what was
    worked out, each other what its named mistake gives, one apiece."""
    faults = []
    keyed = group[3]
    if drawn.get(keyed) != worked:
        faults.append(f"{figure}: graph {CIRCLED[keyed - 1]} draws {drawn.get(keyed)!r}, worked out {worked!r}")
    for n, want in named.items():
        if drawn.get(n) != want:
            faults.append(f"{figure}: graph {CIRCLED[n - 1]} draws {drawn.get(n)!r}, its mistake gives {want!r}")
    if len(set(drawn.values())) != len(drawn) or len(drawn) != group[1]:
        faults.append(f"{figure}: the graphs {drawn} are not one apiece for the {group[1]} choices")
    return faults


def check_panels(questions, faults):
    """図７ and 図９: the keyed graph draws the worked curve; each other
    graph draws a named mistake's, and no two graphs draw alike."""
    by_caption = {q["caption"]: q for q in questions}
    key = {k[0]: k for k in KEY}
    # 2A-問3: R doubled.  The starting current is E/R, the time scale RC.
    emf, r, c = measured.EMF, 2.0e3, 470e-6

    def change(new_r=2 * r, start=lambda r: emf / r, scale=lambda r: r * c):
        return start(new_r) / start(r), scale(new_r) / scale(r)

    worked = change()
    named = {
        1: change(scale=lambda _r: r * c),                   # the time scale taken not to move
        3: change(start=lambda _r: emf / r),                 # the starting current taken not to move
        4: change(scale=lambda r_: c * r * r / r_),          # a larger R taken to charge it sooner
        5: change(start=lambda r_: emf * r_ / r / r,         # R taken as a conductance: doubling it
                  scale=lambda r_: c * r * r / r_),          # doubles the start and halves RC
        6: (1.0, 1.0),                                       # R taken to change nothing
    }
    worked = tuple(round(x, 9) for x in worked)
    named = {n: tuple(round(x, 9) for x in pair) for n, pair in named.items()}
    drawn = {n: (f, s) for n, (f, s, _m) in panels.RC_PANELS.items()}
    faults += graph_faults("図７", key["2A-問3"], drawn, worked, named)
    # 2B-問4-5: the rod's speed.  Stepped from m dv/dt = F - k v, and from
    # the two equations of motion the mistakes write.
    samples = lambda curve: [curve(panels.ROD_AXES[0] * k / 400) for k in range(401)]
    shapes = {n: panels.shape(samples(curve)) for n, (curve, _m) in panels.ROD_PANELS.items()}
    worked = panels.shape(panels.rod_speed(1.0, 1.0, 1.0))
    named = {1: panels.shape(panels.rod_speed(1.0, 0.0, 1.0)),     # no braking force
             4: panels.shape(panels.rod_speed_flux(1.0, 1.0, 1.0)),   # the emf taken to follow the flux
             3: panels.shape(panels.rod_speed(1.0, 0.0, 1.0, balance=1.0)),   # braking only at balance
             2: panels.shape(panels.rod_speed(1.0, -1.0, 1.0))}      # the braking turned round
    faults += graph_faults("図９", key["2B-問4-5"], shapes, worked, named)
    for caption in ("2A-問3", "2B-問4-5"):
        q = by_caption.get(caption)
        if q and [c[1:].strip() for c in q["choices"]] != [f"グラフ{d}" for d in CIRCLED[:len(q["choices"])]]:
            faults.append(f"{caption}: the choices do not name the graphs in order")


# ---------------------------------------------------------------- combinations

def bar_string_moved():
    """4-問2: the post stays at C and the string, still upright, is tied
    a little way in from A towards C (short of the bar's middle)."""
    def forces(s):                            # string s metres from A
        t = bar_tension(BAR_POST - s, BAR_POST - BAR_LENGTH / 2)
        return t, BAR_WEIGHT - t
    (t0, n0), (t1, n1) = forces(0.0), forces(0.1)
    more = lambda after, before: "大きくなる" if after > before else "小さくなる"
    return {"T": more(t1, t0), "N": more(n1, n0)}


def energy_statements():
    """2A-問2: the heat in R against the energy C stores by the time C
    reaches E/2, and the whole heat with R or 2R; E and C fixed, the heat
    from the current stepped through the charging."""
    emf, cap = 6.0, 470e-6

    def heat(r, until, steps=200000):
        tau, total, dt = r * cap, 0.0, until / steps
        for k in range(steps):
            current = emf / r * math.exp(-(k + 0.5) * dt / tau)
            total += current ** 2 * r * dt
        return total
    half_way = 2.0e3 * cap * math.log(2)             # V = E (1 - e^(-t/RC)) = E/2
    stored = 0.5 * cap * (emf / 2) ** 2
    whole = 0.5 * cap * emf ** 2
    judge = lambda ok: "正" if ok else "誤"
    return {"ア": judge(abs(heat(2.0e3, half_way) - 3 * stored) < 1e-3 * stored),
            "イ": judge(abs(heat(4.0e3, 24 * 2.0e3 * cap) - heat(2.0e3, 12 * 2.0e3 * cap)) < 1e-3 * whole)}


MIN_TO_MAX = "音が最も小さくなる位置から、すぐ隣の最も大きくなる位置までの d の差"
MIN_TO_NEXT_BUT_ONE = "音が最も小さくなる位置から、二つ先の最も小さくなる位置までの d の差"


def misread_run():
    """3A-問2: the run whose spacing gives a speed of its own, and what its
    spacing was: a half (minimum to maximum) or a double (a minimum missed)."""
    speeds = [2 * f * d / 100 for f, d in zip(measured.SWEEP_FREQUENCY, measured.SWEEP_SPACING)]
    typical = sorted(speeds)[len(speeds) // 2]
    odd = max(range(len(speeds)), key=lambda k: abs(math.log(speeds[k] / typical)))
    ratio = speeds[odd] / typical
    kind = (MIN_TO_MAX if abs(ratio - 0.5) < 0.05 else MIN_TO_NEXT_BUT_ONE if abs(ratio - 2) < 0.2 else None)
    return {"ア": f"{measured.SWEEP_FREQUENCY[odd]} Hz", "イ": kind}


def string_statements():
    """3B-問4: neighbouring standing waves at 200 and 300 Hz on 0.60 m."""
    f1 = 300 - 200
    loops_at_300 = 300 // f1
    # more tension: a faster wave, a longer wavelength at 300 Hz, so the next
    # standing wave has the largest whole number of loops below three; the
    # speed goes as the root of the tension, the weight hung
    next_loops = loops_at_300 - 1
    heavier = (loops_at_300 / next_loops) ** 2
    judge = lambda ok: "正" if ok else "誤"
    return {"ア": judge(f1 == 200), "イ": judge(loops_at_300 == 3), "ウ": judge(abs(heavier - 1.5) < 1e-9)}


def photo_fit():
    """5-問1: h from the slope of V against ν, W from where the line meets
    ν = 0, in eV."""
    slope, intercept = line_fit(measured.LIGHT_FREQUENCY, measured.STOPPING)
    return {"h": E_CHARGE * slope, "W": -intercept}


def shot_heat():
    """5-問3: the lead's specific heat, J/(g K), from the slope of the
    temperature against the turns over the whole run: each turn m g h goes
    into m c ΔT, so the mass cancels."""
    slope, _ = line_fit(measured.SHOT_TURNS, measured.SHOT_TEMPS)
    return 9.8 * measured.SHOT_FALL / slope / 1000


def shot_statements():
    """5-問3: the value found, and how it stands to the true one: heat that
    leaks away keeps the rise small, so the value found is too large."""
    return {"ア": shot_heat(), "イ": "アは真の値より大きい" if shot_heat() > measured.LEAD_HEAT else "アは真の値より小さい"}


def cart_speed(positions, after):
    """5-問4: a cart's speed (m/s), the slope of its positions on the side
    of the collision asked for; the readings it falls between are each on
    their own side."""
    rows = [(t, x) for t, x in zip(measured.CART_TIME, positions)
            if (t >= measured.CART_HIT[1] if after else t <= measured.CART_HIT[0])]
    return line_fit([t for t, _ in rows], [x / 100 for _, x in rows])[0]


# 5-問4: cart A (0.50 kg) runs into cart B at rest; both run on the same way.
CART_A = 0.50
CART_BEFORE, CART_A_AFTER = cart_speed(measured.CART_A_AT, False), cart_speed(measured.CART_A_AT, True)
CART_B_AFTER = cart_speed(measured.CART_B_AT, True)


def cart_collision():
    """5-問4: B's mass from the momentum kept, and the coefficient of
    restitution from the speeds of parting and of closing."""
    return {"ア": CART_A * (CART_BEFORE - CART_A_AFTER) / CART_B_AFTER,
            "イ": (CART_B_AFTER - CART_A_AFTER) / CART_BEFORE}


COMBINATIONS = {"2A-問2": energy_statements, "3A-問2": misread_run, "3B-問4": string_statements,
                "4-問2": bar_string_moved, "5-問1": photo_fit, "5-問3": shot_statements, "5-問4": cart_collision}

# The statements the 正誤 questions judge, as the worked judgments above
# take them: each statement's line must say this, or the judgment is of
# another statement.
CLAIMS = {
    "2A-問2": {"ア": "電圧が E/2 になるまでの間に抵抗で発生したジュール熱は、その間にコンデンサーに蓄えられた静電エネルギーの 3 倍である",
               "イ": "2R の抵抗に取りかえて同じ実験をしても、S を閉じてから十分に時間がたつまでの間に抵抗で発生するジュール熱は変わらない"},
    "3B-問4": {"ア": "基本振動の振動数は 200 Hz である",
               "イ": "300 Hz のとき、弦には腹が 3 個の定常波ができる",
               "ウ": "300 Hz に保ったまま、おもりを少しずつ重くして張力を大きくしていくと、次に弦が共振するのは、おもりの質量がはじめの 1.5 倍になったときである"},
}

# Each wrong option of each part, and the mistake that leads to it (worked
# out where the mistake has a number).
OPTION_MISTAKES = {
    "2A-問2": {"ア": {"誤": "the whole charging's equal split of heat and stored energy taken to hold part way"},
               "イ": {"誤": "a larger R taken to heat less, the longer flow forgotten"}},
    "3A-問2": {"ア": {"1600 Hz": "the spacings only compared with their neighbours, not f × Δd"},
               "イ": {MIN_TO_NEXT_BUT_ONE: "a missed minimum taken to shorten the spacing, not to double it"}},
    "3B-問4": {"ア": {"正": "the lower of two neighbours taken for the fundamental"},
               "イ": {"誤": "loops and nodes mixed: four nodes counted"},
               "ウ": {"正": "the speed taken in proportion to the tension, not its root"}},
    "4-問2": {"T": {"小さくなる": "A's guess: the string taken to hold the part of the bar between it and the post"},
              "N": {"大きくなる": "N taken to follow T, T + N = W not used"}},
    "5-問1": {"h": {"4.1×10^-15 J・s": line_fit(measured.LIGHT_FREQUENCY, measured.STOPPING)[0]},   # h/e taken for h
              "W": {f"{measured.STOPPING[0]:.2f} eV": measured.STOPPING[0]}},   # the lowest line's eV
    "5-問3": {"ア": {"0.0071 J/(g・K)": shot_heat() / 20},   # the table's step of 20 turns taken as one turn
              "イ": {"アは真の値より小さい": "the heat lost taken to make the value found smaller"}},
    "5-問4": {"ア": {"0.44 kg": CART_A * CART_BEFORE / CART_B_AFTER},   # A's momentum after left out
              "イ": {"0.30": CART_A_AFTER / CART_BEFORE}},   # e = v'/v of a wall, used for A alone
}
# 3A-問2's neighbour-only reading: where the spacings first stop falling.
SPACING_TURN = next(measured.SWEEP_FREQUENCY[k + 1] for k in range(len(measured.SWEEP_SPACING) - 1)
                    if measured.SWEEP_SPACING[k + 1] > measured.SWEEP_SPACING[k])


def option_value(text):
    """A part's option as a number when it states one (「√2 倍」, 「2.1 eV」,
    「6.6×10^-34 J・s」)."""
    root = re.fullmatch(r"√(\d+(?:\.\d+)?)\s*倍", text)
    if root:
        return math.sqrt(float(root.group(1)))
    if not re.match(r"\d", text):
        return None
    printed = value_of(text)
    return printed[0] if printed else None


def nearest_option(options, want):
    """The option that states `want`, within a tenth, or None."""
    best = min(options, key=lambda o: abs((option_value(o) or math.inf) - want))
    return best if abs((option_value(best) or math.inf) - want) <= 0.1 * abs(want) else None


def check_combinations(questions, faults):
    """Each combination question offers every pairing of its parts' options
    once, the keyed choice pairs the worked option of every part, and every
    other option is a named mistake (at its number, where it has one)."""
    for q, (caption, _shown, examined, correct, _points) in zip(questions, KEY):
        if caption not in COMBINATIONS:
            continue
        rows = [dict(re.findall(r"(\S+?)：(.+?)(?=\s{2,}|\u3000\u3000|$)", line[1:].strip()))
                for line in q["choices"][:examined]]
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
            right[part] = (want if want in options[part] else None) if isinstance(want, str) or want is None \
                else nearest_option(options[part], want)
            if right[part] is None:
                faults.append(f"{caption}: no option of {part} is the worked {want!r}")
        if rows and len(rows) >= correct and rows[correct - 1] != right:
            faults.append(f"{caption}: keyed choice {rows[correct - 1]}, worked {right}")
        lines = text_lines(q["body"])
        for part, claim in CLAIMS.get(caption, {}).items():
            said = [line for line in lines if line.startswith(part + "\u3000")]
            if len(said) != 1 or claim not in said[0]:
                faults.append(f"{caption}: statement {part} is not the one judged ({claim!r}): {said}")
        named = OPTION_MISTAKES.get(caption, {})
        for part, opts in options.items():
            for option in opts:
                if option == right.get(part):
                    continue
                mistake = named.get(part, {}).get(option)
                if mistake is None:
                    faults.append(f"{caption}: {part}'s option {option!r} is no named mistake")
                elif not isinstance(mistake, str) and nearest_option(opts, mistake) != option:
                    faults.append(f"{caption}: the mistake for {part} gives {mistake:.3g}, not {option!r}")
        if caption == "3A-問2" and f"{SPACING_TURN} Hz" not in options.get("ア", []):
            faults.append(f"3A-問2: the neighbour-only reading picks {SPACING_TURN} Hz, which ア does not offer")


# ---------------------------------------------------------------- worded choices

# Choices that state an idea rather than a value: each wrong one and the
# idea that leads to it.
WORDED = {
    "1-問1-1": {4: "the fall taken at a steady speed like the horizontal motion: a straight path"},
    "1-問1-2": {1: "a faster ball taken to land sooner, and the angle taken not to change",
                2: "a faster ball taken to land sooner",
                3: "the same vertical speed taken to give the same angle",
                5: "a ball that flies farther taken to stay up longer, the angle right"},
    "1-問2": {2: "the temperatures put on the wrong curves",
              3: "the Celsius ratio 527/127, about 4, taken for the absolute one",
              4: "Boyle's law read as p in proportion to V"},
    "3A-問3": {1: "a value changed to fit the cause, nothing measured",
               2: "the odd run dropped, so nothing about it is found out",
               4: "the right record made at a run that fitted, not at the odd one"},
}


# Words that would tell a choice graph's answer: no text of its part may use
# them (a speed said to settle leaves two of 図９'s graphs).
TELLS = {"2B-問4-5": ("十分に時間がたった", "一定の速さ", "一定になる", "一定になった", "変わらなくなった")}


def check_tells(questions, faults):
    for q in (q for q in questions if q["caption"] in TELLS):
        text = "".join(text_lines(q["lead"] + "".join(p["body"] for p in questions if p["lead"] == q["lead"])))
        faults += [f"{q['caption']}: its part says {w!r}, which tells the graph"
                   for w in TELLS[q["caption"]] if w in text]


def check_named(questions, faults):
    """Every shown choice but the key is a named mistake in one of the
    tables above (a combination's choice through its wrong options)."""
    numbered = {(caption, choice) for caption, choice, *_value in mistaken()}
    for q, (caption, shown, _examined, correct, _points) in zip(questions, KEY):
        for choice in range(1, shown + 1):
            if choice == correct:
                continue
            if caption in COMBINATIONS:
                continue                     # each wrong option is checked in check_combinations
            named = ((caption, choice) in numbered
                     or choice in EXPRESSIONS.get(caption, (None, {}))[1]
                     or choice in WORDED.get(caption, {})
                     or (caption == "2A-問3" and choice in panels.RC_PANELS and panels.RC_PANELS[choice][2])
                     or (caption == "2B-問4-5" and choice in panels.ROD_PANELS and panels.ROD_PANELS[choice][1]))
            if not named:
                faults.append(f"{caption}: choice {CIRCLED[choice - 1]} is no named mistake")


def check_working_names_every_choice(text, faults):
    """The working explains every wrong choice: its section speaks of each."""
    sections = dict(re.findall(r"^## (\S+)\s*[—-]+.*?\n(.*?)(?=^## |\Z)", text, flags=re.M | re.S))
    for caption, shown, _examined, correct, _points in KEY:
        body = sections.get(caption, "")
        missing = [CIRCLED[k - 1] for k in range(1, shown + 1) if k != correct and CIRCLED[k - 1] not in body]
        if missing:
            faults.append(f"answers {caption}: the working says nothing of {''.join(missing)}")


# ---------------------------------------------------------------- paper and working

def unmarked(doc):
    """The paper without the marks that only keep its lines from breaking
    inside a label or a quantity (make_paper.py's keep_together)."""
    return doc.replace("&#x2060;", "").replace("&nbsp;", " ")


def text_lines(fragment):
    """Plain text lines of an HTML fragment; <sup>x</sup> becomes ^x and
    <sub>x</sub> _x."""
    s = re.sub(r"<sup>(.*?)</sup>", r"^\1", fragment, flags=re.S)
    s = re.sub(r"<sub>(.*?)</sub>", r"_\1", s, flags=re.S)
    s = re.sub(r"<br\s*/?>|</?p[^>]*>|</h\d>|<hr[^>]*>", "\n", s, flags=re.I)
    s = html.unescape(re.sub(r"<[^>]+>", "", s))
    return [line.strip() for line in s.split("\n") if line.strip()]


def parse_paper(doc, faults):
    """Questions of the paper: caption, points, choice lines, body text,
    and the lead-in of the part it belongs to (the text between the
    part's <h2> heading and its first question)."""
    parts = re.split(r"<h3>(.*?)</h3>", doc, flags=re.S)
    questions = []
    lead = ""
    for i in range(1, len(parts), 2):
        before = parts[i - 1]
        if "<h2>" in before:
            lead = before.rsplit("<h2>", 1)[1]
        heading = html.unescape(re.sub(r"<[^>]+>", "", parts[i])).strip()
        body = re.split(r"<h2>", parts[i + 1])[0]
        m = re.match(r"(\S+?)\s*[（(](\d+)点[）)]$", heading)
        if not m:
            faults.append(f"paper: heading {heading!r} lacks caption and points")
            continue
        lines = text_lines(body)
        choices = [line for line in lines if line[0] in CIRCLED]
        questions.append({"caption": m.group(1), "points": int(m.group(2)),
                          "choices": choices, "body": body, "lead": lead})
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
        for ref in re.findall(r"図([0-9０-９]+)", q["lead"] + q["body"]):
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
    for caption, choice, value, *how in mistaken():
        values = [value_of(c[1:]) for c in by_caption[caption]["choices"]]
        nearest = min((k for k in range(len(values)) if values[k] is not None),
                      key=lambda k: abs(values[k][0] - value)) + 1
        if nearest != choice:
            faults.append(f"{caption}: the mistake giving {value:.3g} leads to "
                          f"{CIRCLED[nearest - 1]}, not to {CIRCLED[choice - 1]} as the working says")
        elif how != [NEAREST] and not same(values[choice - 1], value):
            faults.append(f"{caption}: the mistake giving {value:.3g} is printed as "
                          f"{by_caption[caption]['choices'][choice - 1]!r}")


# ---------------------------------------------------------------- measured data

def table_row(doc, header):
    """The numbers of the table row headed `header`."""
    row = re.search(rf"<th>{re.escape(header)}</th>(.*?)</tr>", doc, re.S)
    return [float(x) for x in re.findall(r"<td>([\d.]+)</td>", row.group(1))] if row else None


def check_data(doc, faults):
    """The tables print measured.py's readings, and the readings hang
    together as an instrument's do."""
    printed = {
        "時刻 t〔s〕": measured.RC_TIME, "電圧 V〔V〕": measured.RC_VOLTS, "電流 I〔mA〕": measured.RC_MILLIAMPS,
        "d〔cm〕": measured.FIRST_MINIMA, "f〔Hz〕": measured.SWEEP_FREQUENCY, "Δd〔cm〕": measured.SWEEP_SPACING,
        "ν〔×10<sup>14</sup> Hz〕": [f / 1e14 for f in measured.LIGHT_FREQUENCY], "V〔V〕": measured.STOPPING,
        "力センサーの示す値 F〔N〕": measured.ROD_PULL, "2.0 s 後の棒の速さ v<sub>1</sub>〔m/s〕": measured.ROD_SPEED,
        "A から支柱までの距離 x〔m〕": measured.POST_AT, "力センサーの示す値 T〔N〕": measured.PULL,
        "ひっくり返した回数 n〔回〕": measured.SHOT_TURNS, "鉛の粒の温度〔℃〕": measured.SHOT_TEMPS,
        "時刻〔s〕": measured.CART_TIME, "台車 A の位置〔cm〕": measured.CART_A_AT,
        "台車 B の位置〔cm〕": measured.CART_B_AT,
        "試料を置いてからの経過時間〔h〕": measured.COUNT_HOURS, "10 分間の計数〔回〕": measured.COUNT_RATE,
    }
    for header, values in printed.items():
        row = table_row(doc, header)
        if row is None or [round(x, 6) for x in row] != [round(float(x), 6) for x in values]:
            faults.append(f"table {header}: prints {row}, measured {values}")
    # 2A: the logger's two channels agree, row by row, on one resistor (the
    # rows the current sensor gives to two figures or more), and the current
    # falls as one exponential from its t = 0 value.
    keyed = rc_resistance()
    for t, v, i in zip(measured.RC_TIME, measured.RC_VOLTS, measured.RC_MILLIAMPS):
        if i >= 0.3 and abs((measured.EMF - v) / i / keyed - 1) > 0.03:
            faults.append(f"2A: at t = {t} s, (E - V)/I is {(measured.EMF - v) / i:.3f} kΩ, not near {keyed:.3f}")
    start, scale = measured.charging_current()
    for t, i in zip(measured.RC_TIME, measured.RC_MILLIAMPS):
        if abs(start * math.exp(-t / scale) - i) > max(0.02, 0.03 * i):
            faults.append(f"2A: the current {i} mA at t = {t} s is off the curve 図７ draws")
    if measured.RC_TIME[0] != 0:
        faults.append("2A: the logger's table has no t = 0 reading")
    if abs(start - measured.EMF / keyed) > 0.03:
        faults.append(f"2A: the current starts at {start:.2f} mA, E/R is {measured.EMF / keyed:.2f}")
    if abs(rc_capacitance() * keyed * 1e3 / scale - 1) > 0.05:
        faults.append(f"2A: C from the charge let in is {rc_capacitance():.3g} F, the current's time scale "
                      f"{scale:.2f} s over R gives {scale / keyed / 1e3:.3g} F")
    # ... and scatter as two sensors do, rather than lie on V + RI = E for
    # the R that fits them best.
    pairs = list(zip(measured.RC_VOLTS, measured.RC_MILLIAMPS))
    best = sum((measured.EMF - v) * i for v, i in pairs) / sum(i * i for _v, i in pairs)
    off = [abs(measured.EMF - v - i * best) for v, i in pairs]
    if max(off) > 0.08 or max(off) < 0.02:
        faults.append(f"2A: V + RI is off E by at most {max(off):.3f} V, not a logger's scatter of a few hundredths")
    # 3A: every run but the misread one gives the first table's speed, each
    # spacing within what an ear finds a minimum to, and not all closer.
    first = first_speed()
    spacing, zero = measured.spacing_line()
    outs = [abs(zero + spacing * n - d) for n, d in enumerate(measured.FIRST_MINIMA, 1)]
    for f, d in zip(measured.SWEEP_FREQUENCY, measured.SWEEP_SPACING):
        right = first / (2 * f) * 100 * (0.5 if f == measured.MISREAD else 1)
        outs.append(abs(d - right))
        if abs(d - right) > measured.BY_EAR:
            faults.append(f"3A: the {f} Hz spacing {d} cm is {abs(d - right):.2f} cm from the first table's "
                          f"{right:.2f}, more than an ear's {measured.BY_EAR} cm")
    if max(outs) > measured.BY_EAR or max(outs) < 0.2:
        faults.append(f"3A: the minima are at most {max(outs):.2f} cm out, not as an ear finds them")
    if measured.FIRST_FREQUENCY in measured.SWEEP_FREQUENCY:
        faults.append(f"3A: table 2 has a {measured.FIRST_FREQUENCY} Hz run, whose spacing is 3A-問1's step")
    # 2B-問4-6: the steady speeds lie near one line through the origin,
    # each off it by about the speed sensor's last digit or two.
    slope, zero = line_fit(measured.ROD_SPEED, measured.ROD_PULL)
    off = [abs(f / slope - v) for f, v in zip(measured.ROD_PULL, measured.ROD_SPEED)]
    if not 0.005 <= max(off) <= 0.03 or abs(zero) > 0.002:
        faults.append(f"2B-問4-6: the speeds are at most {max(off):.3f} m/s off F in proportion to v, "
                      f"the line meets v = 0 at {zero:.4f} N, not as a speed sensor reads")
    # 5-問2: the counts scatter about the fitted decay as counts do, by
    # about their square root: neither far more nor far less.
    net = [n - measured.BACKGROUND for n in measured.COUNT_RATE]
    slope, intercept = line_fit(measured.COUNT_HOURS, [math.log2(n) for n in net])
    spread = [(n - 2 ** (intercept + slope * h)) / math.sqrt(n + measured.BACKGROUND)
              for h, n in zip(measured.COUNT_HOURS, net)]
    rms = math.sqrt(sum(x * x for x in spread) / len(spread))
    if not 0.2 <= rms <= 2.0:
        faults.append(f"5-問2: the counts scatter by {rms:.2f} of their square root about the decay, "
                      "not as counts do")
    # 第4問: the sensor's readings follow the moments for the 40 N bar, each
    # within a few tenths of a newton, the 4-問1 reading on it exactly.
    off = [abs(bar_tension(x, x - BAR_LENGTH / 2) - t) for x, t in zip(measured.POST_AT, measured.PULL)]
    if max(off) > 0.3 or max(off) < 0.05 or abs(bar_tension(BAR_POST, BAR_POST - BAR_LENGTH / 2) - READING) > 1e-9 \
            or measured.PULL[measured.POST_AT.index(BAR_POST)] != READING:
        faults.append(f"第4問: the readings are at most {max(off):.2f} N off the moments, not as a sensor's")
    # 5-問3: the temperatures lie near one line, each off it by about the
    # thermometer's last digit, and rise ever more slowly as heat leaks,
    # always slower than a loss-free run would.
    slope, zero = line_fit(measured.SHOT_TURNS, measured.SHOT_TEMPS)
    off = [abs(zero + slope * n - t) for n, t in zip(measured.SHOT_TURNS, measured.SHOT_TEMPS)]
    half = len(measured.SHOT_TURNS) // 2
    early = line_fit(measured.SHOT_TURNS[:half], measured.SHOT_TEMPS[:half])[0]
    late = line_fit(measured.SHOT_TURNS[half:], measured.SHOT_TEMPS[half:])[0]
    lossless = 9.8 * measured.SHOT_FALL / (measured.LEAD_HEAT * 1000)
    if not 0.03 <= max(off) <= 0.1 or not late < early < lossless:
        faults.append(f"5-問3: the temperatures are at most {max(off):.3f} ℃ off their line and rise "
                      f"{early:.4f} then {late:.4f} K a turn (loss-free {lossless:.4f}), not as a leaking run reads")
    if misread_run()["ア"] != f"{measured.MISREAD} Hz":
        faults.append(f"3A: the odd run is {misread_run()['ア']}, measured.py has {measured.MISREAD} Hz misread")


def check_descriptions(faults):
    """図７'s words give each graph's dashed start as drawn, 図９'s each
    graph; neither says more than the drawing does (no answer, no mistake,
    no judgement of how fast one curve falls against another)."""
    spoken = dict(line.split("\t", 1) for line in DESCRIPTIONS.read_text(encoding="utf-8").splitlines() if "\t" in line)
    start, _scale = measured.charging_current()
    said = spoken.get("7", "")
    for n, (factor, stretch, _mistake) in panels.RC_PANELS.items():
        part = said.split(f"グラフ{CIRCLED[n - 1]}では、", 1)[-1].split("グラフ", 1)[0]
        if f"グラフ{CIRCLED[n - 1]}では、" not in said:
            faults.append(f"図７: the description does not speak of graph {CIRCLED[n - 1]}")
        elif (factor, stretch) != (1.0, 1.0) and f"{factor * start:.1f}から" not in part:
            faults.append(f"図７: graph {CIRCLED[n - 1]}'s dashed curve starts at {factor * start:.1f}, "
                          "and the description does not say so")
    for n in panels.ROD_PANELS:
        if f"グラフ{CIRCLED[n - 1]}は、" not in spoken.get("9", ""):
            faults.append(f"図９: the description does not speak of graph {CIRCLED[n - 1]}")
    for figure in ("7", "9"):
        for telling in ("正しい", "正解", "誤り", "時定数", "面積", "半分", "ゆっくり", "速く"):
            if telling in spoken.get(figure, ""):
                faults.append(f"図{figure}: the description says {telling!r}, which the drawing does not")


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
    doc = unmarked(raw.decode("cp932", errors="replace"))
    check_rules(doc, faults)
    answers = ANSWERS.read_text(encoding="utf-8")
    check_answers(answers, questions, faults)
    check_figures_used(answers, questions, faults)
    check_working_names_every_choice(answers, faults)
    check_numbers(questions, faults)
    check_order(questions, faults)
    check_mistakes(questions, faults)
    check_expressions(questions, faults)
    check_panels(questions, faults)
    check_combinations(questions, faults)
    check_named(questions, faults)
    check_tells(questions, faults)
    check_data(doc, faults)
    check_descriptions(faults)
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
