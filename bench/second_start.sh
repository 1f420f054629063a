#!/usr/bin/env bash
# Wall time of a second start, which finds the first instance running and ends: with the
# display the first one uses, and with no display at all.
#   bench/second_start.sh [RUNS]     (default 41 of each; prints the medians and quartiles)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-41}
scripts/setup.sh test >/dev/null  # Xvfb among others
scripts/build.sh tolvane >/dev/null
program=$PWD/build/release/app/tolvane

measure() {
  "$program" &
  first=$!
  trap 'kill "$first" 2>/dev/null; wait "$first" 2>/dev/null || true' EXIT
  timeout 20 xdotool search --sync --onlyvisible --name '^Tolvane$' >/dev/null
  for which in display none; do
    for ((i = 0; i < runs; i++)); do
      local start=$EPOCHREALTIME
      if [ "$which" = display ]; then "$program"; else env -u DISPLAY "$program"; fi
      echo "$which $(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN{printf "%.2f", (b - a) * 1000}')"
    done
  done
}
export -f measure
export runs program
tests/e2e/with_xvfb.sh bash -c measure |
  sort -k1,1 -k2,2n |
  awk '{t[$1, ++n[$1]] = $2}
       END {for (w in n) printf "second start, %-7s median %6.2f ms  (quartiles %.2f / %.2f, %d runs)\n",
              w, t[w, int((n[w] + 1) / 2)], t[w, int((n[w] + 3) / 4)], t[w, int((3 * n[w] + 1) / 4)], n[w]}'
