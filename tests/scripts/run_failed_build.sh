#!/usr/bin/env bash
# scripts/run.sh on sources that do not compile, in a copy of the tree: it shows the
# compiler's error and its own line saying so, ends with status 1, and starts nothing.
set -euo pipefail
tree=$(realpath "$(dirname "$0")/../..")
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
(cd "$tree" && tar -c --exclude=./build .) | tar -x -C "$copy"
# Every file compiled includes a header that stops the compiler.
echo '#error "a fault put in by the test"' >"$copy/broken.h"
# shellcheck disable=SC2016  # CMake's variable
sed -i '/^project(/a add_compile_options(-include ${CMAKE_SOURCE_DIR}/broken.h)' \
  "$copy/CMakeLists.txt"
status=0
"$copy/scripts/run.sh" >"$copy/out" 2>&1 </dev/null || status=$?
fail() { echo "FAIL: $*; run.sh said: $(cat "$copy/out")" >&2; exit 1; }
[ "$status" -eq 1 ] || fail "a failed build ended with status $status"
grep -q 'error: #error "a fault put in by the test"' "$copy/out" || fail "the compiler's error is not shown"
grep -q "build failed" "$copy/out" || fail "no line says the build failed"
[ ! -e "$copy/build/program/app/tolvane" ] || fail "a program was built"
echo "run.sh: a failed build shows the compiler's error and ends with status 1"
