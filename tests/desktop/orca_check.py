"""A blind candidate's whole exam, keys only, with Orca speaking Japanese through
speech-dispatcher into a file; each step checks what was said. Then the paper's
both ends and those of a paper that begins with kanji, read by word, character
and say-all: each move must be answered. Last, a paper of signs, units and a
table read by line: signs and units in words, the table row by row. Run by
orca_check.sh, which gives it an X server, a session bus and a user of its own.

Nothing here sleeps for a fixed time: each step presses its keys once and waits
for what it must hear, with a deadline that only a fault reaches."""

import ctypes, itertools, os, re, shutil, signal, subprocess, sys, time, unicodedata

PROGRAM, FOLDER = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SPOKEN = FOLDER + "/spoken.txt"
n = lambda text: unicodedata.normalize("NFKC", text)  # Orca folds full-width digits
failures = []
BEGAN = time.monotonic()

# Orca echoes the modifiers (its own, Insert, too) and Tab it is given; a move
# is answered by anything else ("space" too: the name of the character a move
# lands on).
ECHO = r"(left |right )?(control|shift|alt)|insert|tab|plus"
ANSWER = r"(?m)^(?!(%s) ?$)\S.*$" % ECHO
# Reached only when a step goes wrong: a say-all of the paper takes under 30 s.
STEP_SECONDS, SAY_ALL_SECONDS = 60, 120
# Orca speaks a role by the name AT-SPI gives it. Orca 43 (Debian 12) has
# "push button", in Japanese; Orca 48 (Debian 13) is paired with an AT-SPI
# that renamed the role "button" and has no Japanese for the new name.
version = lambda *command: subprocess.run(command, capture_output=True, text=True).stdout
ORCA = int(re.match(r"(?:Orca version )?(\d+)", version("orca", "--version")).group(1))
BUTTON = "プッシュボタン" if ORCA < 48 else "button"
# Sessions that wait on a fix not merged yet: they run and say what they
# heard, but do not fail the check.
AWAITING = ()
# VARDO_ORCA_DEBUG=1 (with VARDO_ORCA_KEEP=1): the speech server, its module and Orca log all they do.
DEBUG = bool(os.environ.get("VARDO_ORCA_DEBUG"))

# A paper that begins with kanji and ends with kana, for the word and sentence
# boundaries a screen reader asks for at both ends of the text.
KANJI_PAPER = ('<html><head><meta charset="utf-8"></head><body>\n'
               '<p>物理の小テスト。第1問から順に解きなさい。</p>\n'
               '<p>これが最後の行です</p>\n</body></html>\n')


def run(*command):
    return subprocess.run(command, capture_output=True, text=True).stdout.strip()


def wait_for(predicate, seconds):
    end = time.monotonic() + seconds
    while not predicate() and time.monotonic() < end:
        time.sleep(0.05)
    return bool(predicate())


def spoken():
    with open(SPOKEN, encoding="utf-8", errors="replace") as f:
        return f.read()


def start_speech(env):  # whose only module writes each utterance as a line
    os.makedirs(FOLDER + "/speechd/modules")
    with open(FOLDER + "/speechd/speechd.conf", "w") as conf:
        conf.write('AddModule "log" "sd_generic" "log.conf" "%s/log-module.log"\n' % FOLDER
                   + ('CustomLogFile "protocol" "%s/protocol.log"\n' % FOLDER if DEBUG else "")
                   + 'DefaultModule log\n'
                   'DefaultLanguage "ja"\nLanguageDefaultModule "ja" "log"\n'
                   # A module must open a sound device: ALSA's null one is always there.
                   'AudioOutputMethod "alsa"\nAudioALSADevice "null"\n')
    with open(FOLDER + "/speechd/modules/log.conf", "w") as conf:
        # Each utterance whole: the module cuts longer ones at a byte count, at times inside a character.
        conf.write('GenericMaxChunkLength 65536\n'
                   'GenericExecuteSynth "printf \'%%s\\\\n\' \\\'$DATA\\\' >> %s"\n'
                   'GenericLanguage "ja" "ja" "utf-8"\nAddVoice "ja" "MALE1" "ja"\n' % SPOKEN)
    open(SPOKEN, "w").close()
    # Its socket, pid file and logs are in this run's folder: another speech
    # server on the machine neither finds this one nor stops it from starting.
    return subprocess.Popen(["speech-dispatcher", "-s", "-t", "0", "-C", FOLDER + "/speechd",
                             "-S", FOLDER + "/speechd.sock", "-c", "unix_socket", "-L", FOLDER,
                             "-P", FOLDER + "/speechd.pid", "-l", "5" if DEBUG else "3",
                             "-m", "/usr/lib/speech-dispatcher-modules"],
                            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


# A person listens to what a key brought before striking the next. Keys sent
# all at once kept a loaded Orca busy past Qt's 0.1 s wait for its answer, so
# the program had each key before Orca, and Orca, handling the key late, cut
# off (as on every key press) the speech of the move the key had made: of
# Shift+Tab five times only the first box was heard. Orca's double presses
# (Insert+KP_Enter twice) stay together.
LISTEN_SECONDS = 5


def strokes(keys):
    groups = []
    for key in keys:
        if groups and key.startswith("Insert+") and groups[-1][-1] == key:
            groups[-1].append(key)
        else:
            groups.append([key])
    return groups


program_ids = []  # the program of the session running
orcas = []  # and its Orca


def orca_gone(heard, keys):
    # Why a step heard nothing, when Orca is why: Orca 48 has ended on a
    # segmentation fault, and gone silent, in mid-session. Neither is the
    # program's doing, and neither should read as a word it failed to say.
    if orcas and orcas[-1].poll() is not None:
        code = orcas[-1].returncode
        return " [Orca ended: %s]" % (signal.Signals(-code).name if code < 0 else code)
    if heard.strip() or not keys:  # with no key, nothing said may be the program's
        return ""
    # A program that froze stops Orca too: which of the two stopped first.
    return " [Orca said nothing, not even the keys; the program %s]" % (
        "answers" if answers(program_ids[-1]) else "does not answer")


def orca_failed(new):  # the session's failures, each Orca's alone
    # Only an Orca that ended. One that said nothing while the program
    # answered had, when caught in the act, been handed a word it could not
    # say: the program's fault, which a new Orca would only hide.
    return bool(new) and all("[Orca ended" in f for f in new)


# Keys struck by their keycodes alone, by the names of their keys. xdotool
# 2016 reaches KP_Add, which newer keymaps (xkb-data 2.4x) also put on
# Ctrl+Alt's level, with Alt held: Orca heard Alt+KP_Add, no say-all. So too
# KP_Subtract. And Alt+F4: with Orca 51, in a session after another, xdotool
# pressed Ctrl too, and Ctrl+Alt+F4 is a switch of virtual terminal no
# program sees: Orca heard Alt and Ctrl, and the window stayed open.
STRUCK = {"KP_Add": "KP_Add", "KP_Subtract": "KP_Subtract", "alt+F4": "Alt_L+F4"}
# Flat review's keys are held until Orca answers, as a person holds a key
# longer than Orca takes to handle it. Orca 51 handles a key after its
# release when both come at once, as xdotool sends them, and flat review
# goes on from its place only when the input before the key was its last
# key: it met the key's own press there, and began again at the focus
# (Insert+KP_Home, KP_Page_Up heard nothing, the focus on the last line).
HELD = ("KP_Up", "KP_Home", "KP_Page_Up", "KP_Subtract", "Insert+KP_Home")


def strike(name, held=None):
    # `name` is keys joined by "+", pressed in order and let go in reverse,
    # after `held()` is true (or LISTEN_SECONDS) when given.
    x11, xtst = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XStringToKeysym.restype = ctypes.c_ulong
    x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XKeysymToKeycode.restype = ctypes.c_ubyte
    xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XAutoRepeatOff.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    codes = [x11.XKeysymToKeycode(display, x11.XStringToKeysym(each.encode()))
             for each in name.split("+")]
    if held:  # a key held repeats: Orca would hear it pressed twice
        x11.XAutoRepeatOff(display)
    for code in codes:
        xtst.XTestFakeKeyEvent(display, code, 1, 0)
    x11.XSync(display, 0)
    if held:
        wait_for(held, LISTEN_SECONDS)
    for code in reversed(codes):
        xtst.XTestFakeKeyEvent(display, code, 0, 0)
    x11.XSync(display, 0)
    x11.XCloseDisplay(display)


def press(group):
    # "ctrl down" and "ctrl up" hold a modifier over the keys between, as a
    # person does. "busy ctrl+Right" is struck while the program is held: it
    # reads the whole stroke at once when let go, and hands Orca Ctrl's
    # release right after the move, as a busy program does.
    key = group[0]
    if key.endswith((" down", " up")):
        return run("xdotool", "key" + key.split()[1], key.split()[0])
    if group == [key] and key in HELD:
        since = len(spoken())
        return strike(key, lambda: re.search(ANSWER, n(spoken()[since:])))
    if not key.startswith("busy "):
        for by_xdotool, keys in itertools.groupby(group, lambda k: k not in STRUCK):
            if by_xdotool:
                run("xdotool", "key", *keys)
            else:
                for each in keys:
                    strike(STRUCK[each])
        return None
    os.kill(program_ids[-1], signal.SIGSTOP)
    try:  # xdotool returns once the X server has queued the keys for the program
        run("xdotool", "key", key.split()[1])
    finally:
        os.kill(program_ids[-1], signal.SIGCONT)


def hear(keys, wanted, seconds, mark=None):
    # Presses the keys once; returns what was said since, as soon as `wanted` is heard.
    mark = len(spoken()) if mark is None else mark
    groups = strokes(keys)
    for group in groups[:-1]:
        since = len(spoken())
        press(group)
        if not group[0].endswith((" down", " up")):  # a held modifier is only echoed
            wait_for(lambda: re.search(ANSWER, n(spoken()[since:])), LISTEN_SECONDS)
    if groups:
        press(groups[-1])
    heard = lambda: n(spoken()[mark:])
    wait_for(lambda: re.search(wanted, heard()), seconds)
    return heard()


def paper_steps(first_line):
    # Word, character and say-all moves at both ends of the paper in the pane.
    yield ["ctrl+Home", "ctrl+Right"], ANSWER, None, "Ctrl+Right from the start"
    yield ["ctrl+Left"], ANSWER, None, "Ctrl+Left back to the start"
    yield ["Right"], ANSWER, None, "Right from the start"
    yield ["Left"], ANSWER, None, "Left back to the start"
    yield ["ctrl+End"], ANSWER, None, "Ctrl+End"
    yield ["ctrl+Left"], ANSWER, None, "Ctrl+Left from the end"
    yield ["ctrl+Right", "Left"], ANSWER, None, "Ctrl+Right to the end, then Left"
    # Say-all at the end may say nothing: leaving the pane proves it answered.
    yield ["Right", "KP_Add", "shift+Tab"], "合格率 " + BUTTON, None, "say-all at the end"
    yield ["Tab"], r"テキスト", None, "Tab back to the paper"
    yield ["ctrl+Home"], re.escape(first_line[:1]), None, "Ctrl+Home: the first character"


def exam_steps():
    pages = re.findall(r'\{"([^"]+)", \d+, \d+\}', open(
        os.path.join(SOURCE, "exam", "examlayout.h"), encoding="utf-8").read())
    said_all = (r"(?s)(?=.*\dかける10の2乗)(?=.*10のマイナス19乗)(?=.*メートル毎秒毎秒)"
                r"(?=.*リンク 合図の音)(?=.*リンク 解答と解説)")
    first = r"ミラト試験2000 物理"
    yield [], r"問題 ページタブのリスト", None, "start: the question tabs"
    yield ["Tab"] * 5, r"テキスト.*\n.*" + first, r"ラベル", "Tab to the paper: its first line"
    yield ["ctrl+Home", "KP_Add"], said_all, None, "say-all: powers and units in words, links"
    # Orca starts a say-all from the caret it last heard of: pressed in one
    # breath with Ctrl+Home, say-all may start from the end, where the last
    # one left the caret. A candidate hears the first character first.
    # Left first, heard: a module that speaks at once floods Orca with the
    # say-all's caret moves, and Orca drops all but the newest of them, so
    # it may still hold the caret where the say-all began, at the top, and
    # take Home's move there for one it has already told. Left's move is
    # the newest, heard once the flood has drained.
    yield ["Left", "ctrl+Home"], re.escape(first[:1]), None, "Ctrl+Home after say-all"
    yield ["KP_Add"], said_all, None, "say-all again from the top"
    # One caret key at a time: Orca says what a move brings by the last key it saw.
    # Say-all leaves the caret where it stopped, at the end: first go home.
    # Orca says the character a jump to either end lands on.
    yield ["Left", "ctrl+Home"], re.escape(first[:1]), r"Home|End", "Ctrl+Home after say-all: the first character"
    yield ["ctrl+End"], ANSWER, r"Home|End", "Ctrl+End: the end"
    yield ["ctrl+Home"], re.escape(first[:1]), r"Home|End", "Ctrl+Home: the first character"
    yield ["Down"], ANSWER, None, "Down: the second line"
    yield ["Up"], first, None, "Up: the first line again"
    # A label the line would have cut (「1-問 / 1-1」) is heard whole.
    yield ["Down"] * 3, r"例えば「1-問1-1」.と同じ", None, "Down to a label: heard whole on its line"
    yield ["shift+Tab"] * 5 + ["Right"], r"図1 ページタブ", None, "Right on the question tabs"
    yield ["Tab"] * 5, r"図1 画像.*\n?.*\S{40}", None, "Tab to figure 1: name and description"
    # Orca 48 may say a focus the keys passed through after the keys that
    # follow: Start is heard before it is pressed.
    yield ["shift+Tab"] * 3, r"スタート " + BUTTON, None, "Shift+Tab to Start"
    # Orca 51 does not echo the space bar here.
    yield (["space"], r"(?s)1-問1-1 の 1 チェックボックス.*残り時間 60 分",
           r"(?s)space.*得 点", "Start: the time left; focus on the first box, not on Score")
    yield ["ctrl+t"], r"残り時間 60 分", None, "Ctrl+T: the time left"
    yield ["Tab", "Tab", "space"], r"1-問1-1 の 3(.|\n)*checked", None, "Space ticks 1-問1-1 ③"
    yield ["End"], r"1-問1-1 の 5 チェックボックス", None, "End: the page's last box"
    yield ["Home"], r"1-問1-1 の 1 チェックボックス", None, "Home: the page's first box"
    yield ["Right", "Right"], r"1-問1-1 の 3 チェックボックス", None, "Right twice: back on ③"
    for page in pages[1:]:
        yield ["ctrl+Tab"], n(re.escape(page)) + r" の 3 チェックボックス", r"ページタブ", "Ctrl+Tab: " + page
        yield ["space"], r"checked", None, "Space ticks " + page + " ③"
    # From the third box of the last page: its boxes 2 and 1, the figure, Pass-rate, Score.
    yield ["shift+Tab"] * 5, r"得 点 %s\.?$" % BUTTON, None, "Shift+Tab back to Score"
    yield ["space"], r"得点 \d+ 点", None, "Score speaks the score"
    yield ["ctrl+r"], r"正解 \S|正解の問はありません", None, "Ctrl+R: the groups right, by page"
    yield ["Tab", "space"], r"(合格率 \d+%|予測不能)[^\n]*。(.|\n)*Alt\+F4", None, "Pass-rate: the verdict, and the way out"
    yield ["alt+F4"], r"Vardo(.|\n)*合格率 " + BUTTON, None, "Alt+F4 closes the verdict window"
    yield ["alt+h"], r"バージョン情報\(A\)", None, "Alt+H: the help menu"
    yield ["a"], r"バージョン情報(.|\n)*ソフトの説明(.|\n)*Alt\+F4", None, "help: its title, first line and way out"
    # Its top line shows spaces alone: heard as its other empty lines are.
    yield ["ctrl+Home"], r"blank|空", r"\d|character", "Ctrl+Home in the help: its top line is blank"
    yield ["alt+F4"], r"Vardo(.|\n)*合格率 " + BUTTON, None, "Alt+F4 closes the help window"
    yield from quit_steps()


def heard_steps():
    # What the page shows, heard: a figure never shown is an image with its
    # words even after Orca walked the window for its status bar; the words a
    # sentence at a time, from the start each time they are heard whole; the
    # notices; a correct-answer mark; Ctrl+T anywhere. And keys that must not
    # be silent: Enter at the paper's end, Home and End on the tabs.
    with open(os.path.join(SOURCE, "assets", "figures.txt"), encoding="utf-8") as f:
        words = dict(line.rstrip("\n").split("\t", 1) for line in f if "\t" in line)["4"]
    second, third = (n(sentence[:4]) for sentence in words.split("。")[1:3])
    last = n(words.rstrip()[-6:])
    yield [], r"問題 ページタブのリスト", None, "start: the question tabs"
    yield ["Insert+KP_Enter", "Insert+KP_Enter"], r"Status bar|ステータス", None, "status bar: none"
    # The paper's last link ends the text: Ctrl+End leaves the caret past it,
    # and Orca says the line there, the link's.
    yield ["Tab"] * 5, r"テキスト.*\n.*ミラト試験2000 物理", None, "Tab to the paper"
    yield ["ctrl down", "End", "ctrl up"], r"解答と解説", r"blank", "Ctrl+End: the last line"
    yield ["Return"], r"ページが変わりました。.*解答と解説", None, "Enter on the last link there follows it, named"
    # The answers page opens at its first line, the link back to the paper.
    yield ["Return"], r"ページが変わりました。ミラト試験2000", None, "Enter on 問題にもどる: the paper again"
    yield ["shift+Tab"] * 5, r"問題 ページタブ", None, "Shift+Tab back to the question tabs"
    yield ["End"], r"図11 ページタブ", None, "End on the tabs: the last"
    yield ["Home"], r"問題 ページタブ", None, "Home on the tabs: the first"
    yield ["Right"] * 4, r"図4 ページタブ", None, "Right to 図4, never shown"
    yield ["Tab"] * 5, r"図4 画像.*\n?.*\S{40}", r"ラベル", "Tab to figure 4: an image, described"
    yield ["Down"], re.escape(second), r"図4 画像", "Down: its second sentence alone"
    # Its page left and come back to: heard whole again (to its end, which holds
    # the third sentence too), so read on from the start.
    yield (["ctrl+Tab", "ctrl+shift+Tab"], r"図4 画像(.|\n)*" + re.escape(last), None,
           "figure 4 left and come back to, heard whole")
    yield ["Down"], re.escape(second), re.escape(third), "Down: the second sentence again"
    yield ["shift+Tab", "space"], r"まだ採点していません", None, "Pass-rate before marking says so"
    yield ["shift+Tab", "shift+Tab", "space"], r"開始 残り時間 60 分", None, "Start"
    # 1-問1-1's correct choice is ③.
    yield ["Tab", "Tab", "space"], r"1-問1-1 の 3(.|\n)*checked", None, "Space ticks 1-問1-1 ③"
    yield ["End"], r"1-問1-1 の 5 チェックボックス", None, "End: the page's last box"
    yield ["Home"], r"1-問1-1 の 1 チェックボックス", None, "Home: the page's first box"
    yield ["Right", "Right"], r"1-問1-1 の 3 チェックボックス", None, "Right twice: back on ③"
    # 1-問1-2's is ④: its page is hidden when flat review first walks the window.
    # Its place kept (③), as a listener hears before pressing on.
    yield ["ctrl+Tab"], r"1-問1-2 の 3", None, "Ctrl+Tab to 1-問1-2, its box heard"
    yield ["Tab", "space"], r"1-問1-2 の 4(.|\n)*checked", None, "Space ticks 1-問1-2 ④"
    # Every answer page has its frame 答え: heard as a panel, it came again on each page.
    yield ["ctrl+shift+Tab"], r"1-問1-1 の 4", r"答え", "back to 1-問1-1, no frame said"
    yield ["shift+Tab"] * 6, r"得 点 " + BUTTON, None, "Shift+Tab back to Score"
    yield (["space"], r"得点 \d+ 点 27 問中 2 問正解。?\s*時間を止めました", None,
           "Score: how many correct, and the clock stopped")
    yield (["Tab"] * 3, r"1-問1-1 の 1、?\s*この問は正解", None,
           "the mark heard with its page's boxes")
    yield (["KP_Up"], r"(?<!この問は)正解", None,
           "flat review: the mark on the line of the boxes")
    # Orca 51 keeps a review's place while the focus moves on; back on the
    # object it was on, it goes to the line of the same number in the window
    # as it is then: beside the paper, a line of the paper, where beside a
    # figure it had been the boxes'. Orca 43 left review at any focus change.
    # Left here, each review below begins at the focus in both.
    yield ["KP_Subtract"], r"Leaving flat review", None, "flat review left"
    # The same beside the paper, at its top and at its end: the line is the
    # boxes' own, the mark first, with no line of the paper; the window's
    # top lines are its title's and the menu bar's, not a line scrolled out
    # of the pane.
    boxes = r"(?m)^正解 .*1-問1-1 の 1、.*1-問1-1 の 5、この問は正解"
    yield ["shift+Tab"] * 6 + ["Left"] * 4, r"問題 ページタブ", None, "back to the paper's tab"
    # The way back left the paper at its end: Ctrl+Home shows its top.
    yield ["Tab"] * 5 + ["ctrl+Home", "Tab"], r"1-問1-1 の 1", None, "the paper at its top, Tab to the boxes"
    yield ["KP_Up"], boxes, r"ゲーム|ヘルプ", "flat review beside the paper at its top: the boxes' line"
    yield ["KP_Subtract"], r"Leaving flat review", None, "flat review left at the paper's top"
    yield ["shift+Tab", "ctrl+End", "Tab"], r"1-問1-1 の 1", None, "the paper at its end, back to the boxes"
    yield ["KP_Up"], boxes, r"ゲーム|ヘルプ", "flat review beside the paper at its end: the boxes' line"
    # Orca 51 has the window's title as its own top line, the menu bar's
    # next (Orca 43 the menu bar's first): a line scrolled out above the
    # pane would join the menu bar's, or come before it.
    yield (["Insert+KP_Home", "KP_Page_Up"], r"ゲーム", r"、",
           "flat review's top lines: the title, the menu bar, no hidden line")
    # A page flat review met hidden is read afresh once it shows.
    yield ["ctrl+Tab"], r"1-問1-2 の 1、?\s*この問は正解", r"答え", "to 1-問1-2, correct too"
    yield (["KP_Up"], r"(?m)^正解 .*1-問1-2 の 1、", r"ゲーム|ヘルプ",
           "flat review on a page first met hidden: its boxes' line")
    yield ["ctrl+shift+Tab"], r"1-問1-1 の 1", None, "back to 1-問1-1"
    # So is a figure's page: its description is a line of the window.
    yield ["shift+Tab"] * 6 + ["Right"] * 6, r"図6 ページタブ", None, "to figure 6, never shown"
    yield ["Tab"] * 6, r"1-問1-1 の 1", None, "Tab past figure 6 to the boxes"
    yield (["Insert+KP_Home"] + ["KP_Page_Up"] * 5, r"コンデンサーを充電する回路と、?測定の装置の図", None,
           "flat review beside a figure first met hidden: its line")
    yield ["shift+Tab"] * 6 + ["Home"], r"問題 ページタブ", None, "back to the paper"
    yield ["Tab"] * 6, r"1-問1-1 の 1", None, "Tab to the boxes beside the paper again"
    yield (["shift+Tab", "shift+Tab", "space"], r"(合格率 \d+%|予測不能)[^\n]*。", None,
           "Pass-rate: the verdict")
    yield ["ctrl+t"], r"時間は計っていません", None, "Ctrl+T in the verdict window"
    # Its table is drawn on a grid of spaces; a line is heard as its row, with
    # the university and faculty it is listed under; blank lines are passed.
    yield (["Down"], r"旧帝国大学 北海道、学部名 法、受験科目 国", r"blank",
           "Down: the table's first row, each value with its column")
    yield (["Down"] * 4, r"旧帝国大学 北海道、学部名 法、受験科目 外", None,
           "Down to the faculty's last line: its university and faculty")
    yield (["Down"], r"旧帝国大学 北海道、学部名 工、受験科目 国", r"blank",
           "Down: the next faculty, with its university, no blank line")
    yield ["alt+F4"], r"Vardo(.|\n)*合格率 " + BUTTON, None, "Alt+F4 closes the verdict window"
    yield from quit_steps()


def all_correct_steps():
    # Every group ticked right by keys, by the program's own key: a marking of
    # 27 correct groups changes the words of many boxes, and its notice, and
    # Start's after it, must still be heard.
    source = lambda name: open(os.path.join(SOURCE, "exam", name), encoding="utf-8").read()
    pages = re.findall(r'\{"([^"]+)", \d+, (\d+)\}', source("examlayout.h"))
    key = re.findall(r"\{\d+, \d+, (\d+), \d+\}", source("answerkey.cpp"))
    assert len(pages) == len(key) == 27, "the answer pages and the key, as the program has them"
    yield [], r"問題 ページタブのリスト", None, "start: the question tabs"
    yield ["Tab", "Tab", "space"], r"開始 残り時間 60 分", None, "Start"
    at = 1  # Start leaves the focus on the first box of the first page
    for number, ((page, choices), right) in enumerate(zip(pages, map(int, key))):
        keys = ["ctrl+Tab"] if number else []
        at = min(at, int(choices))  # Ctrl+Tab keeps the box's place where the page has it
        keys += ["Tab"] * (right - at) + ["shift+Tab"] * (at - right)
        at = right
        if keys:
            yield keys, n(re.escape(page)) + r" の %d チェックボックス" % right, None, "to " + page
        yield ["space"], r"checked", None, "Space ticks %s's %d" % (page, right)
    # Back over the boxes before it, the paper, Pass-rate, to Score.
    yield ["shift+Tab"] * (at + 2), r"得 点 %s\.?$" % BUTTON, None, "Shift+Tab back to Score"
    yield (["space"], r"得点 100 点 27 問中 27 問正解。?\s*時間を止めました", None,
           "Score: all 27 correct, and the clock stopped")
    yield ["shift+Tab", "space"], r"開始 残り時間 60 分", None, "Start again after that marking"
    yield from quit_steps()


def ends_steps(first_line):
    # The program started afresh: a paper that froze it loses no exam.
    yield [], r"問題 ページタブのリスト", None, "start"
    yield ["Tab"] * 5, r"テキスト.*\n.*" + first_line, None, "Tab to its first line"
    yield from paper_steps(first_line)
    # The menu key right after caret moves, when Orca is busiest and so most
    # late to hand the program back the key's Alt press.
    yield from quit_steps()


def quit_steps():
    yield ["alt+g"], r"終了\(Q\)", None, "Alt+G: the game menu"
    yield ["q"], None, None, "終了"


def main_window():
    found = run("xdotool", "search", "--onlyvisible", "--name", "Vardo").split()
    return found[0] if found else None


def activate_main():
    # Asked to activate the window already active, the window manager answers
    # with a focus change that comes after xdotool has returned and closes a
    # menu opened meanwhile: ask only when another window is active, and wait
    # until the window manager says the main window is.
    window = main_window()
    if window and run("xdotool", "getactivewindow") != window:
        run("xdotool", "windowactivate", "--sync", window)


def walk(steps, start, name):  # the first step hears all since the program started
    for keys, wanted, unwanted, what in steps:
        what = name + ": " + what
        long_ = "KP_Add" in keys and "shift+Tab" not in keys
        menu = keys and keys[0].startswith("alt+") and keys[0] != "alt+F4"
        if menu:  # a menu's keys go to the main window
            activate_main()
        # The window manager may hand the keyboard back late after a window
        # closes, and a menu key pressed before then is lost: a menu key is
        # pressed again, up to three times, when its menu is not heard.
        for _ in range(3 if menu else 1):
            heard = hear(keys, wanted or r"(?!)",
                         SAY_ALL_SECONDS if long_ else STEP_SECONDS // 3 if menu else STEP_SECONDS,
                         None if keys else start) if wanted else hear(keys, r"(?!)", 0)
            if not menu or re.search(wanted, heard):
                break
            print("%4.0f s again %s" % (time.monotonic() - BEGAN, what), flush=True)
            activate_main()
        ok = (not wanted or re.search(wanted, heard)) and not (unwanted and re.search(unwanted, heard))
        awaited = not ok and name in AWAITING
        why = "" if ok else orca_gone(heard, keys)
        print("%4.0f s %s %s" % (time.monotonic() - BEGAN, "ok   " if ok else "AWAIT" if awaited
                                 else "FAIL ", what)
              + ("" if ok else " heard: %r%s" % (heard[-600:], why)), flush=True)
        if not ok:
            failures.extend([] if awaited else [what + why])
            return False
    return True


def session(program, env, steps, name):
    start = len(spoken())
    process = subprocess.Popen([program], cwd=os.path.dirname(program), env=dict(
        env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    program_ids.append(process.pid)
    try:
        if not wait_for(main_window, STEP_SECONDS):
            failures.append(name + ": the program's window")
            return
        if not wait_for(lambda: on_desktop(process.pid), STEP_SECONDS):
            failures.append(name + ": the program on the AT-SPI desktop")
            return
        # Activated again, though the window manager made it active on
        # showing it: Orca may have come to the program after that.
        run("xdotool", "windowactivate", "--sync", main_window())
        if walk(steps, start, name) and not wait_for(lambda: process.poll() == 0, STEP_SECONDS):
            print("FAIL %s: 終了 ends the program" % name)
            failures.extend([] if name in AWAITING else [name + ": 終了 ends the program"])
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def program_with(name, html):  # a copy of the program with a paper of its own beside it
    folder = FOLDER + "/" + name
    os.makedirs(folder, exist_ok=True)  # a session heard again makes it anew
    shutil.copy(PROGRAM, folder)
    with open(folder + "/00Vardo.tx", "w", encoding="utf-8") as paper:
        paper.write(html)
    return os.path.join(folder, os.path.basename(PROGRAM))


def kanji_program():
    return program_with("kanji", KANJI_PAPER)


# 5-問3 of the shipped paper in its font, two characters longer before its
# second J/(g・K): in the exam window's pane, in this check's fonts, its
# fourth line ends inside that unit (「…約何 J/(g・」), as the shipped
# paper's did for a tester, and the fifth begins 「K) か。」.
WRAPPED = ('<p style="font-family: \'ＭＳ ゴシック\', \'IPAGothic\', \'IPAゴシック\', monospace;">'
           '金属の比熱を求めるため、質量 200 g の金属球を沸騰している湯の中に長い時間入れておき、'
           '湯の温度が 98.0 ℃ であることを確かめた。\n'
           'この金属球を取り出してすぐに、断熱容器に入れた 20.0 ℃ の水 150 g の中に入れ、'
           'よくかき混ぜたところ、全体の温度は 27.6 ℃ で一定になった。\n'
           '水の比熱を 4.2 J/(g・K) とし、容器の熱容量と、容器の外部との熱のやりとりは無視してよいものとする。'
           'この測定から求めた金属の比熱は約何 J/(g・K) か。最も適当なものを、次のうちから一つ選べ。</p>\n')


# A paper of signs, units, an arrow, a link, a table of measured values, a
# choice and a fraction sign: each line is heard in words, each character
# shown by Right, a line in the table is its row, header first.
SIGNS_PAPER = ('<html><head><meta charset="utf-8"></head><body>\n'
               '<p>電荷 q ＞ 0 とする。</p>\n<p>速さ 10 m/s で進む。</p>\n<p>区間 A→B の仕事。</p>\n'
               '<p>次は<a href="a.html">問題にもどる</a></p>\n'
               '<table border="1"><tr><th>m〔g〕</th><td>50</td><td>100</td></tr>\n'
               '<tr><th>t〔s〕</th><td>5.52</td><td>7.04</td></tr>\n'
               '<tr><th>合計</th><td></td><td>12.56</td></tr></table>\n'
               '<p>① 16 時間</p>\n<p>½ × 9.8</p>\n'
               '<p>傾き 1.25 N/(m<sup>2</sup>/s<sup>2</sup>)</p>\n'
               '<p>2.0（単位は V/mA = kΩ）</p>\n<p>0.60 を mm の値と読む</p>\n' + WRAPPED
               + '</body></html>\n')


def signs_steps():
    yield [], r"問題 ページタブのリスト", None, "start"
    yield ["Tab"] * 5, r"テキスト.*\n.*電荷 q 大なり 0", r"q +0", "Tab to the paper: q ＞ 0 as 大なり"
    yield ["Down"], r"速さ 10 ?メートル毎秒", r"m/s", "Down: 10 m/s in words"
    yield ["Down"], r"区間 AからB", r"→|矢印", "Down: A→B as から"
    # The link's name is heard with its line; Right hears each character shown,
    # the link's first too (the caret used to stand on the name and skip it).
    yield ["Down"], r"次は ?リンク 問題にもどる", None, "Down: a link, named"
    yield ["Right"], r"は", r"次", "Right: は"
    yield ["Right"], r"(?m)^問$", r"リ|ン", "Right: the link's first character, 問"
    yield ["Right"], r"(?m)^題$", r"問", "Right: 題"
    yield ["Left"], r"(?m)^問$", r"リ|ン", "Left: back onto 問"
    # Ctrl held, Orca (43 and 48 alike) says the words a move to the right
    # passed over; Ctrl let go before the move, the same words, whole.
    yield (["ctrl down", "Right", "Right", "ctrl up"], r"(?m)^問題\n(.*\n)*に$", r"(?m)^も",
           "Ctrl held, Right twice: the words passed over, 問題 and に")
    yield ["ctrl+Left"], r"(?m)^に$", None, "Ctrl+Left: back onto に"
    yield (["busy ctrl+Right", "busy ctrl+Right"], r"(?m)^に\n(.*\n)*もどる$", r"(?m)^(も|ど|る)$",
           "Ctrl+Right twice, Ctrl let go: に and もどる passed over, whole")
    yield ["ctrl+Left"] * 3, r"(?m)^問題$", r"(?m)^問$", "Ctrl+Left three times: back to 問題, whole"
    yield ["Down"], r"m〔グラム〕、50、100", None, "Down: the table's first row, header first"
    yield ["Down"], r"t〔秒〕、5\.52、7\.04", None, "Down: its second row"
    yield ["Up"], r"m〔グラム〕、50、100", None, "Up: the first row again"
    yield ["Down"] * 2, r"合計、 ?12\.56", r"、 ?、", "Down: an empty cell passed over"
    # Past the blank line after the table.
    yield ["Down"] * 2, r"1、 ?16 ?時間", r"1 16", "Down: a choice's number apart from its value"
    yield ["Down"], r"2ぶんの1 ?かける ?9\.8", r"1⁄2", "Down: ½ in words"
    yield ["Down"], r"1\.25 ?ニュートン毎.?平方メートル毎秒毎秒", r"わる", "Down: a unit of units in words"
    yield ["Down"], r"単位は ?ボルト毎ミリアンペア ?イコール ?キロオーム", r"わる|Ω|オメガ", "Down: units named without a number"
    # A bracket against the next word is heard with that word, both ways:
    # alone it would be dropped with Ctrl held, or said in the word's place.
    yield ["Home", "ctrl+Right", "ctrl+Right"], r"単位", None, "Ctrl+Right twice: past 2.0 and the bracket with 単位"
    yield ["ctrl+Left"], r"(?m)^[（(]単位$", None, "Ctrl+Left: onto the bracket, heard with 単位"
    yield ["Down"], r"0\.60 ?を ?ミリメートル ?の値", r"mm|エムエム", "Down: the unit a number is read in"
    # Down hears the line after one ending inside a unit, not that line again:
    # from the line's start (Home), Down leaves the caret inside the unit.
    yield ["Home"] + ["Down"] * 4, r"容量と.*約何 ?ジュール毎グラム毎ケルビン", None, "Down to a line ending in a unit"
    yield ["Down"], r"か。最も適当なものを", r"容量と", "Down: the next line, after the unit"
    yield ["Up"], r"容量と.*約何 ?ジュール毎グラム毎ケルビン", r"か。最も", "Up: the line with the unit again"
    yield ["shift+Tab"], r"合格率", None, "Shift+Tab out of the paper"
    yield from quit_steps()


REGISTRY = "org.a11y.atspi.Registry"


def on_a11y_bus(ask):
    # What `ask` finds on the accessibility bus; None while the bus or its
    # registry is not up.
    from gi.repository import Gio
    try:
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        address = call(session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress")[0]
        bus = Gio.DBusConnection.new_for_address_sync(
            address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        try:
            return ask(bus)
        finally:
            bus.close_sync(None)
    except Exception:
        return None


def call(bus, name, path, interface, method, *arguments):
    from gi.repository import Gio, GLib
    parameters = GLib.Variant("(%s)" % ("s" * len(arguments)), arguments) if arguments else None
    return bus.call_sync(name, path, interface, method, parameters, None,
                         Gio.DBusCallFlags.NONE, 5000, None).unpack()


def orca_listeners():
    # The events some client listens for, as the AT-SPI registry has them:
    # Orca says it is on before it registers its own.
    return on_a11y_bus(lambda bus: {event[1] for event in call(
        bus, REGISTRY, "/org/a11y/atspi/registry", REGISTRY, "GetRegisteredEvents")[0]}) or set()


ROOT = "/org/a11y/atspi/accessible/root"


def bus_name(bus, pid):  # the program's, when the registry's desktop lists it
    children = call(bus, REGISTRY, ROOT, "org.a11y.atspi.Accessible", "GetChildren")[0]
    return next((name for name, _ in children if call(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "GetConnectionUnixProcessID", name)[0] == pid), None)


def on_desktop(pid):
    # Whether the registry's desktop lists the program: Orca hears no window
    # of a program missing there.
    return bool(on_a11y_bus(lambda bus: bus_name(bus, pid)))


def answers(pid):  # a reader's question, within call()'s 5 s
    def ask(bus):
        name = bus_name(bus, pid)
        return bool(name) and bool(call(bus, name, ROOT, "org.a11y.atspi.Accessible", "GetRole"))
    return bool(on_a11y_bus(ask))


# What a program's first moments need Orca to hear: its window, focus, caret
# and notices (as the registry names them).
LISTENED = {"Window:Activate:", "Object:StateChanged:Focused", "Object:TextCaretMoved:",
            "Object:StateChanged:Showing"}


def start_orca(env):
    # An Orca of its own for each session. Orca 48 keeps for up to a minute
    # the objects it found dead, by a key that a new object may reuse: a
    # program started within that minute of another's end had its window
    # heard and its first focus taken for dead and dropped.
    # No --replace: this session's user has no other Orca to replace.
    # Orca's speech client, mended for a module that speaks at once (orca_python/).
    mark = len(spoken())
    with open(FOLDER + "/orca.log", "a") as log:
        orca = subprocess.Popen(
            ["orca", "-u", FOLDER + "/orca"]
            + (["--debug-file", FOLDER + "/orca-debug-%d.log" % mark] if DEBUG else []),
            env=dict(env, PYTHONDONTWRITEBYTECODE="1", PYTHONPATH=os.path.join(
                os.path.dirname(os.path.abspath(__file__)), "orca_python")),
            stderr=log)
    orcas.append(orca)
    if not wait_for(lambda: "Screen reader on" in spoken()[mark:], STEP_SECONDS):
        failures.append("Orca speaks through the logging module")
    elif "Error in sitecustomize" in open(FOLDER + "/orca.log").read():
        failures.append("Orca's speech client mended (orca_python/)")
    elif not wait_for(lambda: LISTENED <= orca_listeners(), STEP_SECONDS):
        failures.append("Orca listens to programs")
    return orca


wm_ready = lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")


def start_window_manager(env):
    # Without one no window is ever active, and Orca hears no program at
    # all. Just after another check's X server ended, openbox at times could
    # not open the display and ended: it waits for the server to answer,
    # and is started again if it ends all the same.
    wait_for(lambda: run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 30)
    for _ in range(3):
        with open(FOLDER + "/openbox.log", "a") as log:
            wm = subprocess.Popen(["openbox"], env=env, stdout=log, stderr=subprocess.STDOUT)
        if wait_for(lambda: wm.poll() is not None or wm_ready(), 30) and wm.poll() is None:
            return wm
        print("%4.0f s openbox ended (%s): %r" % (time.monotonic() - BEGAN, wm.poll(),
                                              open(FOLDER + "/openbox.log").read()[-300:]), flush=True)
    return wm


def stop(process):
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def main():
    def terminated(*_):  # still end what it started
        failures.append("terminated")
        sys.exit(1)
    signal.signal(signal.SIGTERM, terminated)
    env = dict(os.environ, SPEECHD_ADDRESS="unix_socket:%s/speechd.sock" % FOLDER, HOME=FOLDER,
               LANG="ja_JP.UTF-8", LANGUAGE="ja", LC_ALL="ja_JP.UTF-8", XDG_RUNTIME_DIR=FOLDER,
               XDG_CONFIG_HOME=FOLDER + "/config", XDG_CACHE_HOME=FOLDER + "/cache",
               XDG_DATA_HOME=FOLDER + "/data", GSETTINGS_BACKEND="memory")
    processes = [start_speech(env)]
    try:
        processes.append(start_window_manager(env))
        wait_for(lambda: os.path.exists(FOLDER + "/speechd.sock"), 30)
        if not wm_ready():
            failures.append("the window manager runs")
        sessions = [("exam", lambda: PROGRAM, exam_steps),
                    ("paper ends", lambda: PROGRAM, lambda: ends_steps(r"ミラト試験2000 物理")),
                    ("kanji paper", kanji_program, lambda: ends_steps(r"物理の小テスト")),
                    ("signs", lambda: program_with("signs", SIGNS_PAPER), signs_steps),
                    ("heard", lambda: PROGRAM, heard_steps),
                    ("all correct", lambda: PROGRAM, all_correct_steps)]
        only = os.environ.get("VARDO_ORCA_SESSIONS")  # e.g. "paper ends,kanji paper"
        for name, program, steps in sessions if not failures else []:
            if only and name not in only.split(","):
                continue
            if processes[-1].poll() is not None:  # the window manager ended meanwhile
                processes[-1] = start_window_manager(env)
            no_orca = False
            for attempt in range(2):
                failed = len(failures)
                orca = start_orca(env)
                try:
                    no_orca = len(failures) > failed  # none to hear this session or the next
                    if no_orca:
                        break
                    session(program(), env, steps(), name)
                finally:
                    stop(orca)
                    # Its listeners gone: the next Orca's are its own.
                    wait_for(lambda: not LISTENED & orca_listeners(), STEP_SECONDS)
                if attempt or not orca_failed(failures[failed:]):
                    break
                # Orca 48 has crashed on its own: the session is heard once
                # more by a new Orca, never for a silence or a word Orca said.
                print("%4.0f s again %s: Orca ended, the program answered" % (
                    time.monotonic() - BEGAN, name), flush=True)
                del failures[failed:]
            if no_orca:
                break
    finally:
        for process in reversed(processes):
            stop(process)
        print("took %.0f s; failed: %s" % (time.monotonic() - BEGAN, failures or "none"))
    sys.exit(1 if failures else 0)


main()
