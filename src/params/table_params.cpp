#include "params/table_params.h"

namespace gridsmith {

void ApplyDefaultParams(TableParams& p) {
    p.Rows = 4;
    p.Cols = 3;
    p.GridLineSize = 1;
    p.GridLineType = LineSolid;
    p.BorderLineSize = 1;
    p.BorderLineType = LineSolid;
    p.FillBkGnd = 1;
    p.DockBorder = 1;
    p.LineOpaque = 255;
    p.BackOpaque = 128;
    p.LineColor = 0xD7B395;
    p.FirstBackClr = 0xBD814F;
    p.BackClr = 0xE4CCB8;
    p.BackClr2 = 0xF1E5DB;
    p.RowSizes[0] = u'\0';
    p.ColSizes[0] = u'\0';
    p.TableWidth = 420;
    p.TableHeight = 120;
    p.LeftMargin = 40;
    p.TopMargin = 20;
    p.Borders = BorderLeft | BorderTop | BorderRight | BorderBottom;
}

const ParamLimit* FirstRefusedAtStart(const TableParams& p) {
    for (const ParamLimit& limit : kParamLimits)
        if (p.*limit.Field < limit.Low) return &limit;
    return nullptr;
}

const ParamLimit* FirstRefusedParam(const TableParams& p) {
    if (const ParamLimit* below = FirstRefusedAtStart(p)) return below;
    for (const ParamLimit& limit : kParamLimits)
        if (p.*limit.Field > limit.High) return &limit;
    return nullptr;
}

}  // namespace gridsmith
