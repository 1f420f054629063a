#!/usr/bin/env bash
# The installed program on an X display (under with_xvfb.sh): its window offers the designed
# 16 x 16 icon and the larger sizes the installed icon theme holds, up to 256.
set -euo pipefail
build=$1
# shellcheck source=../e2e/session.sh
. "$(dirname "$0")/../e2e/session.sh"
root=$work

cmake --install "$build" --prefix "$root/usr" >/dev/null
XDG_DATA_DIRS="$root/usr/share:/usr/share" "$root/usr/bin/tolvane" &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n1) ||
  fail "no window"
# _NET_WM_ICON: width, height, then width * height pixels, image after image.
sizes=$(xprop -id "$window" -notype 32c _NET_WM_ICON | sed 's/^[^=]*= //' | tr -d ' \n' |
  awk -F, '{ for (i = 1; i <= NF; i += 2 + $i * $(i + 1)) printf "%sx%s ", $i, $(i + 1) }')
[ "$sizes" = "16x16 32x32 48x48 64x64 128x128 256x256 " ] || fail "window icon sizes: $sizes"
echo "installed window: icon sizes $sizes"
