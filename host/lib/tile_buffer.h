// One tile handed to the plug-in: the samples of a rectangle and a plane
// range, interleaved per pixel, optionally with padding after every row that
// is filled with a sentinel so that a write into it is caught. The padding is
// whole samples, so rows stay aligned for 16- and 32-bit data. An output tile
// of whole pixels without padding is the document's own memory, as a host
// with the image in one block can hand it out: nothing is copied either way.
#pragma once

#include <cstdint>
#include <vector>

#include "host/lib/document.h"
#include "plugin/host_abi.h"

namespace gridsmith::hosting {

class TileBuffer {
public:
    // `rect` and the planes must already be checked against the document.
    // `storage` holds the samples; reusing it across tiles keeps large tiles
    // from faulting in fresh memory every time.
    // `inPlace`: may be the document's memory (for output tiles).
    TileBuffer(Document& document, const host::VRect& rect, int loPlane, int hiPlane, int32_t paddingSamples,
               std::vector<uint8_t>& storage, bool inPlace = false);

    void* Data() { return direct_ ? direct_ : bytes_.empty() ? nullptr : bytes_.data(); }
    int32_t RowBytes() const { return int32_t(rowBytes_); }
    bool PaddingIntact() const;
    void WriteBack(Document& document) const;

    static constexpr uint8_t kPaddingSentinel = 0xA5;

private:
    // Calls visit(tile offset, image offset, bytes) for every contiguous run.
    template <typename Visit>
    void ForEachRun(const Document& document, Visit visit) const;

    host::VRect rect_;
    int loPlane_;
    size_t sampleBytes_;    // bytes of the delivered planes of one pixel
    size_t dataBytes_;      // bytes of one row without padding
    size_t rowBytes_;
    std::vector<uint8_t>& bytes_;
    uint8_t* direct_ = nullptr;  // the tile's first pixel in the document, when in place
};

}  // namespace gridsmith::hosting
