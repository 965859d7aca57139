#include "resources/images.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "render/plane_values.h"

namespace gridsmith::resources {
namespace {

// The table defaults' colours, so the motif looks like the table the filter draws.
constexpr Rgba kHeaderBlue{0x4F, 0x81, 0xBD, 255};
constexpr Rgba kBandBlue{0xB8, 0xCC, 0xE4, 255};
constexpr Rgba kBandPale{0xDB, 0xE5, 0xF1, 255};
constexpr Rgba kBorderBlue{0x2F, 0x54, 0x96, 255};
constexpr Rgba kDarkGrey{0x40, 0x40, 0x40, 255};
constexpr Rgba kClearRed{0xC8, 0x28, 0x28, 255};

// '.' ground in every piece of art below.

const std::vector<const char*> kEditListArt = {
    ".######...",
    ".#wwww##..",
    ".#wwww#w#.",
    ".#wwww####",
    ".#w-w---w#",
    ".#wwwwwww#",
    ".#w-w---w#",
    ".#wwwwwww#",
    ".#w-w---w#",
    ".#########",
};

// The page at 150 percent, drawn anew rather than stretched by a half.
const std::vector<const char*> kEditListArt15 = {
    ".########......",
    ".#wwwwwww##....",
    ".#wwwwwww#w#...",
    ".#wwwwwww#ww#..",
    ".#wwwwwww#####.",
    ".#wwwwwwwwwww#.",
    ".#ww-ww-----w#.",
    ".#wwwwwwwwwww#.",
    ".#ww-ww-----w#.",
    ".#wwwwwwwwwww#.",
    ".#ww-ww-----w#.",
    ".#wwwwwwwwwww#.",
    ".#ww-ww-----w#.",
    ".#############.",
    "...............",
};

// '#' black, 'o' white, '.' the screen shows through. The fingertip is the hot spot.
constexpr int32_t kScrubHotX = 8;
constexpr int32_t kScrubHotY = 4;
const std::vector<const char*> kScrubArt = {
    "................................",
    "................................",
    "...............ooo........ooo...",
    "..............oo#o........o#oo..",
    "........##...oo##oooooooooo##oo.",
    ".......#oo#.oo################oo",
    ".......#oo#.o##################o",
    ".......#oo#.oo################oo",
    ".......#oo#..oo##oooooooooo##oo.",
    ".......#oo#...oo#o........o#oo..",
    ".......#oo#....ooo........ooo...",
    ".......#oo###...................",
    ".......#oo#oo###................",
    ".......#oo#oo#oo##..............",
    "....##.#oo#oo#oo#oo#............",
    "...#oo##ooooooooooo#............",
    "...#ooo#ooooooooooo#............",
    "....#oooooooooooooo#............",
    "....#oooooooooooooo#............",
    ".....#ooooooooooooo#............",
    ".....#ooooooooooooo#............",
    "......#ooooooooooo#.............",
    "......#ooooooooooo#.............",
    ".......#ooooooooo#..............",
    ".......#ooooooooo#..............",
    ".......###########..............",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

// The table motif at one size: a card with a border, a header row and three
// banded rows in three columns, white grid lines, and a shadow below right.
struct MotifGeometry {
    int32_t side;
    int32_t left, top, right, bottom;  // the card, right and bottom exclusive
    int32_t border;                    // border width
    int32_t grid;                      // grid line width
    int32_t radius;                    // corner radius
    int32_t shadowOffset;
    int32_t shadowBlur;  // 0: a hard shadow
};

constexpr int32_t kMotifRows = 4;
constexpr int32_t kMotifColumns = 3;
constexpr double kShadowOpacity = 0.35;

constexpr MotifGeometry kIcon16{16, 1, 1, 14, 15, 1, 1, 0, 1, 0};
constexpr MotifGeometry kIcon24{24, 2, 2, 22, 22, 1, 1, 1, 1, 1};
constexpr MotifGeometry kIcon32{32, 2, 3, 29, 29, 1, 1, 1, 2, 1};
constexpr MotifGeometry kIcon48{48, 3, 4, 44, 44, 2, 1, 2, 2, 2};
// The logo's master at 200 percent; the smaller ones are its geometry scaled down.
constexpr MotifGeometry kLogoMaster{2 * kLogoSide, 20, 28, 228, 228, 8, 6, 16, 10, 12};

// `percent` as one of the sizes the pictures come at.
int32_t KnownPercent(int32_t percent) {
    for (int32_t known : kImagePercents)
        if (percent == known) return percent;
    return 100;
}

MotifGeometry LogoGeometry(int32_t percent) {
    const auto down = [percent](int32_t master) { return AtPercent(master, percent * 100 / 200); };
    const MotifGeometry& m = kLogoMaster;
    return {down(m.side),   down(m.left), down(m.top),          down(m.right),       down(m.bottom),
            down(m.border), down(m.grid), down(m.radius), down(m.shadowOffset), down(m.shadowBlur)};
}

// The About symbol: a bordered table with a header row and two banded rows in
// three columns, on the key colour, drawn at each size from its parts.
struct SymbolGeometry {
    int32_t margin;  // key colour around the table
    int32_t line;    // border and grid lines
    int32_t cell;    // each band's height and each column's width
};

SymbolGeometry SymbolAt(int32_t percent) {
    switch (KnownPercent(percent)) {
    case 150: return {1, 1, 4};
    case 200: return {2, 2, 4};
    default: return {1, 1, 2};
    }
}

// Which part of a symbol's axis a position falls on: -1 margin, 0 line, 1 + i band i.
int32_t SymbolPart(int32_t p, const SymbolGeometry& g) {
    const int32_t side = 2 * g.margin + 4 * g.line + 3 * g.cell;
    if (p < g.margin || p >= side - g.margin) return -1;
    p -= g.margin;
    for (int32_t band = 1; band <= 3; ++band) {
        if (p < g.line) return 0;
        p -= g.line;
        if (p < g.cell) return band;
        p -= g.cell;
    }
    return 0;
}

// Band index of position p inside [0, extent) split into `count` bands with
// `line`-wide lines between them, or -1 on a line. The first band takes what
// an even split leaves over.
int32_t BandAt(int32_t p, int32_t extent, int32_t count, int32_t line) {
    const int32_t band = (extent - (count - 1) * line) / count;
    const int32_t first = extent - (count - 1) * line - (count - 1) * band;
    if (p < first) return 0;
    p -= first;
    for (int32_t i = 1; i < count; ++i) {
        if (p < line) return -1;
        p -= line;
        if (p < band) return i;
        p -= band;
    }
    return count - 1;
}

// Signed distance from a pixel centre to a rounded rectangle (negative inside).
double RoundedRectDistance(double x, double y, double left, double top, double right,
                           double bottom, double radius) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double qx = std::fabs(x - cx) - ((right - left) / 2 - radius);
    const double qy = std::fabs(y - cy) - ((bottom - top) / 2 - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

uint8_t Channel(double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 255.0))); }

Rgba Mix(const Rgba& from, const Rgba& to, double t) {
    return {Channel(from.r + (to.r - from.r) * t), Channel(from.g + (to.g - from.g) * t),
            Channel(from.b + (to.b - from.b) * t), 255};
}

Rgba CellColour(const MotifGeometry& g, int32_t x, int32_t y) {
    const int32_t innerWidth = g.right - g.left - 2 * g.border;
    const int32_t innerHeight = g.bottom - g.top - 2 * g.border;
    const int32_t row = BandAt(y - g.top - g.border, innerHeight, kMotifRows, g.grid);
    const int32_t column = BandAt(x - g.left - g.border, innerWidth, kMotifColumns, g.grid);
    if (row < 0 || column < 0) return kWhite;
    if (row == 0) return kHeaderBlue;
    return row % 2 == 1 ? kBandBlue : kBandPale;
}

// Opacity of the shadow at a pixel centre: a soft edge `shadowBlur` wide, or a hard one.
double ShadowAlpha(const MotifGeometry& g, double px, double py) {
    const int32_t o = g.shadowOffset;
    const double distance = RoundedRectDistance(px, py, g.left + o, g.top + o, g.right + o,
                                                g.bottom + o, g.radius);
    const double edge =
        g.shadowBlur > 0 ? (g.shadowBlur / 2.0 - distance) / g.shadowBlur : 0.5 - distance;
    return kShadowOpacity * Clamp01(edge);
}

// `colour` covering `coverage` of the pixel, over a black shadow of opacity `shadow`.
Rgba OverShadow(const Rgba& colour, double coverage, double shadow) {
    const double alpha = coverage + shadow * (1 - coverage);
    if (alpha <= 0) return kTransparent;
    const double k = coverage / alpha;  // the shadow adds opacity, not colour
    return {Channel(colour.r * k), Channel(colour.g * k), Channel(colour.b * k),
            Channel(alpha * 255)};
}

Image TableMotif(const MotifGeometry& g) {
    Image image(g.side, g.side, kTransparent);
    for (int32_t y = 0; y < g.side; ++y) {
        for (int32_t x = 0; x < g.side; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double card =
                RoundedRectDistance(px, py, g.left, g.top, g.right, g.bottom, g.radius);
            // Inside the card, the border blends into the cells over one pixel.
            const Rgba colour =
                Mix(CellColour(g, x, y), kBorderBlue, Clamp01(card + g.border + 0.5));
            image.At(x, y) = OverShadow(colour, Clamp01(0.5 - card), ShadowAlpha(g, px, py));
        }
    }
    return image;
}

// The line of picture `type`, painted by the renderer itself into the strip
// as it paints a line `lineWidth` pixels wide.
void PaintLineType(Image& strip, int32_t type, int32_t pictureWidth, int32_t lineTop, int32_t lineWidth) {
    Tile tile{};
    tile.data = &strip.At(type * pictureWidth, lineTop);
    tile.rowBytes = int32_t(strip.width * sizeof(Rgba));
    tile.rows = lineWidth;
    tile.columns = pictureWidth;
    tile.planes = 4;
    tile.depth = 8;
    PaintTile(tile, MakePixelVector(0x000000, 255), {lineWidth, type, DashDirection::AlongRow});
}

}  // namespace

Image FromArt(const std::vector<const char*>& rows, const std::vector<ArtColour>& palette) {
    if (rows.empty() || !rows[0]) return {};
    const size_t width = std::strlen(rows[0]);
    if (width == 0 || width > size_t(kMaxBitmapSide) || rows.size() > size_t(kMaxBitmapSide))
        return {};
    Image image(int32_t(width), int32_t(rows.size()), kTransparent);
    for (size_t y = 0; y < rows.size(); ++y) {
        if (!rows[y] || std::strlen(rows[y]) != width) return {};
        for (size_t x = 0; x < width; ++x) {
            auto entry = std::find_if(palette.begin(), palette.end(),
                                      [&](const ArtColour& c) { return c.key == rows[y][x]; });
            if (entry == palette.end()) return {};
            image.At(int32_t(x), int32_t(y)) = entry->colour;
        }
    }
    return image;
}

// Two diagonal strokes, `half` pixels either side of each diagonal, inside a
// margin of `margin` pixels.
Image ClearIcon(int32_t percent) {
    percent = KnownPercent(percent);
    const int32_t side = AtPercent(kButtonIconSide, percent);
    const int32_t margin = percent == 200 ? 2 : 1, half = percent == 200 ? 2 : 1;
    Image icon(side, side, kImageListMask);
    for (int32_t y = margin; y < side - margin; ++y)
        for (int32_t x = margin; x < side - margin; ++x)
            if (std::abs(x - y) <= half || std::abs(x + y - (side - 1)) <= half) icon.At(x, y) = kClearRed;
    return icon;
}

Image EditListIcon(int32_t percent) {
    percent = KnownPercent(percent);
    const std::vector<ArtColour> palette = {
        {'.', kImageListMask}, {'#', kDarkGrey}, {'w', kWhite}, {'-', kBorderBlue}};
    if (percent == 150) return FromArt(kEditListArt15, palette);
    const Image page = FromArt(kEditListArt, palette);
    if (percent == 100) return page;
    Image doubled(2 * page.width, 2 * page.height, kImageListMask);  // a whole factor stays crisp
    for (int32_t y = 0; y < doubled.height; ++y)
        for (int32_t x = 0; x < doubled.width; ++x) doubled.At(x, y) = page.At(x / 2, y / 2);
    return doubled;
}

Image LineTypeStrip(int32_t percent) {
    percent = KnownPercent(percent);
    const int32_t width = AtPercent(kLineTypePictureWidth, percent);
    Image strip(kLineTypePictures * width, AtPercent(kLineTypePictureHeight, percent), kWhite);
    for (int32_t type = 0; type < kLineTypePictures; ++type)
        PaintLineType(strip, type, width, AtPercent(kLineTypeLineTop, percent),
                      AtPercent(kLineTypeLineWidth, percent));
    return strip;
}

std::vector<Image> PluginIconImages() {
    return {TableMotif(kIcon16), TableMotif(kIcon24), TableMotif(kIcon32), TableMotif(kIcon48)};
}

Image AboutLogo(int32_t percent) { return TableMotif(LogoGeometry(KnownPercent(percent))); }

Image AboutSymbol(int32_t percent) {
    const SymbolGeometry g = SymbolAt(percent);
    const int32_t side = 2 * g.margin + 4 * g.line + 3 * g.cell;
    Image symbol(side, side, kSymbolKey);
    for (int32_t y = 0; y < side; ++y) {
        const int32_t row = SymbolPart(y, g);
        for (int32_t x = 0; x < side; ++x) {
            const int32_t column = SymbolPart(x, g);
            if (row < 0 || column < 0) continue;
            Rgba& p = symbol.At(x, y);
            if (row == 0 || (column == 0 && row > 1) || (x < g.margin + g.line) || (x >= side - g.margin - g.line))
                p = kBorderBlue;  // the header row has no column lines
            else
                p = row == 1 ? kHeaderBlue : row == 2 ? kBandBlue : kBandPale;
        }
    }
    return symbol;
}

Cursor ScrubCursor() {
    return {FromArt(kScrubArt, {{'.', kTransparent}, {'#', kBlack}, {'o', kWhite}}), kScrubHotX,
            kScrubHotY};
}

std::vector<ResourceFile> BuildImageFiles() {
    std::vector<ResourceFile> files = {
        {"gridsmith.ico", EncodeIco(PluginIconImages())},
        {"scrub.cur", EncodeMonoCur(ScrubCursor())},
    };
    for (int32_t percent : kImagePercents) {
        // "name.bmp" at 100 percent, "name_150.bmp" and "name_200.bmp" beside it.
        const std::string suffix = percent == 100 ? ".bmp" : "_" + std::to_string(percent) + ".bmp";
        files.push_back({"clear_icon" + suffix, EncodeBmp24(ClearIcon(percent))});
        files.push_back({"edit_list_icon" + suffix, EncodeBmp24(EditListIcon(percent))});
        files.push_back({"line_types" + suffix, EncodeBmp24(LineTypeStrip(percent))});
        files.push_back({"about_logo" + suffix, EncodeBmp32Premultiplied(AboutLogo(percent))});
        files.push_back({"about_symbol" + suffix, EncodeBmp24(AboutSymbol(percent))});
    }
    return files;
}

}  // namespace gridsmith::resources
