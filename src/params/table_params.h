// The table's parameter block: one instance lives in the module state for as
// long as the library is loaded, and every subsystem works on that instance.
#pragma once

#include <climits>
#include <cstdint>

namespace gridsmith {

constexpr int32_t MaxTableCells = 100;     // largest row and column count
constexpr int kSizeListCapacity = 256;     // UTF-16 units, terminator included

enum LineType : int32_t {
    LineSolid = 0,
    LineDash = 1,
    LineDot = 2,
    LineDashDot = 3,
    LineDashDotDot = 4,
};

enum BorderBits : int32_t {
    BorderLeft = 1,
    BorderTop = 2,
    BorderRight = 4,
    BorderBottom = 8,
};

struct TableParams {
    int32_t Rows;
    int32_t Cols;
    int32_t GridLineSize;
    int32_t GridLineType;
    int32_t BorderLineSize;
    int32_t BorderLineType;
    int32_t FillBkGnd;
    int32_t DockBorder;
    uint8_t LineOpaque;
    uint8_t BackOpaque;
    uint32_t LineColor;     // 0x00BBGGRR
    uint32_t FirstBackClr;
    uint32_t BackClr;
    uint32_t BackClr2;
    char16_t RowSizes[kSizeListCapacity];
    char16_t ColSizes[kSizeListCapacity];
    int32_t TableWidth;
    int32_t TableHeight;
    int32_t LeftMargin;
    int32_t TopMargin;
    int32_t Borders;
};

void ApplyDefaultParams(TableParams& params);

// A count or total size that a run refuses outside Low..High: the start step
// refuses values below Low, the layout and the dialog's OK counts above High.
struct ParamLimit {
    const char* Name;  // the field's name, as parameter files spell it
    int32_t TableParams::*Field;
    int32_t Low;
    int32_t High;
};

inline constexpr ParamLimit kParamLimits[] = {
    {"Rows", &TableParams::Rows, 1, MaxTableCells},
    {"Cols", &TableParams::Cols, 1, MaxTableCells},
    {"TableWidth", &TableParams::TableWidth, 1, INT32_MAX},
    {"TableHeight", &TableParams::TableHeight, 1, INT32_MAX},
};

// The first field below its lower limit, which the start step refuses; null
// when none.
const ParamLimit* FirstRefusedAtStart(const TableParams& params);

// The first field a run would refuse, in the order the run checks them (the
// start step's lower limits, then the upper ones); null when none.
const ParamLimit* FirstRefusedParam(const TableParams& params);

// Colours are stored 0x00BBGGRR and shown RRGGBB: the same swap both ways.
constexpr uint32_t StoredToShownColour(uint32_t stored) {
    return ((stored & 0xFFu) << 16) | (stored & 0xFF00u) | ((stored >> 16) & 0xFFu);
}
constexpr uint32_t ShownToStoredColour(uint32_t shown) { return StoredToShownColour(shown); }

constexpr uint8_t RedOf(uint32_t stored) { return uint8_t(stored); }
constexpr uint8_t GreenOf(uint32_t stored) { return uint8_t(stored >> 8); }
constexpr uint8_t BlueOf(uint32_t stored) { return uint8_t(stored >> 16); }

}  // namespace gridsmith
