"""The program on a 1366x768 screen at the scales of a desktop set to 150 and
200 %, under openbox and read through the AT-SPI bus: the window within the
screen, and every control Tab, Ctrl+Tab and the arrows reach wholly on the
screen once it has the focus, as a magnifier following the focus shows it.
Run inside xvfb-run and dbus-run-session (see scaled_check.sh)."""

import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PROGRAM = sys.argv[1]
failures = []
focused = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def run(*command):
    return subprocess.run(command, capture_output=True, text=True).stdout.strip()


def pump(seconds=0.0):
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_for(predicate, seconds=30.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump()
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return predicate()


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Vardo":
            return app
    return None


def on_focus(event):
    if event.detail1 == 1:
        focused.append(event.source)


def geometry(window):
    info = run("xwininfo", "-id", window)
    field = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
            field("Width"), field("Height"))


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def inside(box, screen):
    x, y, w, h = box
    return x >= screen[0] - 1 and y >= screen[1] - 1 and x + w <= screen[0] + screen[2] + 1 \
        and y + h <= screen[1] + screen[3] + 1


def walk(scale, keys, window, frame, unit):
    # The bridge gives extents in the unit it counts in: compare in pixels.
    screen = (0, 0, 1366, 768)
    for key in keys:
        focused.clear()
        run("xdotool", "key", "--window", window, key)
        pump(0.3)
        if not focused:
            continue
        node = focused[-1]
        try:
            x, y, w, h = (round(v * unit) for v in extents(node))
        except Exception:  # gone already, as a page's boxes on a page change
            continue
        # Larger than the room the menu bar and scroll bars leave: shown from
        # its top-left corner, where reading starts.
        if w > frame[2] - 20 * unit or h > frame[3] - 40 * unit:
            w, h = 1, 1
        check(inside((x, y, w, h), screen) and inside((x, y, w, h), frame),
              "%s: %s %s at %d,%d %dx%d on screen" % (scale, key, node.name or node.getRoleName(),
                                                      x, y, w, h))


def session(scale):
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_SCALE_FACTOR=scale)
    program = subprocess.Popen([PROGRAM], cwd=os.path.dirname(PROGRAM), env=env)
    try:
        app = wait_for(lambda: application() if run("xdotool", "search", "--onlyvisible",
                                                    "--name", "Vardo") else None, 60)
        check(app is not None, "%s: the program on the AT-SPI bus" % scale)
        if app is None:
            return
        window = run("xdotool", "search", "--onlyvisible", "--name", "Vardo").split()[0]
        time.sleep(1)
        frame = geometry(window)
        check(inside(frame, (0, 0, 1366, 768)), "%s: the window within the screen %s" % (scale, frame))
        top = [app.getChildAtIndex(i) for i in range(app.childCount)]
        frames = [f for f in top if f is not None and f.getRole() == pyatspi.ROLE_FRAME]
        unit = frame[2] / max(1, extents(frames[0])[2]) if frames else 1.0
        print("%s: the bridge counts %.2f pixels a unit" % (scale, unit))
        folder = os.environ.get("VARDO_DESKTOP_SHOTS")
        walk(scale, ["Tab"] * 8 + ["ctrl+Tab"] * 4 + ["Right"] * 4 + ["Tab"] * 10, window, frame, unit)
        if folder:
            run("import", "-window", "root", os.path.join(folder, "scaled-%s.png" % scale))
    finally:
        program.terminate()
        program.wait(10)


def main():
    wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    try:
        wait_for(lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
        for scale in ("1.5", "2"):
            session(scale)
    finally:
        wm.terminate()
        wm.wait(10)
    print("%d failed" % len(failures))
    sys.exit(1 if failures else 0)


main()
