#!/usr/bin/env bash
# Runs a command against a fresh Xvfb display of its own, with a private runtime directory
# and no session bus, and takes the display down afterwards: with_xvfb.sh COMMAND [ARGS...]
# The command finds the server's process in TOLVANE_XVFB_PID.
# Without a bus of their own, programs would reach the user's session bus, or on a machine
# with dbus-x11 and no bus, start one that outlives them.
set -euo pipefail
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1200); do [ -s "$work/display" ] && break; sleep 0.05; done  # up to a minute
[ -s "$work/display" ] || { echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
exec 3>&-
export DISPLAY=":$(head -n1 "$work/display")" TOLVANE_XVFB_PID=$xvfb_pid
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
"$@"
