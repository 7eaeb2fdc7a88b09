"""Measured values the paper prints and its figures draw, shared by the
figures (figures.py) and the paper check (tools/check_paper.py), so that
the tables, curves and points a candidate reads are the ones the check
works from.  Plain data and arithmetic only: the check runs without Pillow.

Each set is written as its instrument gives it: a data logger's readings
to its last digit, a ruler read to the millimetre, counts as counted, with
the scatter that comes with them."""
import math

# 第2問 A, 図７: the charging of C through R, recorded by a data logger from
# a current sensor and a voltage sensor.  t = 0 is when the current starts.
EMF = 6.0                                         # V, as the paper gives it
RC_TIME = [0.00, 0.20, 0.50, 1.00, 2.00, 4.00]    # s
RC_VOLTS = [0.00, 1.16, 2.48, 3.95, 5.31, 5.93]   # V across C
RC_MILLIAMPS = [2.99, 2.41, 1.76, 1.03, 0.35, 0.04]
RC_ROW = 1.00                                     # s: the row 2A-問1-2 reads

# 第3問 A: the sliding tube at 1000 Hz, the minima found as Q is drawn out
# (d read to the millimetre), and the spacing of two neighbouring minima at
# five frequencies (the 1000 Hz one from the first table).  The 1250 Hz
# spacing is the one taken from a minimum to the next maximum.
FIRST_FREQUENCY = 1000                            # Hz
FIRST_MINIMA = [3.1, 20.2, 37.5]                  # cm, 1st to 3rd
SWEEP_FREQUENCY = [800, 1000, 1250, 1600, 2000]   # Hz
SWEEP_SPACING = [21.4, 17.2, 6.9, 10.8, 8.7]      # cm
MISREAD = 1250                                    # Hz

# 5-問1: stopping voltage against frequency.
LIGHT_FREQUENCY = [6.0e14, 7.0e14, 8.0e14, 9.0e14, 10.0e14]   # Hz
STOPPING = [0.40, 0.84, 1.22, 1.66, 2.05]                     # V

# 5-問2: counts per minute, background included.
COUNT_HOURS = [0, 4, 8, 12]
COUNT_RATE = [980, 584, 377, 282]
BACKGROUND = 180


def line_fit(xs, ys):
    """Slope and intercept of the least-squares line."""
    mx, my = sum(xs) / len(xs), sum(ys) / len(ys)
    slope = sum((x - mx) * (y - my) for x, y in zip(xs, ys)) / sum((x - mx) ** 2 for x in xs)
    return slope, my - slope * mx


def charging_current():
    """Starting current (mA) and time scale RC (s) of the recorded
    current, from the least-squares line of its logarithm against t over
    the readings the sensor gives to two figures or more."""
    kept = [(t, math.log(i)) for t, i in zip(RC_TIME, RC_MILLIAMPS) if i >= 0.3]
    slope, intercept = line_fit([t for t, _ in kept], [y for _, y in kept])
    return math.exp(intercept), -1 / slope


def spacing_line():
    """The first table's minima against their number: the spacing of two
    neighbours (cm) and where the line meets number 0."""
    return line_fit(range(1, len(FIRST_MINIMA) + 1), FIRST_MINIMA)
