#!/usr/bin/env bash
# Runs scaled_check.py on a fresh 1366x768 X server with its own session bus.
# Usage: scaled_check.sh PROGRAM; exits 77 (skipped) when the desktop tools
# are missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for tool in xvfb-run openbox dbus-run-session xdotool xprop xwininfo; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "skipped: no pyatspi"; exit 77; }
exec xvfb-run -a -s "-screen 0 1366x768x24" \
    dbus-run-session -- /usr/bin/python3 "$here/scaled_check.py" "$@"
