// What the host accepts from the plug-in between calls: every requested
// rectangle inside the filter rectangle, every plane range inside the image.
// Requests are read from the big-document fields when the plug-in has opted
// in to them, else from the signed 16-bit ones.
#pragma once

#include <string>

#include "plugin/host_abi.h"

namespace gridsmith::hosting {

// The plug-in uses 32-bit coordinates: offered and opted in.
bool UsesBigDocument(const host::FilterRecord& record);

// The record's requests in 32-bit coordinates.
struct Requests {
    host::VRect filterRect, inRect, outRect, maskRect;
    int16_t inLoPlane, inHiPlane, outLoPlane, outHiPlane, planes;
};
Requests ReadRequests(const host::FilterRecord& record);

// A rectangle with no area asks for nothing.
bool IsEmpty(const host::VRect& rect);
// Any rectangle with an area, or an inverted one (which CheckRequests refuses).
bool HasRequest(const Requests& requests);

// Empty when the requests can be served, else what is wrong.
std::string CheckRequests(const Requests& requests);

std::string RectText(const host::VRect& rect);  // "(left,top)-(right,bottom)"

}  // namespace gridsmith::hosting
