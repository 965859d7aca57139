// The descriptor keys: one description shared by the reader, the writer and
// the terminology resource, so the three cannot drift apart.
#include "params/script_params.h"

namespace gridsmith {

using host::FourCC;
using host::typeBoolean;
using host::typeChar;
using host::typeInteger;

const ScriptKey kScriptKeys[kScriptKeyCount] = {
    {FourCC("rowS"), typeInteger, "Rows", "Row Count"},
    {FourCC("colS"), typeInteger, "Cols", "Col Count"},
    {FourCC("lefM"), typeInteger, "LeftMargin", "LeftMargin"},
    {FourCC("topM"), typeInteger, "TopMargin", "TopMargin"},
    {FourCC("tabW"), typeInteger, "TableWidth", "TableWidth"},
    {FourCC("tabH"), typeInteger, "TableHeight", "TableHeight"},
    {FourCC("gdlZ"), typeInteger, "GridLineSize", "GridLineSize"},
    {FourCC("gdlT"), typeInteger, "GridLineType", "GridLineType"},
    {FourCC("gdlC"), typeInteger, "GridLineClr", "GridLineClr"},
    {FourCC("bdlZ"), typeInteger, "BorderLineSize", "BorderLineSize"},
    {FourCC("bdlT"), typeInteger, "BorderLineType", "BorderLineType"},
    {FourCC("bbdS"), typeInteger, "BorderFlags", "BorderFlags"},
    {FourCC("filB"), typeBoolean, "boolFillBkGnd", "FillBkGnd"},
    {FourCC("docK"), typeBoolean, "DockBorder", "DockBorder"},
    {FourCC("lioP"), typeInteger, "LineOpaque", "LineOpaque"},
    {FourCC("bkoP"), typeInteger, "BackOpaque", "BackOpaque"},
    {FourCC("firC"), typeInteger, "FirstBkClr", "FirstBackColor"},
    {FourCC("bkc1"), typeInteger, "BkClr", "BackColor"},
    {FourCC("bkc2"), typeInteger, "BkClr2", "BackColor2"},
    {FourCC("rowZ"), typeChar, "RowSizes", "RowSizes"},
    {FourCC("colZ"), typeChar, "ColSizes", "ColSizes"},
};

}  // namespace gridsmith
