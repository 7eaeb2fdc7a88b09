#!/usr/bin/env python3
"""Start-up benchmark: process start to the first painted window, run in turn
for Vardo (the paper and the sound beside it, as a user has them) and two
floors: a bare Qt window with ASCII captions, and the same window with Japanese
captions in the substituted Gothic face, which pays the CJK font cost any
Japanese window pays. Prints medians of time and peak memory and the ratios
to the floors. Fails when the pane does not hold the paper at the first paint.

Prints the load average before and after the runs and warns when the
one-minute load is over 0.5: a loaded machine slows the floors more than
Vardo, so that the ratios shrink under load and only quiet figures count.

Where Vardo's time goes beyond the Japanese floor, in millions of
instructions on the main thread from process start to the end of the first
paint and flush (valgrind --tool=callgrind --separate-threads=yes
--dump-after='QWidgetRepaintManager::paintAndFlush()', Release build,
offscreen; counts do not depend on the machine's load):

                                            floor   before   after
  loader, static set-up, QApplication          18       18      18
  font database (the fontconfig scan, once)    40       41      41
  building the window, less that scan          21       36      36
    (39 pages, 130 boxes, menus, their first font engines)
  showing it: the paper's first layout          -      103      57
  later layout steps due before the paint       -       22       0
  the first paint                             3.5       38      38
  main thread to the first frame               83      258     189

  "before": the paper laid out at its own width, then at the pane's, and
  its later steps run as they fell due; "after": laid out once, at the
  pane's width, the later steps waiting for the first frame.
  Font engines and fallback look-ups, inside the rows above: 94 before,
  92 after, against 58 for the floor (fallback look-ups 26 against 12).
  Loading: the same libraries as the floor; only the GIF reader (on the
  background's thread) and one fallback face (DejaVu Sans) come in addition.
  The paper is read and parsed on a thread of its own (19), and the
  background decoded and indexed on another (35), both while the window is
  built; drawing the indexed background adds 1 to the first paint.

Where Vardo's peak memory goes beyond the Japanese floor, in KiB resident
at the first frame (/proc/self/smaps, Release, offscreen): 36,050 against
30,200.

  ICU's Shift_JIS converter, for the paper            1,050
  Qt's own libraries, more of their pages             1,020
  the GUI thread's heap (pages, boxes, the paper)        830
  the paper thread's heap                                830
    (about 600 of it the parse's freed scratch; malloc_trim returns it
    but took 2.7 ms of CPU with every heap locked in turn, the GUI
    thread's too, so it is left)
  the program's own code and data                        800
  the background, kept indexed (a pixmap took 1,760)     440
  fallback face DejaVu Sans, more of IPA Gothic          320
  other threads' heaps and stacks, other libraries       550

usage: bench/startup.py BUILD_DIR [RUNS] [PLATFORM]

PLATFORM is offscreen (default) or xcb; xcb runs on $DISPLAY, or on an Xvfb
server of its own when there is none.
"""
import contextlib
import os
import shutil
import statistics
import subprocess
import sys
import time


PHASES = ("start", "main", "app", "show", "exec", "paint", "painted")


def run_once(command, env):
    start = time.perf_counter()
    proc = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    line = proc.stdout.readline().decode()
    read = time.perf_counter()
    elapsed = read - start
    rest = proc.stdout.read().decode()
    proc.wait(timeout=10)
    fields = line.split()
    if not fields or fields[0] != "painted":
        raise SystemExit(f"{' '.join(command)}: no paint reported")
    return elapsed * 1000.0, int(fields[1]), fields[2:], rest, phases(rest, start, read)


def phases(rest, start, read):
    """Milliseconds between the probe's marks, from process start to the
    report read: {"main": start to main(), "app": main() to the application,
    ..., "read": the paint's end to the report read}."""
    marks = {"start": start}
    for line in rest.splitlines():
        if line.startswith("marks "):
            marks.update((name, float(value)) for name, value in
                         (field.split("=") for field in line.split()[1:]))
    if any(name not in marks for name in PHASES):
        return {}
    spans = {name: (marks[name] - marks[before]) * 1000.0
             for before, name in zip(PHASES, PHASES[1:])}
    spans["read"] = (read - marks["painted"]) * 1000.0
    return spans


def check_paper(fields, rest):
    if not fields or int(fields[0]) <= 0:
        raise SystemExit("vardo: the document pane was empty at the first paint")
    if "paper yes" not in rest:
        raise SystemExit(f"vardo: the pane held something other than the paper "
                         f"at the first paint ({fields[0]} characters)")


@contextlib.contextmanager
def display(platform):
    """The environment to run in, with an Xvfb server started when needed."""
    env = dict(os.environ, QT_QPA_PLATFORM=platform)
    if platform != "xcb" or env.get("DISPLAY"):
        yield env
        return
    if not shutil.which("Xvfb"):
        raise SystemExit("xcb needs $DISPLAY or Xvfb (tools/setup.sh installs it)")
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp"], pass_fds=[write_fd], stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as announced:
        number = announced.readline().strip()
    try:
        yield dict(env, DISPLAY=f":{number}")
    finally:
        server.terminate()
        server.wait()


QUIET_LOAD = 0.5


def report_load(when):
    """Prints the load average and warns when the machine is not quiet."""
    one, five, fifteen = os.getloadavg()
    print(f"load {when}: {one:.2f} {five:.2f} {fifteen:.2f} (1, 5, 15 min)")
    if one > QUIET_LOAD:
        print(f"warning: one-minute load {one:.2f} is over {QUIET_LOAD}; the ratios below "
              f"shrink under load, take them again on a quiet machine")


PHASE_NAMES = {"main": "to main()", "app": "QApplication", "show": "build window",
               "exec": "show window", "paint": "to the paint", "painted": "paint",
               "read": "report"}


def print_phases(spans):
    """Median of each phase: where the time goes, and what Vardo spends
    beyond the Japanese floor."""
    print("phase medians, ms:     " + "".join(f"{name:>10}" for name in spans))
    for phase, title in PHASE_NAMES.items():
        row = []
        for samples in spans.values():
            values = [s[phase] for s in samples if phase in s]
            row.append(statistics.median(values) if values else float("nan"))
        print(f"  {title:20}" + "".join(f"{value:10.1f}" for value in row))


def main():
    build = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    platform = sys.argv[3] if len(sys.argv) > 3 else "offscreen"
    bench = os.path.join(build, "bench")
    for side_file in ("00Vardo.tx", "Zarod.wav"):
        if not os.path.isfile(os.path.join(bench, side_file)):
            raise SystemExit(f"{bench}: {side_file} is not beside startup_vardo")
    probes = {"vardo": [os.path.join(bench, "startup_vardo")],
              "japanese": [os.path.join(bench, "startup_bare"), "japanese"],
              "bare": [os.path.join(bench, "startup_bare")]}
    results = {name: [] for name in probes}
    spans = {name: [] for name in probes}
    report_load("before")
    with display(platform) as env:
        for command in probes.values():  # warm the file cache
            run_once(command, env)
        for _ in range(runs):
            for name, command in probes.items():
                ms, kb, fields, rest, phase_ms = run_once(command, env)
                if name == "vardo":
                    check_paper(fields, rest)
                results[name].append((ms, kb))
                spans[name].append(phase_ms)
    report_load("after")
    medians = {}
    for name, samples in results.items():
        ms = statistics.median(s[0] for s in samples)
        kb = statistics.median(s[1] for s in samples)
        medians[name] = (ms, kb)
        print(f"{name:8} median {ms:7.1f} ms  peak {kb / 1024:6.1f} MiB  ({runs} runs, {platform})")
    print_phases(spans)
    for floor in ("japanese", "bare"):
        print(f"vardo / {floor:8} time {medians['vardo'][0] / medians[floor][0]:.2f}x"
              f"  memory {medians['vardo'][1] / medians[floor][1]:.2f}x")


if __name__ == "__main__":
    main()
