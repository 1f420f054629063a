#!/usr/bin/env bash
# Sets up, builds and runs every test: once plainly, once under the sanitizers, then the
# Windows program's under Wine, then two builds of the release files, which must agree.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh test
for preset in release asan; do  # plain, then under Address and UB sanitizers
  cmake --preset "$preset" >/dev/null  # applies the current presets; quick when unchanged
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j"$(nproc)"
done
tests/e2e/with_xvfb.sh tests/wine/windows_tests.sh
tests/release/reproducible.sh  # every release file twice, from two folders: the same bytes
