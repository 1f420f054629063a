#!/usr/bin/env bash
# Builds the Windows program and its tests with mingw-w64 and runs the tests under Wine.
# Runs under with_xvfb.sh: Wine draws its windows on that display.
set -euo pipefail
cd "$(dirname "$0")/../.."
export WINEPREFIX="${TOLVANE_WINEPREFIX:-${TMPDIR:-/tmp}/tolvane-wine-$(id -u)}"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT  # leave no Wine process behind
tests/wine/prefix.sh
[ -f build/windows/CMakeCache.txt ] || cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows -j"$(nproc)"
echo "tolvane.exe: $(stat -c %s build/windows/app/tolvane.exe) bytes"
