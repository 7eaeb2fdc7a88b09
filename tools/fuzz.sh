#!/usr/bin/env bash
# usage: tools/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
# Builds tests/fuzz/TARGET_fuzz.cpp with clang, libFuzzer, ASan and UBSan into
# build-fuzz/ and fuzzes it for SECONDS (default 600), starting from its seeds
# and regressions, with tests/fuzz/TARGET.dict when there is one. An input that
# takes over 2 s is a finding too (a slow document freezes the window). A crashing input lands in build-fuzz/artifacts/TARGET/:
# fix the fault, then copy the input into tests/fuzz/regressions/TARGET/ so
# that the TARGET_replay test keeps feeding it.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: tools/fuzz.sh TARGET [SECONDS]}
seconds=${2:-600}
shift $(($# < 2 ? $# : 2))

if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDO_FUZZ=ON
fi
cmake --build build-fuzz -j2 --target "${target}_fuzz"

corpus=build-fuzz/corpus/$target
artifacts=build-fuzz/artifacts/$target
mkdir -p "$corpus" "$artifacts"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tools/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
dict=()
[ -f "tests/fuzz/$target.dict" ] && dict=(-dict="tests/fuzz/$target.dict")
exec "build-fuzz/tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=2 "${dict[@]}" \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$@" \
    "$corpus" "tests/fuzz/seeds/$target" "tests/fuzz/regressions/$target"
