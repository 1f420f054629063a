#!/usr/bin/env bash
# Runs a command of this source tree inside a fresh Debian system, made for this run with
# debootstrap from Debian's archive and removed afterwards:
#   scripts/in_debian.sh [--copy FILE]... [SUITE [COMMAND...]]   (default: trixie scripts/test.sh)
# The tree (without build/) is copied in and the command runs there as root, as CI runs it;
# each FILE is copied to /root.
# proc, sys, dev, dev/pts and a tmpfs on dev/shm are mounted for the run and unmounted however
# it ends. Needs root (or sudo) and debootstrap, which it installs when missing.
set -euo pipefail
extra=()
while [ "${1:-}" = --copy ]; do
  extra+=("$(realpath "$2")")
  shift 2
done
cd "$(dirname "$0")/.."
suite=${1:-trixie}
shift || true
[ $# -gt 0 ] || set -- scripts/test.sh
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

if [ "$(id -u)" -ne 0 ]; then
  copies=()
  for file in "${extra[@]}"; do copies+=(--copy "$file"); done
  exec sudo --preserve-env=DEBIAN_MIRROR "$0" "${copies[@]}" "$suite" "$@"
fi
command -v debootstrap >/dev/null || {
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
}

mkdir -p build
root=$(mktemp -d "$PWD/build/debian-$suite.XXXXXX")
chmod 755 "$root"  # its /: every account must be able to enter it
mounted=()
cleanup() {
  local status=$?
  # Whatever the command left running inside (servers, displays) goes first, or the mounts
  # stay busy.
  for link in /proc/[0-9]*/root; do
    [ "$(readlink "$link" 2>/dev/null)" = "$root" ] || continue
    pid=${link#/proc/}
    kill -9 "${pid%/root}" 2>/dev/null || true
  done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
  done
  # Nothing may be removed through a mount that is still there.
  if ! grep -q " $root/" /proc/self/mounts; then rm -rf --one-file-system "$root" "$root.log"; fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "Debian $suite: making the system in $root"
# A second try, from an empty folder, when the archive could not be reached the first time.
for attempt in 1 2; do
  debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.log" 2>&1 && break
  tail -n 20 "$root.log" >&2
  [ "$attempt" -eq 1 ] || exit 1
  find "$root" -xdev -mindepth 1 -delete
  echo "Debian $suite: trying again" >&2
done
rm -f "$root.log"
mount_at() {  # mount_at TARGET MOUNT-ARGS...
  mkdir -p "$root/$1"
  mount "${@:2}" "$root/$1"
  mounted+=("$root/$1")
}
mount_at proc -t proc proc
mount_at sys -t sysfs sys
mount_at dev --bind /dev
mount --make-rslave "$root/dev"  # what is mounted below it here stays here
mount_at dev/pts --bind /dev/pts
mount_at dev/shm -t tmpfs shm -o mode=1777
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

# The tree as a user has it after cloning: sources and history, no build.
mkdir "$root/src"
tar --exclude=./build -cf - . | tar -xf - -C "$root/src"
for file in "${extra[@]}"; do cp "$file" "$root/root/"; done
# A clone comes with git; the rest the project's own scripts install.
chroot "$root" sh -c 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends git ca-certificates >/dev/null'
chroot "$root" git config --global --add safe.directory /src

echo "Debian $suite: $*"
chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  HOME=/root TERM="${TERM:-dumb}" CI="${CI:-}" sh -c 'cd /src && exec "$@"' sh "$@"
