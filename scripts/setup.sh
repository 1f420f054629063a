#!/usr/bin/env bash
# Installs the Debian packages Tolvane needs (Debian 12 and 13 name them alike); does nothing
# when they are all present.
# Uses sudo when not run as root.
#   scripts/setup.sh run    what building and starting the program needs
#   scripts/setup.sh test   that, and what every test needs (the default)
set -euo pipefail

run_packages=(
  g++ cmake ninja-build pkg-config     # compiler and build
  qt6-base-dev                         # the toolkit
  libxcb1-dev                          # the X11 start-up notice of a second start
  fonts-crosextra-carlito              # Calibri's metrics, with Cyrillic
  qt6-translations-l10n                # the toolkit's own texts in Russian
  librsvg2-bin                         # the launcher's icons, drawn from the SVG
  git                                  # the release date, taken from the last commit
)
test_packages=(
  libgtest-dev                         # tests
  libboost-dev                         # chi-square tails for the uniformity tests (Boost.Math)
  libbenchmark-dev                     # benchmarks
  xvfb xdotool x11-utils x11-apps xclip socat  # a real X display; another program's copy; a relay
  strace                               # proof that the program writes no file
  at-spi2-core python3-pyatspi dbus-daemon  # the window read as a screen reader reads it
  orca                                 # and what a screen reader says
  weston sway mutter kwin-wayland qt6-wayland  # Wayland sessions: Weston, tiling, GNOME, KDE
  wtype wl-clipboard                   # typing and the clipboard under sway
  qt6ct                                # a dark desktop theme, set as a desktop sets it
  desktop-file-utils appstream dpkg-dev lintian  # checks of the installed files and the package
  mingw-w64 g++-mingw-w64-x86-64-posix googletest  # the Windows program and its tests
  icoutils                             # the Windows program's icon file
  wine wine64 fonts-wine               # running them
  wixl msitools faketime zip           # the Windows installer and zip, the same bytes every time
)

packages=("${run_packages[@]}")
[ "${1:-test}" = run ] || packages+=("${test_packages[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
# Through env: sudo drops the caller's variables, and debconf would ask its questions.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
