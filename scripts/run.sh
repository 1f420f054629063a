#!/usr/bin/env bash
# Sets up, builds and starts Tolvane: only what the program needs, no tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh run
cmake --preset program >/dev/null
cmake --build --preset program >/dev/null
exec build/program/app/tolvane
