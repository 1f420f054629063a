#!/usr/bin/env bash
# Under sway (run by with_compositor.sh): a copy made in the window can still be pasted after
# Esc closed it, marked secret, while nothing on the accessibility bus holds a password any
# more; another client's copy ends the program with status 0, and so does the compositor's
# end, without a word. sway's data-control protocol lets wl-paste and wl-copy use the
# clipboard without a window; wtype types through a virtual keyboard. A D-Bus session and an
# AT-SPI bus of the test's own.
set -euo pipefail
program=$1
if [ -z "${TOLVANE_ACCESSIBILITY_BUS:-}" ]; then
  export TOLVANE_ACCESSIBILITY_BUS=1
  exec dbus-run-session -- "$0" "$@"
fi
# shellcheck source=session.sh
. "$(dirname "$0")/session.sh"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
launcher=$!
trap 'kill "$launcher" 2>/dev/null; cleanup' EXIT
shown() { [[ $(swaymsg -t get_tree) == *"\"pid\": $app_pid,"* ]]; }  # no early-closed pipe
# The window has the keyboard: sway's focused node is the program's.
focused() {
  swaymsg -t get_tree | /usr/bin/python3 -c 'import json, sys
def nodes(n):
    yield n
    for child in n.get("nodes", []) + n.get("floating_nodes", []):
        yield from nodes(child)
sys.exit(not any(n.get("pid") == int(sys.argv[1]) and n.get("focused") for n in nodes(json.load(sys.stdin))))' "$app_pid"
}
copied() { [ -n "$(wl-paste -n 2>/dev/null)" ]; }
# Each call is a new virtual keyboard, whose first key arrives already held as it enters, and
# the toolkit ignores it: a lone shift goes first.
keys() { wtype -k Shift_L "$@"; }
bus() { /usr/bin/python3 "$(dirname "$0")/bus_texts.py" "$@"; }
# start_and_copy: the window shown, the bottom box's password copied; its remarks kept.
start_and_copy() {
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/program.log" 2>&1 &
  app_pid=$!
  until_within 30 shown || fail "no window"
  until_within 30 focused || fail "the window never had the keyboard"
  # Round to a result box from the first control, and copy. On a busy machine keys typed as
  # the window has just come may go before it takes them: typed again after a while, each
  # time a box further up.
  for _ in 1 2 3; do
    keys -M shift -k Tab -m shift -M ctrl -k a -k c -m ctrl
    until_within 10 copied && break
  done
  copied || fail "nothing was copied"
  said=$(cat "$work/program.log")  # the toolkit's remarks at start (Qt 6.8's on the C locale)
}
# Esc; then the program serves the copy: it gives up the selection as serving begins.
close_window() {
  keys -k Escape
  until_within 30 eval '! shown' || fail "Esc left the window"
  until_within 30 eval '! wl-paste -p -n >/dev/null 2>&1' || fail "the selection outlived the window"
  kill -0 "$app_pid" || fail "the copy ended with the window"
}

start_and_copy
until_within 30 eval 'bus passwords >"$work/shown"' || fail "no passwords on the bus"
keys -k F5
until_within 30 eval 'bus passwords >"$work/drawn" && ! cmp -s "$work/shown" "$work/drawn"' ||
  fail "F5 drew no new passwords"
close_window
[ -n "$(wl-paste -n)" ] || fail "the clipboard lost the copy"
[ "$(wl-paste -n -t x-kde-passwordManagerHint)" = secret ] || fail "the copy lost its mark"
until_within 30 eval '! bus passwords >/dev/null' || fail "the result boxes stayed on the bus"
bus >"$work/told"
cat "$work/shown" "$work/drawn" >"$work/passwords"
! grep -Ff "$work/passwords" "$work/told" || fail "a password on the bus after Esc"
wl-copy foreign 2>/dev/null  # its server, left running, would speak as sway ends
await_end
[ "$status" -eq 0 ] || fail "the copy's serving ended with status $status"
[ "$(cat "$work/program.log")" = "$said" ] || fail "the serving printed: $(cat "$work/program.log")"

# The compositor ends while a copy is served.
start_and_copy
close_window
swaymsg exit >/dev/null 2>&1 || true  # sway may go before it answers
await_end
[ "$status" -eq 0 ] || fail "the compositor's end ended the serving with status $status"
[ "$(cat "$work/program.log")" = "$said" ] || fail "the serving printed: $(cat "$work/program.log")"
echo "wayland copy: all checks passed"
