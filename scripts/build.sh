#!/usr/bin/env bash
# Configures and builds the release preset: scripts/build.sh [TARGET...]
# Configuring applies the current presets and is quick when nothing changed.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build --preset release "${targets[@]}"
