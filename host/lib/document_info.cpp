#include "host/lib/document_info.h"

#include <algorithm>

namespace gridsmith::hosting {
namespace {

constexpr int16_t ctRed = 1, ctGreen = 2, ctBlue = 3, ctCyan = 4, ctMagenta = 5, ctYellow = 6,
                  ctBlack = 7, ctL = 8, ctA = 9, ctB = 10, ctDuotone = 11, ctTransparency = 16,
                  ctSpotColor = 20;
// The host's own tiles are no larger than this.
constexpr int32_t kHostTile = 1024;

struct ChannelKind {
    int16_t type;
    const char* name;
};

ChannelKind ColourChannel(ColourMode mode, int plane) {
    static constexpr ChannelKind kRgb[] = {{ctRed, "Red"}, {ctGreen, "Green"}, {ctBlue, "Blue"}};
    static constexpr ChannelKind kCmyk[] = {
        {ctCyan, "Cyan"}, {ctMagenta, "Magenta"}, {ctYellow, "Yellow"}, {ctBlack, "Black"}};
    static constexpr ChannelKind kLab[] = {{ctL, "Lightness"}, {ctA, "a"}, {ctB, "b"}};
    // Multichannel's channels are ink channels of their own.
    static constexpr ChannelKind kInks[] = {{ctSpotColor, "Cyan"}, {ctSpotColor, "Magenta"}, {ctSpotColor, "Yellow"}};
    switch (mode) {
    case ColourMode::Gray:
    case ColourMode::GrayAlpha: return {ctBlack, "Gray"};
    case ColourMode::Rgb:
    case ColourMode::RgbAlpha: return kRgb[plane];
    case ColourMode::Lab:
    case ColourMode::LabAlpha: return kLab[plane];
    case ColourMode::Duotone: return {ctDuotone, "Duotone"};
    case ColourMode::Multichannel: return kInks[plane];
    default: return kCmyk[plane];
    }
}

}  // namespace

DocumentInfo::DocumentInfo(const Document& document, ChannelPorts& ports) {
    const host::VRect bounds{0, 0, document.Height(), document.Width()};
    desc_.imageMode = HostImageMode(document.Mode(), document.Depth());
    desc_.depth = document.Depth();
    desc_.bounds = bounds;
    desc_.hResolution = desc_.vResolution = 72 << 16;

    const bool alpha = HasAlpha(document.Mode());
    const int colourPlanes = ColourPlanes(document.Mode());
    channels_.resize(size_t(document.Planes()));
    for (int plane = 0; plane < document.Planes(); ++plane) {
        host::ReadChannelDesc& c = channels_[size_t(plane)];
        const ChannelKind kind =
            plane < colourPlanes ? ColourChannel(document.Mode(), plane) : ChannelKind{ctTransparency, "Transparency"};
        c.port = ports.Port(plane);
        c.bounds = bounds;
        c.depth = document.Depth();
        c.tileSize = {std::min(document.Height(), kHostTile), std::min(document.Width(), kHostTile)};
        c.target = c.shown = 1;
        c.channelType = kind.type;
        c.name = kind.name;
    }
    // Pointers into the vector are taken only once it has its final size.
    for (int plane = 0; plane + 1 < colourPlanes; ++plane)
        channels_[size_t(plane)].next = &channels_[size_t(plane) + 1];
    desc_.mergedCompositeChannels = desc_.targetCompositeChannels = &channels_[0];
    if (alpha) desc_.mergedTransparency = desc_.targetTransparency = &channels_[size_t(colourPlanes)];
}

}  // namespace gridsmith::hosting
