// The plug-in's pictures, drawn from readable descriptions (character art for
// the small ones, code for the strip and the table motif): the size-list
// buttons' icons, the line-type strip, the plug-in icon, the About dialog's
// logo and symbol, and the opacity scrub cursor. The generator writes them as
// the files that images.rc includes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resources/bitmap_files.h"
#include "ui/display_scale.h"

namespace gridsmith::resources {

// The image lists of the buttons and line-type combos mask this colour out.
constexpr Rgba kImageListMask{255, 0, 255, 255};
// TransparentBlt leaves this colour of the About symbol undrawn.
constexpr Rgba kSymbolKey{236, 233, 216, 255};

// The pictures come at each of the dialogs' picture percents (they take the
// one nearest their display scale); the sizes below are those at 100 percent.
using ui::kImagePercents;
// A 100 percent size at `percent`, rounded to the nearest pixel.
constexpr int32_t AtPercent(int32_t pixels, int32_t percent) { return (pixels * percent + 50) / 100; }

constexpr int32_t kButtonIconSide = 10;

// Line-type strip: one picture per line type 0..4, side by side, each a
// 2-pixel line on rows 7 and 8 dashed as the renderer dashes a 2-pixel line.
constexpr int32_t kLineTypePictures = 5;
constexpr int32_t kLineTypePictureWidth = 80;
constexpr int32_t kLineTypePictureHeight = 16;
constexpr int32_t kLineTypeLineTop = 7;
constexpr int32_t kLineTypeLineWidth = 2;

constexpr int32_t kLogoSide = 128;
constexpr int32_t kSymbolSide = 12;
constexpr int32_t kCursorSide = 32;

// Each at `percent` of its size; another percent than those above gives 100.
Image ClearIcon(int32_t percent = 100);     // a cross on magenta
Image EditListIcon(int32_t percent = 100);  // a small list page on magenta
Image LineTypeStrip(int32_t percent = 100);
Image AboutLogo(int32_t percent = 100);     // the table motif with a soft shadow
Image AboutSymbol(int32_t percent = 100);   // a small table on the key colour
std::vector<Image> PluginIconImages();      // the table motif at 16, 24, 32 and 48 pixels
Cursor ScrubCursor();                       // a pointing hand under a left-right arrow

// Character art: one string per row, each character a palette entry. Rows
// of unequal length or characters missing from the palette give an empty image.
struct ArtColour {
    char key;
    Rgba colour;
};
Image FromArt(const std::vector<const char*>& rows, const std::vector<ArtColour>& palette);

// A file that images.rc includes, by the name it uses there.
struct ResourceFile {
    std::string name;
    std::vector<uint8_t> bytes;  // empty if the picture could not be encoded
};
std::vector<ResourceFile> BuildImageFiles();

}  // namespace gridsmith::resources
