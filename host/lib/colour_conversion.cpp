#include "host/lib/colour_conversion.h"

#include <algorithm>
#include <cmath>

#include "plugin/host_abi.h"

namespace gridsmith::hosting {
namespace {

int16_t Round255(double v) { return int16_t(std::clamp(std::lround(v), 0L, 255L)); }

double SrgbToLinear(uint8_t v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::array<int16_t, 4> ToCmyk(const double (&rgb)[3]) {
    const double most = std::max({rgb[0], rgb[1], rgb[2]});
    if (most == 0) return {255, 255, 255, 0};
    std::array<int16_t, 4> stored{0, 0, 0, Round255(most)};
    for (int k = 0; k < 3; ++k) stored[size_t(k)] = int16_t(255 - Round255(255.0 * (most - rgb[k]) / most));
    return stored;
}

// sRGB straight to XYZ relative to D50 (its primaries Bradford-adapted), then CIELAB.
std::array<int16_t, 4> ToLab(uint8_t red, uint8_t green, uint8_t blue) {
    const double r = SrgbToLinear(red), g = SrgbToLinear(green), b = SrgbToLinear(blue);
    const double xyz[3] = {(0.4360747 * r + 0.3850649 * g + 0.1430804 * b) / 0.96422,
                           0.2225045 * r + 0.7168786 * g + 0.0606169 * b,
                           (0.0139322 * r + 0.0971045 * g + 0.7141733 * b) / 0.82521};
    double f[3];
    for (int k = 0; k < 3; ++k)
        f[k] = xyz[k] > 216.0 / 24389.0 ? std::cbrt(xyz[k]) : (24389.0 / 27.0 * xyz[k] + 16) / 116;
    return {Round255((116 * f[1] - 16) * 2.55), Round255(std::round(500 * (f[0] - f[1])) + 128),
            Round255(std::round(200 * (f[1] - f[2])) + 128), 0};
}

}  // namespace

std::optional<std::array<int16_t, 4>> ConvertRgb(int16_t space, uint8_t red, uint8_t green, uint8_t blue) {
    const double rgb[3] = {double(red), double(green), double(blue)};
    switch (space) {
    case host::plugIncolorServicesRGBSpace: return std::array<int16_t, 4>{red, green, blue, 0};
    case host::plugIncolorServicesGraySpace: return std::array<int16_t, 4>{Round255(0.299 * red + 0.587 * green + 0.114 * blue), 0, 0, 0};
    case host::plugIncolorServicesCMYKSpace: return ToCmyk(rgb);
    case host::plugIncolorServicesLabSpace: return ToLab(red, green, blue);
    default: return std::nullopt;
    }
}

}  // namespace gridsmith::hosting
