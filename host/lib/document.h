// The image the host filters: interleaved samples of 1 to 5 planes at 8, 16
// (0..32768, the host's 16-bit range) or 32 bits (float) per sample, in the
// encodings plug-ins see: CMYK and multichannel inverted (0 is full ink), Lab
// with a and b around 128 (16384 at 16 bits).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/lib/outcome.h"

namespace gridsmith::hosting {

// Duotone has one tone plane, stored like grey; multichannel three ink
// channels and, like Photoshop's, no layers and so no alpha.
enum class ColourMode { Gray, GrayAlpha, Rgb, RgbAlpha, Cmyk, CmykAlpha, Lab, LabAlpha, Duotone, Multichannel };

int PlaneCount(ColourMode mode);
int ColourPlanes(ColourMode mode);  // the planes before the alpha plane
bool HasAlpha(ColourMode mode);
bool IsCmyk(ColourMode mode);
bool IsLab(ColourMode mode);
// "gray", "graya", "rgb", "rgba", "cmyk", "cmyka", "lab", "laba", "duotone", "multichannel"
const char* ModeName(ColourMode mode);
std::optional<ColourMode> ParseModeName(std::string_view name);
std::string ModeNames();  // all of them, for messages
// The mode a file with this many channels (1..4) is read as.
ColourMode ModeForChannels(int channels);
// The host's imageMode value for a document of this mode and depth.
int16_t HostImageMode(ColourMode mode, int depth);
// Per-plane 8-bit values of white paper in this mode.
std::vector<uint8_t> WhiteOf(ColourMode mode);

bool IsSupportedDepth(int depth);  // 8, 16 or 32
// Photoshop has no 32-bit Lab, duotone or multichannel documents (this host's
// 32-bit CMYK is its own).
bool HasDepth(ColourMode mode, int depth);

// The host's largest document side (big documents carry 32-bit coordinates).
constexpr int32_t kMaxDocumentSide = 300000;

// The most sample bytes a document may take, and where that number comes
// from, for the refusal's message. 1 GiB until a program sets what its
// machine can give.
struct DocumentMemory {
    size_t bytes = size_t(1) << 30;
    std::string source = "the host's default";
};
const DocumentMemory& DocumentMemoryLimit();
void SetDocumentMemoryLimit(DocumentMemory limit);

// Leaves new elements uninitialised: a document about to be filled or read
// into is written once, not zeroed first.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        if constexpr (sizeof...(Args) == 0)
            ::new (static_cast<void*>(at)) U;
        else
            ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

using SampleBytes = std::vector<uint8_t, UninitialisedAllocator<uint8_t>>;

// What a new document's samples hold: zeros, or whatever memory held, for
// callers that write every sample next.
enum class Samples { Zero, Unset };

class Document {
public:
    Document() = default;
    // Use Create to validate the arguments first.
    Document(int32_t width, int32_t height, ColourMode mode, int depth, Samples samples = Samples::Zero);

    static Outcome<Document> Create(int32_t width, int32_t height, ColourMode mode, int depth,
                                    Samples samples = Samples::Zero);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    ColourMode Mode() const { return mode_; }
    int Depth() const { return depth_; }
    int Planes() const { return PlaneCount(mode_); }
    int BytesPerSample() const { return depth_ / 8; }
    size_t PixelBytes() const { return size_t(Planes()) * size_t(BytesPerSample()); }
    size_t RowBytes() const { return PixelBytes() * size_t(width_); }

    uint8_t* Pixel(int32_t x, int32_t y) { return samples_.data() + Offset(x, y); }
    const uint8_t* Pixel(int32_t x, int32_t y) const { return samples_.data() + Offset(x, y); }
    uint8_t* Row(int32_t y) { return samples_.data() + size_t(y) * RowBytes(); }
    const uint8_t* Row(int32_t y) const { return samples_.data() + size_t(y) * RowBytes(); }
    SampleBytes& Bytes() { return samples_; }
    const SampleBytes& Bytes() const { return samples_; }

    // Raw sample value: 0..255, 0..32768 or the float itself.
    double Sample(int32_t x, int32_t y, int plane) const;
    void SetSample(int32_t x, int32_t y, int plane, double value);

    // Every pixel gets these 8-bit plane values, scaled to the depth.
    void Fill(const std::vector<uint8_t>& planeValues);

private:
    size_t Offset(int32_t x, int32_t y) const { return size_t(y) * RowBytes() + size_t(x) * PixelBytes(); }

    int32_t width_ = 0;
    int32_t height_ = 0;
    ColourMode mode_ = ColourMode::Rgb;
    int depth_ = 8;
    SampleBytes samples_;
};

// An 8-bit value as the host holds it at `depth` (the plug-in's own scaling).
double FromEightBit(uint8_t value, int depth);
// Lab's a or b at 16 bits: 128 is 16384 exactly.
uint16_t ChromaFromEightBit(uint8_t value);

// The same picture at another depth (values rescaled, rounded, floats clamped).
Document ConvertDepth(const Document& source, int depth);

}  // namespace gridsmith::hosting
