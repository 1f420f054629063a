#!/usr/bin/env bash
# Sets up, builds and starts Tolvane.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh run
scripts/build.sh tolvane >/dev/null
exec build/release/app/tolvane
