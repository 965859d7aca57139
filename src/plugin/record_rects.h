// The host record's rectangles in 32-bit coordinates, whichever fields carry
// them: the big-document ones when the host offers bigDocumentData (the
// plug-in opts in on every call), else the signed 16-bit ones.
#pragma once

#include <cstdint>

#include "plugin/host_abi.h"

namespace gridsmith {

enum class CoordinateWidth : int32_t { Bits16, Bits32 };

CoordinateWidth CoordinateWidthOf(const host::FilterRecord& record);

// Tells a host that offers big documents that the 32-bit fields are used.
void OptInToBigDocument(host::FilterRecord& record);

// A coordinate computed in 64 bits as the record can carry it: the 16-bit
// fields wrap (modulo 65536, all such a host can address), 32-bit ones
// saturate at the ends of the int32 range.
int32_t FitCoordinate(CoordinateWidth width, int64_t value);

// filterRect32 / imageSize32 with big documents, else filterRect / imageSize.
host::VRect FilterRect(const host::FilterRecord& record);
host::VPoint ImageSize(const host::FilterRecord& record);

// The output tile the host delivered (outRect32 or outRect).
host::VRect OutRect(const host::FilterRecord& record);

// Asks for `out` as the output tile with no input and no mask. With 16-bit
// fields `out` must already fit them.
void SetRequestRects(host::FilterRecord& record, const host::VRect& out);

}  // namespace gridsmith
