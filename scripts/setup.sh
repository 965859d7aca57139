#!/usr/bin/env bash
# Installs every package the build and the tests need and prepares the Wine
# prefix. Quick when everything is there already.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

gs_install_packages "${GS_PACKAGES[@]}"
gs_generate_locales
gs_prepare_wine_prefix
