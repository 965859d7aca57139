#!/usr/bin/env bash
# Screenshots of the installer under Wine, in Chinese and in English (the
# installer picks the system's language), in a fresh prefix with the fake
# hosts: the folder page (also before there are hosts and in a repair run),
# the file-in-use question, the finish page and the uninstaller's page, as
# OUT-DIR/installer-<page>-<zh|en>.png.
#
#   gs_xvfb bash tests/install/installer_screens.sh OUT-DIR [WINDOWS-BUILD-DIR]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
source "$GS_ROOT/tests/install/fake_hosts.sh"

(($# == 1 || $# == 2)) || { echo "usage: $0 OUT-DIR [WINDOWS-BUILD-DIR]" >&2; exit 2; }
out=$(realpath -m "$1")
build=$(realpath "${2:-$GS_BUILD/windows}")
work=$(mktemp -d)
prefix=$work/prefix
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

gs_wine_env
gs_compile "$build" --target installer-user >/dev/null
bash "$GS_ROOT/scripts/package.sh" "$build" "$work/dist"
setup=Z:$work/dist/Gridsmith-$(<"$build/gridsmith-version.txt")-setup.exe
export GRIDSMITH_WINEPREFIX=$prefix
gs_prepare_wine_prefix
mkdir -p "$out"

user=$build/tests/install/installer-user.exe
held='C:\Program Files\Adobe\Adobe Photoshop 2024\Plug-ins\Gridsmith\Gridsmith.8bf'
program='C:\Program Files\Gridsmith'
# shots LANGUAGE [--stop] OUT-DIR NAMES WINE-ARGS...: installer_screens.py in that language.
shots() {
  LANG=$1.UTF-8 LC_ALL=$1.UTF-8 /usr/bin/python3 "$GS_ROOT/tests/install/installer_screens.py" "${@:2}"
}
for language in zh_CN en_US; do
  shots $language --stop "$out" "installer-no-host-${language%_*}" "$user" --step -- "$setup"
done
fake_hosts "$prefix/drive_c"
for language in zh_CN en_US; do
  tag=${language%_*}
  shots $language "$out" "installer-folders-$tag,installer-finish-$tag" "$user" --step -- "$setup"
  shots $language "$out" "installer-repair-$tag,installer-in-use-$tag,-" "$user" --step --load "$held" --answers cancel -- "$setup" || true
  # Run in place (_?=), so that it stays one process; it then keeps itself.
  shots $language "$out" "installer-uninstall-$tag,-" "$user" --step -- "$program\\Uninstall.exe" "_?=$program"
  wineserver -w
  rm -rf "$prefix/drive_c/Program Files/Gridsmith"
done
