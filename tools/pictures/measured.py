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
# The voltage sensor reads 0.02 V with nothing across it, and both sensors
# scatter by a unit or two in their last digit.
RC_VOLTS = [0.02, 1.17, 2.50, 3.93, 5.32, 5.95]   # V across C
RC_MILLIAMPS = [2.97, 2.44, 1.75, 1.04, 0.35, 0.05]
RC_ROW = 1.00                                     # s: a row R is read from
RC_SPAN = (0.20, 0.50)                            # s: the rows 2A-問1-2 finds C between

# 第3問 A: the sliding tube at 1000 Hz, the minima found as Q is drawn out
# (d read to the millimetre), and the spacing of two neighbouring minima at
# five other frequencies, none of them 1000 Hz: the second table would
# otherwise print the first table's spacing, which 3A-問1 asks the candidate
# to find.  A minimum found by ear is a few millimetres out; the 1600 Hz run
# is the furthest out of those read right.  The 1250 Hz spacing is the one
# taken from a minimum to the next maximum.
FIRST_FREQUENCY = 1000                            # Hz
FIRST_MINIMA = [3.0, 20.4, 37.4]                  # cm, 1st to 3rd
SWEEP_FREQUENCY = [630, 800, 1250, 1600, 2000]    # Hz
SWEEP_SPACING = [27.0, 21.2, 7.1, 10.4, 8.8]      # cm
BY_EAR = 0.4                                      # cm: how far out a minimum found by ear may be
MISREAD = 1250                                    # Hz

# 2B-問4-6: the rod's speed 2.0 s into the pull (a speed sensor, to 0.01
# m/s) for four pulls read on the force sensor; rails 0.40 m apart through
# 0.60 ohm.  By then the rod runs at its steady speed, where F = (B L)^2 v /
# R, so F is in proportion to v.
ROD_PULL = [0.020, 0.040, 0.060, 0.080]           # N
ROD_SPEED = [0.47, 0.95, 1.39, 1.88]              # m/s
ROD_GAP, ROD_OHMS = 0.40, 0.60                    # m, ohm

# 5-問1: stopping voltage against frequency, for five lines of a mercury
# lamp (579/577, 546, 436, 405 and 365 nm).
LIGHT_FREQUENCY = [5.19e14, 5.49e14, 6.88e14, 7.41e14, 8.20e14]   # Hz
STOPPING = [0.24, 0.37, 0.95, 1.14, 1.49]                         # V

# 5-問2: counts in ten minutes, background included, as a GM counter
# gives them: each count scatters by about its square root.  The
# background was counted for an hour before the sample was put in.
COUNT_HOURS = [0, 4, 8, 12]
COUNT_RATE = [2031, 1176, 797, 598]               # counts in 10 minutes
BACKGROUND_HOUR = 2400                            # counts in 60 minutes
BACKGROUND = BACKGROUND_HOUR * 10 // 60           # counts in 10 minutes

# 第4問: the string's pull read by a force sensor (to 0.1 N) as the post is
# set at x metres from A under the 2.0 m bar; the bar is 40 N, which 4-問1's
# working finds from the 15 N reading at x = 1.6 m on the way to the post's push.
POST_AT = [1.2, 1.4, 1.6, 1.8]                    # m
PULL = [6.8, 11.3, 15.0, 17.8]                    # N

# 5-問3: lead shot in a closed tube turned over n times, each time falling
# 1.00 m; its temperature read to 0.1 degrees every 20 turns.  Heat leaks to
# the tube and the air, more as the shot warms, so the rise slows a little
# and stays below the 9.8 x 1.00 / 130 K a turn of a loss-free run.
SHOT_TURNS = [0, 20, 40, 60, 80, 100]
SHOT_TEMPS = [18.0, 19.5, 20.9, 22.3, 23.6, 24.9]   # degrees Celsius
SHOT_FALL = 1.00                                      # m
LEAD_HEAT = 0.13                                      # J/(g K), the handbook value


# 5-問4: the carts' centres (cm from the rail's end) read by a position
# sensor every 0.10 s; A (0.50 kg) runs into B at rest between 0.20 and
# 0.30 s, and both run on at steady speeds.  The paper prints the two
# readings either side of the collision, all each speed needs.
CART_TIME = [0.10, 0.20, 0.30, 0.40]                  # s
CART_A_AT = [28.0, 36.0, 41.2, 43.6]                  # cm
CART_B_AT = [50.0, 50.0, 54.5, 63.5]                  # cm
CART_HIT = (0.20, 0.30)                               # s: the readings the collision falls between


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
