#include "host/lib/document.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

#include "host/lib/sample_rows.h"
#include "plugin/host_abi.h"

namespace gridsmith::hosting {
namespace {

struct ModeInfo {
    ColourMode mode;
    const char* name;
    int planes;
    bool alpha;
    int16_t imageModes[3];  // at 8, 16 and 32 bits; -1 where the mode has no such depth
};

// The host has no 32-bit CMYK mode: such documents report the deepest CMYK one.
constexpr ModeInfo kModes[] = {
    {ColourMode::Gray, "gray", 1, false, {host::plugInModeGrayScale, host::plugInModeGray16, host::plugInModeGray32}},
    {ColourMode::GrayAlpha, "graya", 2, true, {host::plugInModeGrayScale, host::plugInModeGray16, host::plugInModeGray32}},
    {ColourMode::Rgb, "rgb", 3, false, {host::plugInModeRGBColor, host::plugInModeRGB48, host::plugInModeRGB96}},
    {ColourMode::RgbAlpha, "rgba", 4, true, {host::plugInModeRGBColor, host::plugInModeRGB48, host::plugInModeRGB96}},
    {ColourMode::Cmyk, "cmyk", 4, false, {host::plugInModeCMYKColor, host::plugInModeCMYK64, host::plugInModeCMYK64}},
    {ColourMode::CmykAlpha, "cmyka", 5, true, {host::plugInModeCMYKColor, host::plugInModeCMYK64, host::plugInModeCMYK64}},
    {ColourMode::Lab, "lab", 3, false, {host::plugInModeLabColor, host::plugInModeLab48, -1}},
    {ColourMode::LabAlpha, "laba", 4, true, {host::plugInModeLabColor, host::plugInModeLab48, -1}},
    {ColourMode::Duotone, "duotone", 1, false, {host::plugInModeDuotone, host::plugInModeDuotone16, -1}},
    {ColourMode::Multichannel, "multichannel", 3, false, {host::plugInModeMultichannel, host::plugInModeDeepMultichannel, -1}},
};

const ModeInfo& Info(ColourMode mode) { return kModes[static_cast<int>(mode)]; }

int DepthColumn(int depth) { return depth == 8 ? 0 : depth == 16 ? 1 : 2; }

}  // namespace

int PlaneCount(ColourMode mode) { return Info(mode).planes; }
int ColourPlanes(ColourMode mode) { return Info(mode).planes - (Info(mode).alpha ? 1 : 0); }
bool HasAlpha(ColourMode mode) { return Info(mode).alpha; }
bool IsCmyk(ColourMode mode) { return mode == ColourMode::Cmyk || mode == ColourMode::CmykAlpha; }
bool IsLab(ColourMode mode) { return mode == ColourMode::Lab || mode == ColourMode::LabAlpha; }
const char* ModeName(ColourMode mode) { return Info(mode).name; }

std::optional<ColourMode> ParseModeName(std::string_view name) {
    for (const ModeInfo& info : kModes)
        if (name == info.name) return info.mode;
    return std::nullopt;
}

std::string ModeNames() {
    std::string names;
    for (const ModeInfo& info : kModes) names += std::string(names.empty() ? "" : ", ") + info.name;
    return names;
}

ColourMode ModeForChannels(int channels) {
    switch (channels) {
    case 1: return ColourMode::Gray;
    case 2: return ColourMode::GrayAlpha;
    case 4: return ColourMode::RgbAlpha;
    default: return ColourMode::Rgb;
    }
}

int16_t HostImageMode(ColourMode mode, int depth) { return Info(mode).imageModes[DepthColumn(depth)]; }

std::vector<uint8_t> WhiteOf(ColourMode mode) {
    std::vector<uint8_t> white(size_t(PlaneCount(mode)), 255);
    if (IsLab(mode)) white[1] = white[2] = 128;
    return white;
}

bool IsSupportedDepth(int depth) { return depth == 8 || depth == 16 || depth == 32; }

namespace {

DocumentMemory g_memoryLimit;

// A need rounded up and a limit rounded down, so a need just over its limit
// never reads as equal to it.
std::string MiB(size_t bytes, bool roundUp) {
    const size_t mib = (bytes + (roundUp ? (size_t(1) << 20) - 1 : 0)) >> 20;
    return std::to_string(mib) + " MiB";
}

}  // namespace

const DocumentMemory& DocumentMemoryLimit() { return g_memoryLimit; }

void SetDocumentMemoryLimit(DocumentMemory limit) { g_memoryLimit = std::move(limit); }

bool HasDepth(ColourMode mode, int depth) { return IsSupportedDepth(depth) && HostImageMode(mode, depth) >= 0; }

Document::Document(int32_t width, int32_t height, ColourMode mode, int depth, Samples samples)
    : width_(width), height_(height), mode_(mode), depth_(depth), samples_(RowBytes() * size_t(height)) {
    if (samples == Samples::Zero) std::memset(samples_.data(), 0, samples_.size());
}

Outcome<Document> Document::Create(int32_t width, int32_t height, ColourMode mode, int depth, Samples samples) {
    if (width < 1 || height < 1 || width > kMaxDocumentSide || height > kMaxDocumentSide)
        return Outcome<Document>::Failure("image size " + std::to_string(width) + "x" +
                                          std::to_string(height) + " is outside 1..." +
                                          std::to_string(kMaxDocumentSide) + " per side");
    if (!IsSupportedDepth(depth))
        return Outcome<Document>::Failure("depth " + std::to_string(depth) +
                                          " is not 8, 16 or 32 bits");
    if (!HasDepth(mode, depth))
        return Outcome<Document>::Failure(std::string("a ") + ModeName(mode) + " image is 8 or 16 bits, not " +
                                          std::to_string(depth));
    const size_t bytes = size_t(width) * size_t(height) * size_t(PlaneCount(mode)) * size_t(depth / 8);
    const DocumentMemory& limit = DocumentMemoryLimit();
    if (bytes > limit.bytes)
        return Outcome<Document>::Failure("image size " + std::to_string(width) + "x" + std::to_string(height) +
                                          " (" + ModeName(mode) + ", " + std::to_string(depth) + "-bit) needs " +
                                          MiB(bytes, true) + "; there are " + MiB(limit.bytes, false) + " for it (" +
                                          limit.source + ")");
    try {
        return Outcome<Document>::Success(Document(width, height, mode, depth, samples));
    } catch (const std::bad_alloc&) {  // within the limit, but more than the system gives
        return Outcome<Document>::Failure("image size " + std::to_string(width) + "x" + std::to_string(height) +
                                          " needs " + MiB(bytes, true) + "; the system did not give them");
    }
}

double Document::Sample(int32_t x, int32_t y, int plane) const {
    const uint8_t* at = Pixel(x, y) + size_t(plane) * size_t(BytesPerSample());
    switch (depth_) {
    case 8: return *at;
    case 16: {
        uint16_t v;
        std::memcpy(&v, at, sizeof v);
        return v;
    }
    default: {
        float v;
        std::memcpy(&v, at, sizeof v);
        return v;
    }
    }
}

void Document::SetSample(int32_t x, int32_t y, int plane, double value) {
    uint8_t* at = Pixel(x, y) + size_t(plane) * size_t(BytesPerSample());
    switch (depth_) {
    case 8: *at = uint8_t(value); break;
    case 16: {
        const uint16_t v = uint16_t(value);
        std::memcpy(at, &v, sizeof v);
        break;
    }
    default: {
        const float v = float(value);
        std::memcpy(at, &v, sizeof v);
        break;
    }
    }
}

void Document::Fill(const std::vector<uint8_t>& planeValues) {
    if (samples_.empty()) return;
    // Encode one pixel, repeat it along the first row, then copy that row.
    Document one(1, 1, mode_, depth_);
    for (int p = 0; p < Planes() && p < int(planeValues.size()); ++p) {
        const uint8_t v = planeValues[size_t(p)];
        const bool chroma = IsLab(mode_) && (p == 1 || p == 2) && depth_ == 16;
        one.SetSample(0, 0, p, chroma ? ChromaFromEightBit(v) : FromEightBit(v, depth_));
    }
    const size_t step = PixelBytes();
    for (size_t at = 0; at < RowBytes(); at += step) std::memcpy(samples_.data() + at, one.Bytes().data(), step);
    for (int32_t y = 1; y < height_; ++y) std::memcpy(Row(y), Row(0), RowBytes());
}

double FromEightBit(uint8_t value, int depth) {
    switch (depth) {
    case 8: return value;
    case 16: return (value * 257 + 1) / 2;  // 255 -> 32768, like the plug-in
    default: return double(float(value) / 255.0f);
    }
}

uint16_t ChromaFromEightBit(uint8_t value) { return uint16_t(16384 + 128 * (int(value) - 128)); }

namespace {

// Lab's a and b between 8 and 16 bits, neutral kept exact (only these depths exist).
void ConvertChroma(const Document& source, Document& result, int32_t y) {
    for (int32_t x = 0; x < source.Width(); ++x)
        for (int p = 1; p <= 2; ++p) {
            const double v = source.Sample(x, y, p);
            result.SetSample(x, y, p,
                             source.Depth() == 8 ? ChromaFromEightBit(uint8_t(v))
                                                 : std::clamp(std::round((v - 16384) / 128) + 128, 0.0, 255.0));
        }
}

}  // namespace

Document ConvertDepth(const Document& source, int depth) {
    if (source.Depth() == depth) return source;
    Document result(source.Width(), source.Height(), source.Mode(), depth, Samples::Unset);
    const size_t samples = size_t(source.Width()) * size_t(source.Planes());
    for (int32_t y = 0; y < source.Height(); ++y) {
        ConvertSamples(source.Row(y), DocumentSamples(source.Depth()), result.Row(y), DocumentSamples(depth), samples);
        if (IsLab(source.Mode())) ConvertChroma(source, result, y);
    }
    return result;
}

}  // namespace gridsmith::hosting
