#include "render/plane_values.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

namespace gridsmith {
namespace {

struct ModeLayout {
    ColourSpace space;
    int32_t colourPlanes;  // 0: every plane is a colour channel
    bool layers;           // the mode has layers, so a layer may have transparency
};

ModeLayout ModeLayoutOf(int16_t imageMode) {
    switch (imageMode) {
    case host::plugInModeGrayScale:
    case host::plugInModeGray16:
    case host::plugInModeGray32:
    case host::plugInModeDuotone:
    case host::plugInModeDuotone16: return {ColourSpace::Gray, 1, true};
    case host::plugInModeCMYKColor:
    case host::plugInModeCMYK64: return {ColourSpace::Cmyk, 4, true};
    case host::plugInModeLabColor:
    case host::plugInModeLab48: return {ColourSpace::Lab, 3, true};
    case host::plugInModeMultichannel:
    case host::plugInModeDeepMultichannel: return {ColourSpace::Multichannel, 0, false};
    default: return {ColourSpace::Rgb, 3, true};
    }
}

// The layer-plane counts say whether there is a transparency plane; nothing
// when the host left all of them 0. The output's counts come first, as the
// planes painted are the output's.
std::optional<bool> CountedTransparency(const host::FilterRecord& r) {
    const int16_t out[] = {r.outLayerPlanes, r.outTransparencyMask, r.outLayerMasks, r.outInvertedLayerMasks,
                           r.outNonLayerPlanes};
    const int16_t in[] = {r.inLayerPlanes, r.inTransparencyMask, r.inLayerMasks, r.inInvertedLayerMasks,
                          r.inNonLayerPlanes};
    const auto filled = [](const int16_t(&counts)[5]) {
        return std::any_of(std::begin(counts), std::end(counts), [](int16_t n) { return n != 0; });
    };
    if (filled(out)) return out[1] > 0;
    if (filled(in)) return in[1] > 0;
    return std::nullopt;
}

uint8_t Clamp8(long value) { return uint8_t(std::clamp(value, 0L, 255L)); }

uint8_t GrayOf(uint32_t colour) {
    return uint8_t((299 * RedOf(colour) + 587 * GreenOf(colour) + 114 * BlueOf(colour) + 500) / 1000);
}

// Full black generation: the black plate takes the darkness, the three inks
// what is left of the colour, each rounded to the nearest; stored inverted.
SpaceColour CmykOf(uint32_t colour) {
    const uint32_t rgb[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    const uint32_t x = std::max({rgb[0], rgb[1], rgb[2]});
    if (x == 0) return {{255, 255, 255, 0}};
    SpaceColour cmyk{{0, 0, 0, uint8_t(x)}};
    for (int k = 0; k < 3; ++k) cmyk.c[k] = uint8_t(255 - (510 * (x - rgb[k]) + x) / (2 * x));
    return cmyk;
}

// The sRGB transfer function undone.
double Linear(uint8_t value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double LabF(double t) {
    constexpr double kDelta = 6.0 / 29.0;
    return t > kDelta * kDelta * kDelta ? std::cbrt(t) : t / (3 * kDelta * kDelta) + 4.0 / 29.0;
}

// sRGB to XYZ (D65 primaries), Bradford-adapted to D50, to CIE L*a*b*.
SpaceColour LabOf(uint32_t colour) {
    const double r = Linear(RedOf(colour)), g = Linear(GreenOf(colour)), b = Linear(BlueOf(colour));
    const double x65 = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
    const double y65 = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z65 = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
    const double x = 1.0478112 * x65 + 0.0228866 * y65 - 0.0501270 * z65;
    const double y = 0.0295424 * x65 + 0.9904844 * y65 - 0.0170491 * z65;
    const double z = -0.0092345 * x65 + 0.0150436 * y65 + 0.7521316 * z65;
    const double fx = LabF(x / 0.96422), fy = LabF(y), fz = LabF(z / 0.82521);
    const double lightness = 116 * fy - 16, a = 500 * (fx - fy), bb = 200 * (fy - fz);
    return {{Clamp8(std::lround(lightness * 255 / 100)), Clamp8(std::lround(a) + 128),
             Clamp8(std::lround(bb) + 128), 0}};
}

// The host's colour space for a document space; none where the colour needs
// no conversion (RGB) or the host has no space for it (multichannel).
std::optional<int16_t> HostSpaceOf(ColourSpace space) {
    switch (space) {
    case ColourSpace::Gray: return host::plugIncolorServicesGraySpace;
    case ColourSpace::Cmyk: return host::plugIncolorServicesCMYKSpace;
    case ColourSpace::Lab: return host::plugIncolorServicesLabSpace;
    default: return std::nullopt;
    }
}

std::optional<SpaceColour> HostColour(ColourServices services, int16_t space, uint32_t colour) {
    host::ColorServicesInfo info{};
    info.infoSize = int32_t(sizeof info);
    info.selector = host::plugIncolorServicesConvertColor;
    info.sourceSpace = host::plugIncolorServicesRGBSpace;
    info.resultSpace = space;
    info.colorComponents[0] = RedOf(colour);
    info.colorComponents[1] = GreenOf(colour);
    info.colorComponents[2] = BlueOf(colour);
    if (services(&info) != host::noErr) return std::nullopt;
    SpaceColour converted{};
    for (int k = 0; k < 4; ++k) converted.c[k] = Clamp8(info.colorComponents[k]);
    return converted;
}

// 255 is full scale: 32768 at 16 bits.
uint16_t Wide(uint8_t v) { return uint16_t((uint32_t(v) * 257 + 1) / 2); }

// Lab's a and b keep their neutral exact: 128 is 16384, the 16-bit midpoint.
uint16_t WideChroma(uint8_t v) { return uint16_t(16384 + 128 * (int32_t(v) - 128)); }

// Each distinct colour of a run (it has four) converted once.
class ColourCache {
public:
    ColourCache(ColourSpace space, ColourServices services) : space_(space), services_(services) {}

    SpaceColour Get(uint32_t colour) {
        colour &= 0xFFFFFFu;  // the top byte is no part of a colour
        for (int i = 0; i < count_; ++i)
            if (colours_[i] == colour) return converted_[i];
        const SpaceColour converted = DocumentColour(space_, colour, services_);
        if (count_ < kCapacity) {
            colours_[count_] = colour;
            converted_[count_++] = converted;
        }
        return converted;
    }

private:
    static constexpr int kCapacity = 4;
    ColourSpace space_;
    ColourServices services_;
    int count_ = 0;
    uint32_t colours_[kCapacity] = {};
    SpaceColour converted_[kCapacity] = {};
};

}  // namespace

PlaneLayout PlaneLayoutOf(const host::FilterRecord& record) {
    const ModeLayout mode = ModeLayoutOf(record.imageMode);
    const int32_t planes = std::clamp<int32_t>(record.planes, 0, kMaxPaintedPlanes);
    const int32_t modePlanes = mode.colourPlanes > 0 ? mode.colourPlanes : planes;
    PlaneLayout layout{mode.space, std::min(modePlanes, planes), false};
    if (mode.layers && modePlanes < planes) {
        const std::optional<bool> counted = CountedTransparency(record);
        layout.transparency = counted ? *counted : planes == modePlanes + 1;
    }
    return layout;
}

SpaceColour BuiltInColour(ColourSpace space, uint32_t colour) {
    switch (space) {
    case ColourSpace::Gray:
    case ColourSpace::Multichannel: return {{GrayOf(colour), 0, 0, 0}};
    case ColourSpace::Cmyk: return CmykOf(colour);
    case ColourSpace::Lab: return LabOf(colour);
    default: return {{RedOf(colour), GreenOf(colour), BlueOf(colour), 0}};
    }
}

SpaceColour DocumentColour(ColourSpace space, uint32_t colour, ColourServices services) {
    const std::optional<int16_t> hostSpace = HostSpaceOf(space);
    if (services && hostSpace)
        if (const std::optional<SpaceColour> converted = HostColour(services, *hostSpace, colour))
            return *converted;
    return BuiltInColour(space, colour);
}

PixelVector MakePixelVector(const PlaneLayout& layout, const SpaceColour& colour, uint8_t opacity) {
    PixelVector pixel{};
    const bool linear = layout.space == ColourSpace::Rgb || layout.space == ColourSpace::Gray;
    const int32_t colourPlanes = std::clamp(layout.colourPlanes, int32_t(0), kMaxPaintedPlanes);
    for (int32_t k = 0; k < colourPlanes; ++k) {
        const uint8_t v = layout.space == ColourSpace::Multichannel ? colour.c[0] : colour.c[std::min(k, 3)];
        pixel.v8[k] = v;
        pixel.v16[k] = layout.space == ColourSpace::Lab && k > 0 ? WideChroma(v) : Wide(v);
        pixel.v32[k] = linear ? float(Linear(v)) : float(v) / 255.0f;
    }
    pixel.planes = colourPlanes;
    if (layout.transparency && colourPlanes < kMaxPaintedPlanes) {
        pixel.v8[colourPlanes] = opacity;
        pixel.v16[colourPlanes] = Wide(opacity);
        pixel.v32[colourPlanes] = float(opacity) / 255.0f;
        ++pixel.planes;
    }
    return pixel;
}

PixelVector MakePixelVector(uint32_t colour, uint8_t opacity) {
    return MakePixelVector({ColourSpace::Rgb, 3, true}, BuiltInColour(ColourSpace::Rgb, colour), opacity);
}

RunPixels MakeRunPixels(const host::FilterRecord& record, const TableParams& params) {
    const PlaneLayout layout = PlaneLayoutOf(record);
    ColourCache colours(layout.space, record.colorServices);
    RunPixels pixels;
    pixels.Line = MakePixelVector(layout, colours.Get(params.LineColor), params.LineOpaque);
    // Row colours are asked for only when rows are filled.
    if (params.FillBkGnd) {
        pixels.FirstRow = MakePixelVector(layout, colours.Get(params.FirstBackClr), params.BackOpaque);
        pixels.OddRows = MakePixelVector(layout, colours.Get(params.BackClr), params.BackOpaque);
        pixels.EvenRows = MakePixelVector(layout, colours.Get(params.BackClr2), params.BackOpaque);
    }
    pixels.Ready = true;
    return pixels;
}

const PixelVector& PixelOf(const RunPixels& pixels, RunColour colour) {
    switch (colour) {
    case RunColour::FirstRow: return pixels.FirstRow;
    case RunColour::OddRows: return pixels.OddRows;
    case RunColour::EvenRows: return pixels.EvenRows;
    default: return pixels.Line;
    }
}

}  // namespace gridsmith
