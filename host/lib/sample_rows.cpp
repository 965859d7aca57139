#include "host/lib/sample_rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gridsmith::hosting {
namespace {

uint32_t FullScale(SampleKind kind) {
    switch (kind) {
    case SampleKind::Byte: return 255;
    case SampleKind::HostWord: return 32768;
    case SampleKind::FileWord: return 65535;
    default: return 1;
    }
}

// Samples are read and written through memcpy: rows need not be aligned.
template <typename T>
T Load(const uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T>
void Store(uint8_t* at, T value) {
    std::memcpy(at, &value, sizeof value);
}

uint32_t LoadInteger(const uint8_t* at, SampleKind kind) {
    return kind == SampleKind::Byte ? *at : Load<uint16_t>(at);
}

void StoreInteger(uint8_t* at, SampleKind kind, uint32_t value) {
    if (kind == SampleKind::Byte)
        *at = uint8_t(value);
    else
        Store(at, uint16_t(value));
}

void IntegersToIntegers(const uint8_t* from, SampleKind fromKind, uint8_t* to, SampleKind toKind, size_t count) {
    const uint32_t fromFull = FullScale(fromKind), toFull = FullScale(toKind);
    const size_t fromSize = SampleSize(fromKind), toSize = SampleSize(toKind);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t v = std::min(LoadInteger(from + i * fromSize, fromKind), fromFull);
        StoreInteger(to + i * toSize, toKind, (v * toFull + fromFull / 2) / fromFull);
    }
}

}  // namespace

size_t SampleSize(SampleKind kind) {
    switch (kind) {
    case SampleKind::Byte: return 1;
    case SampleKind::Float: return 4;
    default: return 2;
    }
}

SampleKind DocumentSamples(int depth) {
    return depth == 8 ? SampleKind::Byte : depth == 16 ? SampleKind::HostWord : SampleKind::Float;
}

SampleKind FileSamples(int depth) {
    return depth == 8 ? SampleKind::Byte : depth == 16 ? SampleKind::FileWord : SampleKind::Float;
}

void ConvertSamples(const uint8_t* from, SampleKind fromKind, uint8_t* to, SampleKind toKind, size_t count) {
    if (fromKind == toKind) {
        if (from != to) std::memmove(to, from, count * SampleSize(fromKind));
        return;
    }
    if (fromKind != SampleKind::Float && toKind != SampleKind::Float)
        return IntegersToIntegers(from, fromKind, to, toKind, count);
    const size_t fromSize = SampleSize(fromKind), toSize = SampleSize(toKind);
    if (toKind == SampleKind::Float) {
        const float full = float(FullScale(fromKind));
        for (size_t i = 0; i < count; ++i)
            Store(to + i * toSize, float(LoadInteger(from + i * fromSize, fromKind)) / full);
        return;
    }
    const float full = float(FullScale(toKind));
    for (size_t i = 0; i < count; ++i) {
        const float v = Load<float>(from + i * fromSize);
        const float clamped = v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;  // NaN becomes 0
        StoreInteger(to + i * toSize, toKind, uint32_t(std::lround(clamped * full)));
    }
}

void InvertPlanes(uint8_t* row, SampleKind kind, size_t pixels, int stride, int planes) {
    const size_t size = SampleSize(kind);
    const uint32_t full = FullScale(kind);
    for (size_t x = 0; x < pixels; ++x)
        for (int p = 0; p < planes; ++p) {
            uint8_t* at = row + (x * size_t(stride) + size_t(p)) * size;
            if (kind == SampleKind::Float)
                Store(at, 1.0f - Load<float>(at));
            else
                StoreInteger(at, kind, full - std::min(LoadInteger(at, kind), full));
        }
}

void ToggleSignedPlanes(uint8_t* row, SampleKind kind, size_t pixels, int stride, int first, int count) {
    const size_t size = SampleSize(kind);
    const uint32_t sign = kind == SampleKind::Byte ? 0x80 : 0x8000;
    for (size_t x = 0; x < pixels; ++x)
        for (int p = first; p < first + count; ++p) {
            uint8_t* at = row + (x * size_t(stride) + size_t(p)) * size;
            StoreInteger(at, kind, LoadInteger(at, kind) ^ sign);
        }
}

}  // namespace gridsmith::hosting
