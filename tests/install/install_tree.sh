#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what the desktop will read.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$root/usr" >/dev/null
id=ru.tolvane.Tolvane
expected=(
  usr/bin/tolvane
  "usr/share/applications/$id.desktop"
  "usr/share/metainfo/$id.metainfo.xml"
  "usr/share/icons/hicolor/scalable/apps/$id.svg"
  "usr/share/icons/hicolor/16x16/apps/$id.png"
)
for file in "${expected[@]}"; do [ -s "$root/$file" ] || fail "missing $file"; done

# Each PNG is as large as the folder it lies in (width and height from its IHDR chunk); which
# sizes the window shows, the installed window's test reads.
for png in "$root"/usr/share/icons/hicolor/*x*/apps/"$id".png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  size=${size%%x*}
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$size icon is ${width}x$height"
done

desktop-file-validate "$root/usr/share/applications/$id.desktop"
# Docks match the X11 window's class (set by the program) with the launcher.
grep -qx 'StartupWMClass=Tolvane' "$root/usr/share/applications/$id.desktop" || fail "StartupWMClass"
# Errors and warnings fail; the project has no web page, which newer validators warn of.
report=$(appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" 2>&1) || true
complaints=$(grep -E '^[EW]: ' <<<"$report" | grep -v ': url-homepage-missing$' || true)
[ -z "$complaints" ] || fail "metainfo: $report"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" ||
  fail "release $version"
echo "install tree: ${#expected[@]} files in place, desktop file and metainfo valid"
