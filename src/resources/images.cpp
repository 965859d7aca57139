#include "resources/images.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

const std::vector<const char*> kClearArt = {
    "..........",
    ".##....##.",
    ".###..###.",
    "..######..",
    "...####...",
    "...####...",
    "..######..",
    ".###..###.",
    ".##....##.",
    "..........",
};

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

const std::vector<const char*> kSymbolArt = {
    "............",
    ".##########.",
    ".#HHHHHHHH#.",
    ".#HHHHHHHH#.",
    ".##########.",
    ".#bb#bb#bb#.",
    ".#bb#bb#bb#.",
    ".##########.",
    ".#pp#pp#pp#.",
    ".#pp#pp#pp#.",
    ".##########.",
    "............",
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
constexpr MotifGeometry kIcon32{32, 2, 3, 29, 29, 1, 1, 1, 2, 1};
constexpr MotifGeometry kIcon48{48, 3, 4, 44, 44, 2, 1, 2, 2, 2};
constexpr MotifGeometry kLogo{kLogoSide, 10, 14, 114, 114, 4, 3, 8, 5, 6};

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

// The line of picture `type`, painted by the renderer itself into the strip.
void PaintLineType(Image& strip, int32_t type) {
    Tile tile{};
    tile.data = &strip.At(type * kLineTypePictureWidth, kLineTypeLineTop);
    tile.rowBytes = int32_t(strip.width * sizeof(Rgba));
    tile.rows = kLineTypeLineWidth;
    tile.columns = kLineTypePictureWidth;
    tile.planes = 4;
    tile.depth = 8;
    PaintTile(tile, MakePixelVector(0x000000, 255),
              {kLineTypeLineWidth, type, DashDirection::AlongRow});
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

Image ClearIcon() { return FromArt(kClearArt, {{'.', kImageListMask}, {'#', kClearRed}}); }

Image EditListIcon() {
    return FromArt(kEditListArt,
                   {{'.', kImageListMask}, {'#', kDarkGrey}, {'w', kWhite}, {'-', kBorderBlue}});
}

Image LineTypeStrip() {
    Image strip(kLineTypePictures * kLineTypePictureWidth, kLineTypePictureHeight, kWhite);
    for (int32_t type = 0; type < kLineTypePictures; ++type) PaintLineType(strip, type);
    return strip;
}

std::vector<Image> PluginIconImages() {
    return {TableMotif(kIcon16), TableMotif(kIcon32), TableMotif(kIcon48)};
}

Image AboutLogo() { return TableMotif(kLogo); }

Image AboutSymbol() {
    return FromArt(kSymbolArt, {{'.', kSymbolKey},
                                {'#', kBorderBlue},
                                {'H', kHeaderBlue},
                                {'b', kBandBlue},
                                {'p', kBandPale}});
}

Cursor ScrubCursor() {
    return {FromArt(kScrubArt, {{'.', kTransparent}, {'#', kBlack}, {'o', kWhite}}), kScrubHotX,
            kScrubHotY};
}

std::vector<ResourceFile> BuildImageFiles() {
    return {
        {"clear_icon.bmp", EncodeBmp24(ClearIcon())},
        {"edit_list_icon.bmp", EncodeBmp24(EditListIcon())},
        {"line_types.bmp", EncodeBmp24(LineTypeStrip())},
        {"gridsmith.ico", EncodeIco(PluginIconImages())},
        {"about_logo.bmp", EncodeBmp32Premultiplied(AboutLogo())},
        {"about_symbol.bmp", EncodeBmp24(AboutSymbol())},
        {"scrub.cur", EncodeMonoCur(ScrubCursor())},
    };
}

}  // namespace gridsmith::resources
