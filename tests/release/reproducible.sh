#!/usr/bin/env bash
# Builds the release twice, from two copies of the sources in two folders of different depth,
# and requires the same bytes for every artefact; then checks the files against their sums.
# Sources and tools shown once to build the same bytes are not built twice again: their
# fingerprint is kept in build/reproducible.ok until anything of them changes.
set -euo pipefail
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
tools=(g++ g++-mingw-w64-x86-64-posix qt6-base-dev wixl msitools icoutils librsvg2-bin cmake)
fingerprint=$( {
  echo "$SOURCE_DATE_EPOCH"
  dpkg-query -W "${tools[@]}"
  tar -c --sort=name --mtime=@0 --owner=0 --group=0 --exclude=./build --exclude=./.git .
} | sha256sum | cut -d' ' -f1)
if [ "$(cat build/reproducible.ok 2>/dev/null)" = "$fingerprint" ]; then
  echo "release: these sources and tools were shown to build the same bytes (build/reproducible.ok)"
  exit 0
fi
for copy in one two/and/deeper; do
  mkdir -p "$work/$copy"
  tar -c --exclude=./build --exclude=./.git . | tar -x -C "$work/$copy"
  "$work/$copy/scripts/release.sh" "$work/$copy/out" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
done
diff "$work/one/out/SHA256SUMS" "$work/two/and/deeper/out/SHA256SUMS" ||
  { echo "FAIL: two builds of one commit differ" >&2; exit 1; }
(cd "$work/one/out" && sha256sum --quiet -c SHA256SUMS)
mkdir -p build
echo "$fingerprint" >build/reproducible.ok
echo "release: $(wc -l <"$work/one/out/SHA256SUMS") files, the same bytes from two folders"
