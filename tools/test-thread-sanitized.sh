#!/usr/bin/env bash
# Builds the tests of the libraries whose code runs off the GUI thread
# (document/, sound/, and files/ which they read through) with ThreadSanitizer
# into build-tsan/ and runs them; any report fails the run. Qt itself is not
# built with the sanitizer: tools/tsan.supp names the reports that lie wholly
# inside it, and nothing of ours. Expects tools/setup.sh to have run.
set -euo pipefail
cd "$(dirname "$0")/.."
folders=()
for folder in document sound files; do
    [[ -f tests/$folder/CMakeLists.txt ]] && folders+=("tests/$folder")
done
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDO_TSAN=ON \
    -DBUILD_TESTING=ON -DVARDO_BUILD_BENCH=OFF -DVARDO_BUILD_TOOLS=OFF
cmake --build build-tsan --target "${folders[@]/%//all}"
# One test starts the program as a child to see it end: the child is a new
# program (fork, then exec at once), which TSan would otherwise refuse.
export TSAN_OPTIONS="suppressions=$PWD/tools/tsan.supp halt_on_error=1 second_deadlock_stack=1 die_after_fork=0"
for folder in "${folders[@]}"; do
    ctest --test-dir "build-tsan/$folder" --output-on-failure
done
