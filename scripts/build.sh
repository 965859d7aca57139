#!/usr/bin/env bash
# Configures and builds (Release, Ninja) the native tree in build/native and the
# Windows plug-in in build/windows (build/windows/Gridsmith.8bf).
# Usage: scripts/build.sh [native|windows|all]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

case ${1:-all} in
  native) gs_build_native ;;
  windows) gs_build_windows ;;
  all) gs_build_native && gs_build_windows ;;
  *)
    echo "usage: $0 [native|windows|all]" >&2
    exit 2
    ;;
esac
