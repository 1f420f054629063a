#!/usr/bin/env bash
# Configures and builds a preset the way a newcomer wants it: while it builds, its progress
# on one line (a line every tenth of the way when the output is no terminal); once it has
# built, nothing; when a step fails, everything the tools said, the compiler's errors among
# them, and status 1.
#   scripts/quiet_build.sh PRESET
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$1
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Ninja's "[n/m] ..." lines, as progress.
show_progress() {
  local line done_ total tenth=-1 shown=
  while IFS= read -r line; do
    [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]] || continue
    done_=${BASH_REMATCH[1]} total=${BASH_REMATCH[2]}
    if [ -t 2 ]; then
      printf '\rbuilding Tolvane: step %s of %s ' "$done_" "$total" >&2
      shown=1
    elif ((done_ * 10 / total > tenth)); then
      tenth=$((done_ * 10 / total))
      echo "building Tolvane: step $done_ of $total" >&2
    fi
  done
  [ -z "$shown" ] || printf '\r\033[K' >&2
}

if ! cmake --preset "$preset" >"$log" 2>&1; then
  cat "$log" >&2
  echo "Configuring Tolvane's build failed; what CMake said is above." >&2
  exit 1
fi
if ! cmake --build --preset "$preset" 2>&1 | tee "$log" | show_progress; then
  grep -v '^\[[0-9]*/[0-9]*\] ' "$log" >&2
  echo "Tolvane's build failed; the compiler's errors are above." >&2
  exit 1
fi
