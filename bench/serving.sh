#!/usr/bin/env bash
# Resident memory and processor time of a copy served after the window has closed, against a
# program linked with Qt Widgets that returns at once, on an Xvfb display.
#   bench/serving.sh [RUNS]     (default 9 of each; prints the medians)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}
scripts/setup.sh test >/dev/null  # Xvfb among others
scripts/build.sh tolvane linked_floor >/dev/null
program=$PWD/build/release/app/tolvane
floor=$PWD/build/release/bench/linked_floor

# Peak resident memory of a whole process, in kB.
peak_kb() {
  /usr/bin/python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], check=True)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$@"
}
# A copy made and the window closed; then its memory, and its processor ticks over 10 s.
serving() {
  "$program" &
  local pid=$!
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1)
  xdotool windowfocus --sync "$window" key shift+Tab ctrl+a ctrl+c Escape
  while xdotool search --onlyvisible --name '^Tolvane$' >/dev/null; do sleep 0.05; done
  sleep 1  # settled
  local kb ticks_before ticks_after
  kb=$(awk '/^VmRSS:/{print $2}' "/proc/$pid/status")
  ticks_before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep 10
  ticks_after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  echo "$kb $((ticks_after - ticks_before))"
  echo other | xclip -selection clipboard -i >/dev/null 2>&1  # ends the serving; xclip stays
  wait "$pid"
}
measure() {
  for ((i = 0; i < runs; i++)); do
    echo "floor $(peak_kb "$floor")"
    echo "serving $(serving)"
  done
}
export -f measure serving peak_kb
export runs program floor
median() { sort -n | awk '{a[NR]=$1} END{print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
out=$(tests/e2e/with_xvfb.sh bash -c measure)
floor_kb=$(awk '$1 == "floor" {print $2}' <<<"$out" | median)
serving_kb=$(awk '$1 == "serving" {print $2}' <<<"$out" | median)
ticks=$(awk '$1 == "serving" {print $3}' <<<"$out" | sort -n | tail -n1)
printf 'linked floor, peak resident:   %6d kB\n' "$floor_kb"
printf 'serving a copy, resident:      %6d kB  (%.2fx the floor; medians of %d)\n' "$serving_kb" \
  "$(awk -v a="$serving_kb" -v b="$floor_kb" 'BEGIN{print a / b}')" "$runs"
printf 'serving a copy, processor:     %6d ticks in 10 s at most\n' "$ticks"
