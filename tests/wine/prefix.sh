#!/usr/bin/env bash
# Makes the Wine prefix named by WINEPREFIX for the Windows tests and starts its server: no
# window manager waits, Calibri answered by Carlito, the fonts Wine ships copied in, a
# persistent wineserver so that each test does not wait for Wine's helpers. Needs an X display.
set -euo pipefail
: "${WINEPREFIX:?names the prefix to make}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

wineboot -i >/dev/null 2>&1
wineserver -w
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Calibri /t REG_SZ /d Carlito /f \
  >/dev/null 2>&1
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/wine/fonts/* /usr/share/fonts/truetype/crosextra/Carlito-*.ttf "$fonts/"
wineserver -w
wineserver -p >/dev/null 2>&1 || [ $? -eq 2 ]  # 2: a server already runs
wine cmd /c exit 0 >/dev/null 2>&1
