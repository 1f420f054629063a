#!/usr/bin/env bash
# Runs a command of this source tree inside a fresh Debian system, made for this run with
# debootstrap and removed afterwards:
#   scripts/in_debian.sh [--copy FILE]... [SUITE [COMMAND...]]   (default: trixie scripts/test.sh)
#   scripts/in_debian.sh --clean       removes what killed runs left (folders, never mounts)
# The tree (without build/) is copied in and the command runs there as root, as CI runs it;
# each FILE is copied to /root. The packages come from debootstrap's default archive, or from
# DEBIAN_MIRROR when set. Needs root (or sudo) and debootstrap, which it installs when missing.
#
# The system is made in a folder under /var/tmp, never in the source tree. The whole run
# happens in a mount and PID namespace of its own: proc, sys, dev, dev/pts and dev/shm are
# mounted there only, and every process of the run lives there. However the run ends (a
# second Ctrl-C, SIGKILL), the kernel takes its mounts and processes with it, so the host's
# /dev can never be reached through the folder. A folder is removed only after the mount
# table, read without doubt, shows nothing mounted in it.
set -euo pipefail
self=$(realpath "$0")  # started again below, after the working folder has changed
parent=/var/tmp  # on disk: /tmp may be memory, and a system with the tests' tools is large

die() {
  echo "in_debian.sh: $*" >&2
  exit 1
}

# True unless the mount table shows that nothing is mounted at or below the folder: a table
# that cannot be read counts as "mounted". Folders are named with plain characters only, so
# findmnt's raw output, which escapes others, can be compared as it stands.
mounted_below() {
  local table
  table=$(findmnt --raw --noheadings --output TARGET) || return 0
  awk -v dir="$1" '$0 == dir || index($0, dir "/") == 1 { found = 1 } END { exit !found }' \
    <<<"$table"
}

# Removes a run's folder if nothing is mounted in it; says so and keeps it otherwise.
remove_folder() {
  if mounted_below "$1"; then
    echo "in_debian.sh: something may still be mounted in $1: left in place" >&2
    return 1
  fi
  rm -rf --one-file-system -- "$1"
}

# Folders of runs that ended without removing them (killed): a live run holds its lock.
clean_stale() {
  local lock
  for lock in "$parent"/tolvane-debian-*/lock; do
    [ -e "$lock" ] || continue
    if flock --nonblock "$lock" true; then remove_folder "${lock%/lock}" || true; fi
  done
}

# The namespace's first process: makes the system, runs the command, cleans up.
inside() {
  work=$1 suite=$2 root=$1/system  # global: the clean-up runs after this function returns
  shift 2
  local -a extra=()
  while [ "${1:-}" = --copy ]; do
    extra+=("$2")
    shift 2
  done
  cleanup() {
    local status=$?
    trap '' INT TERM  # a second Ctrl-C does not cut the clean-up short
    kill -KILL -1 2>/dev/null || true  # every other process of the run (servers, displays)
    wait 2>/dev/null || true
    # Inner mounts first; a lazy unmount takes what is still busy off the tree at once.
    findmnt --raw --noheadings --output TARGET | awk -v dir="$root" \
      '$0 == dir || index($0, dir "/") == 1' | sort -r | while read -r target; do
      umount "$target" 2>/dev/null || umount --lazy "$target" || true
    done
    remove_folder "$work" || status=1
    exit "$status"
  }
  trap cleanup EXIT
  trap 'exit 130' INT TERM

  local -a mirror=()
  [ -z "${DEBIAN_MIRROR:-}" ] || mirror=("$DEBIAN_MIRROR")
  # A second try, from an empty folder, when the archive could not be reached the first time.
  for attempt in 1 2; do
    mkdir -p "$root"
    chmod 755 "$root"  # its /: every account must be able to enter it
    debootstrap --variant=minbase "$suite" "$root" "${mirror[@]}" >"$work/debootstrap.log" 2>&1 &&
      break
    tail -n 20 "$work/debootstrap.log" >&2
    [ "$attempt" -eq 1 ] || exit 1
    ! mounted_below "$root" || die "debootstrap left something mounted in $root"
    rm -rf --one-file-system -- "$root"
    echo "Debian $suite: trying again" >&2
  done
  mount -t proc proc "$root/proc"
  mount -t sysfs sys "$root/sys"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
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
    HOME=/root TERM="${TERM:-dumb}" CI="${CI:-}" sh -c 'cd /src && exec "$@"' sh "$@" 9>&-
}

if [ "${1:-}" = --inside ]; then
  # Its clean-up kills every process it may signal: only ever in a namespace of its own.
  [ $$ -eq 1 ] || die "--inside runs only as the first process of its own PID namespace"
  shift
  cd "${self%/*}/.."
  inside "$@"
  exit
fi
cd "${self%/*}/.."

copies=()
while [ "${1:-}" = --copy ]; do
  copies+=(--copy "$(realpath "$2")")
  shift 2
done
if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=DEBIAN_MIRROR "$self" "${copies[@]}" "$@"
fi
if [ "${1:-}" = --clean ]; then
  clean_stale
  exit
fi
suite=${1:-trixie}
shift || true
[ $# -gt 0 ] || set -- scripts/test.sh
command -v debootstrap >/dev/null || {
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
}

clean_stale
work=$(mktemp -d "$(realpath "$parent")/tolvane-debian-$suite.XXXXXX")
[[ $work =~ ^[A-Za-z0-9/._-]+$ ]] || die "unexpected characters in $work"
exec 9>"$work/lock"
flock 9  # held by every process of the run: a folder whose lock is free is a dead run's
echo "Debian $suite: making the system in $work/system"
# --kill-child: when this process dies in any way, the namespace's first process is killed,
# and with it every process and every mount of the run.
exec unshare --mount --propagation private --pid --kill-child --mount-proc \
  "$self" --inside "$work" "$suite" "${copies[@]}" "$@"
