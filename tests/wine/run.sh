#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix the Windows tests made (tests/wine/prefix.sh):
# quiet, no Mono or Gecko prompts.
set -euo pipefail
: "${WINEPREFIX:?the Windows tests run through tests/wine/windows_tests.sh}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
