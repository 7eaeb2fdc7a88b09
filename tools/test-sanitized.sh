#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/
# and runs the whole suite there but the desktop check, whose X server and
# accessibility bus are not ours to sanitize. Then builds the tests of the
# libraries with code off the GUI thread (document/, sound/, files/) with
# ThreadSanitizer into build-tsan/ and runs them. Expects tools/setup.sh to
# have run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARDO_SANITIZE=ON
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp ctest --test-dir build-asan --output-on-failure -LE desktop

tools/test-thread-sanitized.sh
