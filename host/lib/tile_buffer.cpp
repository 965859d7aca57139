#include "host/lib/tile_buffer.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace gridsmith::hosting {

TileBuffer::TileBuffer(Document& document, const host::VRect& rect, int loPlane, int hiPlane,
                       int32_t paddingSamples, std::vector<uint8_t>& storage, bool inPlace)
    : rect_(rect),
      loPlane_(loPlane),
      sampleBytes_(size_t(hiPlane - loPlane + 1) * size_t(document.BytesPerSample())),
      dataBytes_(sampleBytes_ * size_t(rect.right - rect.left)),
      rowBytes_(dataBytes_ + size_t(paddingSamples) * size_t(document.BytesPerSample())),
      bytes_(storage) {
    const bool area = rect.right > rect.left && rect.bottom > rect.top;
    if (inPlace && area && paddingSamples == 0 && sampleBytes_ == document.PixelBytes() &&
        document.RowBytes() <= size_t(INT32_MAX)) {
        direct_ = document.Pixel(rect.left, rect.top);
        rowBytes_ = document.RowBytes();
        return;
    }
    bytes_.resize(rowBytes_ * size_t(rect.bottom - rect.top));
    for (size_t row = 0; row < bytes_.size(); row += rowBytes_)
        std::fill(bytes_.begin() + std::ptrdiff_t(row + dataBytes_),
                  bytes_.begin() + std::ptrdiff_t(row + rowBytes_), kPaddingSentinel);
    const uint8_t* image = document.Bytes().data();
    ForEachRun(document, [&](size_t tileAt, size_t imageAt, size_t length) {
        std::memcpy(bytes_.data() + tileAt, image + imageAt, length);
    });
}

bool TileBuffer::PaddingIntact() const {
    if (direct_) return true;
    for (size_t row = 0; row < bytes_.size(); row += rowBytes_) {
        const uint8_t* padding = bytes_.data() + row + dataBytes_;
        if (!std::all_of(padding, padding + (rowBytes_ - dataBytes_),
                         [](uint8_t b) { return b == kPaddingSentinel; }))
            return false;
    }
    return true;
}

void TileBuffer::WriteBack(Document& document) const {
    if (direct_) return;
    uint8_t* image = document.Bytes().data();
    ForEachRun(document, [&](size_t tileAt, size_t imageAt, size_t length) {
        std::memcpy(image + imageAt, bytes_.data() + tileAt, length);
    });
}

template <typename Visit>
void TileBuffer::ForEachRun(const Document& document, Visit visit) const {
    const size_t planeOffset = size_t(loPlane_) * size_t(document.BytesPerSample());
    const size_t pixelBytes = document.PixelBytes();
    const size_t columns = size_t(rect_.right - rect_.left);
    // With every plane delivered, a tile row is one run of the image row.
    const bool wholePixels = sampleBytes_ == pixelBytes;
    for (int32_t y = rect_.top; y < rect_.bottom; ++y) {
        const size_t tileRow = size_t(y - rect_.top) * rowBytes_;
        const size_t imageRow = size_t(y) * document.RowBytes() + size_t(rect_.left) * pixelBytes;
        if (wholePixels) {
            visit(tileRow, imageRow, dataBytes_);
            continue;
        }
        for (size_t x = 0; x < columns; ++x)
            visit(tileRow + x * sampleBytes_, imageRow + x * pixelBytes + planeOffset, sampleBytes_);
    }
}

}  // namespace gridsmith::hosting
