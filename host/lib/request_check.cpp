#include "host/lib/request_check.h"

namespace gridsmith::hosting {
namespace {

host::VRect Widen(const host::Rect& r) { return {r.top, r.left, r.bottom, r.right}; }

bool Inside(const host::VRect& inner, const host::VRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool IsInverted(const host::VRect& rect) { return rect.right < rect.left || rect.bottom < rect.top; }

std::string CheckRect(const char* name, const host::VRect& rect, const host::VRect& filterRect) {
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

bool UsesBigDocument(const host::FilterRecord& record) {
    return record.bigDocumentData && record.bigDocumentData->PluginUsing32BitCoordinates;
}

Requests ReadRequests(const host::FilterRecord& r) {
    Requests q{Widen(r.filterRect), Widen(r.inRect), Widen(r.outRect), Widen(r.maskRect),
               r.inLoPlane, r.inHiPlane, r.outLoPlane, r.outHiPlane, r.planes};
    if (UsesBigDocument(r)) {
        const host::BigDocumentStruct& big = *r.bigDocumentData;
        q.filterRect = big.filterRect32;
        q.inRect = big.inRect32;
        q.outRect = big.outRect32;
        q.maskRect = big.maskRect32;
    }
    return q;
}

bool IsEmpty(const host::VRect& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }

bool HasRequest(const Requests& q) {
    for (const host::VRect* rect : {&q.inRect, &q.outRect, &q.maskRect})
        if (!IsEmpty(*rect) || IsInverted(*rect)) return true;
    return false;
}

std::string CheckRequests(const Requests& q) {
    for (std::string problem : {CheckRect("inRect", q.inRect, q.filterRect),
                                CheckRect("outRect", q.outRect, q.filterRect),
                                CheckRect("maskRect", q.maskRect, q.filterRect)})
        if (!problem.empty()) return problem;
    if (!IsEmpty(q.inRect)) {
        std::string problem = CheckPlanes("input", q.inLoPlane, q.inHiPlane, q.planes);
        if (!problem.empty()) return problem;
    }
    if (!IsEmpty(q.outRect)) return CheckPlanes("output", q.outLoPlane, q.outHiPlane, q.planes);
    return {};
}

std::string RectText(const host::VRect& rect) {
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ")";
}

}  // namespace gridsmith::hosting
