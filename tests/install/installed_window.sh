#!/usr/bin/env bash
# The installed program on an X display (under with_xvfb.sh): its window offers the designed
# 16 x 16 icon and the larger sizes installed with it, up to 256.
#   installed_window.sh BUILD_DIR         installs the build into a scratch prefix
#   installed_window.sh --package DEB     installs the package on this system with apt; only
#                                         for a system made for the test (scripts/in_debian.sh)
set -euo pipefail
# shellcheck source=../e2e/session.sh
. "$(dirname "$0")/../e2e/session.sh"

if [ "$1" = --package ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$2")" >"$work/apt" 2>&1 ||
    fail "the package did not install: $(tail -n 5 "$work/apt")"
  program=/usr/bin/tolvane
else
  cmake --install "$1" --prefix "$work/usr" >/dev/null
  export XDG_DATA_DIRS="$work/usr/share:/usr/share"
  program=$work/usr/bin/tolvane
fi
"$program" &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no window"
# _NET_WM_ICON: width, height, then width * height pixels, image after image. The larger
# sizes are added once the window is up.
icon_sizes() {
  xprop -id "$window" -notype 32c _NET_WM_ICON | sed 's/^[^=]*= //' | tr -d ' \n' |
    awk -F, '{ for (i = 1; i <= NF; i += 2 + $i * $(i + 1)) printf "%sx%s ", $i, $(i + 1) }'
}
expected="16x16 32x32 48x48 64x64 128x128 256x256 "
for _ in $(seq 600); do [ "$(icon_sizes)" = "$expected" ] && break; sleep 0.05; done
[ "$(icon_sizes)" = "$expected" ] || fail "window icon sizes: $(icon_sizes)"
echo "installed window ($program): icon sizes $expected"
