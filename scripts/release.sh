#!/usr/bin/env bash
# Builds every release artefact into one folder, with their SHA-256 sums:
#   scripts/release.sh [FOLDER]      (default: build/release-files)
# The Linux program and its Debian package; the Windows program, its portable zip and its
# installer. Everything is dated by the last commit (or SOURCE_DATE_EPOCH when set), so
# building the same commit again, in any folder, gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/release-files}")
scripts/setup.sh test
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
for preset in dist-linux dist-windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
rm -rf "$out"
mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install build/dist-linux --prefix "$stage" --strip >/dev/null
cp "$stage/bin/tolvane" "$out/"
cpack --config build/dist-linux/CPackConfig.cmake -B "$stage/deb" >/dev/null
# This version's Windows downloads only: the folder keeps those of versions built before.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/dist-windows/CMakeCache.txt)
cp "$stage"/deb/tolvane_*.deb build/dist-windows/app/tolvane.exe \
  "build/dist-windows/packages/tolvane-$version-windows-x64.zip" \
  "build/dist-windows/packages/tolvane-$version-x64.msi" "$out/"
(cd "$out" && sha256sum -- * >SHA256SUMS)
echo "release files in $out:"
cat "$out/SHA256SUMS"
