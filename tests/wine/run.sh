#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix (made by
# tests/wine/prefix.sh): quiet, no Mono or Gecko prompts.
set -euo pipefail
export WINEPREFIX="${TOLVANE_WINEPREFIX:-${TMPDIR:-/tmp}/tolvane-wine-$(id -u)}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
