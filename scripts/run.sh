#!/usr/bin/env bash
# Sets up, builds both trees, then draws the default table into the substitute
# host's built-in 800x600 canvas and writes it out as a PNG.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

bash "$GS_ROOT/scripts/setup.sh"
gs_build_native
gs_build_windows
gs_log "run: plug-in built at $GS_BUILD/windows/Gridsmith.8bf"

# The host writes gridsmith.png into the current directory.
out=$GS_BUILD/run
mkdir -p "$out"
cd "$out"
"$GS_BUILD/native/host/cli/gridsmith-host"
