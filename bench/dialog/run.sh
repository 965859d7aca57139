#!/usr/bin/env bash
# Times the real parameters dialog under Wine and Xvfb, step by step, over
# 1000², 5000² and 10000² RGBA documents and a 16-bit one (bench_dialog.cpp
# says what each figure and its reference are).
#
#   bash bench/dialog/run.sh [--compare LABEL=FILE.8bf]... [--repetitions N] [--documents LIST]
#                            [--languages zh,en]
#
# Builds Gridsmith.8bf and the benchmark in build/bench-dialog, a Windows tree
# with the benchmarks and without the tests, and times that plug-in ("this").
# --compare times another build of it (an older one, say) in turns with it,
# dialog by dialog, and prints their medians side by side; --languages times
# each plug-in in both display languages, in turns the same way.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"

dir=$GS_BUILD/bench-dialog
plugins=() args=()
while (($#)); do
  case $1 in
    --compare)
      label=${2%%=*} file=${2#*=}
      [[ $label == "$2" ]] && label=compared
      plugins+=(--plugin "$label=Z:$(realpath "$file")")
      shift 2
      ;;
    *) args+=("$1"); shift ;;
  esac
done

gs_prepare_wine_prefix
bash "$GS_ROOT/scripts/mingw_deps.sh" "$GS_BUILD/mingw-deps"
gs_configure "$dir" -DCMAKE_TOOLCHAIN_FILE="$GS_ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DGRIDSMITH_TESTS=OFF -DGRIDSMITH_BENCH=ON -DGRIDSMITH_MINGW_DEPS="$GS_BUILD/mingw-deps"
gs_compile "$dir" --target Gridsmith gridsmith-bench-dialog
gs_xvfb wine "$dir/bench/dialog/gridsmith-bench-dialog.exe" "${plugins[@]}" \
  --plugin "this=Z:$dir/Gridsmith.8bf" "${args[@]}"
