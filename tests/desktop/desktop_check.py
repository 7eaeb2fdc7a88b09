"""The program on a real X server, under a window manager and heard through
the AT-SPI bus: windows a person can bring back and controls a screen reader
can name; then on the same 1366x768 screen at the scales of a desktop set to
150 and 200 %. Run inside xvfb-run and dbus-run-session (see
desktop_check.sh)."""

import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PROGRAM, SOURCE = sys.argv[1], sys.argv[2]
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def wait_for(predicate, seconds=15.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return predicate()


def run(*command):
    return subprocess.run(command, capture_output=True, text=True).stdout.strip()


def expected_captions():
    layout = open(os.path.join(SOURCE, "exam", "examlayout.h"), encoding="utf-8").read()
    answers = re.findall(r'\{"([^"]+)", \d+, \d+\}', layout)
    figures = re.findall(r'\{"(図[^"]+)", \{', layout)
    return ["問題"] + figures, answers


# --- the desktop -----------------------------------------------------------

def window_manager_ready():
    return "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")


# Mapped windows only: Qt keeps small unmapped helper windows of the same name.
def x_windows(title):
    return run("xdotool", "search", "--onlyvisible", "--name", title).split()


def window_state(window):
    return run("xprop", "-id", window, "_NET_WM_STATE", "WM_STATE")


def is_shown(window):
    state = window_state(window)
    return "_NET_WM_STATE_HIDDEN" not in state and "Normal" in state


def active_window():
    return run("xdotool", "getactivewindow")


# --- the accessible tree ---------------------------------------------------

# The list of applications follows the registry's signals, which arrive only
# while the main loop turns.
def application():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "Vardo":
            return app
    return None


def walk(node, found):
    found.append(node)
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, found)
    return found


def everything(app):
    return walk(app, [])


def by_role(nodes, role):
    return [n for n in nodes if n.getRole() == role]


def press(nodes, name):
    for node in by_role(nodes, pyatspi.ROLE_PUSH_BUTTON):
        if node.name == name:
            action = node.queryAction()
            for i in range(action.nActions):
                if action.getName(i) in ("Press", "press", "click"):
                    action.doAction(i)
                    return True
    return False


def children(app):
    return [app.getChildAtIndex(i) for i in range(app.childCount)]



# --- the checks ------------------------------------------------------------

def check_tree(app, nodes):
    questions, answers = expected_captions()
    lists = by_role(nodes, pyatspi.ROLE_PAGE_TAB_LIST)
    check(len(lists) == 2, "two page tab lists (found %d)" % len(lists))
    names = [[c.name for c in by_role([l.getChildAtIndex(i) for i in range(l.childCount)],
                                      pyatspi.ROLE_PAGE_TAB)] for l in lists]
    check(questions in names, "12 question tabs named by caption %s" % names[:1])
    check(answers in names and len(answers) == 27, "27 answer tabs named by caption")
    selected = [t.name for t in by_role(nodes, pyatspi.ROLE_PAGE_TAB)
                if t.getState().contains(pyatspi.STATE_SELECTED)]
    check(sorted(selected) == sorted(["問題", answers[0]]), "the current tabs selected %s" % selected)

    boxes = [b.name for b in by_role(nodes, pyatspi.ROLE_CHECK_BOX)]
    pattern = re.compile(r"^(%s) の [①②③④⑤⑥⑦⑧]$" % "|".join(map(re.escape, answers)))
    check(len(boxes) == 130 and all(pattern.match(b) for b in boxes),
          "130 check boxes named by page and choice (found %d)" % len(boxes))

    buttons = {b.name for b in by_role(nodes, pyatspi.ROLE_PUSH_BUTTON)}
    check({"スタート", "得　点", "合格率"} <= buttons, "the three buttons %s" % sorted(buttons))

    texts = []
    for node in nodes:
        try:
            text = node.queryText()
        except NotImplementedError:
            continue
        texts.append(text.getText(0, text.characterCount))
    check(any("試験時間は" in t and "100 点満点" in t for t in texts),
          "the paper readable through the text interface")

    figures = {n.name: n.description for n in nodes
               if n.name in questions[1:] and n.getRole() != pyatspi.ROLE_PAGE_TAB}
    described = [name for name in questions[1:] if figures.get(name)]
    check(len(described) == 11, "11 figures named and described (found %s)" % described)


def check_brought_back(app, nodes, title, open_it):
    open_it()
    windows = wait_for(lambda: x_windows(title))
    check(bool(windows), "%s opens" % title)
    if not windows:
        return
    window = windows[0]
    wait_for(lambda: is_shown(window))
    # A reader names the window it enters from the frame above the focus.
    frame = wait_for(lambda: [c for c in children(app) if c.name == title
                              and c.getRole() == pyatspi.ROLE_FRAME])
    check(bool(frame), "%s a frame to a screen reader (%s)"
          % (title, [(c.name, c.getRoleName()) for c in children(app)]))
    check_framed_inside_screen(window, title + " at first")
    shoot(title + " at first")
    run("xdotool", "windowminimize", "--sync", window)
    hidden = wait_for(lambda: "_NET_WM_STATE_HIDDEN" in window_state(window))
    check(bool(hidden), "%s minimizes" % title)
    open_it()
    check(bool(wait_for(lambda: is_shown(window), 5)), "%s shown again: %s" % (title, window_state(window)))
    check(bool(wait_for(lambda: active_window() == window, 5)), "%s active again" % title)
    check_framed_inside_screen(window, title)
    shoot(title)


# VARDO_DESKTOP_SHOTS=folder keeps a picture of the screen after each window.
def shoot(name):
    folder = os.environ.get("VARDO_DESKTOP_SHOTS")
    if folder:
        time.sleep(1)  # let the window paint after the manager's animation
        run("convert", "x:root", os.path.join(folder, name + ".png"))


def frame_of(window):
    extents = run("xprop", "-id", window, "_NET_FRAME_EXTENTS")
    left, right, top, bottom = map(int, re.findall(r"\d+", extents.split("=")[-1])) \
        if "=" in extents else (0, 0, 0, 0)
    x, y, width, height = client_of(window)
    x, y, width, height = x - left, y - top, width + left + right, height + top + bottom
    screen = run("xwininfo", "-root")
    screen_w, screen_h = (int(re.search(name + r":\s+(\d+)", screen).group(1))
                          for name in ("Width", "Height"))
    centred = abs(2 * x + width - screen_w) <= 2 and (abs(2 * y + height - screen_h) <= 2 or y == 0)
    return x >= 0 and y >= 0 and centred, "frame %dx%d+%d+%d" % (width, height, x, y)


# The window manager may animate a window's restoring: give it time to land.
def check_framed_inside_screen(window, title):
    wait_for(lambda: frame_of(window)[0], 3)
    placed, frame = frame_of(window)
    check(placed, "%s framed and centred: %s" % (title, frame))


# --- a low-vision candidate's desktop: 150 and 200 % ------------------------

focused = []


def on_focus(event):
    if event.detail1 == 1:
        focused.append(event.source)


def pump(seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def client_of(window):
    info = run("xwininfo", "-id", window)
    field = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"))


def inside(box, area):
    x, y, w, h = box
    return x >= area[0] - 1 and y >= area[1] - 1 and x + w <= area[0] + area[2] + 1 \
        and y + h <= area[1] + area[3] + 1


# Each control Tab, Ctrl+Tab and the arrows reach, and the character at a
# text's caret, lies on the screen and in the window once it has the focus,
# where a magnifier following the focus is told it lies, in the screen's
# pixels; a control larger than the room the menu bar and scroll bars
# leave, from its top-left corner.
def caret_text(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text if 0 <= text.caretOffset < text.characterCount else None


def check_scaled(scale):
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_SCALE_FACTOR=scale)
    program = subprocess.Popen([PROGRAM], cwd=os.path.dirname(PROGRAM), env=env)
    try:
        app = wait_for(lambda: application() if x_windows("Vardo") else None, 60)
        check(app is not None, "%s: the program on the AT-SPI bus" % scale)
        if app is None:
            return
        window = x_windows("Vardo")[0]
        wait_for(lambda: is_shown(window))
        client = client_of(window)
        check(inside(client, (0, 0, 1366, 768)), "%s: the window within the screen %s" % (scale, client))
        frame = [c for c in children(app) if c.getRole() == pyatspi.ROLE_FRAME][0]
        told = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        check(all(abs(a - b) <= 2 for a, b in zip(told, client)),
              "%s: the window told at %s, drawn at %s" % (scale, list(told), client))
        for key in ["Tab"] * 8 + ["ctrl+Tab"] * 4 + ["Right"] * 4 + ["Tab"] * 10:
            focused.clear()
            run("xdotool", "key", "--window", window, key)
            pump(0.3)
            if not focused:
                continue
            try:
                box = focused[-1].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                name = focused[-1].name or focused[-1].getRoleName()
                text = caret_text(focused[-1])
                if text:
                    box = text.getCharacterExtents(text.caretOffset, pyatspi.DESKTOP_COORDS)
                    name += " caret"
            except Exception:  # gone already, as a page's boxes on a page change
                continue
            x, y, w, h = box[0], box[1], box[2], box[3]
            if w > client[2] - 20 or h > client[3] - 40:
                w, h = 1, 1
            check(inside((x, y, w, h), (0, 0, 1366, 768)) and inside((x, y, w, h), client),
                  "%s: %s %s at %d,%d %dx%d on screen" % (scale, key, name, x, y, w, h))
            if name.endswith("caret"):  # to hold against the picture
                shoot("scaled-%s-caret-%d-%d" % (scale, x, y))
        shoot("scaled-" + scale)
    finally:
        program.terminate()
        program.wait(10)


def main():
    wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    program = None
    try:
        check(bool(wait_for(window_manager_ready)), "openbox manages the screen")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        program = subprocess.Popen([PROGRAM], cwd=os.path.dirname(PROGRAM), env=env)
        app = wait_for(lambda: application() if x_windows("Vardo") else None, 60)
        check(app is not None, "the program on the AT-SPI bus (X windows: %s)" % x_windows("Vardo"))
        if app is None:
            return
        exam = x_windows("Vardo")[0]
        wait_for(lambda: is_shown(exam))
        check_framed_inside_screen(exam, "exam window")
        shoot("exam")
        nodes = everything(app)
        check_tree(app, nodes)

        def pass_rate():
            press(nodes, "得　点")
            press(nodes, "合格率")

        check_brought_back(app, nodes, "合格ライン", pass_rate)

        def about():
            for item in by_role(nodes, pyatspi.ROLE_MENU_ITEM):
                if item.name.startswith("バージョン情報"):
                    item.queryAction().doAction(0)

        check_brought_back(app, nodes, "バージョン情報", about)
        program.terminate()
        program.wait(10)
        program = None
        pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
        for scale in ("1.5", "2"):
            check_scaled(scale)
    finally:
        if program:
            program.terminate()
            program.wait(10)
        wm.terminate()
        wm.wait(10)
    print("%d failed" % len(failures))
    sys.exit(1 if failures else 0)


main()
