#!/usr/bin/env bash
# Sets up, builds and starts Tolvane.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh >/dev/null
exec build/release/app/tolvane
