#include "ui/main_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialog_fakes.h"
#include "ui/control_text.h"

namespace gridsmith::ui {
namespace {

using testing::DialogRig;

// A dialog after its initialisation, with the window's calls so far dropped.
class MainDialogTest : public ::testing::Test {
protected:
    MainDialogTest() {
        rig.Dialog.FillControls();
        rig.Window.Calls.clear();
        rig.Controls.TextWrites.clear();
        rig.GripPlacements = 0;
    }

    TableParams& params() { return rig.Params(); }
    int Repaints() const { return rig.Window.Count("RepaintPreview"); }
    bool RefreshEnabled() { return rig.Controls.Enabled(IDC_REFRESH_PREVIEW); }

    DialogRig rig;
};

TEST(MainDialogInit, ShowsTheParametersAndLaysOutWithGripsLeavingRefreshDisabled) {
    DialogRig rig;
    rig.Dialog.FillControls();
    EXPECT_EQ(rig.TextOf(IDC_TABLE_WIDTH), u"420");
    EXPECT_EQ(rig.TextOf(IDC_ROWS), u"4");
    EXPECT_EQ(rig.TextOf(IDC_LINE_COLOR), u"95B3D7");
    EXPECT_TRUE(rig.Controls.Checked(IDC_FILL_BACKGROUND));
    EXPECT_FALSE(rig.Controls.Enabled(IDC_REFRESH_PREVIEW));
    EXPECT_GE(rig.GripPlacements, 1);
    EXPECT_EQ(rig.State.DragMode, DragNone);
    EXPECT_EQ(rig.Params().TableWidth, 420);
    EXPECT_EQ(std::vector<int32_t>(rig.ColWidths, rig.ColWidths + 3),
              (std::vector<int32_t>{139, 139, 140}));
    EXPECT_EQ(std::vector<int32_t>(rig.RowHeights, rig.RowHeights + 4),
              (std::vector<int32_t>{29, 29, 30, 30}));
}

TEST_F(MainDialogTest, CountsTakeOnlyOneToAHundredAndOkThenReportsTheTypedRows) {
    rig.Controls.Choose(IDC_ROWS, 6);
    EXPECT_EQ(params().Rows, 7);
    EXPECT_EQ(Repaints(), 1);
    for (const char16_t* typed : {u"150", u"0", u"", u"7x"}) rig.Controls.Type(IDC_ROWS, typed);
    rig.Controls.Choose(IDC_COLS, -1);  // no selection
    rig.Controls.Type(IDC_BORDER_LINE_SIZE, u"101");
    EXPECT_EQ(params().Rows, 7);
    EXPECT_EQ(params().Cols, 3);
    EXPECT_EQ(params().BorderLineSize, 1);
    EXPECT_EQ(Repaints(), 1);
    rig.Controls.Type(IDC_ROWS, u"150");
    rig.Dialog.OnCommand(1, NOTIFY_BUTTON_CLICKED);
    ASSERT_EQ(rig.Controls.Warnings.size(), 1u);
    EXPECT_EQ(rig.Controls.Warnings[0].first, u"请输入正确的行数 [1, 100]。");
    EXPECT_EQ(rig.Controls.Warnings[0].second, IDC_ROWS);
    EXPECT_EQ(rig.Window.Count("EndDialog 1"), 0);
    rig.Controls.Type(IDC_COLS, u"100");
    EXPECT_EQ(params().Cols, 100);
}

TEST_F(MainDialogTest, TotalSizesAreTakenOnlyAboveZero) {
    rig.Controls.Type(IDC_TABLE_WIDTH, u"0");
    rig.Controls.Type(IDC_TABLE_WIDTH, u"");
    rig.Controls.Type(IDC_TABLE_HEIGHT, u"-3");
    EXPECT_EQ(params().TableWidth, 420);
    EXPECT_EQ(params().TableHeight, 120);
    EXPECT_EQ(Repaints(), 0);
    rig.Controls.Type(IDC_TABLE_WIDTH, u"300");
    EXPECT_EQ(params().TableWidth, 300);
    EXPECT_EQ(rig.ColWidths[2], 100);
    EXPECT_EQ(Repaints(), 1);
    EXPECT_EQ(rig.GripPlacements, 1);
}

TEST_F(MainDialogTest, ACountChangeShowsOnlyTheTotalsTheLayoutRewrote) {
    rig.Controls.Type(IDC_COL_SIZES, u"200,200,200");
    rig.Controls.TextWrites.clear();
    rig.Controls.Choose(IDC_COLS, 2);  // the listed widths outgrow 420
    EXPECT_EQ(params().TableWidth, 602);
    EXPECT_EQ(rig.TextOf(IDC_TABLE_WIDTH), u"602");
    EXPECT_EQ(rig.Controls.TextWrites[IDC_TABLE_HEIGHT], 0);
    EXPECT_EQ(Repaints(), 1);  // the width's own handler did not run again
    EXPECT_EQ(rig.State.DragMode, DragNone);

    rig.Controls.TextWrites.clear();
    rig.Controls.Choose(IDC_BORDER_LINE_SIZE, 3);  // shared heights keep 120
    EXPECT_EQ(params().BorderLineSize, 4);
    EXPECT_EQ(rig.Controls.TextWrites[IDC_TABLE_HEIGHT], 0);
    EXPECT_EQ(rig.TextOf(IDC_TABLE_WIDTH), u"608");
}

TEST_F(MainDialogTest, MarginsTakeSignedNumbersAndZeroForOtherText) {
    rig.Controls.Type(IDC_LEFT_MARGIN, u"-5");
    EXPECT_EQ(params().LeftMargin, -5);
    rig.Controls.Type(IDC_TOP_MARGIN, u"x");
    EXPECT_EQ(params().TopMargin, 0);
    EXPECT_EQ(Repaints(), 2);
}

TEST_F(MainDialogTest, SizeListTypingEnablesRefreshWhichRereadsTheTableControls) {
    rig.Controls.Type(IDC_ROW_SIZES, u"10,20");
    EXPECT_EQ(SizeListText(params().RowSizes), u"10,20");
    EXPECT_TRUE(RefreshEnabled());
    EXPECT_EQ(Repaints(), 0);

    // Writes that raise no notification, then the button.
    rig.Controls.Controls[IDC_ROWS].text = u"9";
    rig.Controls.Controls[IDC_COLS].text = u"0";
    rig.Controls.Controls[IDC_TABLE_HEIGHT].text = u"500";
    rig.Controls.Controls[IDC_TOP_MARGIN].text = u"-7";
    rig.Controls.Click(IDC_REFRESH_PREVIEW);
    EXPECT_EQ(params().Rows, 9);
    EXPECT_EQ(params().Cols, 3);
    EXPECT_EQ(params().TopMargin, -7);
    EXPECT_EQ(params().TableHeight, 500);
    EXPECT_EQ(rig.RowHeights[1], 20);
    EXPECT_EQ(Repaints(), 1);
    EXPECT_FALSE(RefreshEnabled());
}

TEST_F(MainDialogTest, ClearingEmptiesAFilledListOnly) {
    rig.Controls.Click(IDC_CLEAR_COL_SIZES);
    EXPECT_EQ(Repaints(), 0);
    EXPECT_EQ(rig.Controls.TextWrites[IDC_COL_SIZES], 0);

    rig.Controls.Type(IDC_COL_SIZES, u"50");
    rig.Controls.Click(IDC_CLEAR_COL_SIZES);
    EXPECT_EQ(rig.TextOf(IDC_COL_SIZES), u"");
    EXPECT_EQ(params().ColSizes[0], u'\0');
    EXPECT_EQ(Repaints(), 1);
    EXPECT_FALSE(RefreshEnabled());
    rig.Controls.Type(IDC_ROW_SIZES, u"5");
    rig.Controls.Click(IDC_CLEAR_ROW_SIZES);
    EXPECT_EQ(params().RowSizes[0], u'\0');
}

TEST_F(MainDialogTest, TheFillBoxEnablesTheBackgroundControlsAndTheDockBoxToggles) {
    const int background[] = {IDC_BACK_OPACITY, IDC_FIRST_BACK_COLOR, IDC_BACK_COLOR,
                              IDC_BACK_COLOR2};
    rig.Controls.Click(IDC_FILL_BACKGROUND);
    for (int id : background) EXPECT_FALSE(rig.Controls.Enabled(id)) << id;
    EXPECT_EQ(params().FillBkGnd, 0);
    rig.Controls.Click(IDC_FILL_BACKGROUND);
    for (int id : background) EXPECT_TRUE(rig.Controls.Enabled(id)) << id;
    EXPECT_EQ(params().FillBkGnd, 1);
    EXPECT_EQ(rig.Window.Calls,
              (std::vector<std::string>{"RepaintBackground erase", "RepaintBackground"}));

    rig.Controls.SetChecked(IDC_DOCK_BORDER, true);
    rig.Dialog.OnCommand(IDC_DOCK_BORDER, NOTIFY_BUTTON_CLICKED);  // box still shows checked
    EXPECT_EQ(params().DockBorder, 0);
    rig.Dialog.OnCommand(IDC_DOCK_BORDER, NOTIFY_BUTTON_CLICKED);
    EXPECT_EQ(params().DockBorder, 1);
}

TEST_F(MainDialogTest, ColourEditsRepaintTheirSwatchAndButtonsReachTheWindow) {
    rig.Controls.Type(IDC_BACK_COLOR2, u"FF");
    for (int id : {IDC_CENTER_TABLE, IDC_ZOOM_OUT, IDC_ZOOM_IN, IDC_ABOUT}) rig.Controls.Click(id);
    // Read only at OK and at Save.
    rig.Controls.Type(IDC_GRID_LINE_SIZE, u"3");
    rig.Controls.Click(IDC_BORDER_LEFT);
    EXPECT_EQ(params().GridLineSize, 1);
    EXPECT_EQ(params().Borders, 15);
    EXPECT_EQ(rig.Window.Calls, (std::vector<std::string>{"RepaintSwatch 1020", "CenterTable",
                                                          "ZoomOut", "ZoomIn", "ShowAbout"}));
}

TEST_F(MainDialogTest, OkStoresAndEndsWithOneCancelEndsWithTwo) {
    rig.Controls.Type(IDC_GRID_LINE_SIZE, u"3");
    rig.Dialog.OnCommand(1, NOTIFY_BUTTON_CLICKED);
    EXPECT_EQ(params().GridLineSize, 3);
    EXPECT_EQ(rig.State.DialogResult, DialogOk);
    EXPECT_EQ(rig.Window.Calls.back(), "EndDialog 1");
    rig.Dialog.OnCommand(2, NOTIFY_BUTTON_CLICKED);
    EXPECT_EQ(rig.State.DialogResult, DialogCancel);
    EXPECT_EQ(rig.Window.Calls.back(), "EndDialog 2");
}

TEST_F(MainDialogTest, ThePopupOpensClosesRetargetsAndIsDismissedByAnythingElse) {
    SizeEditorState& editor = rig.Dialog.SizeEditor();
    rig.Controls.Type(IDC_COL_SIZES, u"1,2");
    rig.Controls.Type(IDC_ROW_SIZES, u"3;4");
    rig.Window.Calls.clear();

    rig.Controls.Click(IDC_EDIT_COL_SIZES);
    EXPECT_EQ(editor.OpenFor, IDC_COL_SIZES);
    EXPECT_EQ(editor.TargetEdit, IDC_COL_SIZES);
    EXPECT_EQ(SizeListText(editor.Text), u"1,2");
    rig.Controls.Click(IDC_EDIT_COL_SIZES);
    EXPECT_EQ(editor.OpenFor, 0);

    rig.Controls.Click(IDC_EDIT_COL_SIZES);
    rig.Controls.Click(IDC_EDIT_ROW_SIZES);
    EXPECT_EQ(editor.OpenFor, IDC_ROW_SIZES);
    EXPECT_EQ(editor.TargetEdit, IDC_ROW_SIZES);
    EXPECT_EQ(SizeListText(editor.Text), u"3;4");
    rig.Controls.Click(IDC_CENTER_TABLE);
    EXPECT_EQ(editor.OpenFor, 0);

    rig.Controls.Click(IDC_EDIT_ROW_SIZES);
    rig.Dialog.OnMouseDown();
    EXPECT_EQ(editor.OpenFor, 0);
    rig.Dialog.OnMouseDown();  // already hidden: nothing more
    rig.Controls.Click(IDC_EDIT_ROW_SIZES);
    rig.Controls.Type(IDC_LINE_COLOR, u"000000");  // an edit's change closes it too
    EXPECT_EQ(editor.OpenFor, 0);

    EXPECT_EQ(rig.Window.Calls, (std::vector<std::string>{
                                    "ShowSizeEditor 1039", "HideSizeEditor", "ShowSizeEditor 1039",
                                    "ShowSizeEditor 1041", "HideSizeEditor", "CenterTable",
                                    "ShowSizeEditor 1041", "HideSizeEditor", "ShowSizeEditor 1041",
                                    "HideSizeEditor", "RepaintSwatch 1006"}));
}

TEST_F(MainDialogTest, WithoutAPopupItsButtonsDoNothing) {
    rig.Window.SizeEditorExists = false;
    rig.Controls.Click(IDC_EDIT_ROW_SIZES);
    EXPECT_EQ(rig.Dialog.SizeEditor().OpenFor, 0);
    EXPECT_TRUE(rig.Window.Calls.empty());
}

TEST_F(MainDialogTest, ThePopupsTextReplacesTheTargetListWithoutItsHandler) {
    SizeEditorState& editor = rig.Dialog.SizeEditor();
    rig.Controls.Click(IDC_EDIT_ROW_SIZES);
    StoreSizeList(editor.Text, u"10,20");
    editor.OpenFor = 0;  // the popup's OK
    rig.Dialog.OnSizeListEdited();
    EXPECT_EQ(SizeListText(params().RowSizes), u"10,20");
    EXPECT_EQ(rig.TextOf(IDC_ROW_SIZES), u"10,20");
    EXPECT_EQ(rig.RowHeights[1], 20);
    EXPECT_EQ(Repaints(), 1);
    EXPECT_FALSE(RefreshEnabled());
    EXPECT_EQ(rig.State.DragMode, DragNone);

    rig.Dialog.OnSizeListEdited();  // the same text: nothing
    editor.TargetEdit = IDC_TABLE_WIDTH;
    rig.Dialog.OnSizeListEdited();  // no list behind it: nothing
    EXPECT_EQ(Repaints(), 1);
    EXPECT_EQ(rig.Controls.TextWrites[IDC_ROW_SIZES], 1);
    EXPECT_EQ(rig.State.DragMode, DragNone);
}

TEST(MainDialogLanguage, AnEnglishDialogProposesTheEnglishFileNameAndWarnsInEnglish) {
    DialogRig rig(UiLanguage::English);
    rig.Window.ConfirmFile = false;
    rig.Controls.Click(IDC_SAVE_PARAMS);
    EXPECT_EQ(rig.Window.OfferedPath, u"table-parameters-01.txt");
    rig.Window.ConfirmFile = true;
    rig.Window.FileFault = FileOutcome{FileProblem::DiskFull};
    rig.Controls.Click(IDC_SAVE_PARAMS);
    ASSERT_EQ(rig.Controls.Warnings.size(), 1u);
    EXPECT_EQ(rig.Controls.Warnings[0].first,
              NotSavedMessage(rig.Window.ChosenPath, rig.Window.FileFault, UiLanguage::English));
}

TEST_F(MainDialogTest, SaveReadsBackTheControlsAndLoadShowsTheFile) {
    rig.Window.ConfirmFile = false;
    rig.Controls.Click(IDC_SAVE_PARAMS);
    EXPECT_EQ(rig.Window.OfferedPath, u"表格参数_01.txt");
    EXPECT_TRUE(rig.Window.Files.empty());

    rig.Window.ConfirmFile = true;
    rig.Controls.Type(IDC_LINE_COLOR, u"FF");
    rig.Controls.Type(IDC_LINE_OPACITY, u"300");
    rig.Controls.Type(IDC_ROWS, u"150");  // not taken live, so not saved
    rig.Controls.Click(IDC_BORDER_TOP);
    rig.Controls.Type(IDC_LEFT_MARGIN, u"-12");
    rig.Controls.Click(IDC_SAVE_PARAMS);
    testing::MapProfileStore& file = rig.Window.Files[rig.Window.ChosenPath];
    EXPECT_EQ(*file.Find(u"LineColor"), u"FF0000");
    EXPECT_EQ(*file.Find(u"LineOpaque"), u"255");
    EXPECT_EQ(*file.Find(u"Rows"), u"4");
    EXPECT_EQ(*file.Find(u"Borders"), u"13");
    EXPECT_EQ(*file.Find(u"LeftMargin"), u"-12");

    file.WriteString(u"Rows", u"6");
    file.WriteString(u"FillBkGnd", u"0");
    file.WriteString(u"RowSizes", u"40");
    rig.Controls.Click(IDC_DOCK_BORDER);
    rig.Window.Calls.clear();
    rig.GripPlacements = 0;
    rig.Controls.Click(IDC_LOAD_PARAMS);
    EXPECT_EQ(rig.Window.OfferedPath, u"");
    EXPECT_EQ(params().Rows, 6);
    EXPECT_EQ(params().DockBorder, 0);  // not in the file
    EXPECT_EQ(rig.TextOf(IDC_ROWS), u"6");
    EXPECT_EQ(rig.TextOf(IDC_ROW_SIZES), u"40");
    EXPECT_EQ(rig.TextOf(IDC_LINE_COLOR), u"0000FF");
    EXPECT_EQ(rig.TextOf(IDC_LEFT_MARGIN), u"-12");
    EXPECT_FALSE(rig.Controls.Checked(IDC_BORDER_TOP));
    EXPECT_FALSE(rig.Controls.Checked(IDC_FILL_BACKGROUND));
    EXPECT_FALSE(rig.Controls.Enabled(IDC_BACK_COLOR));
    EXPECT_EQ(rig.RowHeights[0], 40);
    EXPECT_FALSE(RefreshEnabled());
    EXPECT_GE(rig.GripPlacements, 1);
    EXPECT_EQ(rig.Window.Calls.back(), "RepaintPreview");
}

// A save or load that fails says so by name and reason; the dialog stays
// open with its values, and a failed load changes nothing.
TEST_F(MainDialogTest, AFailedSaveOrLoadWarnsAndKeepsTheDialogAsItWas) {
    rig.Window.FileFault = FileOutcome{FileProblem::ReadOnly};
    rig.Controls.Type(IDC_LINE_OPACITY, u"77");
    rig.Controls.Click(IDC_SAVE_PARAMS);
    ASSERT_EQ(rig.Controls.Warnings.size(), 1u);
    EXPECT_EQ(rig.Controls.Warnings[0].first,
              NotSavedMessage(rig.Window.ChosenPath, rig.Window.FileFault, UiLanguage::Chinese));
    EXPECT_EQ(rig.Controls.Warnings[0].second, 0);
    EXPECT_EQ(params().LineOpaque, 77);  // read back all the same
    EXPECT_EQ(rig.TextOf(IDC_LINE_OPACITY), u"77");

    rig.Window.FileFault = FileOutcome{FileProblem::Missing};
    TableParams before;
    std::memcpy(&before, &params(), sizeof before);  // padding too, for the comparison
    rig.Controls.TextWrites.clear();
    rig.Window.Calls.clear();
    rig.Controls.Click(IDC_LOAD_PARAMS);
    ASSERT_EQ(rig.Controls.Warnings.size(), 2u);
    EXPECT_EQ(rig.Controls.Warnings[1].first,
              NotLoadedMessage(rig.Window.ChosenPath, rig.Window.FileFault, UiLanguage::Chinese));
    EXPECT_EQ(std::memcmp(&before, &params(), sizeof before), 0);
    EXPECT_TRUE(rig.Controls.TextWrites.empty());
    EXPECT_EQ(rig.Window.Calls, (std::vector<std::string>{"ChooseOpen", "Load"}));
    EXPECT_EQ(rig.Window.Count("EndDialog 1") + rig.Window.Count("EndDialog 2"), 0);
}

// The effect switch is the module's, not a parameter: a box's click sets it
// and repaints, a new dialog shows it as left, and Save and Load pass it by.
TEST_F(MainDialogTest, TheEffectSwitchFollowsItsBoxAndOutlivesTheDialog) {
    rig.Controls.Click(IDC_SHOW_EFFECT);
    EXPECT_EQ(rig.State.ShowEffect, 1);
    EXPECT_EQ(Repaints(), 1);
    rig.Controls.Click(IDC_SAVE_PARAMS);
    rig.Controls.Click(IDC_LOAD_PARAMS);
    EXPECT_EQ(rig.Window.Files[rig.Window.ChosenPath].Lines.size(), 20u);
    EXPECT_TRUE(rig.Controls.Checked(IDC_SHOW_EFFECT));
    EXPECT_EQ(rig.State.ShowEffect, 1);

    testing::FakeControls next;
    MainDialog reopened(rig.State, next, rig.Window, UiLanguage::Chinese);
    reopened.FillControls();
    EXPECT_TRUE(next.Checked(IDC_SHOW_EFFECT));
    rig.Controls.Click(IDC_SHOW_EFFECT);
    EXPECT_EQ(rig.State.ShowEffect, 0);
}

}  // namespace
}  // namespace gridsmith::ui
