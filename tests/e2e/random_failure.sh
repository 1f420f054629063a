#!/usr/bin/env bash
# With the system's random generator failing, the program shows no password: its window never
# appears, a message says why, and it ends with status 1 once the user has read it. A display
# the toolkit cannot use is told as such, with the toolkit's reason.
# Runs under with_xvfb.sh: random_failure.sh PROGRAM FAILING_GETRANDOM_LIBRARY
set -euo pipefail
program=$1
failing=$2
# shellcheck source=session.sh
. "$(dirname "$0")/session.sh"

# AddressSanitizer wants to be first in the list; the shim only stands in for getrandom.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
LD_PRELOAD="$failing" "$program" >"$work/out" 2>&1 &
app_pid=$!
message=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no message appeared: $(cat "$work/out")"
size=$(xwininfo -id "$message" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$size" != 451x403 ] || fail "the main window showed"
grep -q "системный генератор случайных чисел не ответил (getrandom: Input/output error)" \
  "$work/out" || fail "the reason was not given: $(cat "$work/out")"
kill -0 "$app_pid" || fail "the program ended before the user read the message"

xdotool windowfocus --sync "$message" key Return
await_end
[ "$status" -eq 1 ] || fail "ended with status $status, not 1"
echo "random failure: message shown, no window, status 1"

# A toolkit that cannot use the display it finds (asked for Wayland in an X11 session) says
# so, with the toolkit's reason, not that there is no display.
status=0
QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$work/no-compositor" "$program" >"$work/out" 2>&1 ||
  status=$?
[ "$status" -eq 1 ] || fail "the unusable display ended with status $status, not 1"
head -n1 "$work/out" | grep -q "окно показать не удалось" || fail "first line: $(cat "$work/out")"
grep -qi wayland "$work/out" || fail "the toolkit's reason is missing: $(cat "$work/out")"
! grep -q "нет доступного дисплея" "$work/out" || fail "called no display: $(cat "$work/out")"
echo "unusable display: the window system's failure and its reason, status 1"
