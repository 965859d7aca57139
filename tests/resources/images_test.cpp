// The picture files: the encoders' bytes against the platform's BMP, ICO and
// CUR layouts written out by hand, and each picture against what the dialogs
// need from it (sizes, mask and key colours, the line-type patterns, alpha).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "resources/images.h"

namespace {

using namespace gridsmith::resources;

uint32_t U16At(const std::vector<uint8_t>& bytes, size_t offset) {
    return uint32_t(bytes.at(offset)) | uint32_t(bytes.at(offset + 1)) << 8;
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
    return U16At(bytes, offset) | U16At(bytes, offset + 2) << 16;
}

// BITMAPINFOHEADER fields at `offset`.
struct InfoHeader {
    uint32_t size, width, height, planes, bitCount, compression, imageBytes, coloursUsed;
};

InfoHeader InfoAt(const std::vector<uint8_t>& bytes, size_t offset) {
    return {U32At(bytes, offset),      U32At(bytes, offset + 4),  U32At(bytes, offset + 8),
            U16At(bytes, offset + 12), U16At(bytes, offset + 14), U32At(bytes, offset + 16),
            U32At(bytes, offset + 20), U32At(bytes, offset + 32)};
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t offset, size_t size) {
    return std::vector<uint8_t>(bytes.begin() + offset, bytes.begin() + offset + size);
}

// A 3 × 2 picture: odd width, so 24-bit rows need padding.
Image Sample() {
    Image image(3, 2, kTransparent);
    image.At(0, 0) = {10, 20, 30, 255};
    image.At(1, 0) = {200, 100, 50, 128};
    image.At(2, 0) = {1, 2, 3, 0};
    image.At(0, 1) = {255, 255, 255, 255};
    return image;
}

TEST(BitmapFiles, Bmp24HasFileAndInfoHeadersAndPaddedRowsBottomUp) {
    std::vector<uint8_t> bmp = EncodeBmp24(Sample());
    ASSERT_EQ(bmp.size(), 14u + 40 + 2 * 12);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32At(bmp, 2), bmp.size());
    EXPECT_EQ(U32At(bmp, 10), 54u);
    InfoHeader info = InfoAt(bmp, 14);
    EXPECT_EQ(info.size, 40u);
    EXPECT_EQ(info.width, 3u);
    EXPECT_EQ(info.height, 2u);  // positive: bottom up
    EXPECT_EQ(info.planes, 1u);
    EXPECT_EQ(info.bitCount, 24u);
    EXPECT_EQ(info.compression, 0u);
    EXPECT_EQ(info.imageBytes, 24u);
    // Bottom row first, BGR, padded to 12 bytes; alpha plays no part.
    EXPECT_EQ(Slice(bmp, 54, 12), (std::vector<uint8_t>{255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Slice(bmp, 66, 12),
              (std::vector<uint8_t>{30, 20, 10, 50, 100, 200, 3, 2, 1, 0, 0, 0}));
}

TEST(BitmapFiles, Bmp32IsPremultipliedBgra) {
    std::vector<uint8_t> bmp = EncodeBmp32Premultiplied(Sample());
    ASSERT_EQ(bmp.size(), 14u + 40 + 2 * 12);
    InfoHeader info = InfoAt(bmp, 14);
    EXPECT_EQ(info.bitCount, 32u);
    EXPECT_EQ(info.compression, 0u);
    EXPECT_EQ(Slice(bmp, 66, 12),
              (std::vector<uint8_t>{30, 20, 10, 255, 25, 50, 100, 128, 0, 0, 0, 0}));
}

TEST(BitmapFiles, IcoHasADirectoryEntryPerImageWithColourAndAndMask) {
    Image big(33, 1, kWhite);  // a mask row longer than one 32-bit word
    big.At(32, 0) = kTransparent;
    std::vector<uint8_t> ico = EncodeIco({Sample(), big});
    ASSERT_GE(ico.size(), 6u + 2 * 16);
    EXPECT_EQ(U16At(ico, 0), 0u);
    EXPECT_EQ(U16At(ico, 2), 1u);  // icon
    EXPECT_EQ(U16At(ico, 4), 2u);
    const size_t sampleBytes = 40 + 2 * 12 + 2 * 4;
    const size_t bigBytes = 40 + 33 * 4 + 8;
    const size_t entry[2] = {6, 22};
    EXPECT_EQ(ico[entry[0]], 3);
    EXPECT_EQ(ico[entry[0] + 1], 2);
    EXPECT_EQ(U16At(ico, entry[0] + 4), 1u);   // planes
    EXPECT_EQ(U16At(ico, entry[0] + 6), 32u);  // bits per pixel
    EXPECT_EQ(U32At(ico, entry[0] + 8), sampleBytes);
    EXPECT_EQ(U32At(ico, entry[0] + 12), 38u);
    EXPECT_EQ(ico[entry[1]], 33);
    EXPECT_EQ(U32At(ico, entry[1] + 8), bigBytes);
    EXPECT_EQ(U32At(ico, entry[1] + 12), 38u + sampleBytes);
    ASSERT_EQ(ico.size(), 38u + sampleBytes + bigBytes);

    InfoHeader info = InfoAt(ico, 38);
    EXPECT_EQ(info.width, 3u);
    EXPECT_EQ(info.height, 4u);  // colour and mask
    EXPECT_EQ(info.bitCount, 32u);
    // Straight alpha; the AND mask sets the transparent pixels, top row last.
    EXPECT_EQ(Slice(ico, 78 + 12, 12),
              (std::vector<uint8_t>{30, 20, 10, 255, 50, 100, 200, 128, 3, 2, 1, 0}));
    EXPECT_EQ(Slice(ico, 78 + 24, 8), (std::vector<uint8_t>{0x60, 0, 0, 0, 0x20, 0, 0, 0}));
    EXPECT_EQ(Slice(ico, 38 + sampleBytes + 40 + 33 * 4, 8),
              (std::vector<uint8_t>{0, 0, 0, 0, 0x80, 0, 0, 0}));
}

TEST(BitmapFiles, CurIsOneBitWithHotSpotAndBothMasks) {
    Cursor cursor{Image(2, 3, kTransparent), 1, 2};
    cursor.image.At(0, 0) = kBlack;
    cursor.image.At(1, 0) = kWhite;
    cursor.image.At(0, 2) = kWhite;
    std::vector<uint8_t> cur = EncodeMonoCur(cursor);
    ASSERT_EQ(cur.size(), 22u + 40 + 8 + 2 * 3 * 4);
    EXPECT_EQ(U16At(cur, 2), 2u);  // cursor
    EXPECT_EQ(U16At(cur, 4), 1u);
    EXPECT_EQ(cur[6], 2);
    EXPECT_EQ(cur[7], 3);
    EXPECT_EQ(U16At(cur, 10), 1u);  // hot spot x
    EXPECT_EQ(U16At(cur, 12), 2u);  // hot spot y
    EXPECT_EQ(U32At(cur, 14), cur.size() - 22);
    EXPECT_EQ(U32At(cur, 18), 22u);
    InfoHeader info = InfoAt(cur, 22);
    EXPECT_EQ(info.width, 2u);
    EXPECT_EQ(info.height, 6u);
    EXPECT_EQ(info.bitCount, 1u);
    EXPECT_EQ(info.coloursUsed, 2u);
    EXPECT_EQ(U32At(cur, 62), 0x000000u);
    EXPECT_EQ(U32At(cur, 66), 0xFFFFFFu);
    // XOR rows bottom up (white set), then AND rows (transparent set).
    EXPECT_EQ(Slice(cur, 70, 12), (std::vector<uint8_t>{0x80, 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0}));
    EXPECT_EQ(Slice(cur, 82, 12),
              (std::vector<uint8_t>{0x40, 0, 0, 0, 0xC0, 0, 0, 0, 0x00, 0, 0, 0}));
}

TEST(BitmapFiles, RefuseWhatTheyCannotEncode) {
    EXPECT_TRUE(EncodeBmp24(Image()).empty());
    EXPECT_TRUE(EncodeBmp32Premultiplied(Image(0, 5, kWhite)).empty());
    EXPECT_TRUE(EncodeBmp24(Image(kMaxBitmapSide + 1, 1, kWhite)).empty());
    EXPECT_TRUE(EncodeIco({}).empty());
    EXPECT_TRUE(EncodeIco({Sample(), Image(kMaxIconSide + 1, 1, kWhite)}).empty());
    EXPECT_FALSE(EncodeIco({Image(kMaxIconSide, kMaxIconSide, kWhite)}).empty());
    Image grey(2, 2, kWhite);
    grey.At(1, 1) = {128, 128, 128, 255};
    EXPECT_TRUE(EncodeMonoCur({grey, 0, 0}).empty());
    EXPECT_TRUE(EncodeMonoCur({Image(2, 2, kWhite), 2, 0}).empty());
    EXPECT_TRUE(EncodeMonoCur({Image(2, 2, kWhite), 0, -1}).empty());
    EXPECT_FALSE(EncodeMonoCur({Image(2, 2, kWhite), 1, 1}).empty());
}

TEST(CharacterArt, ReadsRowsAndRefusesRaggedRowsOrUnknownCharacters) {
    const std::vector<ArtColour> palette = {{'.', kWhite}, {'#', kBlack}};
    Image image = FromArt({"#..", ".#."}, palette);
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(image.At(0, 0), kBlack);
    EXPECT_EQ(image.At(1, 1), kBlack);
    EXPECT_EQ(image.At(2, 1), kWhite);
    EXPECT_TRUE(FromArt({"#..", ".#"}, palette).Empty());
    EXPECT_TRUE(FromArt({"#.x"}, palette).Empty());
    EXPECT_TRUE(FromArt({}, palette).Empty());
    EXPECT_TRUE(FromArt({nullptr}, palette).Empty());
    EXPECT_TRUE(FromArt({""}, palette).Empty());
}

bool OnlyColoursAtEdges(const Image& image, const Rgba& colour) {
    for (int32_t i = 0; i < image.width; ++i)
        if (image.At(i, 0) != colour || image.At(i, image.height - 1) != colour) return false;
    for (int32_t i = 0; i < image.height; ++i)
        if (image.At(0, i) != colour || image.At(image.width - 1, i) != colour) return false;
    return true;
}

size_t Count(const Image& image, const Rgba& colour) {
    return size_t(std::count(image.pixels.begin(), image.pixels.end(), colour));
}

TEST(Pictures, ButtonIconsAreTenPixelsDrawnOnMagenta) {
    for (const Image& icon : {ClearIcon(), EditListIcon()}) {
        ASSERT_EQ(icon.width, kButtonIconSide);
        ASSERT_EQ(icon.height, kButtonIconSide);
        EXPECT_EQ(icon.At(0, kButtonIconSide - 1), kImageListMask);
        const size_t ground = Count(icon, kImageListMask);
        EXPECT_GT(ground, 0u);
        EXPECT_LT(ground, icon.pixels.size() * 3 / 4);  // a drawing, not a blank
        for (const Rgba& p : icon.pixels) EXPECT_EQ(p.a, 255);
    }
    // The cross is symmetric about both diagonals.
    Image cross = ClearIcon();
    for (int32_t y = 0; y < kButtonIconSide; ++y)
        for (int32_t x = 0; x < kButtonIconSide; ++x) {
            EXPECT_EQ(cross.At(x, y), cross.At(y, x));
            EXPECT_EQ(cross.At(x, y), cross.At(kButtonIconSide - 1 - y, kButtonIconSide - 1 - x));
        }
}

// The dialog's pictures as on/off runs of a 2-pixel line: 1 dash 8 on 4 off,
// 2 dot 2 on 2 off, 3 dash-dot 6 4 2 4, 4 dash-dot-dot 6 2 2 2 2 2.
std::string ExpectedLine(const std::vector<int>& runs) {
    std::string line;
    for (size_t i = 0; line.size() < size_t(kLineTypePictureWidth); i = (i + 1) % runs.size())
        line.append(size_t(runs[i]), i % 2 == 0 ? '1' : '0');
    return line.substr(0, size_t(kLineTypePictureWidth));
}

TEST(Pictures, LineTypeStripFollowsTheLinePatternsOnRowsSevenAndEightOnWhite) {
    const Image strip = LineTypeStrip();
    ASSERT_EQ(strip.width, 400);
    ASSERT_EQ(strip.height, 16);
    const std::vector<std::vector<int>> runs = {
        {80}, {8, 4}, {2, 2}, {6, 4, 2, 4}, {6, 2, 2, 2, 2, 2}};
    for (int32_t type = 0; type < kLineTypePictures; ++type) {
        SCOPED_TRACE(type);
        const std::string expected = ExpectedLine(runs[size_t(type)]);
        for (int32_t y = 0; y < strip.height; ++y) {
            std::string row;
            for (int32_t x = 0; x < kLineTypePictureWidth; ++x) {
                const Rgba& p = strip.At(type * kLineTypePictureWidth + x, y);
                ASSERT_TRUE(p == kBlack || p == kWhite) << x << "," << y;
                row += p == kBlack ? '1' : '0';
            }
            const bool onLine = y == kLineTypeLineTop || y == kLineTypeLineTop + 1;
            const std::string white(size_t(kLineTypePictureWidth), '0');
            EXPECT_EQ(row, onLine ? expected : white) << y;
        }
    }
    std::vector<uint8_t> bmp = EncodeBmp24(strip);
    ASSERT_FALSE(bmp.empty());
    EXPECT_EQ(InfoAt(bmp, 14).bitCount, 24u);
}

// The pictures for scaled displays: each at its size, drawn rather than
// stretched, with the ground its blit masks out, and a 200 percent line as
// wide as the renderer draws a 4-pixel line.
TEST(Pictures, ComeAtOneAndAHalfAndTwiceTheirSize) {
    for (int32_t percent : {150, 200}) {
        SCOPED_TRACE(percent);
        const int32_t iconSide = percent == 150 ? 15 : 20;
        for (const Image& icon : {ClearIcon(percent), EditListIcon(percent)}) {
            ASSERT_EQ(icon.width, iconSide);
            ASSERT_EQ(icon.height, iconSide);
            EXPECT_EQ(icon.At(0, iconSide - 1), kImageListMask);
            EXPECT_LT(Count(icon, kImageListMask), icon.pixels.size() * 3 / 4);
        }
        const Image cross = ClearIcon(percent);
        for (int32_t y = 0; y < iconSide; ++y)
            for (int32_t x = 0; x < iconSide; ++x) EXPECT_EQ(cross.At(x, y), cross.At(iconSide - 1 - y, x));

        const Image strip = LineTypeStrip(percent);
        const int32_t top = percent == 150 ? 11 : 14, width = percent == 150 ? 3 : 4;
        ASSERT_EQ(strip.width, 5 * 80 * percent / 100);
        ASSERT_EQ(strip.height, 16 * percent / 100);
        for (int32_t y = 0; y < strip.height; ++y) {
            const bool onLine = y >= top && y < top + width;
            EXPECT_EQ(strip.At(0, y), onLine ? kBlack : kWhite) << y;
            EXPECT_EQ(strip.At(80 * percent / 100 - 1, y), onLine ? kBlack : kWhite) << y;
        }
        // The dashed picture's first gap begins where a line that wide ends its dash.
        const int32_t dashed = 80 * percent / 100;
        EXPECT_EQ(strip.At(dashed + 4 * width - 1, top), kBlack);
        EXPECT_EQ(strip.At(dashed + 4 * width, top), kWhite);

        const Image symbol = AboutSymbol(percent);
        ASSERT_EQ(symbol.width, 12 * percent / 100);
        EXPECT_TRUE(OnlyColoursAtEdges(symbol, kSymbolKey));
        EXPECT_NE(symbol.At(symbol.width / 2, symbol.height / 2), kSymbolKey);
        const Image logo = AboutLogo(percent);
        ASSERT_EQ(logo.width, 128 * percent / 100);
        EXPECT_EQ(logo.At(0, 0).a, 0);
        EXPECT_EQ(logo.At(logo.width / 2, logo.height / 2).a, 255);
    }
    // Twice the size is a whole factor: the page's pixels, each four times.
    const Image page = EditListIcon(), doubled = EditListIcon(200);
    for (int32_t y = 0; y < doubled.height; ++y)
        for (int32_t x = 0; x < doubled.width; ++x) ASSERT_EQ(doubled.At(x, y), page.At(x / 2, y / 2));
    EXPECT_EQ(ClearIcon(125).width, kButtonIconSide) << "a size the resources do not carry";
}

TEST(Pictures, PluginIconHasSmallAndLargeImagesWithTransparentGround) {
    std::vector<Image> images = PluginIconImages();
    std::set<int32_t> sides;
    for (const Image& image : images) {
        ASSERT_EQ(image.width, image.height);
        sides.insert(image.width);
        EXPECT_EQ(image.At(0, 0).a, 0);
        EXPECT_EQ(image.At(image.width / 2, image.height / 2).a, 255);
    }
    EXPECT_EQ(sides, (std::set<int32_t>{16, 24, 32, 48})) << "a small icon's size at 100, 150 and 200 percent";
}

TEST(Pictures, AboutLogoIsPremultipliedWithARealAlphaChannel) {
    const Image logo = AboutLogo();
    ASSERT_EQ(logo.width, kLogoSide);
    ASSERT_EQ(logo.height, kLogoSide);
    std::vector<uint8_t> bmp = EncodeBmp32Premultiplied(logo);
    ASSERT_EQ(bmp.size(), 54u + kLogoSide * kLogoSide * 4);
    EXPECT_EQ(InfoAt(bmp, 14).bitCount, 32u);
    std::set<int> alphas;
    for (size_t i = 54; i < bmp.size(); i += 4) {
        const uint8_t a = bmp[i + 3];
        alphas.insert(a);
        ASSERT_LE(bmp[i], a);
        ASSERT_LE(bmp[i + 1], a);
        ASSERT_LE(bmp[i + 2], a);
    }
    EXPECT_TRUE(alphas.count(0)) << "transparent ground";
    EXPECT_TRUE(alphas.count(255)) << "opaque table";
    EXPECT_GT(alphas.size(), 10u) << "soft edges and shadow";
}

TEST(Pictures, AboutSymbolLiesOnTheTransparentKeyColour) {
    const Image symbol = AboutSymbol();
    ASSERT_EQ(symbol.width, kSymbolSide);
    ASSERT_EQ(symbol.height, kSymbolSide);
    EXPECT_TRUE(OnlyColoursAtEdges(symbol, kSymbolKey));
    EXPECT_NE(symbol.At(kSymbolSide / 2, kSymbolSide / 2), kSymbolKey);
    EXPECT_LT(Count(symbol, kSymbolKey), symbol.pixels.size() / 2);
}

TEST(Pictures, ScrubCursorIsMonochromeWithTheFingertipAsHotSpot) {
    const Cursor cursor = ScrubCursor();
    ASSERT_EQ(cursor.image.width, kCursorSide);
    ASSERT_EQ(cursor.image.height, kCursorSide);
    EXPECT_EQ(cursor.hotX, 8);
    EXPECT_EQ(cursor.hotY, 4);
    EXPECT_EQ(cursor.image.At(8, 4), kBlack);
    for (int32_t y = 0; y < 4; ++y)
        EXPECT_EQ(cursor.image.At(8, y).a, 0) << "nothing above the tip";
    std::vector<uint8_t> cur = EncodeMonoCur(cursor);
    ASSERT_FALSE(cur.empty()) << "only black, white and transparent pixels";
    EXPECT_EQ(InfoAt(cur, 22).height, 64u);
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(ImageFiles, EveryFileIsBuiltAndNamedByTheResourceScript) {
    const std::string script = ReadText(GRIDSMITH_SOURCE_DIR "/src/resources/images.rc");
    ASSERT_FALSE(script.empty());
    std::set<std::string> names;
    for (const ResourceFile& file : BuildImageFiles()) {
        EXPECT_FALSE(file.bytes.empty()) << file.name;
        EXPECT_TRUE(names.insert(file.name).second) << file.name;
        EXPECT_NE(script.find("\"" + file.name + "\""), std::string::npos) << file.name;
    }
    EXPECT_EQ(names.size(), 17u);
}

}  // namespace
