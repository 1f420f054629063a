#!/usr/bin/env bash
# Builds the release twice, from two copies of the sources in two folders of different depth,
# and requires the same bytes for every artefact; then checks the files against their sums.
set -euo pipefail
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
for copy in one two/and/deeper; do
  mkdir -p "$work/$copy"
  tar -c --exclude=./build --exclude=./.git . | tar -x -C "$work/$copy"
  "$work/$copy/scripts/release.sh" "$work/$copy/out" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
done
diff "$work/one/out/SHA256SUMS" "$work/two/and/deeper/out/SHA256SUMS" ||
  { echo "FAIL: two builds of one commit differ" >&2; exit 1; }
(cd "$work/one/out" && sha256sum --quiet -c SHA256SUMS)
echo "release: $(wc -l <"$work/one/out/SHA256SUMS") files, the same bytes from two folders"
