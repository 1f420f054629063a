#!/usr/bin/env bash
# How a copy's serving ends, on an X display (runs under with_xvfb.sh): a failure while a copy
# is held ends the program with status 1, as any failure does; SIGTERM while a copy is served
# ends it with status 0, and so does the display's end, neither with a word.
#   serving_ends.sh PROGRAM FAILING_GETRANDOM_LIBRARY
#   serving_ends.sh --display-ends PROGRAM    (the last case, on a display of its own)
set -euo pipefail
# shellcheck source=session.sh
. "$(dirname "$0")/session.sh"
shown() { xdotool search --onlyvisible --name '^Tolvane$' >/dev/null; }
copied() { [ -n "$(xclip -o -selection clipboard 2>/dev/null)" ]; }
# start_and_copy PROGRAM [VARIABLE=VALUE...]: the window shown, the bottom box's password
# copied; what the program said by then is in $said.
start_and_copy() {
  env "${@:2}" "$1" >"$work/out" 2>&1 &
  app_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
    fail "no window: $(cat "$work/out")"
  xdotool windowfocus --sync "$window" key shift+Tab ctrl+a ctrl+c
  until_within 20 copied || fail "nothing was copied"
  said=$(cat "$work/out")
}
# Esc; then the program serves the copy: it gives up the selection as serving begins.
close_window() {
  xdotool key Escape
  until_within 20 eval '! shown' || fail "Esc left the window"
  until_within 20 eval '! xclip -o -selection primary >/dev/null 2>&1' ||
    fail "the selection outlived the window"
  kill -0 "$app_pid" || fail "the copy ended with the window"
}
silent_since_start() { [ "$(cat "$work/out")" = "$said" ] || fail "$1 printed: $(cat "$work/out")"; }

if [ "$1" = --display-ends ]; then
  start_and_copy "$2"
  close_window
  kill "$TOLVANE_XVFB_PID"
  await_end
  [ "$status" -eq 0 ] || fail "the display's end ended the serving with status $status"
  silent_since_start "the display's end"
  exit 0
fi
program=$1
failing=$2

# A failure while the clipboard holds a copy: the message, then status 1; nothing is served.
start_and_copy "$program" LD_PRELOAD="$failing" FAILING_GETRANDOM_ONCE_EXISTS="$work/fail" \
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
touch "$work/fail"
xdotool key F5
until_within 20 grep -q "getrandom" "$work/out" || fail "no failure told: $(cat "$work/out")"
message=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no message appeared"
xdotool windowfocus --sync "$message" key Return
await_end
[ "$status" -eq 1 ] || fail "a failure with a copy held ended with status $status, not 1"

start_and_copy "$program"
close_window
kill -TERM "$app_pid"
await_end
[ "$status" -eq 0 ] || fail "SIGTERM ended the serving with status $status"
silent_since_start "SIGTERM"

"$(dirname "$0")/with_xvfb.sh" "$0" --display-ends "$program"
echo "serving ends: a failure with status 1; SIGTERM and the display's end with 0, silently"
