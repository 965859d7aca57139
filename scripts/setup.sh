#!/usr/bin/env bash
# Installs every package the build and the tests need and prepares the Wine
# prefix. Quick when everything is there already.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

missing=()
for package in "${GS_PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) || status=
  [[ $status == *' installed' ]] || missing+=("$package")
done

if ((${#missing[@]})); then
  gs_log "setup: installing ${missing[*]}"
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

gs_prepare_wine_prefix
