# Shared by the session tests, sourced: a scratch folder and the program's process, both gone
# when the test ends however it ends, and the checks every session makes.
work=$(mktemp -d)
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
now() { date +%s.%N; }
# until_within SECONDS COMMAND...: runs the command until it succeeds or the time is up.
until_within() {
  local deadline
  deadline=$(awk -v n="$(now)" -v s="$1" 'BEGIN{printf "%.3f", n + s}')
  shift
  until "$@"; do
    awk -v n="$(now)" -v d="$deadline" 'BEGIN{exit !(n < d)}' || return 1
    sleep 0.05
  done
}

# Points in the window, from its layout (needs $probe, the x11_probe, and $window): the
# middle of a control, or a check box's square; click middle|square NAME.
middle() { "$probe" rect "$1" | awk '{print $1 + int($3 / 2), $2 + int($4 / 2)}'; }
square() { "$probe" rect "$1" | awk '{print $1 + 6, $2 + int($4 / 2)}'; }
click() { read -r x y < <("$1" "$2"); xdotool mousemove --window "$window" "$x" "$y" click 1; }

# await_end: waits for the program to end (at most 20 s) and sets status to its exit status.
await_end() {
  status=0
  timeout 20 tail --pid="$app_pid" -f /dev/null || fail "the program did not end"
  wait "$app_pid" || status=$?
  app_pid=
}
