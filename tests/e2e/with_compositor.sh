#!/usr/bin/env bash
# Runs a command as a client of a headless Wayland compositor of its own (no screen), with a
# private runtime directory and no session bus for the client, and takes the compositor down
# afterwards:  with_compositor.sh weston|weston-kiosk|sway|mutter|kwin COMMAND [ARGS...]
# The command finds the compositor's name in TOLVANE_COMPOSITOR, and under sway its IPC
# socket in SWAYSOCK; WAYLAND_DISPLAY is the socket's full path.
set -euo pipefail
compositor=$1
shift
work=$(mktemp -d)
cleanup() {
  # The compositor was started in its own process group, with whatever it started.
  [ -n "${group:-}" ] && kill -TERM -- "-$group" 2>/dev/null || true
  for _ in $(seq 100); do kill -0 -- "-$group" 2>/dev/null || break; sleep 0.05; done
  kill -KILL -- "-$group" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=wayland-tolvane
case "$compositor" in
  weston | weston-kiosk)  # kiosk: a shell that shows every window fullscreen
    shell=desktop-shell.so
    [ "$compositor" = weston ] || shell=kiosk-shell.so
    setsid weston --backend=headless-backend.so --shell=$shell --socket=$socket --idle-time=0 \
      --no-config >"$work/log" 2>&1 &
    ;;
  sway)
    # No bar, no wallpaper, no idle: only the output and the windows. sway refuses to run as
    # root: then it runs as nobody, with a runtime directory of its own.
    printf 'output * resolution 1024x768\n' >"$work/sway.conf"
    sway_runtime=$XDG_RUNTIME_DIR
    as=()
    if [ "$(id -u)" -eq 0 ]; then
      chmod 755 "$work"
      sway_runtime="$work/sway-runtime"
      mkdir -m 700 "$sway_runtime"
      chown nobody: "$sway_runtime" "$work/sway.conf"
      as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    fi
    XDG_RUNTIME_DIR=$sway_runtime HOME=$sway_runtime WLR_BACKENDS=headless \
      WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
      setsid "${as[@]}" sway --config "$work/sway.conf" >"$work/log" 2>&1 &
    socket=
    ;;
  mutter)
    # GNOME's compositor needs a session bus of its own.
    setsid dbus-run-session -- mutter --headless --wayland --no-x11 \
      --virtual-monitor 1024x768 --wayland-display=$socket >"$work/log" 2>&1 &
    ;;
  kwin)
    # KDE's compositor on a virtual screen, with a session bus of its own. The package gives
    # the program a file capability that a container may not grant (exec then fails); a
    # copy under the same name carries none.
    mkdir "$work/bin"
    cp "$(command -v kwin_wayland)" "$work/bin/kwin_wayland"
    setsid dbus-run-session -- "$work/bin/kwin_wayland" --virtual --no-lockscreen \
      --socket=$socket --width=1024 --height=768 >"$work/log" 2>&1 &
    ;;
  *)
    echo "with_compositor.sh: unknown compositor $compositor" >&2
    exit 2
    ;;
esac
group=$!
runtime=${sway_runtime:-$XDG_RUNTIME_DIR}
found=
deadline=$((SECONDS + 90))  # a loaded machine may take a while to start a compositor
while [ "$SECONDS" -lt "$deadline" ]; do
  if [ -n "$socket" ]; then
    [ -S "$runtime/$socket" ] && found=$runtime/$socket
  elif ls "$runtime"/sway-ipc.*.sock >/dev/null 2>&1; then
    found=$(ls "$runtime"/wayland-[0-9] 2>/dev/null | head -n1) || true
  fi
  [ -n "$found" ] && break
  kill -0 "$group" 2>/dev/null || break
  sleep 0.05
done
[ -n "$found" ] || { echo "$compositor did not start: $(cat "$work/log")" >&2; exit 1; }
if [ "$compositor" = sway ]; then
  SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock)
  export SWAYSOCK
fi
export WAYLAND_DISPLAY=$found TOLVANE_COMPOSITOR=$compositor
export QT_QPA_PLATFORM=wayland
unset DISPLAY
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
"$@"
