#!/usr/bin/env bash
# End to end on a 10000 x 10000 RGBA canvas with the 20 x 20 benchmark table:
# gridsmith-host (canvas -> run -> file) beside ImageMagick's convert drawing
# the same rectangles in the same colours on the same canvas, each timed and
# its peak resident memory taken by /usr/bin/time, in one run.
#
#   bench/host_vs_imagemagick.sh [NATIVE-BUILD-DIR] [OTHER-HOST...]
#
# OTHER-HOST: more gridsmith-host programs to time the same way (an older
# build, say); they write PAM only. Needs GS_BENCH_PACKAGES (scripts/lib.sh).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

build=$(realpath -m "${1:-$(dirname "${BASH_SOURCE[0]}")/../build/native}")
shift || true
host=$build/host/cli/gridsmith-host
draw_args=$build/bench/run/gridsmith-bench-draw-args
for program in "$host" "$draw_args" /usr/bin/time /usr/bin/convert-im6.q16; do
  [[ -x $program ]] ||
    { echo "bench: $program is missing (build native; apt-get install ${GS_BENCH_PACKAGES[*]})" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
table=(--set Rows=20 --set Cols=20 --set TableWidth=9600 --set TableHeight=9600 --set LeftMargin=200
       --set TopMargin=200 --set BorderLineSize=4 --set GridLineSize=2)
canvas=(--canvas 10000x10000 --mode rgba)
mapfile -t rectangles < <("$draw_args" 2>/dev/null)
((${#rectangles[@]})) || { echo "bench: no rectangles" >&2; exit 2; }
image_mib=$((10000 * 10000 * 4 / 1048576))

# measure NAME COMMAND...: prints seconds, peak RSS and RSS / image bytes.
measure() {
  local name=$1
  shift
  rm -f "$work"/out.*
  if ! /usr/bin/time -f '%e %M' -o "$work/time" "$@" >"$work/log" 2>&1; then
    echo "bench: $name failed:" >&2
    cat "$work/log" >&2
    return 1
  fi
  read -r seconds kib <"$work/time"
  local size
  size=$(stat -c %s "$work"/out.* 2>/dev/null | head -n 1)
  awk -v name="$name" -v s="$seconds" -v kib="$kib" -v img="$image_mib" -v size="${size:-0}" \
    'BEGIN { printf "%-44s %7.2f s %8.0f MiB %6.2f x  %7.1f MiB file\n", name, s, kib / 1024, kib / 1024 / img, size / 1048576 }' 
  echo "$seconds" >"$work/seconds.$name"
}

echo "10000x10000 RGBA 8-bit canvas ($image_mib MiB), $((${#rectangles[@]} / 4)) rectangles"
printf '%-44s %9s %12s %8s\n' "" time "peak RSS" "RSS/img"
# ImageMagick with Debian's resource policy, as it comes.
im=(/usr/bin/convert-im6.q16 -size 10000x10000 xc:white -alpha set "${rectangles[@]}" -depth 8)
for ext in tif pam; do
  measure "gridsmith-host .$ext" "$host" "${canvas[@]}" "${table[@]}" --output "$work/out.$ext"
  measure "convert -draw .$ext" "${im[@]}" "$work/out.$ext"
done
measure "gridsmith-host .png (level 6)" "$host" "${canvas[@]}" "${table[@]}" --output "$work/out.png"
measure "gridsmith-host .tif (Deflate level 1)" "$host" "${canvas[@]}" "${table[@]}" --compression 1 \
  --output "$work/out.tif"
for other in "$@"; do
  measure "$(basename "$other") .pam" \
    "$other" "${canvas[@]}" "${table[@]}" --output "$work/out.pam"
done
for ext in tif pam; do
  awk -v ext="$ext" -v im="$(cat "$work/seconds.convert -draw .$ext")" -v gs="$(cat "$work/seconds.gridsmith-host .$ext")" \
    'BEGIN { printf "ImageMagick time / gridsmith-host time to .%s: %.1f x\n", ext, im / gs }'
done
