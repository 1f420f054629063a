#!/usr/bin/env bash
# A whole session of the program under strace (start, clicks, keys, Esc): it must open no
# file for writing, create, rename or remove nothing but its instance lock in the runtime
# directory, and leave its fresh home empty.
# Runs under with_xvfb.sh.
set -euo pipefail
program=$1
probe=$2
keep_dumpable=$3  # preloaded when an ordinary account traces (see keep_dumpable.cpp)
# shellcheck source=session.sh
. "$(dirname "$0")/session.sh"

# LeakSanitizer cannot run under ptrace (the other tests look for leaks), and the sanitizers'
# runtime need not come first when a library is preloaded.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0:verify_asan_link_order=0"
export HOME="$work/home"
mkdir "$HOME"
calls=open,openat,openat2,creat,truncate,ftruncate,rename,renameat,renameat2,unlink,unlinkat
calls+=,mkdir,mkdirat,rmdir,link,linkat,symlink,symlinkat,chmod,fchmodat
# One file per process (-ff), so no call is split into unfinished and resumed halves, only
# calls that succeeded (-z), descriptors with their paths (-y).
mkdir "$work/trace"
preload=()
[ "$(id -u)" -eq 0 ] || preload=(-E "LD_PRELOAD=$keep_dumpable")
strace -ff -qq -z -y "${preload[@]}" -e trace="$calls" -o "$work/trace/pid" "$program" &
app_pid=$!  # the tracer, which ends with the program
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no window"
xdotool windowfocus --sync "$window"
click middle lblA  # digits off
click middle lblE  # Cyrillic upper case on
click square chE   # and off
# An open list is a second window of the program's; Esc closes only the list.
windows_are() { [ "$(xdotool search --onlyvisible --class '^tolvane$' | wc -l)" -eq "$1" ]; }
click middle cmbSizeA
until_within 20 windows_are 2 || fail "the list did not open"
xdotool key Escape
until_within 20 windows_are 1 || fail "Esc in the open list did more than close it"
xdotool key F5 F2 Escape
await_end
[ "$status" -eq 0 ] || fail "the program ended with status $status"

# A write: an open that may write or create, or any of the other calls; /dev and /proc are
# no files. The one allowed: the instance lock in the runtime directory.
lock="^openat\\([0-9]+<$XDG_RUNTIME_DIR>, \"tolvane\\.lock\", O_RDONLY\\|O_CREAT"
grep -qE "$lock" "$work"/trace/pid.* || fail "the program took no instance lock"
writes=$(cat "$work"/trace/pid.* |
  grep -vE '^(\+\+\+|---|\?\?\?\()' |  # "???(": a call strace could not read as a thread ended
  grep -vE '^open(at2?)?\([^)]*O_RDONLY[|,)]' |
  grep -vE '"/(dev|proc)/' || true)
writes+=$(grep -hE '^open(at2?)?\([^)]*O_RDONLY[^)]*(O_CREAT|O_TRUNC)' "$work"/trace/pid.* |
  grep -vE "$lock" || true)
[ -z "$writes" ] || fail "the program wrote to the file system:
$writes"
[ -z "$(ls -A "$HOME")" ] || fail "the program left files in its home: $(ls -A "$HOME")"
echo "no-write session: $(cat "$work"/trace/pid.* | wc -l) file system calls traced, none wrote"
