#!/usr/bin/env bash
# Builds the Windows program and its tests with mingw-w64 and runs the tests under Wine, in a
# prefix and with a wineserver of this run's own, both gone afterwards; other runs, of this
# checkout or another, are not touched. Runs under with_xvfb.sh: Wine draws on that display.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset windows >/dev/null
cmake --build --preset windows
run=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-wine.XXXXXX")
export WINEPREFIX="$run/prefix"
# With WINEPREFIX set, wineserver -k ends this prefix's server only.
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$run"' EXIT
tests/wine/prefix.sh
# One desktop for the whole run, its manager started here rather than by a test under ctest.
tests/wine/run.sh build/windows/tests/desktop_user.exe </dev/null >"$run/desktop" 2>&1 &
for _ in $(seq 300); do grep -q ready "$run/desktop" && break; sleep 0.1; done
grep -q ready "$run/desktop" || { echo "Wine's desktop did not open: $(cat "$run/desktop")" >&2; exit 1; }
ctest --preset windows -j"$(nproc)"
echo "tolvane.exe: $(stat -c %s build/windows/app/tolvane.exe) bytes"
