// The benchmarks' table: the default table scaled up to 20 x 20 cells over
// most of a 10000 x 10000 image. bench/host_vs_imagemagick.sh passes the
// same values to gridsmith-host with --set.
#pragma once

#include "layout/layout_table.h"
#include "plugin/dialog_state.h"

namespace gridsmith::bench {

constexpr int32_t kSide = 10000;

// Plays the dialog: the big table, laid out as OK would.
inline int BigTableDialog(DialogState& state) {
    TableParams& p = state.Params;
    p.Rows = 20;
    p.Cols = 20;
    p.TableWidth = 9600;
    p.TableHeight = 9600;
    p.LeftMargin = 200;
    p.TopMargin = 200;
    p.BorderLineSize = 4;
    p.GridLineSize = 2;
    return LayoutTable(p, state.Layout(), false) ? DialogOk : DialogCancel;
}

}  // namespace gridsmith::bench
