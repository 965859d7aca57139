#!/usr/bin/env bash
# Sets up, then builds and tests everything: the native tree, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets for a
# bounded time each, the Windows plug-in under Wine, and the release package
# with its installer. Runs every part even after a failure and ends with one
# summary line; exits non-zero on any failure.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

FUZZ_SECONDS=${GRIDSMITH_FUZZ_SECONDS:-45}
DIALOG_TESTS=$GS_BUILD/windows/tests/ui_win/dialog_tests.exe
passed=0
failed=0
logs=$GS_BUILD/logs
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  gs_log "FAILED: $*"
  failed=$((failed + 1))
}

# run_ctest DIR [WRAPPER...]: runs the tree's tests and adds ctest's totals.
run_ctest() {
  local dir=$1 log
  shift
  log=$logs/$(basename "$dir")-ctest.log
  "$@" ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$GS_JOBS" 2>&1 | tee "$log"
  local totals
  totals=$(grep -Eo '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [[ $totals =~ ^([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+)$ ]]; then
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
    failed=$((failed + BASH_REMATCH[1]))
  else
    fail "ctest in $dir ran no tests"
  fi
}

# build_and_test NAME DIR [CTEST-WRAPPER...]: builds the configured tree past
# failures, so the tests that did build still run; the rest count as failed.
build_and_test() {
  local name=$1 dir=$2
  shift 2
  gs_compile "$dir" -- -k 0 || fail "$name build"
  run_ctest "$dir" "$@"
}

part_native() {
  gs_configure "$GS_BUILD/native" || { fail "native configure"; return; }
  build_and_test native "$GS_BUILD/native"
}

part_sanitize() {
  local dir=$GS_BUILD/sanitize
  gs_configure "$dir" -DGRIDSMITH_SANITIZE=ON -DGRIDSMITH_BENCH=OFF ||
    { fail "sanitizer configure"; return; }
  ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    build_and_test sanitizer "$dir"
}

# Every fuzz_* target runs for FUZZ_SECONDS on a fresh corpus (seeded from
# tests/fuzz/corpus/<target> when present); any finding fails it.
part_fuzz() {
  local dir=$GS_BUILD/fuzz targets=() target
  for target in "$GS_ROOT"/tests/fuzz/fuzz_*.cpp; do
    [[ -e $target ]] && targets+=("$(basename "$target" .cpp)")
  done
  if ((${#targets[@]} == 0)); then
    gs_log "fuzz: no targets"
    return
  fi
  CC=clang CXX=clang++ gs_configure "$dir" -DGRIDSMITH_FUZZ=ON -DGRIDSMITH_BENCH=OFF ||
    { fail "fuzz configure"; return; }
  for target in "${targets[@]}"; do
    gs_compile "$dir" --target "$target" || { fail "fuzz target $target build"; continue; }
    local work=$scratch/$target seeds=$GS_ROOT/tests/fuzz/corpus/$target
    mkdir -p "$work/corpus"
    local corpora=("$work/corpus")
    [[ -d $seeds ]] && corpora+=("$seeds")
    gs_log "fuzz: $target for ${FUZZ_SECONDS}s"
    if "$dir/tests/fuzz/$target" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$work/" "${corpora[@]}" >"$logs/$target.log" 2>&1; then
      passed=$((passed + 1))
      grep -E '^Done [0-9]+ runs' "$logs/$target.log" >&2 || true
    else
      tail -n 40 "$logs/$target.log" >&2
      mkdir -p "$logs/findings"
      cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* "$logs/findings/" 2>/dev/null
      fail "fuzz target $target (log and inputs in $logs)"
    fi
  done
}

part_windows() {
  gs_prepare_wine_prefix && gs_configure_windows || { fail "Windows configure"; return; }
  build_and_test Windows "$GS_BUILD/windows" gs_xvfb
}

# The dialogs at 150 % and 200 %: their scale tests and every text measured
# against its control, in Wine prefixes of 144 and 192 DPI (made beside the
# main one), the texts in both languages; at 200 % a hundred openings too.
part_dpi() {
  local dpi filter fit='InEitherLanguage.EveryControlsTextFitsItsControl'
  [[ -f $DIALOG_TESTS ]] || { fail "DPI tests: $DIALOG_TESTS was not built"; return; }
  for dpi in 144 192; do
    gs_prepare_dpi_prefix "$dpi" || { fail "the $dpi DPI Wine prefix"; continue; }
    filter="AtDisplayScale.*:$fit"
    ((dpi == 192)) && filter+=':ParametersDialog.RepeatedOpeningsLeaveNothingBehind'
    dpi_run "$dpi" zh_CN.UTF-8 "$filter"
    dpi_run "$dpi" en_US.UTF-8 "$fit"
  done
}

# dpi_run DPI LOCALE FILTER: the dialog tests FILTER names in the DPI prefix
# under the display language of LOCALE.
dpi_run() {
  local dpi=$1 locale=$2 filter=$3 log=$logs/dpi-$1-${2%%_*}.log status
  GRIDSMITH_WINEPREFIX=$(gs_dpi_prefix "$dpi") GRIDSMITH_UI_LOCALE=$locale \
    gs_xvfb wine "$DIALOG_TESTS" --gtest_filter="$filter" >"$log" 2>&1
  status=$?
  passed=$((passed + $(grep -c '^\[       OK \]' "$log")))
  if ((status != 0)) || ! grep -q '^\[  PASSED  \]' "$log"; then
    grep -E 'Failure|FAILED' "$log" >&2
    fail "dialog tests at $dpi DPI in $locale (log in $log)"
  fi
}

# The same runs through the native host and, under Wine, through the real
# Gridsmith.8bf must write identical files.
part_compare() {
  if gs_xvfb bash "$GS_ROOT/tests/compare_native_wine.sh" "$GS_BUILD/native" "$GS_BUILD/windows" \
    >"$logs/compare.log" 2>&1; then
    passed=$((passed + 1))
    tail -n 1 "$logs/compare.log" >&2
  else
    cat "$logs/compare.log" >&2
    fail "native and Wine runs differ (log in $logs/compare.log)"
  fi
}

# The release package as scripts/package.sh writes it, then the installer under
# Wine in a fresh prefix: install, upgrade, repair, held files, uninstall.
part_package() {
  bash "$GS_ROOT/scripts/package.sh" >"$logs/package.log" 2>&1 ||
    { tail -n 40 "$logs/package.log" >&2; fail "package (log in $logs/package.log)"; return; }
  passed=$((passed + 1))
  gs_xvfb bash "$GS_ROOT/tests/install/installer_test.sh" "$GS_BUILD/windows" >"$logs/installer.log" 2>&1
  local totals
  totals=$(tail -n 1 "$logs/installer.log")
  if [[ $totals =~ ^installer:\ ([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
    passed=$((passed + BASH_REMATCH[1]))
    failed=$((failed + BASH_REMATCH[2]))
    ((BASH_REMATCH[2] == 0)) || grep -A8 '^FAILED' "$logs/installer.log" >&2
    gs_log "$totals"
  else
    tail -n 40 "$logs/installer.log" >&2
    fail "installer test (log in $logs/installer.log)"
  fi
}

start=$SECONDS
bash "$GS_ROOT/scripts/setup.sh" || { fail "setup"; echo "tests: $passed passed, $failed failed"; exit 1; }
mkdir -p "$logs"
for part in native sanitize fuzz windows dpi compare package; do
  began=$SECONDS
  gs_log "== $part"
  "part_$part"
  gs_log "== $part: $((SECONDS - began)) s"
done
gs_log "== total: $((SECONDS - start)) s"

echo "tests: $passed passed, $failed failed"
((failed == 0))
