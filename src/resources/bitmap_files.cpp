#include "resources/bitmap_files.h"

namespace gridsmith::resources {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kDirectoryBytes = 6;
constexpr uint32_t kDirectoryEntryBytes = 16;
constexpr uint16_t kIconType = 1;
constexpr uint16_t kCursorType = 2;

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

bool Encodable(const Image& image, int32_t maxSide) {
    return !image.Empty() && image.width > 0 && image.height > 0 &&
           image.width <= maxSide && image.height <= maxSide &&
           image.pixels.size() == size_t(image.width) * size_t(image.height);
}

// Rows are padded to whole 32-bit words.
uint32_t RowBytes(int32_t width, uint32_t bitsPerPixel) {
    return (uint32_t(width) * bitsPerPixel + 31) / 32 * 4;
}

// `height` is the stored one: icons and cursors count both masks in it.
void PutInfoHeader(std::vector<uint8_t>& out, int32_t width, int32_t height, uint16_t bitsPerPixel,
                   uint32_t imageBytes, uint32_t paletteColours) {
    Put32(out, kInfoHeaderBytes);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height));
    Put16(out, 1);  // planes
    Put16(out, bitsPerPixel);
    Put32(out, 0);  // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dots per inch, in dots per metre
    Put32(out, 2835);
    Put32(out, paletteColours);
    Put32(out, 0);
}

void PutFileHeader(std::vector<uint8_t>& out, uint32_t fileBytes, uint32_t pixelOffset) {
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileBytes);
    Put32(out, 0);
    Put32(out, pixelOffset);
}

uint8_t Premultiply(uint8_t channel, uint8_t alpha) {
    return uint8_t((uint32_t(channel) * alpha + 127) / 255);
}

// The pixel rows bottom up, as `bitsPerPixel` 24 (BGR) or 32 (BGRA).
void PutColourRows(std::vector<uint8_t>& out, const Image& image, uint32_t bitsPerPixel,
                   bool premultiplied) {
    const uint32_t padding =
        RowBytes(image.width, bitsPerPixel) - uint32_t(image.width) * bitsPerPixel / 8;
    for (int32_t y = image.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const Rgba& p = image.At(x, y);
            const uint8_t a = premultiplied ? p.a : 255;
            out.push_back(Premultiply(p.b, a));
            out.push_back(Premultiply(p.g, a));
            out.push_back(Premultiply(p.r, a));
            if (bitsPerPixel == 32) out.push_back(p.a);
        }
        out.insert(out.end(), padding, 0);
    }
}

// One-bit rows bottom up; a pixel's bit is set where `isSet` says so.
template <typename IsSet>
void PutMaskRows(std::vector<uint8_t>& out, const Image& image, IsSet isSet) {
    const uint32_t rowBytes = RowBytes(image.width, 1);
    for (int32_t y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int32_t x = 0; x < image.width; ++x)
            if (isSet(image.At(x, y))) row[size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

bool Transparent(const Rgba& p) { return p.a == 0; }

std::vector<uint8_t> EncodeBmp(const Image& image, uint16_t bitsPerPixel, bool premultiplied) {
    if (!Encodable(image, kMaxBitmapSide)) return {};
    const uint32_t imageBytes = RowBytes(image.width, bitsPerPixel) * uint32_t(image.height);
    const uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes;
    std::vector<uint8_t> out;
    out.reserve(pixelOffset + imageBytes);
    PutFileHeader(out, pixelOffset + imageBytes, pixelOffset);
    PutInfoHeader(out, image.width, image.height, bitsPerPixel, imageBytes, 0);
    PutColourRows(out, image, bitsPerPixel, premultiplied);
    return out;
}

// One ICONDIRENTRY: a cursor stores its hot spot where an icon has planes and bit count.
struct DirectoryEntry {
    int32_t width;
    int32_t height;
    uint16_t planesOrHotX;
    uint16_t bitCountOrHotY;
    uint8_t colourCount;
    uint32_t bytes;
};

// ICONDIR and its entries, the images following in entry order.
std::vector<uint8_t> Directory(uint16_t type, const std::vector<DirectoryEntry>& entries) {
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, type);
    Put16(out, uint32_t(entries.size()));
    uint32_t offset = kDirectoryBytes + kDirectoryEntryBytes * uint32_t(entries.size());
    for (const DirectoryEntry& e : entries) {
        out.push_back(uint8_t(e.width));  // 256 is stored as 0
        out.push_back(uint8_t(e.height));
        out.push_back(e.colourCount);
        out.push_back(0);
        Put16(out, e.planesOrHotX);
        Put16(out, e.bitCountOrHotY);
        Put32(out, e.bytes);
        Put32(out, offset);
        offset += e.bytes;
    }
    return out;
}

std::vector<uint8_t> IconImage(const Image& image) {
    const uint32_t colourBytes = RowBytes(image.width, 32) * uint32_t(image.height);
    const uint32_t maskBytes = RowBytes(image.width, 1) * uint32_t(image.height);
    std::vector<uint8_t> out;
    PutInfoHeader(out, image.width, image.height * 2, 32, colourBytes + maskBytes, 0);
    PutColourRows(out, image, 32, false);
    PutMaskRows(out, image, Transparent);
    return out;
}

}  // namespace

Image::Image(int32_t w, int32_t h, Rgba ground)
    : width(w > 0 && h > 0 ? w : 0),
      height(w > 0 && h > 0 ? h : 0),
      pixels(size_t(width) * size_t(height), ground) {}

std::vector<uint8_t> EncodeBmp24(const Image& image) { return EncodeBmp(image, 24, false); }

std::vector<uint8_t> EncodeBmp32Premultiplied(const Image& image) {
    return EncodeBmp(image, 32, true);
}

std::vector<uint8_t> EncodeIco(const std::vector<Image>& images) {
    if (images.empty()) return {};
    std::vector<DirectoryEntry> entries;
    std::vector<uint8_t> data;
    for (const Image& image : images) {
        if (!Encodable(image, kMaxIconSide)) return {};
        std::vector<uint8_t> bytes = IconImage(image);
        entries.push_back({image.width, image.height, 1, 32, 0, uint32_t(bytes.size())});
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    std::vector<uint8_t> out = Directory(kIconType, entries);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<uint8_t> EncodeMonoCur(const Cursor& cursor) {
    const Image& image = cursor.image;
    const bool hotSpotInside = cursor.hotX >= 0 && cursor.hotX < image.width && cursor.hotY >= 0 &&
                               cursor.hotY < image.height;
    if (!Encodable(image, kMaxIconSide) || !hotSpotInside) return {};
    for (const Rgba& p : image.pixels)
        if (!Transparent(p) && p != kBlack && p != kWhite) return {};

    // Palette entry 0 black, 1 white. AND set and XOR clear leave the screen
    // as it is; AND clear paints the XOR colour.
    const uint32_t maskBytes = RowBytes(image.width, 1) * uint32_t(image.height);
    std::vector<uint8_t> bitmap;
    PutInfoHeader(bitmap, image.width, image.height * 2, 1, 2 * maskBytes, 2);
    Put32(bitmap, 0x00000000);
    Put32(bitmap, 0x00FFFFFF);
    PutMaskRows(bitmap, image, [](const Rgba& p) { return p == kWhite; });
    PutMaskRows(bitmap, image, Transparent);

    std::vector<uint8_t> out =
        Directory(kCursorType, {{image.width, image.height, uint16_t(cursor.hotX),
                                 uint16_t(cursor.hotY), 2, uint32_t(bitmap.size())}});
    out.insert(out.end(), bitmap.begin(), bitmap.end());
    return out;
}

}  // namespace gridsmith::resources
