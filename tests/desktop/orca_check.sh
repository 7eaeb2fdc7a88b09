#!/usr/bin/env bash
# Runs orca_check.py in a session of its own, so that no other screen reader
# on the machine can disturb it nor be disturbed: a fresh X server (a free
# display number), its own session bus (and so accessibility bus), its own
# home, runtime and settings folders, its own speech server socket and, when
# started as root, another user (nobody): Orca kills (--replace) or refuses to
# start beside any other Orca of the same user, whatever its display.
# Usage: orca_check.sh PROGRAM; exits 77 (skipped) when the tools are missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for tool in xvfb-run openbox dbus-run-session xdotool xprop orca speech-dispatcher setpriv; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
locale -a | grep -qi '^ja_JP.utf-\?8$' || { echo "skipped: locale ja_JP.UTF-8 not generated"; exit 77; }
program=$(realpath "$1")

# Qt hands the program a key Orca has not answered within 0.1 s, and Orca,
# seeing it late, echoes it over the speech of the move it made: a starved
# Orca, X server or program loses words. As root the session runs ahead of
# other work on the machine (a parallel build): the check is of the program
# and Orca, not of the machine's scheduler.
priority=()
if [[ $(id -u) == 0 ]]; then
    # The session bus needs an account; the program must be readable by it.
    uid=$(id -u nobody)
    run_as=(setpriv --reuid="$uid" --regid="$uid" --clear-groups --)
    priority=(nice -n -10)
else
    uid=$(id -u)
    run_as=()
fi
if pgrep -u "$uid" -x orca >/dev/null; then
    echo "skipped: an Orca of user $uid runs, and the check would have to replace it"; exit 77
fi
folder=$(mktemp -d "${TMPDIR:-/tmp}/vardo-orca-XXXXXX")
chown "$uid:$uid" "$folder"
trap '[[ -n ${VARDO_ORCA_KEEP:-} ]] && echo "kept $folder" || rm -rf "$folder"' EXIT

# xvfb-run writes the X cookie as the caller; the session's user must read it.
"${priority[@]}" xvfb-run -a -f "$folder/Xauthority" -s "-screen 0 1366x768x24 -nolisten tcp" \
    bash -c 'chown "$1" "$XAUTHORITY" && shift && exec "$@"' _ "$uid" \
    "${run_as[@]}" env HOME="$folder" XDG_RUNTIME_DIR="$folder" XDG_CONFIG_HOME="$folder/config" \
    XDG_CACHE_HOME="$folder/cache" XDG_DATA_HOME="$folder/data" \
    dbus-run-session -- /usr/bin/python3 "$here/orca_check.py" "$program" "$folder"
