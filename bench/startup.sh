#!/usr/bin/env bash
# Start-up time (process start to window mapped) and resident memory of Tolvane against the
# floor, a bare Qt 6 window with the same 29 controls, alternating, on one Xvfb display.
#   bench/startup.sh [RUNS]     (default 15 runs of each)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
scripts/setup.sh test >/dev/null  # Xvfb among others
scripts/build.sh tolvane floor_window startup_probe >/dev/null
bin=build/release
probe=$bin/bench/startup_probe

measure() {
  local out=$1
  : >"$out.tolvane"
  : >"$out.floor"
  for ((i = 0; i < runs; i++)); do
    if ((i % 2)); then order="floor tolvane"; else order="tolvane floor"; fi
    for which in $order; do
      case $which in
        tolvane) "$probe" Tolvane "$bin/app/tolvane" >>"$out.tolvane" ;;
        floor) "$probe" Floor "$bin/bench/floor_window" >>"$out.floor" ;;
      esac
    done
  done
}
export -f measure
export runs bin probe

out=$(mktemp)
tests/e2e/with_xvfb.sh bash -c "measure $out"
median() { sort -n | awk '{a[NR]=$1} END{print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
t_ms=$(cut -d' ' -f1 "$out.tolvane" | median)
f_ms=$(cut -d' ' -f1 "$out.floor" | median)
t_kb=$(cut -d' ' -f2 "$out.tolvane" | median)
f_kb=$(cut -d' ' -f2 "$out.floor" | median)
rm -f "$out" "$out.tolvane" "$out.floor"
printf '%-8s %12s %14s\n' "" "start-up ms" "resident kB"
printf '%-8s %12s %14s\n' tolvane "$t_ms" "$t_kb" floor "$f_ms" "$f_kb"
awk -v a="$t_ms" -v b="$f_ms" -v c="$t_kb" -v d="$f_kb" \
  'BEGIN{printf "ratio    %12.2f %14.2f   (medians of '"$runs"' runs each)\n", a/b, c/d}'
