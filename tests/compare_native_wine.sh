#!/usr/bin/env bash
# Runs the native gridsmith-host and the Windows gridsmith-host.exe (with the
# Gridsmith.8bf beside it) under Wine on the same configurations and compares
# the files they write byte for byte. Exits non-zero on any difference.
#
#   tests/compare_native_wine.sh <native-build-dir> <windows-build-dir>
#
# Wine runs with the caller's WINEPREFIX and WINEDEBUG.
set -uo pipefail

if (($# != 2)); then
  echo "usage: $0 <native-build-dir> <windows-build-dir>" >&2
  exit 2
fi
native=$(realpath -m "$1/host/cli/gridsmith-host")
windows=$(realpath -m "$2/host/cli/gridsmith-host.exe")
for program in "$native" "$windows"; do
  [[ -x $program || -f $program ]] || { echo "compare: $program is missing" >&2; exit 2; }
done
[[ -f $(dirname "$windows")/Gridsmith.8bf ]] || { echo "compare: no Gridsmith.8bf beside $windows" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# An action recorded natively (where the dialog is confirmed at once), to be
# replayed by both.
action=$work/recorded.action
"$native" --output "$work/recorded.png" --play display --record "$action" \
  --set Rows=5 --set ColSizes=90,60 --set GridLineType=2 --set LeftMargin=-7 >/dev/null ||
  { echo "compare: could not record an action" >&2; exit 2; }

# Inputs for the batch: an image of each library's format.
"$native" --canvas 300x200 --mode cmyka --depth 16 --output "$work/input16.tif" >/dev/null &&
  "$native" --canvas 200x100 --mode graya --depth 16 --output "$work/input16.png" >/dev/null ||
  { echo "compare: could not make the batch inputs" >&2; exit 2; }

# name|arguments. Every run is a repeat run: no dialog to wait for under Wine.
configurations=(
  "default|"
  "sixteen-bit|--depth 16"
  "float|--depth 32"
  "gray|--mode gray"
  "gray-alpha-16|--mode graya --depth 16 --fill 80FF"
  "rgba-16|--mode rgba --depth 16 --output out.pam"
  "cmyk-alpha|--mode cmyka --fill 00000000FF"
  "cmyk-16|--mode cmyk --depth 16"
  "cmyk-alpha-conversions-refused|--mode cmyka --colour-services pick-only"
  "lab|--mode lab"
  "lab-alpha-16-no-services|--mode laba --depth 16 --colour-services none"
  "duotone-16|--mode duotone --depth 16"
  "multichannel|--mode multichannel --output out.pam"
  "gray-alpha-no-layer-counts|--mode graya --no-layer-counts"
  "gray-float|--mode gray --depth 32 --output out.tif"
  "selection|--selection 100,50,300,120"
  "clipped-by-canvas|--canvas 300x90"
  "table-outside|--canvas 800x600 --selection 700,500,800,600"
  "cancelled|--cancel-after 5"
  "negative-margins|--set LeftMargin=-30 --set TopMargin=-10 --set TableWidth=500"
  "dashes|--set GridLineSize=2 --set GridLineType=3 --set BorderLineSize=3 --set BorderLineType=4 --set Borders=5"
  "dashes-float|--depth 32 --set GridLineSize=3 --set GridLineType=1 --set BorderLineType=2"
  "replayed-action|--replay $action --play silent"
  "big-document-far-right|--canvas 40000x600 --set LeftMargin=35000 --set TableWidth=4000"
  "big-document-wide-table|--canvas 40000x600 --set LeftMargin=100 --set TableWidth=39000 --set Cols=7 --set GridLineType=3"
  "big-document-past-the-edge|--canvas 1000x300 --set LeftMargin=10 --set TableWidth=66000"
  "sixteen-bit-wraps|--canvas 1000x300 --set LeftMargin=10 --set TableWidth=66000 --no-big-document"
  "sixteen-bit-wide-image|--canvas 40000x300 --set LeftMargin=32300 --no-big-document"
  "sixteen-bit-selection|--selection 100,50,300,120 --no-big-document"
  "tiff-cmyka-16|--mode cmyka --depth 16 --output out.tif"
  "tiff-rgba-float|--mode rgba --depth 32 --output out.tiff"
  "tiff-deflate|--mode graya --compression 6 --output out.tif"
  "png-rgba-16|--mode rgba --depth 16"
  "png-level-9|--compression 9"
  "batch|--output-dir out $work/recorded.png $work/input16.tif $work/missing.png $work/input16.png"
  "batch-to-tiff|--output-dir out --format tif $work/recorded.png $work/input16.png"
  "batch-one-job|--jobs 1 --output-dir out $work/input16.tif $work/recorded.png $work/missing.png $work/input16.png"
  "batch-two-jobs|--jobs 2 --output-dir out $work/input16.tif $work/recorded.png $work/missing.png $work/input16.png"
)

failures=0
for configuration in "${configurations[@]}"; do
  name=${configuration%%|*}
  read -r -a arguments <<<"${configuration#*|}"
  mkdir -p "$work/$name/native" "$work/$name/windows"
  (cd "$work/$name/native" && "$native" --repeat "${arguments[@]}") >"$work/$name/native.log" 2>&1
  native_status=$?
  (cd "$work/$name/windows" && wine "$windows" --repeat "${arguments[@]}") >"$work/$name/windows.log" 2>&1
  windows_status=$?

  if ((native_status != windows_status)); then
    echo "DIFFER $name: exit $native_status natively, $windows_status under Wine"
    cat "$work/$name/native.log" "$work/$name/windows.log"
    failures=$((failures + 1))
    continue
  fi
  outputs=$(cd "$work/$name/native" && find . -type f | sed 's|^\./||' | sort)
  if [[ -z $outputs ]]; then
    echo "FAILED $name: no output (exit $native_status)"
    cat "$work/$name/native.log"
    failures=$((failures + 1))
    continue
  fi
  for file in $outputs; do
    if ! cmp -s "$work/$name/native/$file" "$work/$name/windows/$file"; then
      echo "DIFFER $name: $file"
      failures=$((failures + 1))
      continue 2
    fi
  done
  echo "same   $name: ${outputs//$'\n'/ }"
done

# The replayed action must reproduce the recorded run's image.
if cmp -s "$work/recorded.png" "$work/replayed-action/native/gridsmith.png"; then
  echo "same   recorded and replayed action"
else
  echo "DIFFER recorded and replayed action"
  failures=$((failures + 1))
fi

# Two workers under Wine write what one does, and say it in the same order.
if diff -r "$work/batch-one-job/windows" "$work/batch-two-jobs/windows" >/dev/null &&
  cmp -s <(sed 's/batch-one-job/BATCH/' "$work/batch-one-job/windows.log") \
    <(sed 's/batch-two-jobs/BATCH/' "$work/batch-two-jobs/windows.log"); then
  echo "same   batch at --jobs 1 and 2 under Wine"
else
  echo "DIFFER batch at --jobs 1 and 2 under Wine"
  failures=$((failures + 1))
fi

total=$((${#configurations[@]} + 2))
echo "$((total - failures)) passed, $failures failed"
((failures == 0))
