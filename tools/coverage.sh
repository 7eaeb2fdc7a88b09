#!/usr/bin/env bash
# Line coverage of each library folder by the suite without the desktop
# label: builds with --coverage into build-cov/, runs the suite there and
# prints, per folder, the lines the suite runs. A figure to read, not a gate.
# Installs Debian's gcovr when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v gcovr >/dev/null; then
    sudo=$([[ $(id -u) == 0 ]] || echo sudo)
    $sudo apt-get install -y gcovr
fi
cmake -S . -B build-cov -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON \
    -DVARDO_BUILD_BENCH=OFF -DVARDO_BUILD_TOOLS=OFF \
    -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage \
    -DCMAKE_SHARED_LINKER_FLAGS=--coverage
cmake --build build-cov
find build-cov -name '*.gcda' -delete
ctest --test-dir build-cov -LE desktop -j2 || echo "(some tests failed; the figures still count what ran)"
# The program's own sources only: not the tests, the tools or what moc wrote.
gcovr --root . --object-directory build-cov --exclude 'tests/' --exclude 'tools/' \
    --exclude 'bench/' --exclude 'build-cov/' --json-summary build-cov/coverage.json
/usr/bin/python3 - build-cov/coverage.json <<'PY'
import collections, json, sys
totals = collections.defaultdict(lambda: [0, 0])
for f in json.load(open(sys.argv[1]))["files"]:
    parts = f["filename"].split("/")
    folder = "/".join(parts[:2]) if parts[0] == "sound" and parts[1] == "module" else parts[0]
    totals[folder][0] += f["line_covered"]
    totals[folder][1] += f["line_total"]
print("%-14s %7s %7s %6s" % ("folder", "lines", "run", "%"))
for folder, (run, total) in sorted(totals.items()):
    print("%-14s %7d %7d %5.1f%%" % (folder + "/", total, run, 100.0 * run / max(total, 1)))
run, total = map(sum, zip(*totals.values()))
print("%-14s %7d %7d %5.1f%%" % ("all", total, run, 100.0 * run / max(total, 1)))
PY
