// Small pixel images and the BMP, ICO and CUR file bytes the resource
// compiler takes for BITMAP, ICON and CURSOR resources. Portable: the fields
// are written little-endian by hand, in the layout the platform reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gridsmith::resources {

// Straight (not premultiplied) alpha; 0 is transparent, 255 opaque.
struct Rgba {
    uint8_t r, g, b, a;
};

inline bool operator==(const Rgba& x, const Rgba& y) {
    return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
}
inline bool operator!=(const Rgba& x, const Rgba& y) { return !(x == y); }

constexpr Rgba kTransparent{0, 0, 0, 0};
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kWhite{255, 255, 255, 255};

// Rows top down, `width` pixels each. An empty image has no pixels.
struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Rgba> pixels;

    Image() = default;
    Image(int32_t w, int32_t h, Rgba ground);
    bool Empty() const { return pixels.empty(); }
    Rgba& At(int32_t x, int32_t y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const Rgba& At(int32_t x, int32_t y) const {
        return pixels[size_t(y) * size_t(width) + size_t(x)];
    }
};

// A monochrome cursor: each pixel black, white or transparent (alpha 0).
struct Cursor {
    Image image;
    int32_t hotX = 0;
    int32_t hotY = 0;
};

// Largest sides the encoders accept; ICO and CUR directories store sides in a byte.
constexpr int32_t kMaxBitmapSide = 4096;
constexpr int32_t kMaxIconSide = 256;

// Each encoder returns no bytes for an empty image or one larger than its
// largest side, so a bad picture cannot reach the module.

// BITMAPFILEHEADER, BITMAPINFOHEADER, 24-bit BI_RGB rows bottom up; alpha dropped.
std::vector<uint8_t> EncodeBmp24(const Image& image);

// 32-bit BI_RGB with premultiplied BGRA, the form AlphaBlend's per-pixel alpha needs.
std::vector<uint8_t> EncodeBmp32Premultiplied(const Image& image);

// An icon with one 32-bit image per entry (straight BGRA) and an AND mask
// that is set where alpha is 0, for displays that ignore the alpha channel.
std::vector<uint8_t> EncodeIco(const std::vector<Image>& images);

// A one-bit cursor file: XOR and AND masks. Pixels neither black, white nor
// transparent, or a hot spot outside the image, give no bytes.
std::vector<uint8_t> EncodeMonoCur(const Cursor& cursor);

}  // namespace gridsmith::resources
