#!/usr/bin/env bash
# The window read through the accessibility bus, as a screen reader reads it, and nothing of
# it left there while a copy outlives it: a D-Bus session
# and an AT-SPI bus of this test's own, on the display of with_xvfb.sh. Arguments: the program.
set -euo pipefail
program=$1
if [ -z "${TOLVANE_ACCESSIBILITY_BUS:-}" ]; then
  export TOLVANE_ACCESSIBILITY_BUS=1
  exec dbus-run-session -- "$0" "$@"
fi
source "$(dirname "$0")/session.sh"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
launcher=$!
trap 'kill "$launcher" 2>/dev/null; cleanup' EXIT
# Qt speaks to the bus when a screen reader is known to run; this test is one.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
app_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no window"
xdotool windowfocus --sync "$window"  # no window manager gives it the keyboard
/usr/bin/python3 "$(dirname "$0")/accessibility.py"
# It closed the window with a copy on the clipboard, which it serves until another takes it.
kill -0 "$app_pid" || fail "the copy ended with the window"
echo foreign | xclip -selection clipboard -i
await_end
[ "$status" -eq 0 ] || fail "the copy's serving ended with status $status"
