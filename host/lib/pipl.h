// The plug-in property list (PIPL resource) read from untrusted bytes: every
// length and offset is checked against the resource before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/lib/outcome.h"

namespace gridsmith::hosting {

struct PiplInfo {
    uint32_t kind = 0;        // 'kind' property; 0 when absent
    std::string name;         // 'name' property (menu name)
    std::string entryPoint;   // '8664' property: the x64 export name; empty when absent
};

Outcome<PiplInfo> ParsePipl(const uint8_t* bytes, size_t size);

// The export to call for a filter described by `info`, or why there is none.
Outcome<std::string> FilterEntryPoint(const PiplInfo& info);

// "8BFM" for 0x3842464D; non-printable characters become '?'.
std::string FourCCText(uint32_t code);

}  // namespace gridsmith::hosting
