#!/usr/bin/env bash
# Builds the Windows program and its tests with mingw-w64 and runs the tests under Wine, in a
# prefix and with a wineserver of this run's own, both gone afterwards; other runs, of this
# checkout or another, are not touched. Runs under with_xvfb.sh: Wine draws on that display.
# Two sessions: one at the usual 96 dpi for every test but one, then one begun at 144 dpi for
# the test labelled screen144, since Windows, and Wine 10, read the DPI as a session starts.
# Arguments go to ctest, for the first session: -R NAME runs the tests whose names match.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset windows >/dev/null
cmake --build --preset windows
run=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-wine.XXXXXX")
export WINEPREFIX="$run/prefix"
export WINEDEBUG=-all
# With WINEPREFIX set, wineserver -k ends this prefix's server only.
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$run"' EXIT
tests/wine/prefix.sh

# A session: a persistent server, and Wine's desktop held open by a program of ours from before
# the first test to after the last, its manager started here rather than by a test under ctest.
start_session() {
  wineserver -p >/dev/null 2>&1 || [ $? -eq 2 ]  # 2: a server already runs
  tests/wine/run.sh build/windows/tests/desktop_user.exe </dev/null >"$run/desktop" 2>&1 &
  for _ in $(seq 300); do grep -q ready "$run/desktop" && break; sleep 0.1; done
  grep -q ready "$run/desktop" || { echo "Wine's desktop did not open: $(cat "$run/desktop")" >&2; exit 1; }
}
end_session() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
}
start_session
ctest --preset windows -j"$(nproc)" -LE screen144 "$@"
end_session
[ $# -eq 0 ] || exit 0  # a chosen test or few
tests/wine/run.sh reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
end_session  # the registry written through
start_session
ctest --preset windows -L screen144
echo "tolvane.exe: $(stat -c %s build/windows/app/tolvane.exe) bytes"
