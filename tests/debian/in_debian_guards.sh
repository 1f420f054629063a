#!/usr/bin/env bash
# scripts/in_debian.sh cannot be turned on its caller:
# - its inner role, started directly, refuses in one line and signals nothing: tried inside a
#   throw-away PID namespace, beside a process that must outlive it;
# - started from another working folder, it reaches its inner role and leaves no run folder.
# The second needs root (the script asks sudo otherwise); it is skipped, and says so, for others.
#   tests/debian/in_debian_guards.sh inner|folder
set -euo pipefail
tree=$(realpath "$(dirname "$0")/../..")
script=$tree/scripts/in_debian.sh
skip=77
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

inner_refuses() {
  # A PID namespace of its own: through a user namespace where the system allows one, else as
  # root.
  isolated=(unshare --user --map-root-user --pid --fork --mount-proc)
  if ! "${isolated[@]}" true 2>/dev/null; then
    isolated=(unshare --pid --fork --mount-proc)
    "${isolated[@]}" true 2>/dev/null || {
      echo "SKIP: neither a user nor a PID namespace can be made here"
      exit "$skip"
    }
  fi
  # shellcheck disable=SC2016  # expanded by the inner shell
  "${isolated[@]}" bash -c '
    sleep 300 & beside=$!
    "$1" --inside "$2/work" bookworm true >"$2/inner.out" 2>&1 && exit 3
    kill -0 "$beside" || exit 4
    kill "$beside"' inner "$script" "$scratch" || {
    status=$?
    [ "$status" -eq 4 ] && fail "the inner role, started directly, killed a process beside it"
    [ "$status" -eq 3 ] && fail "the inner role, started directly, did not refuse"
    fail "the namespace run ended with $status: $(cat "$scratch/inner.out")"
  }
  [ "$(wc -l <"$scratch/inner.out")" -eq 1 ] ||
    fail "refused in more than one line: $(cat "$scratch/inner.out")"
  grep -q "first process of its own PID namespace" "$scratch/inner.out" ||
    fail "refused without saying why: $(cat "$scratch/inner.out")"
  [ ! -e "$scratch/work" ] || fail "the refused inner role made its folder"
  echo "the inner role refuses outside a namespace of its own, and nothing beside it is signalled"
}

runs_from_any_folder() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: a run from another folder needs root (the script asks sudo otherwise)"
    exit "$skip"
  fi
  unshare --mount --propagation private true 2>/dev/null || {
    echo "SKIP: no mount namespace of the run's own can be made here (a chroot)"
    exit "$skip"
  }
  # A debootstrap that fails at once: reaching it proves the inner role started.
  mkdir "$scratch/bin"
  printf '#!/bin/sh\necho "debootstrap of the test reached" >&2\nexit 1\n' >"$scratch/bin/debootstrap"
  chmod +x "$scratch/bin/debootstrap"
  status=0
  (cd "$tree/scripts" && PATH="$scratch/bin:$PATH" ./in_debian.sh bookworm true) \
    >"$scratch/outer.out" 2>&1 || status=$?
  grep -q "debootstrap of the test reached" "$scratch/outer.out" ||
    fail "started from scripts/, the inner role was not reached: $(cat "$scratch/outer.out")"
  [ "$status" -eq 1 ] || fail "a failed debootstrap ended with $status: $(cat "$scratch/outer.out")"
  work=$(sed -n 's/^Debian [a-z]*: making the system in \(.*\)\/system$/\1/p' "$scratch/outer.out")
  [ -n "$work" ] || fail "no run folder named: $(cat "$scratch/outer.out")"
  [ ! -e "$work" ] || fail "the run left its folder $work"
  echo "started from scripts/, the run reaches its inner role and leaves no folder"
}

case "${1:-}" in
  inner) inner_refuses ;;
  folder) runs_from_any_folder ;;
  *) fail "usage: $0 inner|folder" ;;
esac
