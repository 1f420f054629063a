#!/usr/bin/env bash
# The Linux release suite as an ordinary user, from a clone that user owns, so that a test
# that passes only as root fails CI. Runs as root once scripts/test.sh has installed the
# packages; the user gets no sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
user=tolvane-ci
id -u "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
rm -rf "$home/tolvane"
git clone --quiet "$PWD" "$home/tolvane"
chown -R "$user:" "$home/tolvane"
echo "The release suite as $user (uid $(id -u "$user"))"
runuser -u "$user" -- env -i HOME="$home" PATH=/usr/local/bin:/usr/bin:/bin TERM=dumb \
  bash -c 'cd ~/tolvane && cmake --preset release >/dev/null && cmake --build --preset release &&
    ctest --preset release -j"$(nproc)"'
