"""Measured values drawn in the paper's graphs, shared by the figures
(figures.py) and the paper check (tools/check_paper.py), so that the
points and lines a candidate reads are the ones the check works from.
Plain data and arithmetic only: the check runs without Pillow."""

# 2A-問3, 図７: speed (m/s) as timed, its square as plotted, and the
# string's tension (N) read off the force sensor.
SPEED = [0.98, 1.42, 1.71, 2.03, 2.22, 2.47]
SPEED_SQUARED = [round(v * v, 2) for v in SPEED]
TENSION = [1.3, 2.4, 3.7, 5.2, 6.1, 7.7]

# 2B, 図９: mass on the pan (g) and the time of ten swings (s) as the
# table prints them; the 150 g run is the miscounted one the students drop.
PAN_MASS = [50, 100, 150, 200, 250]
TEN_SWINGS = [5.52, 7.04, 7.49, 9.52, 10.46]
DROPPED = 150


def period_squared():
    """T squared (s^2) of each run, T being a tenth of the timed swings."""
    return [(t / 10) ** 2 for t in TEN_SWINGS]


def through_origin(xs, ys):
    """Slope of the least-squares line through the origin."""
    return sum(x * y for x, y in zip(xs, ys)) / sum(x * x for x in xs)


def line_fit(xs, ys):
    """Slope and intercept of the least-squares line."""
    mx, my = sum(xs) / len(xs), sum(ys) / len(ys)
    slope = sum((x - mx) * (y - my) for x, y in zip(xs, ys)) / sum((x - mx) ** 2 for x in xs)
    return slope, my - slope * mx


def tension_line():
    """The line drawn in 図７: N per m^2/s^2, through the origin."""
    return through_origin(SPEED_SQUARED, TENSION)


def swing_line():
    """The line drawn in 図９ through the kept runs: slope in s^2 per
    gram and intercept in s^2."""
    kept = [(m, t2) for m, t2 in zip(PAN_MASS, period_squared()) if m != DROPPED]
    return line_fit([m for m, _ in kept], [t2 for _, t2 in kept])
