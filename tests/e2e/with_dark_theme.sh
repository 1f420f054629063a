#!/usr/bin/env bash
# Runs a command under a dark desktop theme, set as a desktop sets it: Qt's platform theme
# qt6ct with its own "darker" colour scheme, in a HOME of the run's own:
#   with_dark_theme.sh COMMAND [ARGS...]
set -euo pipefail
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/.config/qt6ct"
cat >"$home/.config/qt6ct/qt6ct.conf" <<'CONF'
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
custom_palette=true
style=Fusion
CONF
export HOME=$home XDG_CONFIG_HOME=$home/.config QT_QPA_PLATFORMTHEME=qt6ct
"$@"
