"""A blind candidate's whole exam, keys only, with Orca speaking Japanese through
speech-dispatcher into a file; each step checks what was said. Run on a fresh
X server with its own session bus (see orca_check.sh)."""

import os, re, shutil, subprocess, sys, tempfile, time, unicodedata

PROGRAM = os.path.abspath(sys.argv[1])
n = lambda text: unicodedata.normalize("NFKC", text)  # Orca folds full-width digits
failures = []

def run(*command):
    return subprocess.run(command, capture_output=True, text=True).stdout.strip()

def wait_for(predicate, seconds):
    end = time.monotonic() + seconds
    while not predicate() and time.monotonic() < end:
        time.sleep(0.2)
    return bool(predicate())

def start_speech(folder):  # whose only module writes each utterance as a line
    os.makedirs(folder + "/speechd/modules")
    with open(folder + "/speechd/speechd.conf", "w") as conf:
        conf.write('AddModule "log" "sd_generic" "log.conf"\nDefaultModule log\n'
                   'DefaultLanguage "ja"\nLanguageDefaultModule "ja" "log"\n'
                   # A module must open a sound device: ALSA's null one is always there.
                   'AudioOutputMethod "alsa"\nAudioALSADevice "null"\n')
    with open(folder + "/speechd/modules/log.conf", "w") as conf:
        conf.write('GenericExecuteSynth "printf \'%%s\\\\n\' \\\'$DATA\\\' >> %s/spoken.txt"\n'
                   'GenericLanguage "ja" "ja" "utf-8"\nAddVoice "ja" "MALE1" "ja"\n' % folder)
    open(folder + "/spoken.txt", "w").close()
    return subprocess.Popen(["speech-dispatcher", "-s", "-t", "0", "-C", folder + "/speechd",
                             "-S", folder + "/speechd.sock", "-c", "unix_socket", "-L", folder,
                             "-m", "/usr/lib/speech-dispatcher-modules"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

def spoken(folder):
    with open(folder + "/spoken.txt", encoding="utf-8", errors="replace") as f:
        return f.read()

def hear(folder, keys, wanted, seconds=10, settle=0.8, mark=None):
    # What was said after `keys`, once `wanted` is heard and settled, or nothing more comes.
    mark = len(spoken(folder)) if mark is None else mark
    for key in keys:
        run("xdotool", "key", key)
        time.sleep(0.15)
    end, last, since = time.monotonic() + seconds, None, time.monotonic()
    while time.monotonic() < end:
        heard = n(spoken(folder)[mark:])
        if wanted and re.search(wanted, heard):
            time.sleep(settle)
            break
        if heard != last:
            last, since = heard, time.monotonic()
        elif heard and not wanted and time.monotonic() - since > settle:
            break
        time.sleep(0.1)
    return n(spoken(folder)[mark:])

def steps():
    pages = re.findall(r'\{"([^"]+)", \d+, \d+\}', open(os.path.join(
        os.path.dirname(__file__), "..", "..", "exam", "examlayout.h"), encoding="utf-8").read())
    said_all = (r"(?s)(?=.*2\.0かける10の3乗)(?=.*10のマイナス34乗)(?=.*メートル毎秒毎秒)"
                r"(?=.*リンク 合図の音)(?=.*リンク 解答と解説)")
    yield [], r"問題 ページタブのリスト", r"^$", "start: the question tabs"
    yield ["Tab"] * 5, r"テキスト.*\n.*(試験|物理)", r"ラベル|.{400}", "Tab to the paper: its first line"
    yield ["ctrl+Home", "KP_Add"], said_all, r"^$", "say-all: powers and units in words, links"
    yield ["ctrl+Home", "KP_Add"], said_all, r"^$", "say-all again from the top"
    yield ["ctrl+End", "ctrl+Home", "Down", "Up"], r"\S", r"Home|End", "Ctrl+End/Home, Down, Up: lines"
    yield ["shift+Tab"] * 5 + ["Right"], r"図1 ページタブ", r"^$", "Right on the question tabs"
    yield ["Tab"] * 5, r"図1 画像.*\n?.*\S{40}", r"^$", "Tab to figure 1: name and description"
    yield (["shift+Tab"] * 3 + ["space"], r"(?s)space.*1-問1-1 1 チェックボックス.*残り時間 60 分",
           r"(?s)space.*得 点", "Start: the time left; focus on the first box, not on Score")
    yield ["ctrl+t"], r"残り時間 60 分", r"^$", "Ctrl+T: the time left"
    yield ["Tab", "Tab", "space"], r"1-問1-1 3(.|\n)*checked", r"^$", "Space ticks 1-問1-1 ③"
    for page in pages[1:]:
        yield ["ctrl+Tab"], n(re.escape(page)) + r" 3 チェックボックス", r"ページタブ", "Ctrl+Tab: " + page
        yield ["space"], r"checked", r"^$", "Space ticks " + page + " ③"
    yield "shift+Tab", r"得 点 プッシュボタン", r"^$", "Shift+Tab back to Score"
    yield ["space"], r"得点 \d+ 点", r"^$", "Score speaks the score"
    yield ["Tab", "space"], r"(合格率 \d+%|予測不能)[^\n]*。", r"^$", "Pass-rate: the verdict"
    yield ["alt+F4"], r"Vardo(.|\n)*合格率 プ", r"^$", "Alt+F4 closes the verdict window"
    yield "alt+h", r"バージョン情報\(A\)", r"^$", "Alt+H: the help menu"  # once the window has the keys
    yield ["a"], r"バージョン情報(.|\n)*ソフトの説明", r"^$", "help: its title and first line"
    yield ["alt+F4"], r"Vardo(.|\n)*合格率 プ", r"^$", "Alt+F4 closes the help window"
    yield "alt+g", r"終了\(Q\)", r"^$", "Alt+G: the game menu"; yield ["q"], None, r"(?!)", "終了"

def exam(folder, start):  # the first step hears all since the program started
    for keys, wanted, unwanted, what in steps():
        heard, long_ = "", "KP_Add" in keys
        for _ in range(12 if isinstance(keys, str) else 1):  # a key pressed until heard
            heard += hear(folder, [keys] if isinstance(keys, str) else keys, wanted,
                          90 if long_ else 10, 1.5 if long_ else 0.8, None if keys else start)
            if wanted and re.search(wanted, heard):
                break
            run("xdotool", "search", "--onlyvisible", "--name", "Vardo", "windowactivate")  # WM lag
        ok = (not wanted or re.search(wanted, heard)) and not re.search(unwanted, heard)
        print(("ok   " if ok else "FAIL ") + what + ("" if ok else " heard: %r" % heard[-600:]))
        failures.extend([] if ok else [what])

def main():
    folder = tempfile.mkdtemp(prefix="vardo-orca-")
    env = dict(os.environ, SPEECHD_ADDRESS="unix_socket:%s/speechd.sock" % folder, HOME=folder,
               LANG="ja_JP.UTF-8", LANGUAGE="ja", LC_ALL="ja_JP.UTF-8", XDG_RUNTIME_DIR=folder,
               XDG_CONFIG_HOME=folder + "/config", GSETTINGS_BACKEND="memory")
    processes = [start_speech(folder), subprocess.Popen(
        ["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)]
    try:
        wait_for(lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 10)
        wait_for(lambda: os.path.exists(folder + "/speechd.sock"), 10)
        processes.append(subprocess.Popen(["orca", "--replace", "-u", folder + "/orca"], env=env,
                                          stderr=open(folder + "/orca.log", "w")))
        if not wait_for(lambda: spoken(folder).strip(), 30):
            failures.append("Orca speaks through the logging module")
            return
        time.sleep(1)
        start = len(spoken(folder))
        processes.append(subprocess.Popen([PROGRAM], cwd=os.path.dirname(PROGRAM), env=dict(
            env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")))
        window = lambda: run("xdotool", "search", "--onlyvisible", "--name", "Vardo").split()
        if not wait_for(window, 60):
            failures.append("the program's window")
            return
        run("xdotool", "windowactivate", "--sync", window()[0])
        exam(folder, start)
        if not wait_for(lambda: processes[-1].poll() == 0, 15):
            failures.append("終了 ends the program")
    finally:
        for process in reversed(processes):
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
        keep = os.environ.get("VARDO_ORCA_KEEP")  # for a look at spoken.txt and orca.log
        print("kept", folder) if keep else shutil.rmtree(folder, ignore_errors=True)
        print("failed: %s" % (failures or "none"))
    sys.exit(1 if failures else 0)

main()
