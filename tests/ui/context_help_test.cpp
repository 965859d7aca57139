// Context help: the table, the group boxes passing the request on, and the
// click of help mode on swatches and the preview.
#include <gtest/gtest.h>

#include "plugin/dialog_state.h"
#include "ui/context_help.h"
#include "ui/dialog_ids.h"
#include "ui/size_editor_rules.h"

namespace gridsmith::ui {
namespace {

TEST(ContextHelp, ControlsMapToTheirTextsAndTheRestToNone) {
    EXPECT_EQ(HelpStringFor(IDC_LINE_COLOR), 17010);
    EXPECT_EQ(HelpStringFor(IDC_ROW_SIZES), 16995);
    EXPECT_EQ(HelpStringFor(IDC_BORDER_LINE_TYPE), 17009);
    EXPECT_EQ(HelpStringFor(IDC_DOCK_BORDER), 17019);
    EXPECT_EQ(HelpStringFor(IDC_SHOW_EFFECT), 17020);
    for (int none : {IDC_ROWS, IDC_COLS, IDC_BORDER_LEFT, 1, IDC_ABOUT, IDC_LINE_GROUP})
        EXPECT_EQ(HelpStringFor(none), 0) << none;
}

TEST(ContextHelp, ARequestEndsHelpModeUnlessAGroupBoxPassesItOn) {
    EXPECT_EQ(HelpForControl(IDC_LINE_COLOR, true).stringId, 17010);
    EXPECT_EQ(HelpForControl(IDC_LINE_COLOR, true).dragMode, DragNone);
    EXPECT_EQ(HelpForControl(IDC_ROWS, true).stringId, 0);
    EXPECT_EQ(HelpForControl(IDC_ROWS, true).dragMode, DragNone);
    EXPECT_EQ(HelpForControl(IDC_BACK_GROUP, true).dragMode, HelpPick);
    // Without a tooltip window nothing shows and help mode still ends.
    EXPECT_EQ(HelpForControl(IDC_LINE_COLOR, false).stringId, 0);
    EXPECT_EQ(HelpForControl(IDC_LINE_GROUP, false).dragMode, DragNone);
}

TEST(ContextHelp, TheHelpClickFindsActiveSwatchesThenThePreview) {
    ColourFieldRects rects;
    rects.SwatchRects = {ClientRect{136, 149, 152, 163}, ClientRect{136, 260, 152, 274},
                         ClientRect{136, 284, 152, 298}, ClientRect{136, 308, 152, 322}};
    const ClientRect preview{187, 138, 571, 412};
    EXPECT_EQ(HelpForClick(rects, false, preview, {140, 150}).stringId, kSwatchHelpString);
    EXPECT_EQ(HelpForClick(rects, false, preview, {140, 265}).stringId, 0);  // filling off
    EXPECT_EQ(HelpForClick(rects, true, preview, {140, 265}).stringId, kSwatchHelpString);
    EXPECT_EQ(HelpForClick(rects, true, preview, {300, 300}).stringId, kPreviewHelpString);
    EXPECT_EQ(HelpForClick(rects, true, preview, {10, 10}).stringId, 0);
    EXPECT_EQ(HelpForClick(rects, true, preview, {10, 10}).dragMode, DragNone);
}

TEST(SizeEditorRules, TheCounterShowsWhatIsLeftOf255) {
    EXPECT_EQ(CharactersLeftText(0), u"255");
    EXPECT_EQ(CharactersLeftText(200), u"55");
    EXPECT_EQ(CharactersLeftText(255), u"0");
    EXPECT_EQ(CharactersLeftText(300), u"0");
}

TEST(SizeEditorRules, ThePopupHangsBelowItsButtonFlushRight) {
    const ScreenPoint corner = SizeEditorCorner({500, 100, 518, 118}, 354);
    EXPECT_EQ(corner.x, 164);
    EXPECT_EQ(corner.y, 120);
}

}  // namespace
}  // namespace gridsmith::ui
