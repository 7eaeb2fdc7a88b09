#!/usr/bin/env python3
"""Start-up benchmark: process start to first painted window, Vardo against a
bare Qt window, run alternately; prints medians of time and peak memory.

usage: bench/startup.py BUILD_DIR [RUNS] [PLATFORM]
"""
import os
import statistics
import subprocess
import sys
import time


def run_once(exe, platform):
    env = dict(os.environ, QT_QPA_PLATFORM=platform)
    start = time.perf_counter()
    proc = subprocess.Popen([exe], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    line = proc.stdout.readline().decode()
    elapsed = time.perf_counter() - start
    proc.wait(timeout=10)
    if not line.startswith("painted"):
        raise SystemExit(f"{exe}: no paint reported")
    return elapsed * 1000.0, int(line.split()[1])


def main():
    build = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    platform = sys.argv[3] if len(sys.argv) > 3 else "offscreen"
    probes = {"bare": os.path.join(build, "bench", "startup_bare"),
              "vardo": os.path.join(build, "bench", "startup_vardo")}
    results = {name: [] for name in probes}
    run_once(probes["vardo"], platform)  # warm the file cache
    run_once(probes["bare"], platform)
    for _ in range(runs):
        for name, exe in probes.items():
            results[name].append(run_once(exe, platform))
    medians = {}
    for name, samples in results.items():
        ms = statistics.median(s[0] for s in samples)
        kb = statistics.median(s[1] for s in samples)
        medians[name] = (ms, kb)
        print(f"{name:6} median {ms:7.1f} ms  peak {kb / 1024:6.1f} MiB  ({runs} runs, {platform})")
    print(f"ratio   time {medians['vardo'][0] / medians['bare'][0]:.2f}x"
          f"  memory {medians['vardo'][1] / medians['bare'][1]:.2f}x")


if __name__ == "__main__":
    main()
