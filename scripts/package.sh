#!/usr/bin/env bash
# Builds the release and writes dist/Gridsmith-<version>-win64.zip,
# dist/Gridsmith-<version>-setup.exe and dist/SHA256SUMS. The version is the
# build's own (CMakeLists.txt). Two runs on one commit give the same bytes,
# wherever the tree is: file times come from the commit (SOURCE_DATE_EPOCH).
#
# Usage: scripts/package.sh [BUILD-DIR DIST-DIR]
#   With no arguments it configures and builds build/windows and writes dist/;
#   with both it packages an already configured Windows tree into DIST-DIR.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

case $# in
  0)
    build=$GS_BUILD/windows
    dist=$GS_ROOT/dist
    bash "$GS_ROOT/scripts/setup.sh"
    gs_configure_windows
    ;;
  2)
    build=$1
    dist=$2
    ;;
  *)
    echo "usage: $0 [BUILD-DIR DIST-DIR]" >&2
    exit 2
    ;;
esac

gs_wine_env  # the build runs its resource generator under Wine
gs_compile "$build" --target Gridsmith
version=$(<"$build/gridsmith-version.txt")
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  SOURCE_DATE_EPOCH=$(git -C "$GS_ROOT" log -1 --format=%ct) ||
    { gs_log "package: not a git checkout; set SOURCE_DATE_EPOCH"; exit 1; }
fi
export SOURCE_DATE_EPOCH

# The zip holds a Gridsmith folder, to be copied into a host's plug-ins folder
# as it is; the installer takes the same files and its icon.
stage=$build/release
rm -rf "$stage"
mkdir -p "$stage/Gridsmith" "$dist"
cp "$build/Gridsmith.8bf" "$stage/Gridsmith/"
cp "$build/src/resources/gridsmith.ico" "$stage/"
# Text for Notepad: CRLF lines, and a byte order mark where there is Chinese.
crlf() { sed 's/\r*$/\r/' "$1"; }
{ printf '\xef\xbb\xbf'; crlf "$GS_ROOT/packaging/README.txt"; } >"$stage/Gridsmith/README.txt"
{ printf '\xef\xbb\xbf'; crlf "$GS_ROOT/packaging/README-en.txt"; } >"$stage/Gridsmith/README-en.txt"
crlf "$GS_ROOT/LICENSE" >"$stage/Gridsmith/LICENSE.txt"
crlf "$GS_ROOT/packaging/THIRD-PARTY-NOTICES.txt" >"$stage/Gridsmith/THIRD-PARTY-NOTICES.txt"
files=(Gridsmith.8bf README.txt README-en.txt LICENSE.txt THIRD-PARTY-NOTICES.txt)
chmod 0644 "$stage"/Gridsmith/* "$stage/gridsmith.ico"
touch -h -d "@$SOURCE_DATE_EPOCH" "$stage"/Gridsmith/* "$stage/gridsmith.ico"

zip=$dist/Gridsmith-$version-win64.zip
setup=$dist/Gridsmith-$version-setup.exe
rm -f "$zip" "$setup"
# Fixed order, no directory entries or extra fields, times in one zone.
(cd "$stage" && TZ=UTC zip -X -D -9 -q "$zip" "${files[@]/#/Gridsmith/}")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage/Gridsmith" \
  -DICON="$stage/gridsmith.ico" -DOUTFILE="$setup" "$GS_ROOT/packaging/installer.nsi" >&2
(cd "$dist" && sha256sum "$(basename "$zip")" "$(basename "$setup")" >SHA256SUMS)
gs_log "package: $zip"
gs_log "package: $setup"
