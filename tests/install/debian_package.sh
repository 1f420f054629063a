#!/usr/bin/env bash
# Builds the Debian package and checks its contents, what it depends on, and that lintian
# finds nothing wrong with it (no error, no warning).
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/tolvane_*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = tolvane ] || fail "package name"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version, not $version"
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6 \
              qt6-translations-l10n fonts-crosextra-carlito; do
  grep -qFx "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
contents=$(dpkg-deb -c "$deb")
for file in ./usr/share/man/man1/tolvane.1.gz ./usr/share/doc/tolvane/copyright \
            ./usr/share/doc/tolvane/changelog.gz \
            ./usr/bin/tolvane ./usr/share/applications/ru.tolvane.Tolvane.desktop \
            ./usr/share/metainfo/ru.tolvane.Tolvane.metainfo.xml; do
  grep -q " $file$" <<<"$contents" || fail "package lacks $file"
done
complaints=$(lintian "$deb" 2>&1 | grep -E '^[EW]: ' || true)
[ -z "$complaints" ] || fail "lintian: $complaints"
echo "debian package: $(basename "$deb"), lintian clean, Depends: $depends"
