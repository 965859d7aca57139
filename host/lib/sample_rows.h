// Rows of samples in the encodings the host meets: its documents' (8-bit,
// 16-bit 0..32768, float) and image files' (8-bit, 16-bit 0..65535, float),
// and the conversions between them, one row at a time so that no file is
// ever held beside the document.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gridsmith::hosting {

enum class SampleKind {
    Byte,      // 0..255
    HostWord,  // 0..32768, the host's 16-bit range
    FileWord,  // 0..65535, 16-bit samples in files
    Float,     // 0..1 (not clamped)
};

size_t SampleSize(SampleKind kind);
SampleKind DocumentSamples(int depth);  // 8, 16 or 32
SampleKind FileSamples(int depth);

// `count` samples from one encoding to another: integers scale with
// rounding, floats clamp to 0..1 on the way to integers and pass unchanged
// between floats. `from` and `to` may be the same row when the sizes match.
void ConvertSamples(const uint8_t* from, SampleKind fromKind, uint8_t* to, SampleKind toKind, size_t count);

// Turns every sample of planes [0, planes) into full scale minus itself in
// a row of pixels with `stride` samples each (ink amounts <-> brightness).
void InvertPlanes(uint8_t* row, SampleKind kind, size_t pixels, int stride, int planes);

// Moves integer samples of planes [first, first + count) between offset
// binary (the midpoint 128 or 32768 meaning 0) and two's complement, both ways.
void ToggleSignedPlanes(uint8_t* row, SampleKind kind, size_t pixels, int stride, int first, int count);

}  // namespace gridsmith::hosting
