#!/usr/bin/env bash
# A whole session of the program under strace (start, clicks, keys, Esc): it must open no
# file for writing, create, rename or remove nothing, and leave its fresh home empty.
# Runs under with_xvfb.sh.
set -euo pipefail
program=$1
work=$(mktemp -d)
tracer=
cleanup() {
  [ -n "$tracer" ] && kill "$tracer" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# LeakSanitizer cannot run under ptrace; the other tests look for leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export HOME="$work/home"
mkdir "$HOME"
calls=open,openat,openat2,creat,truncate,ftruncate,rename,renameat,renameat2,unlink,unlinkat
calls+=,mkdir,mkdirat,rmdir,link,linkat,symlink,symlinkat,chmod,fchmodat
# One file per process (-ff), so no call is split into unfinished and resumed halves, and only
# calls that succeeded (-z).
mkdir "$work/trace"
strace -ff -qq -z -e trace="$calls" -o "$work/trace/pid" "$program" &
tracer=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no window"
xdotool windowfocus --sync "$window"
for point in "200 30" "200 105" "289 103" "312 147"; do
  # shellcheck disable=SC2086
  xdotool mousemove --window "$window" $point click 1
done
xdotool key Escape F5 F2
xdotool key Escape
timeout 20 tail --pid="$tracer" -f /dev/null || fail "the program did not end"
wait "$tracer" || fail "the program ended with an error"
tracer=

# A write: an open for anything but reading, or any of the other calls; /dev and /proc are
# no files.
writes=$(cat "$work"/trace/pid.* |
  grep -vE '^(\+\+\+|---)' |
  grep -vE '^open(at2?)?\(.*O_RDONLY[|,)]' |
  grep -vE '"/(dev|proc)/' || true)
[ -z "$writes" ] || fail "the program wrote to the file system:
$writes"
[ -z "$(ls -A "$HOME")" ] || fail "the program left files in its home: $(ls -A "$HOME")"
echo "no-write session: $(cat "$work"/trace/pid.* | wc -l) file system calls traced, none wrote"
