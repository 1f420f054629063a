#!/usr/bin/env bash
# Configures (once) and builds the release preset.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/release/CMakeCache.txt ] || cmake --preset release >/dev/null
cmake --build --preset release
