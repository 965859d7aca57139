#!/usr/bin/env bash
# Draws the default table into an RGB, a CMYK and a Lab document with the
# native gridsmith-host, turns each TIFF into RGB with readers that are not
# ours (Pillow for CMYK, LittleCMS through Pillow for Lab) and puts the three
# side by side in docs/colour-modes.png.
#
#   scripts/colour_modes_picture.sh [native-build-dir]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
host=$(realpath -m "${1:-$root/build/native}/host/cli/gridsmith-host")
[[ -x $host ]] || { echo "colour_modes_picture: $host is missing (bash scripts/build.sh native)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for mode in rgb cmyk lab; do
  "$host" --canvas 500x160 --mode "$mode" --output "$work/$mode.tif" >/dev/null
done

/usr/bin/python3 - "$work" "$root/docs/colour-modes.png" <<'PY'
import sys
from PIL import Image, ImageCms, ImageDraw, ImageFont

work, out = sys.argv[1], sys.argv[2]
lab = Image.open(f"{work}/lab.tif")
shown = [
    ("RGB", Image.open(f"{work}/rgb.tif").convert("RGB")),
    ("CMYK", Image.open(f"{work}/cmyk.tif").convert("RGB")),
    ("Lab", ImageCms.profileToProfile(lab, ImageCms.createProfile("LAB"), ImageCms.createProfile("sRGB"),
                                      outputMode="RGB")),
]
try:
    font = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 15)
except OSError:
    font = ImageFont.load_default()
width, height, caption, gap = 500, 160, 26, 12
sheet = Image.new("RGB", (3 * width + 4 * gap, height + caption + gap), (236, 236, 236))
draw = ImageDraw.Draw(sheet)
for i, (name, picture) in enumerate(shown):
    left = gap + i * (width + gap)
    sheet.paste(picture, (left, caption))
    draw.text((left, 5), f"{name} document, shown as RGB", fill=(40, 40, 40), font=font)
sheet.save(out, optimize=True)
PY
echo "wrote $root/docs/colour-modes.png"
