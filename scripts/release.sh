#!/usr/bin/env bash
# Builds every release artefact into one folder, with their SHA-256 sums:
#   scripts/release.sh [FOLDER]      (default: build/release-files)
# FOLDER is made if missing; an existing one may hold only release files, which are replaced.
# The Linux program and its Debian package; the Windows program, its portable zip and its
# installer. Everything is dated by the last commit (or SOURCE_DATE_EPOCH when set), so
# building the same commit again, in any folder, gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/release-files}")
# The folder is emptied only of release files: one that holds anything else (a folder, a link,
# another file) is left alone, and nothing is built.
mkdir -p "$out"
for entry in "$out"/* "$out"/.[!.]*; do
  [ -e "$entry" ] || [ -L "$entry" ] || continue
  case "${entry##*/}" in
    tolvane | tolvane.exe | tolvane_*_amd64.deb | tolvane-*-windows-x64.zip | tolvane-*-x64.msi | SHA256SUMS)
      [ -f "$entry" ] && [ ! -L "$entry" ] && continue ;;
  esac
  echo "release.sh: $out holds $entry, which is no release file; nothing was removed" >&2
  exit 1
done
scripts/setup.sh test
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
for preset in dist-linux dist-windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
rm -f -- "$out"/*
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
