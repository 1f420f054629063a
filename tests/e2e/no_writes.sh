#!/usr/bin/env bash
# A whole session of the program under strace (start, clicks, keys, Esc): it must open no
# file for writing, create, rename or remove nothing, and leave its fresh home empty.
# Runs under with_xvfb.sh.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# LeakSanitizer cannot run under ptrace; the other tests look for leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export HOME="$work/home"
mkdir "$HOME"
calls=open,openat,openat2,creat,truncate,ftruncate,rename,renameat,renameat2,unlink,unlinkat
calls+=,mkdir,mkdirat,rmdir,link,linkat,symlink,symlinkat,chmod,fchmodat
strace -f -qq -e trace="$calls" -o "$work/trace" "$program" &
tracer=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no window"
xdotool windowfocus --sync "$window"
for point in "200 30" "200 105" "289 103" "312 147"; do
  # shellcheck disable=SC2086
  xdotool mousemove --window "$window" $point click 1
  sleep 0.2
done
xdotool key Escape F5 F2
sleep 0.2
xdotool key Escape
timeout 20 tail --pid="$tracer" -f /dev/null || fail "the program did not end"
wait "$tracer" || fail "the program ended with an error"

# Successful calls only; reads, /dev and /proc are fine.
writes=$(grep -E '= [0-9]+$' "$work/trace" |
  grep -vE 'O_RDONLY[|,)]|O_RDONLY\)' |
  grep -vE '"/(dev|proc)/' || true)
[ -z "$writes" ] || fail "the program wrote to the file system:
$writes"
[ -z "$(ls -A "$HOME")" ] || fail "the program left files in its home: $(ls -A "$HOME")"
echo "no-write session: $(wc -l <"$work/trace") file system calls traced, none wrote"
