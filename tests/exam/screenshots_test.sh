#!/usr/bin/env bash
# screenshots_test.sh TOOL PAPER
# The README's pictures must show the paper: the screenshot tool writes
# nothing and fails when the pane beside it finds no paper or refuses it,
# and writes all four pictures when the real paper lies beside it.
set -uo pipefail
tool=$1 paper=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cp "$tool" "$work/screenshots"

run() { # run CASE: the tool's status, with its pictures in $work/CASE
    mkdir "$work/$1"
    "$work/screenshots" "$work/$1" >"$work/$1.out" 2>"$work/$1.err"
}
expect_refusal() {
    run "$1" && fail "$1: the tool succeeded"
    [ -z "$(ls -A "$work/$1")" ] || fail "$1: pictures were written: $(ls "$work/$1")"
    grep -q "shows no paper" "$work/$1.err" || fail "$1: no reason given: $(cat "$work/$1.err")"
}

expect_refusal missing
printf 'PK\003\004\000\000\000\000binary\000\001\002' >"$work/00Vardo.tx"
expect_refusal refused

cp "$paper" "$work/00Vardo.tx"
run real || fail "real paper: the tool failed: $(cat "$work/real.err")"
for picture in main-window question-page pass-line-window help-window; do
    [ -s "$work/real/$picture.png" ] || fail "real paper: no $picture.png"
done

[ $failures -eq 0 ] && echo "the screenshot tool pictures the real paper and refuses any other page"
exit $((failures > 0))
