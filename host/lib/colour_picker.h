// The host's colour services as a plug-in sees them: what a call handed the
// host, the answer, and the picker a person uses (the system's colour dialog
// on Windows; natively there is none and the person cancels).
#pragma once

#include <cstdint>
#include <string>

namespace gridsmith::hosting {

// What one call of the record's colour services handed the host.
struct ColourRequestSeen {
    int32_t infoSize = 0;
    int16_t selector = 0;
    int16_t sourceSpace = 0;
    int16_t resultSpace = 0;
    bool reservedNull = false;  // all three reserved pointers null
    int16_t components[4] = {};
    std::string prompt;         // the prompt's bytes after its length byte; empty for none
};

// A scripted colour picker's answer: a colour, or a cancel.
struct ColourAnswer {
    bool chosen = false;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

ColourAnswer PersonPicksColour(const ColourRequestSeen& request);

}  // namespace gridsmith::hosting
