#!/usr/bin/env bash
# TIFFs and 16-bit PNGs written by gridsmith-host, opened by readers that are
# not ours: libtiff's tiffinfo for the tags, Pillow for the pixels.
#
#   tests/host/tiff_readers_test.sh <gridsmith-host>
set -uo pipefail

host=$1
python=/usr/bin/python3  # Debian's, with python3-pil
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() {  # check NAME CONDITION-STATUS DETAILS
  if (($2 == 0)); then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED $1: $3"
  fi
}

# mode|depth|tiffinfo lines that must all appear
cases=(
  "gray|8|Bits/Sample: 8;Sample Format: unsigned integer;Photometric Interpretation: min-is-black;Samples/Pixel: 1"
  "graya|16|Bits/Sample: 16;Extra Samples: 1<unassoc-alpha>;Samples/Pixel: 2"
  "rgb|32|Bits/Sample: 32;Sample Format: IEEE floating point;Photometric Interpretation: RGB color;Samples/Pixel: 3"
  "rgba|8|Photometric Interpretation: RGB color;Extra Samples: 1<unassoc-alpha>;Samples/Pixel: 4"
  "cmyk|16|Photometric Interpretation: separated;InkSet: 1;Samples/Pixel: 4"
  "cmyka|8|Photometric Interpretation: separated;Extra Samples: 1<unassoc-alpha>;Samples/Pixel: 5"
  "cmyk|8|Photometric Interpretation: separated;Samples/Pixel: 4"
  "gray|32|Bits/Sample: 32;Sample Format: IEEE floating point;Samples/Pixel: 1"
  "lab|8|Photometric Interpretation: CIE L*a*b*;Samples/Pixel: 3"
  "laba|16|Bits/Sample: 16;Photometric Interpretation: CIE L*a*b*;Extra Samples: 1<unassoc-alpha>;Samples/Pixel: 4"
  "duotone|16|Bits/Sample: 16;Photometric Interpretation: min-is-black;Samples/Pixel: 1"
  "multichannel|8|Photometric Interpretation: separated;InkSet: 2;NumberOfInks: 3;Ink Names: Cyan, Magenta, Yellow;Samples/Pixel: 3"
)
for case in "${cases[@]}"; do
  IFS='|' read -r mode depth expected <<<"$case"
  file=$work/$mode$depth.tif
  "$host" --canvas 120x80 --mode "$mode" --depth "$depth" --output "$file" >/dev/null 2>"$work/err" ||
    { check "$mode $depth-bit written" 1 "$(cat "$work/err")"; continue; }
  info=$(tiffinfo "$file" 2>&1)
  status=0
  grep -q "Image Width: 120 Image Length: 80" <<<"$info" || status=1
  IFS=';' read -r -a lines <<<"$expected"
  for line in "${lines[@]}"; do grep -qF "$line" <<<"$info" || status=1; done
  check "tiffinfo $mode $depth-bit" $status "$info"
done

# Pillow: the modes it names, the table's top-left border pixel and the white
# canvas (no ink at all in CMYK; L 100, a and b 0 in Lab).
pillow=$("$python" - "$work" <<'PY' 2>&1
import sys
from PIL import Image
work = sys.argv[1]
for name in ("gray8", "rgba8", "cmyk8", "gray32", "lab8"):
    with Image.open(f"{work}/{name}.tif") as image:
        print(name, image.mode, image.size, image.getpixel((40, 20)), image.getpixel((5, 5)))
PY
)
expect_line() { grep -qF "$1" <<<"$pillow"; check "Pillow: $1" $? "$pillow"; }
# The line colour 95B3D7: grey 174; inks with all the black in K; linear
# light at 32 bits; L* 72, a* -4, b* -22 (Pillow shows a and b around 128).
expect_line "gray8 L (120, 80) 174 255"
expect_line "rgba8 RGBA (120, 80) (149, 179, 215, 255) (255, 255, 255, 255)"
expect_line "cmyk8 CMYK (120, 80) (78, 43, 0, 40) (0, 0, 0, 0)"
expect_line "gray32 F (120, 80) 0.4232"
expect_line "lab8 LAB (120, 80) (183, 124, 106) (255, 128, 128)"

# A 16-bit grey PNG: Pillow reads it as 16-bit integers, white as 65535.
"$host" --canvas 120x80 --mode gray --depth 16 --output "$work/gray16.png" >/dev/null
png=$("$python" -c "
from PIL import Image
with Image.open('$work/gray16.png') as image:
    print(image.mode, image.getpixel((5, 5)), image.getpixel((40, 20)))" 2>&1)
[[ $png == "I;16 65535 "* || $png == "I 65535 "* ]]
check "Pillow: 16-bit grey PNG" $? "$png"

echo "$passed passed, $failed failed"
((failed == 0))
