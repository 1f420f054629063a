#!/usr/bin/env bash
# Builds the Debian package and checks its contents and what it depends on.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/tolvane_*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = tolvane ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = 1.00 ] || fail "version"
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6 \
              qt6-qpa-plugins qt6-translations-l10n fonts-crosextra-carlito; do
  grep -qFx "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/tolvane ./usr/share/applications/ru.tolvane.Tolvane.desktop \
            ./usr/share/metainfo/ru.tolvane.Tolvane.metainfo.xml; do
  grep -q " $file$" <<<"$contents" || fail "package lacks $file"
done
echo "debian package: $(basename "$deb"), Depends: $depends"
