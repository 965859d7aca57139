#include "host/lib/request_check.h"

namespace gridsmith::hosting {
namespace {

bool Inside(const host::Rect& inner, const host::Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool IsInverted(const host::Rect& rect) { return rect.right < rect.left || rect.bottom < rect.top; }

std::string CheckRect(const char* name, const host::Rect& rect, const host::Rect& filterRect) {
    if (IsInverted(rect)) return std::string(name) + " " + RectText(rect) + " is inverted";
    if (IsEmpty(rect) || Inside(rect, filterRect)) return {};
    return std::string(name) + " " + RectText(rect) + " lies outside the filter rectangle " +
           RectText(filterRect);
}

std::string CheckPlanes(const char* name, int16_t lo, int16_t hi, int16_t planes) {
    if (lo >= 0 && lo <= hi && hi < planes) return {};
    return std::string(name) + " planes " + std::to_string(lo) + ".." + std::to_string(hi) +
           " are not within 0.." + std::to_string(planes - 1);
}

}  // namespace

bool IsEmpty(const host::Rect& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }

bool HasRequest(const host::FilterRecord& record) {
    for (const host::Rect* rect : {&record.inRect, &record.outRect, &record.maskRect})
        if (!IsEmpty(*rect) || IsInverted(*rect)) return true;
    return false;
}

std::string CheckRequests(const host::FilterRecord& record) {
    const host::Rect& filter = record.filterRect;
    for (std::string problem : {CheckRect("inRect", record.inRect, filter),
                                CheckRect("outRect", record.outRect, filter),
                                CheckRect("maskRect", record.maskRect, filter)})
        if (!problem.empty()) return problem;
    if (!IsEmpty(record.inRect)) {
        std::string problem = CheckPlanes("input", record.inLoPlane, record.inHiPlane, record.planes);
        if (!problem.empty()) return problem;
    }
    if (!IsEmpty(record.outRect))
        return CheckPlanes("output", record.outLoPlane, record.outHiPlane, record.planes);
    return {};
}

std::string RectText(const host::Rect& rect) {
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ")";
}

}  // namespace gridsmith::hosting
