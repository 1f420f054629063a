#!/usr/bin/env bash
# A seeded random client of the accessibility bus against the window (accessibility_fuzz.py),
# then F5 and Esc as a user presses them: the program answers every call in time, lives, and
# ends with status 0. On the display of with_xvfb.sh, with a D-Bus session and an AT-SPI bus
# of the test's own:  accessibility_fuzz.sh PROGRAM [SEED [CALLS [BOUND_MS]]]
set -euo pipefail
program=$1
seed=${2:-${TOLVANE_FUZZ_SEED:-1}}
calls=${3:-2000}
bound_ms=${4:-1000}
if [ -z "${TOLVANE_ACCESSIBILITY_BUS:-}" ]; then
  export TOLVANE_ACCESSIBILITY_BUS=1
  exec dbus-run-session -- "$0" "$program" "$seed" "$calls" "$bound_ms"
fi
# shellcheck source=session.sh
. "$(dirname "$0")/session.sh"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
launcher=$!
trap 'kill "$launcher" 2>/dev/null; cleanup' EXIT
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/out" 2>&1 &
app_pid=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Tolvane$' >/dev/null || fail "no window"
/usr/bin/python3 "$(dirname "$0")/accessibility_fuzz.py" "$app_pid" "$seed" "$calls" "$bound_ms" ||
  fail "the program said: $(tail -n 40 "$work/out")"
window=$(xdotool search --onlyvisible --name '^Tolvane$' | head -n1)
xdotool windowfocus --sync "$window" key Escape
until_within 20 eval '! xdotool search --onlyvisible --name "^Tolvane\$" >/dev/null' ||
  fail "Esc left the window"
# A copy the calls made is served until another program takes the clipboard.
echo other | xclip -selection clipboard -i >/dev/null 2>&1
await_end
[ "$status" -eq 0 ] || fail "ended with status $status: $(cat "$work/out")"
