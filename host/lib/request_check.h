// What the host accepts from the plug-in between calls: every requested
// rectangle inside the filter rectangle, every plane range inside the image.
#pragma once

#include <string>

#include "plugin/host_abi.h"

namespace gridsmith::hosting {

// A rectangle with no area asks for nothing.
bool IsEmpty(const host::Rect& rect);
// Any rectangle with an area, or an inverted one (which CheckRequests refuses).
bool HasRequest(const host::FilterRecord& record);

// Empty when the record's requests can be served, else what is wrong.
std::string CheckRequests(const host::FilterRecord& record);

std::string RectText(const host::Rect& rect);  // "(left,top)-(right,bottom)"

}  // namespace gridsmith::hosting
