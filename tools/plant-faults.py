#!/usr/bin/python3
"""Plants faults in the source one at a time and tells which tests catch each.

    tools/plant-faults.py [--build DIR] [--all] [LIST...]

Each LIST (by default every tools/faults/*.txt) holds faults as blocks of
"key: value" lines, separated by blank lines; lines starting with # are
comments:

    fault:  a symbolic link followed at the end of a name
    file:   files/folder.cpp
    old:    constexpr int pathFlags = O_PATH | O_CLOEXEC | O_NOFOLLOW;
    new:    constexpr int pathFlags = O_PATH | O_CLOEXEC;
    expect: folder_test

"old" must occur exactly once in the file; "\\n" in old and new stands for
a line break. For each fault the file is changed, the build folder (made
by ./test or as the README says, default build/) rebuilt incrementally, and
the tests named in "expect" run, or with --all the whole suite but the
desktop label; then the file is restored, whatever happens. The table at the
end gives, for each fault, the tests that failed, or SURVIVED (or DID NOT
BUILD: a fault the compiler catches says nothing of the tests).
"""

import argparse
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent


def read_faults(path):
    faults = []
    block = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines() + [""], 1):
        if line.startswith("#"):
            continue
        if not line.strip():
            if block:
                missing = {"fault", "file", "old", "new", "expect"} - block.keys()
                if missing:
                    sys.exit(f"{path}:{number}: fault lacks {', '.join(sorted(missing))}")
                faults.append(block)
                block = {}
            continue
        key, sep, value = line.partition(":")
        if not sep:
            sys.exit(f"{path}:{number}: not a 'key: value' line")
        block[key.strip()] = value.strip().replace("\\n", "\n")
    return faults


def run(command, log):
    result = subprocess.run(command, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    log.write(f"$ {' '.join(command)}\n{result.stdout}\n")
    return result


def failed_tests(output):
    # ctest: "  12 - folder_test (Failed)" under "The following tests FAILED:"
    tail = output.partition("The following tests FAILED:")[2]
    return re.findall(r"^\s*\d+ - (\S+) \(", tail, re.MULTILINE)


def try_fault(fault, build, run_all, log):
    source = ROOT / fault["file"]
    original = source.read_bytes()
    text = original.decode("utf-8")
    count = text.count(fault["old"])
    if count != 1:
        return False, f"old text found {count} times"
    expected = fault["expect"].split()
    try:
        source.write_text(text.replace(fault["old"], fault["new"]), encoding="utf-8")
        targets = [] if run_all else [arg for name in expected for arg in ("--target", name)]
        if run(["cmake", "--build", str(build), "-j2", *targets], log).returncode != 0:
            return False, "DID NOT BUILD"
        selection = ["-LE", "desktop"] if run_all else ["-R", "^(" + "|".join(map(re.escape, expected)) + ")$"]
        result = run(["ctest", "--test-dir", str(build), "-j2", *selection], log)
        caught = failed_tests(result.stdout)
        if result.returncode != 0 and not caught:
            return False, "ctest failed to run: see the log"
        return bool(caught), ", ".join(caught) if caught else "SURVIVED"
    finally:
        source.write_bytes(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("lists", nargs="*", type=pathlib.Path)
    parser.add_argument("--build", type=pathlib.Path, default=ROOT / "build")
    parser.add_argument("--all", action="store_true", help="run the whole suite but the desktop label")
    args = parser.parse_args()

    lists = args.lists or sorted((ROOT / "tools" / "faults").glob("*.txt"))
    faults = [fault for path in lists for fault in read_faults(path)]
    build = args.build.resolve()
    if not (build / "CTestTestfile.cmake").exists():
        sys.exit(f"{build} is not a configured build folder with tests")
    files = sorted({fault["file"] for fault in faults})
    dirty = subprocess.run(["git", "status", "--porcelain", "--", *files], cwd=ROOT,
                           stdout=subprocess.PIPE, text=True, check=True).stdout
    if dirty.strip():
        sys.exit("the files to plant in have changes of their own; commit or stash them first")

    rows = []
    caught = 0
    with open(build / "plant-faults.log", "w", encoding="utf-8") as log:
        for number, fault in enumerate(faults, 1):
            print(f"[{number}/{len(faults)}] {fault['fault']}", file=sys.stderr, flush=True)
            was_caught, verdict = try_fault(fault, build, args.all, log)
            caught += was_caught
            rows.append((fault["fault"], fault["file"], fault["expect"], verdict))
        # Leave the build as the source is.
        run(["cmake", "--build", str(build), "-j2"], log)

    heading = ("fault", "file", "expected", "caught by")
    widths = [max(len(row[i]) for row in rows + [heading]) for i in range(4)]
    for row in [heading, tuple("-" * w for w in widths)] + rows:
        print("| " + " | ".join(cell.ljust(w) for cell, w in zip(row, widths)) + " |")
    print(f"\n{caught} of {len(rows)} caught; log in {build / 'plant-faults.log'}")
    return 0 if caught == len(rows) else 1


if __name__ == "__main__":
    sys.exit(main())
