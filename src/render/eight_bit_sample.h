// The one rule that turns a document sample into the 8 bits a preview shows:
// 16-bit 0..32768 and float 0..1 scaled to 0..255 with rounding, values out
// of range (NaN too) clamped. The host's channel ports read the picture with
// it, and the plug-in its sampled input and the preview's effect, so that a
// painted value shows as the picture of the painted document would.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace gridsmith {

inline uint8_t EightBitFrom16(uint16_t v) {
    return uint8_t((uint32_t(std::min<uint16_t>(v, 32768)) * 255 + 16384) >> 15);
}

inline uint8_t EightBitFrom32(float v) {
    if (!(v > 0)) return 0;
    if (v >= 1) return 255;
    return uint8_t(std::floor(double(v) * 255.0 + 0.5));
}

// A sample of `depth` bits (8, 16 or 32) at `sample`, in the machine's order.
inline uint8_t EightBitSample(const uint8_t* sample, int32_t depth) {
    if (depth == 16) {
        uint16_t v;
        std::memcpy(&v, sample, sizeof v);
        return EightBitFrom16(v);
    }
    if (depth == 32) {
        float v;
        std::memcpy(&v, sample, sizeof v);
        return EightBitFrom32(v);
    }
    return *sample;
}

}  // namespace gridsmith
