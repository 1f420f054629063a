#!/usr/bin/env bash
# Drives the real program on an Xvfb display with the mouse and keyboard, as a user would:
# window and title, F5 and F2 redraw the passwords, clicks on a set label and a check box
# switch classes and the look-alike warning, the warning lasts its interval and no less, a
# second start ends silently, Esc ends the program with status 0, a copy outlives the window.
# Every wait is for what the screen shows; every point comes from the window's layout.
set -euo pipefail
program=$1
probe=$2
# Runs under with_xvfb.sh, which provides DISPLAY, XDG_RUNTIME_DIR and no session bus.
[ -n "${DISPLAY:-}" ] || { echo "needs an X display" >&2; exit 1; }
# shellcheck source=session.sh
. "$(dirname "$0")/session.sh"

"$program" >"$work/first.log" 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no window titled Tolvane"
size=$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
# The class docks match with the launcher's StartupWMClass.
xprop -id "$window" WM_CLASS | grep -q '"Tolvane"$' || fail "$(xprop -id "$window" WM_CLASS)"
[ "$size" = "$("$probe" client)" ] || fail "client area is $size, not $("$probe" client)"

read -r -a info < <("$probe" rect lblInfo)
red_in() { read -r -a r < <("$probe" rect "$1"); "$probe" reddish "$window" "${r[@]}"; }
upper_pair_red() { [ "$(red_in chB)" -gt 20 ] && [ "$(red_in chE)" -gt 20 ]; }
no_red_above_info() { [ "$("$probe" reddish "$window" 0 0 "${size%x*}" "${info[1]}")" -eq 0 ]; }
snapshot() { xwd -silent -id "$window" >"$work/$1.xwd"; }
changed() { snapshot after; ! cmp -s "$work/before.xwd" "$work/after.xwd"; }

xdotool windowfocus --sync "$window"
until_within 20 no_red_above_info || fail "red above the info line before any warning"
for key in F5 F2; do
  snapshot before
  xdotool key "$key"
  until_within 20 changed || fail "$key did not change the passwords"
done

snapshot before
click middle lblA  # digits off
until_within 20 changed || fail "a click on the digits label changed nothing"
click middle lblA  # and on again

click middle lblE  # Cyrillic upper case on while Latin upper case is on
until_within 20 upper_pair_red || fail "the upper-case pair did not turn red"
click square chE  # and off again: clears at once
until_within 20 no_red_above_info || fail "switching off did not clear the warning"

started=$(now)
click middle lblE
until_within 20 upper_pair_red || fail "the warning did not return"
until_within 30 no_red_above_info || fail "the warning did not end"
lasted=$(awk -v a="$started" -v b="$(now)" 'BEGIN{printf "%.2f", b - a}')
awk -v t="$lasted" 'BEGIN{exit !(t >= 5.0)}' || fail "the warning ended early, after $lasted s"
click middle lblE  # back to the defaults

# The second start says to a launcher that its start is over, though it shows no window.
"$probe" startup-message 20 >"$work/startup" &
listener=$!
until_within 20 grep -q listening "$work/startup" || fail "no listener for start-up messages"
# Its connection goes through a relay that logs each transfer with its direction: the server
# must answer after the last request, and the start must wait for that answer before closing,
# or the server may drop the messages with the connection.
socat -d -d -x TCP-LISTEN:0,bind=127.0.0.1 "UNIX-CONNECT:/tmp/.X11-unix/X${DISPLAY#*:}" \
  2>"$work/relay" &
relay_listening() { grep -q 'listening on' "$work/relay"; }
until_within 20 relay_listening || fail "the relay did not start: $(cat "$work/relay")"
port=$(sed -n 's/.*listening on .*:\([0-9]*\)$/\1/p' "$work/relay")
second_status=0
# The ID holds the two characters the protocol quotes with a backslash.
DESKTOP_STARTUP_ID='tolvane-"test"\x_TIME42' DISPLAY="127.0.0.1:$((port - 6000))" \
  timeout 20 "$program" >"$work/second.log" 2>&1 || second_status=$?
last_transfer=$(grep -E '^[<>] [0-9]{4}/' "$work/relay" | tail -n1 | cut -c1)
[ "$last_transfer" = "<" ] || fail "the second start closed before the server had answered"
wait "$listener" || fail "the second start sent no start-up message"
grep -qxF 'remove: ID="tolvane-\"test\"\\x_TIME42"' "$work/startup" ||
  fail "start-up message: $(cat "$work/startup")"
[ "$second_status" -eq 0 ] || fail "second start ended with $second_status"
[ ! -s "$work/second.log" ] || fail "second start printed: $(cat "$work/second.log")"
[ "$(xdotool search --onlyvisible --name '^Tolvane$' | wc -l)" -eq 1 ] || fail "more than one window"
kill -0 "$app_pid" || fail "the first instance died"

# A copy outlives the window: Esc closes it at once, the copy stays on the clipboard, marked,
# the selection does not, and a new start is a first start.
click middle txtResults
xdotool key ctrl+a ctrl+c Escape
shown() { xdotool search --onlyvisible --name '^Tolvane$' >/dev/null; }
until_within 20 eval '! shown' || fail "Esc left the window"
kill -0 "$app_pid" || fail "the copy ended with the window"
said=$(cat "$work/first.log")  # the toolkit's remarks at start (Qt 6.8's on the C locale)
[ -n "$(xclip -o -selection clipboard)" ] || fail "the clipboard lost the copy"
[ "$(xclip -o -selection clipboard -t x-kde-passwordManagerHint)" = secret ] || fail "unmarked"
! xclip -o -selection primary >/dev/null 2>&1 || fail "the selection outlived the window"
serving=$app_pid
"$program" >"$work/third.log" 2>&1 &
app_pid=$!
until_within 20 shown || fail "a start while a copy is served showed no window"
xdotool key Escape  # nothing copied in this one: it ends at once
await_end
[ "$status" -eq 0 ] || fail "Esc ended the program with status $status"
app_pid=$serving
echo foreign | xclip -selection clipboard -i  # another program's copy ends the serving
await_end
[ "$status" -eq 0 ] || fail "the copy's serving ended with status $status"
[ "$(cat "$work/first.log")" = "$said" ] || fail "the copy's serving printed: $(cat "$work/first.log")"
echo "xvfb session: all checks passed (the warning lasted $lasted s)"
