#!/usr/bin/env bash
# scripts/in_debian.sh killed with SIGKILL once its system is mounted (as a CI time-out would):
# no mount and no process of the run is left, the host's /dev is as it was, and the folder
# it leaves holds nothing mounted, so --clean removes it. Needs root and Debian's archive.
#   tests/debian/killed_run.sh [SUITE]      (default: bookworm)
set -euo pipefail
cd "$(dirname "$0")/../.."
suite=${1:-bookworm}
log=$(mktemp)
seconds=$((100000 + $$))  # a sleep no other process is likely to take
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# within SECONDS COMMAND...: runs the command until it succeeds or the time is up.
within() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}
dev_listing() { stat -c '%n %F %a %u %g %t:%T' /dev/* | sort; }
marker_runs() { pgrep -fx "sleep $seconds" >/dev/null; }
command_started() {
  marker_runs && return
  kill -0 "$pid" 2>/dev/null || fail "the run ended early: $(tail -n 20 "$log")"
  return 1
}
system_mounted() {  # the run's namespace, read through its first process
  grep -q " $work/system/dev/pts " "/proc/$pid/mounts" 2>/dev/null
}

dev_before=$(dev_listing)
scripts/in_debian.sh "$suite" sleep "$seconds" >"$log" 2>&1 &
pid=$!
trap 'kill -KILL $pid 2>/dev/null || true; rm -f "$log"' EXIT
within 60 grep -q "making the system in" "$log" || fail "no system folder named: $(cat "$log")"
work=$(sed -n 's/^Debian [a-z]*: making the system in \(.*\)\/system$/\1/p' "$log")
within 900 command_started || fail "the command did not start: $(tail -n 20 "$log")"
system_mounted || fail "the system is not mounted in the run's namespace"
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true

within 30 eval '! marker_runs' || fail "a process of the run outlived it"
! grep -q "tolvane-debian-" /proc/self/mounts || fail "a mount of the run is left on the host"
[ "$(dev_listing)" = "$dev_before" ] || fail "the host's /dev changed"
[ -d "$work/system/usr" ] || fail "the killed run's folder $work is already gone"
scripts/in_debian.sh --clean
[ ! -e "$work" ] || fail "--clean left $work"
echo "killed run: no mount, no process left; /dev unchanged; the folder cleaned"
