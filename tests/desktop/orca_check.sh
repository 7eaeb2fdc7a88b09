#!/usr/bin/env bash
# Runs orca_check.py on a fresh X server (a free display number) with its own
# session bus, which starts the accessibility bus on demand.
# Usage: orca_check.sh PROGRAM; exits 77 (skipped) when the tools are missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for tool in xvfb-run openbox dbus-run-session xdotool xprop orca speech-dispatcher; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
locale -a | grep -qi '^ja_JP.utf-\?8$' || { echo "skipped: locale ja_JP.UTF-8 not generated"; exit 77; }
exec xvfb-run -a -s "-screen 0 1366x768x24" \
    dbus-run-session -- /usr/bin/python3 "$here/orca_check.py" "$@"
