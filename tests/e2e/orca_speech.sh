#!/usr/bin/env bash
# What Orca says as a user goes through the window with the keyboard: a length list's bound,
# the check boxes' captions, the look-alike note once, a password whole (on focus, in say all,
# in flat review and character by character), and a refresh once.
# Orca runs without a speech server and with its debug log on, where each line it would say
# stands as "SPEECH OUTPUT: '...'"; on the display of with_xvfb.sh, with an accessibility bus
# of this test's own. Arguments: the program.
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
# Orca's settings of this test's own. Its customizations, which it runs as it starts, have it
# write each line of its log at once instead of in blocks, and start no speech server (the
# speech dispatcher waits for a sound device here): speech stays on, so Orca still says, and
# logs, all it would say, messages included.
export HOME=$work
mkdir "$work/orca"
cat >"$work/orca/orca-customizations.py" <<'PY'
from orca import debug, speech
debug.debugFile.reconfigure(line_buffering=True)
speech.init = lambda *args, **kwargs: None
PY
orca --user-prefs "$work/orca" --disable braille --disable braille-monitor \
  --debug-file="$work/orca.log" >"$work/orca.out" 2>&1 &
reader=$!
# Orca refuses to start while another of the user's runs, even one that has ended and not
# been reaped: this one is ended (within ten seconds) and reaped when the test ends.
stop_reader() {
  kill "$launcher" "$reader" 2>/dev/null || true
  (sleep 10 && kill -9 "$reader") >/dev/null 2>&1 &
  local killer=$!
  wait "$reader" 2>/dev/null || true
  kill "$killer" 2>/dev/null || true
}
trap 'stop_reader; cleanup' EXIT

# What Orca said since the last mark, as one line of words: Orca 43 and 48 split, quote and
# end their lines differently.
marked=0
mark() { marked=$(grep -c "SPEECH OUTPUT" "$work/orca.log" || true); }
spoken_lines() { grep -s "SPEECH OUTPUT" "$work/orca.log" || true; }
spoken() {
  spoken_lines | tail -n +$((marked + 1)) |
    sed -E "s/^.*SPEECH OUTPUT: '//; s/' ?\{[^{}]*\}$//; s/'$//; s/[.]$//" | tr '\n' ' '
}
says() { spoken | grep -qF -- "$1"; }
expect() { until_within 30 says "$1" || fail "Orca did not say \"$1\" but: $(spoken)"; }
times() { spoken | grep -oF -- "$1" | wc -l; }
# A password said on its own is looked for in Orca's lines as they stand: the tidying above
# would take a final "." or "'" of the password for Orca's own.
heard_lines() { spoken_lines | tail -n +$((marked + 1)); }
heard() { heard_lines | grep -qF -- "$1"; }
expect_heard() { until_within 30 heard "$1" || fail "Orca did not say \"$1\" but: $(spoken)"; }
# A box's text (or with "caret", its caret's offset), read through the accessibility bus; a
# text given after the name is written first.
text_of() {
  /usr/bin/python3 - "$@" <<'PY'
import sys, pyatspi
def find(node):
    if node.name == sys.argv[1]:
        return node
    return next((f for f in (find(c) for c in node if c is not None) if f), None)
app = next(a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "Tolvane")
box = find(app)
if len(sys.argv) > 2 and sys.argv[2] != "caret":
    box.queryEditableText().setTextContents(sys.argv[2])
text = box.queryText()
print(text.caretOffset if sys.argv[2:] == ["caret"] else text.getText(0, -1))
PY
}

started() { grep -qs "SCRIPT MANAGER: Activated" "$work/orca.log"; }
until_within 60 started || fail "Orca did not start: $(cat "$work/orca.out")"
mark
"$program" >"$work/program.log" 2>&1 &
app_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no window"
xdotool windowfocus --sync "$window"  # no window manager gives it the keyboard
expect "Длина от combo box 8"
mark
xdotool key Tab
expect "Длина до combo box 12"

for caption in "Цифры" "ENG Прописные буквы" "ENG Строчные буквы" "Специальные символы"; do
  mark
  xdotool key Tab
  expect "$caption check box checked"
done
mark
xdotool key Tab
expect "РУС Прописные буквы check box not checked"
mark
xdotool key space  # Cyrillic capitals with Latin ones: the note, once
expect "При использовании нескольких языков возможны похожие символы!"
expect "checked"  # before the next key: Orca 48 drops a state change that a newer one undoes
xdotool key space  # and off again, which ends the warning
expect "not checked"
[ "$(times "При использовании")" -eq 1 ] || fail "the note was said again: $(spoken)"

mark
xdotool key Tab Tab
expect "Пароль 1 text"
password=$(text_of "Пароль 1")
expect "$password selected"  # whole: Qt 6.4's own line ended a character early
# Read again, whole: say all from the start (the focus left the caret at the end), once the
# box has moved its caret there, and the line under flat review; then flat review is left.
xdotool key Home
until_within 30 eval '[ "$(text_of "Пароль 1" caret)" -eq 0 ]' || fail "Home left the caret"
mark
xdotool key KP_Add
expect_heard "$password"
mark
xdotool key KP_Up
expect_heard "$password"
xdotool key KP_Subtract
mark
xdotool key F5
until_within 30 eval '[ "$(text_of "Пароль 1")" != "$password" ]' || fail "F5 changed nothing"
password=$(text_of "Пароль 1")
expect_heard "$password"
# The next box gets a text of the test's own while it is not the one in use.
[ "$(text_of "Пароль 2" "Ab9Яz")" = "Ab9Яz" ] || fail "the text was not taken"
xdotool key Tab  # whatever the refresh still had to say comes before the next box
expect "Пароль 2 text"
expect "Ab9Яz selected"
[ "$(heard_lines | grep -oF -- "$password" | wc -l)" -eq 1 ] ||
  fail "the refresh was heard more than once: $(spoken)"

# Character by character, the last one included.
for step in "Home A" "Right b" "End" "Left z" "Left Я"; do
  mark
  xdotool key "${step% *}"
  if [ "$step" = End ]; then
    until_within 30 eval '[ "$(text_of "Пароль 2" caret)" -eq 5 ]' || fail "End left the caret"
  else
    expect_heard "'${step#* }'"
  fi
done

xdotool key Escape
await_end
echo "orca speech: all checks passed"
