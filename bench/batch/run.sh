#!/usr/bin/env bash
# A batch on every core: the same inputs drawn by gridsmith-host at --jobs 1,
# at its default (the processors it may use) and split by `xargs -P2` into
# two one-at-a-time batches, in turns, round after round; each figure is the
# median of the rounds and each ratio the median of the rounds' ratios.
#
#   bench/batch/run.sh [NATIVE-BUILD-DIR]
#
# Inputs: 8 PNG scans of 4000 x 3000 RGB and 8 RGBA TIFFs of 10000 x 10000
# (381 MiB each), made by the host. GRIDSMITH_BENCH_ROUNDS sets the rounds
# (3), GRIDSMITH_BENCH_DIR the folder they are written in (a fresh one in
# TMPDIR; it needs about 7 GiB).
set -uo pipefail

build=$(realpath -m "${1:-$(dirname "${BASH_SOURCE[0]}")/../../build/native}")
host=$build/host/cli/gridsmith-host
[[ -x $host ]] || { echo "bench: $host is missing (build native)" >&2; exit 2; }
rounds=${GRIDSMITH_BENCH_ROUNDS:-3}
work=$(mktemp -d "${GRIDSMITH_BENCH_DIR:-${TMPDIR:-/tmp}}/gridsmith-batch.XXXXXX")
trap 'rm -rf "$work"' EXIT
table=(--set Rows=12 --set Cols=6 --set TableWidth=3000 --set TableHeight=2400 --set LeftMargin=400
       --set TopMargin=300)

# make_inputs SET COUNT SIZE EXTENSION [HOST-ARGS...]: the inputs of one set.
make_inputs() {
  local set=$1 count=$2 size=$3 extension=$4 i
  shift 4
  mkdir -p "$work/$set"
  for ((i = 1; i <= count; i++)); do
    "$host" --canvas "$size" --fill "$(printf '%02X' $((200 + 5 * i)))" --set Rows=$((i + 2)) "$@" \
      --output "$work/$set/scan$i.$extension" >/dev/null || { echo "bench: could not make $set" >&2; exit 2; }
  done
}

# seconds COMMAND...: the command's wall-clock seconds, its outputs removed first.
seconds() {
  rm -rf "$work/out"
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>"$work/err" || { echo "bench: $* failed:" >&2; cat "$work/err" >&2; exit 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

# in_halves FILE...: two one-at-a-time batches side by side, half the files each.
in_halves() {
  printf '%s\n' "$@" | xargs -d '\n' -P2 -n $((($# + 1) / 2)) "$host" "${table[@]}" --jobs 1 --output-dir "$work/out"
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# bench SET: the three ways over the set's files, in turns.
bench() {
  local set=$1 files one=() all=() halves=() by_all=() by_halves=() round
  files=("$work/$set"/*)
  for ((round = 1; round <= rounds; round++)); do
    one+=("$(seconds "$host" "${table[@]}" --jobs 1 --output-dir "$work/out" "${files[@]}")")
    all+=("$(seconds "$host" "${table[@]}" --output-dir "$work/out" "${files[@]}")")
    halves+=("$(seconds in_halves "${files[@]}")")
    by_all+=("$(awk -v a="${one[-1]}" -v b="${all[-1]}" 'BEGIN { print a / b }')")
    by_halves+=("$(awk -v a="${one[-1]}" -v b="${halves[-1]}" 'BEGIN { print a / b }')")
  done
  printf '%-34s %9.2f s %9.2f s %5.2f x %9.2f s %5.2f x\n' "$set" "$(median "${one[@]}")" "$(median "${all[@]}")" \
    "$(median "${by_all[@]}")" "$(median "${halves[@]}")" "$(median "${by_halves[@]}")"
}

make_inputs "8 x 4000x3000 RGB PNG" 8 4000x3000 png "${table[@]}"
make_inputs "8 x 10000x10000 RGBA TIFF" 8 10000x10000 tif --mode rgba "${table[@]}"
echo "$(nproc) processors, $rounds rounds in turns; medians; x: --jobs 1 over the other"
printf '%-34s %11s %11s %7s %11s %7s\n' "" "--jobs 1" "default" "x" "xargs -P2" "x"
bench "8 x 4000x3000 RGB PNG"
bench "8 x 10000x10000 RGBA TIFF"
