#!/usr/bin/env bash
# Builds the release of the current commit twice, in two fresh clones at
# different paths, with different time zones and umasks, and compares the
# SHA-256 sums of Gridsmith.8bf, the zip and the installer. Prints the sums;
# exits non-zero when any differs. Uncommitted changes are not in the clones.
#
# Usage: scripts/check_reproducible.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
commit=$(git -C "$GS_ROOT" rev-parse HEAD)

# release DIR TZ UMASK: a clone of the commit at DIR, packaged there.
release() {
  local dir=$1
  git clone -q --shared --no-checkout "$GS_ROOT" "$dir"
  git -C "$dir" checkout -q "$commit"
  # The host's image libraries are not part of the release; reuse them.
  mkdir -p "$dir/build"
  cp -a "$GS_BUILD/mingw-deps" "$dir/build/"
  (umask "$3" && TZ=$2 GRIDSMITH_BUILD_DIR= bash "$dir/scripts/package.sh" >"$dir.log" 2>&1) ||
    { cat "$dir.log" >&2; exit 1; }
  (cd "$dir" && sha256sum build/windows/Gridsmith.8bf dist/Gridsmith-*-win64.zip dist/Gridsmith-*-setup.exe)
}

release "$work/first" UTC 022 >"$work/first.sums"
release "$work/second/elsewhere/gridsmith" Pacific/Auckland 077 >"$work/second.sums"
cat "$work/first.sums"
if diff -u "$work/first.sums" "$work/second.sums" >&2; then
  echo "reproducible: the two builds of $commit are identical"
else
  echo "reproducible: the builds of $commit differ" >&2
  exit 1
fi
