// The host's own colour conversion, answering colorServices' convert
// selector as a host without colour management would: from 8-bit RGB into
// the encodings plug-ins see (grey 0 black; CMYK inverted, 255 no ink, with
// all the black in K; Lab L 0..255 with a and b around 128, white D50).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace gridsmith::hosting {

// The colour in `space` (a colour services space number), or nothing for a
// space the host does not convert into.
std::optional<std::array<int16_t, 4>> ConvertRgb(int16_t space, uint8_t red, uint8_t green, uint8_t blue);

}  // namespace gridsmith::hosting
