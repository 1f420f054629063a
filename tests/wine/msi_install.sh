#!/usr/bin/env bash
# Installs the MSI in the Windows tests' Wine prefix as the user would, over an older version,
# starts the installed program, then removes it: tests/wine/msi_install.sh BUILD_DIR VERSION
# SOURCE_DIR. The older package is made from the same sources, only numbered 0.99.
set -euo pipefail
build=$1 version=$2 source=$3
run="$source/tests/wine/run.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
old=$(mktemp -d)
program=
trap '[ -z "$program" ] || kill "$program" 2>/dev/null; rm -rf "$old"' EXIT

msi="$build/packages/tolvane-$version-x64.msi"
cmake -DSOURCE_DIR="$source" -DEXE="$build/app/tolvane.exe" -DICON="$build/app/tolvane.ico" \
  -DVERSION=0.99 -DEPOCH=1700000000 -DOUT_DIR="$old" -P "$source/cmake/windows_packages.cmake"

unix_path() { "$run" winepath -u "$("$run" cmd /c echo "$1" | tr -d '\r')" | tr -d '\r'; }
programs=$(unix_path '%LOCALAPPDATA%')/Programs/Tolvane
shortcut=$(unix_path '%APPDATA%')/Microsoft/Windows/Start\ Menu/Programs/Tolvane.lnk
# What the installer registered for this user: product name, version, assignment, icon.
products() { "$run" reg query 'HKCU\Software\Microsoft\Installer\Products' /s 2>/dev/null | tr -d '\r'; }
uninstall_entries() {
  for hive in HKCU HKLM; do
    "$run" reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null
  done | tr -d '\r'
}
# msiexec takes Windows paths: a Unix one would read as a switch.
msiexec() { "$run" msiexec "$1" "$("$run" winepath -w "$2" | tr -d '\r')" /qn || fail "msiexec $*: $?"; }

msiexec /i "$old/tolvane-0.99-x64.msi"
grep -q 'DisplayVersion *REG_SZ *0.99' <<<"$(uninstall_entries)" || fail "0.99 not installed"

msiexec /i "$msi"
entries=$(uninstall_entries)
[ "$(grep -c 'DisplayName *REG_SZ *Tolvane$' <<<"$entries")" = 1 ] || fail "not one entry: $entries"
grep -q "DisplayVersion *REG_SZ *$version$" <<<"$entries" || fail "upgrade to $version: $entries"
grep -q 'Publisher *REG_SZ *Tolvane developers$' <<<"$entries" || fail "publisher: $entries"
registered=$(products)
grep -q 'Assignment *REG_DWORD *0x0$' <<<"$registered" || fail "not a per-user product"
icon=$(sed -n 's/^ *ProductIcon *REG_SZ *//p' <<<"$registered")
[ -n "$icon" ] && [ -f "$("$run" winepath -u "$icon" | tr -d '\r')" ] || fail "no product icon: $icon"
cmp "$programs/tolvane.exe" "$build/app/tolvane.exe" || fail "installed program differs"
for file in LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  [ -f "$programs/$file" ] || fail "no $file"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"

"$run" "$programs/tolvane.exe" &
program=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Tolvane$' >/dev/null ||
  fail "the installed program shows no window"
kill "$program"
wait "$program" 2>/dev/null || true
program=

msiexec /x "$msi"
[ ! -e "$programs" ] || fail "left behind: $(ls -A "$programs")"
[ ! -e "$shortcut" ] || fail "shortcut left behind"
! grep -q 'Tolvane' <<<"$(uninstall_entries)$(products)" || fail "still registered"
! "$run" reg query 'HKCU\Software\Tolvane' >/dev/null 2>&1 || fail "registry key left behind"
echo "msi: 0.99 upgraded to $version, started, removed"
