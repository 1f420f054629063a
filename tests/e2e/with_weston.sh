#!/usr/bin/env bash
# Runs a command as a client of a headless Weston of its own (a Wayland session with no
# screen), with a private runtime directory and no session bus, and takes the compositor
# down afterwards: with_weston.sh COMMAND [ARGS...]
set -euo pipefail
work=$(mktemp -d)
weston_pid=
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket=wayland-tolvane --idle-time=0 \
  --no-config >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 200); do [ -S "$XDG_RUNTIME_DIR/wayland-tolvane" ] && break; sleep 0.05; done
[ -S "$XDG_RUNTIME_DIR/wayland-tolvane" ] || { echo "Weston did not start: $(cat "$work/weston.log")" >&2; exit 1; }
export WAYLAND_DISPLAY=wayland-tolvane
export QT_QPA_PLATFORM=wayland
unset DISPLAY
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
"$@"
