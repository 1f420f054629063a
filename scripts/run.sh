#!/usr/bin/env bash
# Sets up, builds and starts Tolvane: only what the program and its installation need, no
# tests. The build goes to build/program, which `cmake --install` can install from; its
# progress shows while it runs, and a build that fails shows the compiler's errors and ends
# with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh run
scripts/quiet_build.sh program
exec build/program/app/tolvane
