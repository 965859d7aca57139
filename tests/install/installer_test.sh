#!/usr/bin/env bash
# The release installer under Wine, in a fresh prefix with two fake Photoshop
# installations and the shared plug-in folder: a silent install of a lower
# version, a run that finds the plug-in held by a host (retry, then cancel), a
# silent upgrade, repairs (one silent, one retried once the host lets go), a
# refused downgrade, the substitute host drawing with each installed copy, the
# plug-in folder switch and /D=, and a silent uninstall that leaves the
# prefix's files and registry as they were before the first install.
#
#   tests/install/installer_test.sh WINDOWS-BUILD-DIR
#
# It packages that tree and a lower-version build of the same sources
# (WINDOWS-BUILD-DIR-lower). Needs a display (run it under gs_xvfb).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"

if (($# != 1)); then
  echo "usage: $0 WINDOWS-BUILD-DIR" >&2
  exit 2
fi
build=$(realpath "$1")
lower_build=$build-lower
work=$(mktemp -d)
prefix=$work/prefix
cleanup() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what" >&2
  fi
}

# --- the two releases, packaged with the build's own Wine prefix
version=$(<"$build/gridsmith-version.txt")
IFS=. read -r major minor patch <<<"$version"
if ((patch > 0)); then
  lower=$major.$minor.$((patch - 1))
elif ((minor > 0)); then
  lower=$major.$((minor - 1)).99
else
  lower=$((major - 1)).99.99
fi
# The installer speaks the display language; its messages are read in English.
GRIDSMITH_UI_LOCALE=en_US.UTF-8
gs_wine_env
gs_compile "$build" --target gridsmith-host installer-user >/dev/null &&
  gs_configure "$lower_build" -DCMAKE_TOOLCHAIN_FILE="$GS_ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DGRIDSMITH_MINGW_DEPS="$GS_BUILD/mingw-deps" -DGRIDSMITH_VERSION_OVERRIDE="$lower" \
  -DGRIDSMITH_TESTS=OFF -DGRIDSMITH_BENCH=OFF &&
  bash "$GS_ROOT/scripts/package.sh" "$lower_build" "$work/dist" &&
  bash "$GS_ROOT/scripts/package.sh" "$build" "$work/dist" ||
  { echo "installer: building or packaging failed" >&2; exit 1; }
setup=Z:$work/dist/Gridsmith-$version-setup.exe
lower_setup=Z:$work/dist/Gridsmith-$lower-setup.exe
plugin=$build/Gridsmith.8bf
lower_plugin=$lower_build/Gridsmith.8bf
user=$build/tests/install/installer-user.exe
host=$build/host/cli/gridsmith-host.exe

# --- a fresh prefix with the hosts' folders, files and keys
export GRIDSMITH_WINEPREFIX=$prefix
gs_prepare_wine_prefix || { echo "installer: no Wine prefix" >&2; exit 1; }
c=$prefix/drive_c
source "$GS_ROOT/tests/install/fake_hosts.sh"
mkdir -p "$c/Hosts/Other/plug ins"
fake_hosts "$c" || { echo "installer: could not make the hosts" >&2; exit 1; }

a=$c/Program\ Files/Adobe/Adobe\ Photoshop\ 2024/Plug-ins/Gridsmith/Gridsmith.8bf
b=$c/Program\ Files/Adobe/Adobe\ Photoshop\ 2025/Plug-ins/Gridsmith/Gridsmith.8bf
cc=$c/Program\ Files/Common\ Files/Adobe/Plug-Ins/CC/Gridsmith/Gridsmith.8bf
other=$c/Hosts/Other/plug\ ins/Gridsmith/Gridsmith.8bf
# A Gridsmith folder the user made before: not the installer's to remove.
mkdir -p "$(dirname "$b")"
echo "the user's own notes" >"$(dirname "$b")/notes.txt"
a_windows='C:\Program Files\Adobe\Adobe Photoshop 2024\Plug-ins\Gridsmith\Gridsmith.8bf'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Gridsmith'

# Every file and folder of the prefix's drive, with sizes and contents, and
# the registry as saved, without its time stamps.
snapshot() {
  wineserver -w
  (cd "$c" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune -o -printf '%y %p %s\n' | sort)
  (cd "$c" && find . -path ./windows -prune -o -path ./users -prune -o -type f -print0 | sort -z | xargs -0 md5sum)
  # The software keys: Wine's hardware keys change at every start.
  local hive
  for hive in system user; do
    sed -E '/^#time=/d; s/^(\[.*\]) [0-9]+$/\1/' "$prefix/$hive.reg" |
      awk -v hive=$hive '/^\[/ { keep = /^\[Software\\/ } keep { print hive ": " $0 }'
  done
}
value() { wine reg query "$entry" /v "$1" /reg:64 2>/dev/null | tr -d '\r' | sed -nE "s/^ +$1 +REG_[A-Z_]+ +//p"; }
# The installer's exit code; installer-user passes the command line on as a
# person would type it (wine would quote /D=).
run() { wine "$user" -- "$@" >/dev/null 2>&1; }
exits() {
  local want=$1 got
  shift
  run "$@"
  got=$?
  ((got == want)) || { echo "  $* exited $got, not $want" >&2; return 1; }
}
# said LOG LINE: installer-user's LOG has LINE (shown when it has not).
said() { tr -d '\r' <"$1" | grep -qx -- "$2" || { sed 's/^/  /' "$1" >&2; return 1; }; }
holds() { local file=$1 want=$2; cmp -s "$file" "$want"; }
all_hold() { local f; for f in "$a" "$b" "$cc"; do holds "$f" "$1" || { echo "  $f differs" >&2; return 1; }; done; }
none_left() { ! find "$c/Hosts" "$c/Program Files" -name '*.new' | grep -q .; }

snapshot >"$work/before.txt"

# --- the zip: the plug-in's folder with a README in each language
zip_lists() {
  /usr/bin/python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$1"
}
check "the zip holds the plug-in, the Chinese and the English README and the licences" test \
  "$(zip_lists "$work/dist/Gridsmith-$version-win64.zip" | tr '\n' ' ')" = \
  "Gridsmith/Gridsmith.8bf Gridsmith/README.txt Gridsmith/README-en.txt Gridsmith/LICENSE.txt Gridsmith/THIRD-PARTY-NOTICES.txt "

# --- a silent install of the lower version into every folder found
check "the lower version installs silently" exits 0 "$lower_setup" /S
check "it is in both hosts' Plug-ins\\Gridsmith and the shared folder" all_hold "$lower_plugin"
check "the stale host's folder is not made" test ! -e "$c/Program Files/Adobe/Adobe Photoshop 2023"
check "the entry has the lower version" test "$(value DisplayVersion)" = "$lower"

# --- a host holds the plug-in: retry, then cancel, leaves it as it was
wine "$user" --load "$a_windows" --answers retry,cancel -- "$setup" >"$work/held.txt" 2>&1
check "cancelled at the file in use, the run exits 1" said "$work/held.txt" 'exit: 1'
check "the question names the file, twice" test "$(grep -c "^message: .*Photoshop 2024.*Gridsmith.8bf" "$work/held.txt")" = 2
check "the old plug-in files are intact" all_hold "$lower_plugin"
check "no half-written file is left" none_left
check "the entry still has the lower version" test "$(value DisplayVersion)" = "$lower"

wine "$user" --load "$a_windows" -- "$setup" /S >"$work/held-silent.txt" 2>&1
check "held in a silent run, it fails with 2" said "$work/held-silent.txt" 'exit: 2'
check "and changes nothing" eval 'all_hold "$lower_plugin" && none_left'

# --- the upgrade, then repairs
check "the upgrade runs silently" exits 0 "$setup" /S
check "it replaced every copy" all_hold "$plugin"
check "the entry has the new version" test "$(value DisplayVersion)" = "$version"
check "the program folder has the Chinese and the English README" \
  test -s "$c/Program Files/Gridsmith/README.txt" -a -s "$c/Program Files/Gridsmith/README-en.txt"
check "the entry remembers three folders" test "$(value PluginFolderCount)" = 0x3
check "the entry has a name, publisher, size, icon and uninstall string" eval \
  'test "$(value DisplayName)" = Gridsmith -a "$(value Publisher)" = Brackenhold -a -n "$(value EstimatedSize)" &&
   test "$(value DisplayIcon)" = "C:\Program Files\Gridsmith\Uninstall.exe,0" &&
   test "$(value UninstallString)" = "\"C:\Program Files\Gridsmith\Uninstall.exe\""'
rm "$b" "$c/Program Files/Gridsmith/README.txt"
check "a silent repair runs" exits 0 "$setup" /S
check "it wrote the missing files again" eval 'holds "$b" "$plugin" && test -s "$c/Program Files/Gridsmith/README.txt"'
wine "$user" --load "$a_windows" --answers release -- "$setup" >"$work/retried.txt" 2>&1
check "retried once the host let go, the repair completes" said "$work/retried.txt" 'exit: 0'
check "after the retry every copy is the new one" all_hold "$plugin"

# --- an older installer over the newer installation asks, and no means no
check "a silent downgrade is refused with 4" exits 4 "$lower_setup" /S
wine "$user" --answers no -- "$lower_setup" >"$work/downgrade.txt" 2>&1
check "an interactive downgrade asks first" said "$work/downgrade.txt" "message: Gridsmith $version is installed, which is newer than $lower.*"
check "and, told no, exits 4" said "$work/downgrade.txt" 'exit: 4'
check "the refused downgrades changed nothing" eval 'all_hold "$plugin" && test "$(value DisplayVersion)" = "$version"'

# --- the substitute host loads each installed copy and draws the default table
wine "$host" --plugin "Z:$plugin" --output "Z:$work/reference.png" >/dev/null 2>&1
for copy in "$a_windows" 'C:\Program Files\Adobe\Adobe Photoshop 2025\Plug-ins\Gridsmith\Gridsmith.8bf'; do
  rm -f "$work/drawn.png"
  wine "$host" --plugin "$copy" --output "Z:$work/drawn.png" >/dev/null 2>&1
  check "the host draws the default table with $copy" cmp -s "$work/drawn.png" "$work/reference.png"
done
check "the reference table was drawn" test -s "$work/reference.png"

# --- the folder switch and /D=: exactly the folders named
check "a folder that does not exist is refused with 5" exits 5 "$setup" /S '/PLUGINFOLDERS=C:\Nowhere'
check "only the named folder" exits 0 "$setup" /S '/PLUGINFOLDERS=C:\Hosts\Other\plug ins'
check "it is there, and gone from the folders no longer chosen" eval 'holds "$other" "$plugin" && test ! -e "$(dirname "$a")" -a ! -e "$b" -a ! -e "$(dirname "$cc")"'
check "the Gridsmith folder the user made stays, with the user's file" test -s "$(dirname "$b")/notes.txt"
check "the found ones, the named one and another program folder" \
  exits 0 "$setup" /S '/PLUGINFOLDERS=*;C:\Hosts\Other\plug ins' '/D=C:\Program Files\Gridsmith Tools'
check "all four copies" eval 'all_hold "$plugin" && holds "$other" "$plugin"'
check "the program folder moved" eval 'test -e "$c/Program Files/Gridsmith Tools/Uninstall.exe" -a ! -e "$c/Program Files/Gridsmith"'
check "no half-written file is left" none_left

# --- the silent uninstall leaves what was there before
check "the silent uninstall runs" exits 0 "$(value InstallLocation | sed 's/$/\\Uninstall.exe/')" /S
wineserver -w  # the uninstaller finishes in a copy of itself
check "the entry is gone" test -z "$(value DisplayName)"
snapshot >"$work/after.txt"
check "files and registry are as before the first install" diff -u "$work/before.txt" "$work/after.txt"

echo "installer: $passed passed, $failed failed"
((failed == 0))
