#include "ui/context_help.h"

#include "plugin/dialog_state.h"
#include "ui/dialog_ids.h"

namespace gridsmith::ui {
namespace {

struct HelpEntry {
    int control;
    int string;
};

constexpr HelpEntry kContextHelpTable[] = {
    {IDC_ROW_SIZES, 16995},         {IDC_COL_SIZES, 16995},        {IDC_TABLE_WIDTH, 16996},
    {IDC_TABLE_HEIGHT, 16996},      {IDC_LEFT_MARGIN, 16997},      {IDC_TOP_MARGIN, 16997},
    {IDC_CENTER_TABLE, 16998},      {IDC_BORDER_LINE_SIZE, 16999}, {IDC_GRID_LINE_SIZE, 17000},
    {IDC_FILL_BACKGROUND, 17001},   {IDC_LINE_OPACITY, 17002},     {IDC_BACK_OPACITY, 17003},
    {IDC_FIRST_BACK_COLOR, 17004},  {IDC_BACK_COLOR, 17005},       {IDC_BACK_COLOR2, 17006},
    {IDC_REFRESH_PREVIEW, 17008},   {IDC_GRID_LINE_TYPE, 17009},   {IDC_BORDER_LINE_TYPE, 17009},
    {IDC_LINE_COLOR, 17010},        {IDC_SAVE_PARAMS, 17012},      {IDC_LOAD_PARAMS, 17013},
    {IDC_LINK_PLACEHOLDER, 17015},  {IDC_CLEAR_COL_SIZES, 17016},  {IDC_CLEAR_ROW_SIZES, 17016},
    {IDC_EDIT_COL_SIZES, 17017},    {IDC_EDIT_ROW_SIZES, 17017},   {IDC_ZOOM_OUT, 17018},
    {IDC_ZOOM_IN, 17018},           {IDC_DOCK_BORDER, 17019},      {IDC_SHOW_EFFECT, 17020},
};

bool IsGroupBox(int controlId) { return controlId == IDC_LINE_GROUP || controlId == IDC_BACK_GROUP; }

}  // namespace

int HelpStringFor(int controlId) {
    for (const HelpEntry& entry : kContextHelpTable)
        if (entry.control == controlId) return entry.string;
    return 0;
}

HelpAnswer HelpForControl(int controlId, bool hasTooltip) {
    if (!hasTooltip) return {0, DragNone};
    if (IsGroupBox(controlId)) return {0, HelpPick};
    return {HelpStringFor(controlId), DragNone};
}

HelpAnswer HelpForClick(const ColourFieldRects& rects, bool fillBackground, const ClientRect& previewRect,
                        ClientPoint point) {
    if (SwatchAt(rects, fillBackground, point) >= 0) return {kSwatchHelpString, DragNone};
    if (Contains(previewRect, point)) return {kPreviewHelpString, DragNone};
    return {0, DragNone};
}

}  // namespace gridsmith::ui
