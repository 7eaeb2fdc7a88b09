#!/usr/bin/env bash
# usage: tools/memcheck.sh [BUILD_DIR]
# Runs the scripted session (tools/session.cpp) under valgrind memcheck on the
# offscreen platform. Fails on any memory error and on any definite leak;
# tools/valgrind.supp holds the few reports from inside Qt and the font
# libraries, each with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target session
QT_QPA_PLATFORM=offscreen valgrind --tool=memcheck --error-exitcode=99 \
    --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --num-callers=30 --suppressions=tools/valgrind.supp --gen-suppressions=all \
    "$build/tools/session"
