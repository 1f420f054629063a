#!/usr/bin/env bash
# Drives the real program on an Xvfb display with the mouse and keyboard, as a user would:
# window and title, F5 and F2 redraw the passwords, clicks on a set label and a check box
# switch classes and the look-alike warning, the warning ends after its interval, a second
# start ends silently, Esc ends the program with status 0.
set -euo pipefail
program=$1
probe=$2
# Runs under with_xvfb.sh, which provides DISPLAY and XDG_RUNTIME_DIR.
[ -n "${DISPLAY:-}" ] || { echo "needs an X display" >&2; exit 1; }
work=$(mktemp -d)
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$program" >"$work/first.log" 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no window titled Tolvane"
size=$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$size" = "451x403" ] || fail "client area is $size, not 451x403"

snapshot() { xwd -silent -id "$window" >"$work/$1.xwd"; }
xdotool windowfocus --sync "$window"
sleep 0.3
for key in F5 F2; do
  snapshot before
  xdotool key "$key"
  sleep 0.3
  snapshot after
  ! cmp -s "$work/before.xwd" "$work/after.xwd" || fail "$key did not change the passwords"
done

# Window coordinates (pixels) of what the mouse touches, from the window's layout.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
red_in() { "$probe" reddish "$window" "$@"; }
upper_captions_red() {
  [ "$(red_in 300 42 130 15)" -gt 20 ] && [ "$(red_in 300 96 130 15)" -gt 20 ]
}
lbl_a=(200 30) lbl_e=(200 105) ch_e_box=(289 103)

snapshot before
click "${lbl_a[@]}"  # digits off
snapshot after
! cmp -s "$work/before.xwd" "$work/after.xwd" || fail "a click on the digits label changed nothing"
click "${lbl_a[@]}"  # and on again

[ "$(red_in 0 0 451 380)" -eq 0 ] || fail "red above the info line before any warning"
click "${lbl_e[@]}"  # Cyrillic upper case on while Latin upper case is on
upper_captions_red || fail "the upper-case pair did not turn red"
click "${ch_e_box[@]}"  # and off again: clears at once
[ "$(red_in 0 0 451 380)" -eq 0 ] || fail "switching off did not clear the warning"
click "${lbl_e[@]}"
upper_captions_red || fail "the warning did not return"
sleep 3.5
upper_captions_red || fail "the warning ended early"
sleep 2.0
[ "$(red_in 0 0 451 380)" -eq 0 ] || fail "the warning outlasted its interval"
click "${lbl_e[@]}"  # back to the defaults

second_status=0
timeout 20 "$program" >"$work/second.log" 2>&1 || second_status=$?
[ "$second_status" -eq 0 ] || fail "second start ended with $second_status"
[ ! -s "$work/second.log" ] || fail "second start printed: $(cat "$work/second.log")"
[ "$(xdotool search --onlyvisible --name '^Tolvane$' | wc -l)" -eq 1 ] || fail "more than one window"
kill -0 "$app_pid" || fail "the first instance died"

xdotool key Escape
status=0
timeout 10 tail --pid="$app_pid" -f /dev/null || fail "Esc did not end the program"
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 0 ] || fail "Esc ended the program with status $status"
echo "xvfb session: all checks passed"
