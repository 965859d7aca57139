#include "plugin/record_rects.h"

#include <algorithm>

namespace gridsmith {
namespace {

host::VRect Widen(const host::Rect& r) { return {r.top, r.left, r.bottom, r.right}; }

host::Rect Narrow(const host::VRect& r) {
    return {int16_t(r.top), int16_t(r.left), int16_t(r.bottom), int16_t(r.right)};
}

}  // namespace

CoordinateWidth CoordinateWidthOf(const host::FilterRecord& record) {
    return record.bigDocumentData ? CoordinateWidth::Bits32 : CoordinateWidth::Bits16;
}

void OptInToBigDocument(host::FilterRecord& record) {
    if (record.bigDocumentData) record.bigDocumentData->PluginUsing32BitCoordinates = 1;
}

int32_t FitCoordinate(CoordinateWidth width, int64_t value) {
    if (width == CoordinateWidth::Bits16) return int16_t(uint16_t(uint64_t(value)));
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

host::VRect FilterRect(const host::FilterRecord& record) {
    return record.bigDocumentData ? record.bigDocumentData->filterRect32 : Widen(record.filterRect);
}

host::VPoint ImageSize(const host::FilterRecord& record) {
    if (record.bigDocumentData) return record.bigDocumentData->imageSize32;
    return {record.imageSize.v, record.imageSize.h};
}

host::VRect OutRect(const host::FilterRecord& record) {
    return record.bigDocumentData ? record.bigDocumentData->outRect32 : Widen(record.outRect);
}

void SetRequestRects(host::FilterRecord& record, const host::VRect& out) {
    if (host::BigDocumentStruct* big = record.bigDocumentData) {
        big->outRect32 = out;
        big->inRect32 = {};
        big->maskRect32 = {};
        return;
    }
    record.outRect = Narrow(out);
    record.inRect = {};
    record.maskRect = {};
}

}  // namespace gridsmith
