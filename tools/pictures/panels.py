"""The curves the choice graphs of 図７ and 図９ draw, one per numbered
graph, each with the mistake that leads to it (the keyed one with none).
The figures draw from here and tools/check_paper.py works out which graph
is right and which mistake gives each of the others, so a graph redrawn
changes the check with it.  Plain arithmetic: the check runs without Pillow."""
import math

import measured

# 2A-問3, 図７: the measured current (solid) and, dashed, the current with R
# doubled as each graph has it: the starting current and the time scale as
# multiples of the measured ones.
RC_PANELS = {
    1: (0.5, 1.0, "starting current halved, time scale RC kept"),
    2: (0.5, 2.0, None),
    3: (1.0, 2.0, "starting current E/R taken not to depend on R"),
    4: (0.5, 0.5, "a larger R taken to charge the capacitor sooner"),
    5: (2.0, 0.5, "R taken as a conductance: a larger R taken to pass more current and charge C sooner"),
    6: (1.0, 1.0, "the current taken not to depend on R at all"),
}
RC_AXES = (4.0, 6.0)            # t up to 4 s, I up to 6 mA


def rc_curves(panel):
    """The solid and dashed currents (mA) of one graph, as functions of t."""
    start, scale = measured.charging_current()
    factor, stretch, _mistake = RC_PANELS[panel]
    return (lambda t: start * math.exp(-t / scale),
            lambda t: factor * start * math.exp(-t / (stretch * scale)))


# 2B-問4-5, 図９: the rod's speed against time, from rest in every graph as
# the paper has it.  Speeds in units of the speed the rod tends to, times in
# units of m R / (B L)^2; graph 2 runs away, so it is drawn to its own
# scales to stay in its frame (no graph prints a scale).
ROD_PANELS = {
    1: (lambda t: t, "the induced current's force left out: F/m throughout"),
    2: (lambda t: (math.exp(t / 2) - 1) / 5, "the induced current's force taken the wrong way round, "
                                             "along the motion: it grows with the speed and speeds the rod up"),
    3: (lambda t: min(t, 1.0), "the induced current's force taken to act only once it matches F: "
                               "F/m until the balancing speed, then that speed at once"),
    4: (lambda t: 4 / math.pi * math.sin(math.pi * t / 4),
        "the emf taken in proportion to the flux itself, not to its rate of change: a braking force that "
        "grows with the distance run, so the rod is pulled back as by a spring and stops"),
    5: (lambda t: 1 - math.exp(-t), None),
}
ROD_AXES = (4.0, 1.5)           # t up to 4, v up to 1.5 (the speed it tends to is 1)


def rod_speed(push, drag, mass, steps=4000, end=4.0, balance=None):
    """The rod's speed sampled on [0, end], stepped from m dv/dt = push -
    drag v from rest: the equation of motion each graph's maker had (a
    negative drag for one who turns the braking round).  With
    `balance`, the braking is taken to be nothing below that speed and to
    hold the rod there once it gets there."""
    v, dt, out = 0.0, end / steps, [0.0]
    for _ in range(steps):
        v += (push - drag * v) / mass * dt
        if balance is not None:
            v = min(v, balance)
        out.append(v)
    return out


def rod_speed_flux(push, spring, mass, steps=4000, end=4.0):
    """The rod's speed sampled on [0, end] as one has it who takes the emf
    to follow the flux through the circuit (which grows with the distance x
    run) rather than its rate of change: m dv/dt = push - spring x."""
    v, x, dt, out = 0.0, 0.0, end / steps, [0.0]
    for _ in range(steps):
        v += (push - spring * x) / mass * dt
        x += v * dt
        out.append(v)
    return out


def shape(samples):
    """What a curve does, as a candidate reads it off: how it starts, and
    whether it rises, falls, levels off or runs away."""
    first, last = samples[0], samples[-1]
    mid = samples[len(samples) // 2]
    top = max(samples)
    if max(samples) - min(samples) < 1e-9:
        return "flat"
    tail = samples[len(samples) // 2:]
    if max(tail) - min(tail) < 1e-9:
        return "straight then flat"
    if top > 1.05 * last and top > 1.05 * first:
        return "up then down"
    rise_first = samples[len(samples) // 4] - first
    rise_last = last - samples[3 * len(samples) // 4]
    if abs(rise_first - rise_last) < 1e-6 * max(1.0, abs(top)):
        return "straight"
    if rise_last > rise_first:
        return "steeper and steeper"
    return "levelling off" if mid > first else "falling"
