#!/usr/bin/env bash
# Under sway (run by with_compositor.sh): a copy made in the window can still be pasted after
# Esc closed it, marked secret, and another client's copy ends the program with status 0.
# sway's data-control protocol lets wl-paste and wl-copy use the clipboard without a window;
# wtype types through a virtual keyboard.
set -euo pipefail
program=$1
# shellcheck source=session.sh
. "$(dirname "$0")/session.sh"
shown() { swaymsg -t get_tree | grep -q "\"pid\": $app_pid,"; }

"$program" >"$work/program.log" 2>&1 &
app_pid=$!
until_within 30 shown || fail "no window"
# A new keyboard's first key arrives already held as the keyboard enters, and the toolkit
# ignores it: a lone shift goes first. Shift+Tab goes round to the bottom result box.
wtype -k Shift_L -M shift -k Tab -m shift -M ctrl -k a -k c -m ctrl -k Escape
until_within 30 eval '! shown' || fail "Esc left the window"
kill -0 "$app_pid" || fail "the copy ended with the window"
said=$(cat "$work/program.log")  # the toolkit's remarks at start (Qt 6.8's on the C locale)
[ -n "$(wl-paste -n)" ] || fail "the clipboard lost the copy"
[ "$(wl-paste -n -t x-kde-passwordManagerHint)" = secret ] || fail "the copy lost its mark"
! wl-paste -p -n >/dev/null 2>&1 || fail "the selection outlived the window"
wl-copy foreign 2>/dev/null  # its server, left running, would speak as sway ends
await_end
[ "$status" -eq 0 ] || fail "the copy's serving ended with status $status"
[ "$(cat "$work/program.log")" = "$said" ] || fail "the serving printed: $(cat "$work/program.log")"
echo "wayland copy: all checks passed"
