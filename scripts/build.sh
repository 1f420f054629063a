#!/usr/bin/env bash
# Configures (once) and builds the release preset: scripts/build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/release/CMakeCache.txt ] || cmake --preset release >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build --preset release "${targets[@]}"
