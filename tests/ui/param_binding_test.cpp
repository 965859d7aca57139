#include "ui/param_binding.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dialog_fakes.h"

namespace gridsmith::ui {
namespace {

using testing::FakeControls;

// Controls showing the defaults, without a dialog behind them; the block
// starts from a marker state so that what validation stores is visible.
class BindingTest : public ::testing::Test {
protected:
    BindingTest() {
        ApplyDefaultParams(shown);
        ParamsToControls(controls, shown);
        ApplyDefaultParams(params);
        params.Rows = params.Cols = 9;
        params.TableWidth = params.TableHeight = 777;
        StoreSizeList(params.ColSizes, u"marker");
        StoreSizeList(params.RowSizes, u"marker");
        params.LineOpaque = 1;
        params.Borders = 0;
    }

    void Type(int id, std::u16string_view text) { controls.SetText(id, text); }
    bool Ok() { return ControlsToParams(controls, params, TableLayout{cols, rows}, UiLanguage::Chinese); }

    TableParams shown{};
    TableParams params{};
    FakeControls controls;
    int32_t cols[MaxTableCells] = {};
    int32_t rows[MaxTableCells] = {};
};

TEST_F(BindingTest, WritesEveryFieldAsTheDialogShowsIt) {
    shown.LeftMargin = -5;
    shown.Borders = BorderLeft | BorderRight;
    shown.FillBkGnd = 0;
    shown.DockBorder = 0;
    shown.GridLineType = LineDot;
    StoreSizeList(shown.ColSizes, u"10;20");
    ParamsToControls(controls, shown);
    const std::map<int, std::u16string> texts = {
        {IDC_COLS, u"3"}, {IDC_TABLE_WIDTH, u"420"}, {IDC_COL_SIZES, u"10;20"}, {IDC_ROWS, u"4"},
        {IDC_TABLE_HEIGHT, u"120"}, {IDC_ROW_SIZES, u""}, {IDC_LEFT_MARGIN, u"-5"},
        {IDC_TOP_MARGIN, u"20"}, {IDC_BORDER_LINE_SIZE, u"1"}, {IDC_GRID_LINE_SIZE, u"1"},
        {IDC_LINE_COLOR, u"95B3D7"}, {IDC_LINE_OPACITY, u"255"}, {IDC_BACK_OPACITY, u"128"},
        {IDC_FIRST_BACK_COLOR, u"4F81BD"}, {IDC_BACK_COLOR, u"B8CCE4"},
        {IDC_BACK_COLOR2, u"DBE5F1"}};
    for (const auto& [id, text] : texts) EXPECT_EQ(controls.Controls[id].text, text) << id;
    EXPECT_EQ(controls.Selection(IDC_GRID_LINE_TYPE), LineDot);
    EXPECT_EQ(controls.Selection(IDC_BORDER_LINE_TYPE), LineSolid);
    EXPECT_TRUE(controls.Checked(IDC_BORDER_LEFT));
    EXPECT_FALSE(controls.Checked(IDC_BORDER_TOP));
    EXPECT_TRUE(controls.Checked(IDC_BORDER_RIGHT));
    EXPECT_FALSE(controls.Checked(IDC_BORDER_BOTTOM));
    EXPECT_FALSE(controls.Checked(IDC_FILL_BACKGROUND));
    EXPECT_FALSE(controls.Checked(IDC_DOCK_BORDER));
    for (int id : {IDC_BACK_OPACITY, IDC_FIRST_BACK_COLOR, IDC_BACK_COLOR, IDC_BACK_COLOR2})
        EXPECT_FALSE(controls.Enabled(id)) << id;
}

// One failing check: its message and focus, and what it left stored.
struct Failure {
    const char* name;
    std::function<void(FakeControls&)> edit;
    std::u16string message;
    int focus;
    bool colSizesStored, rowSizesStored;
};

class FailingStep : public BindingTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(FailingStep, WarnsMovesTheFocusAndKeepsEarlierSteps) {
    const Failure& failure = GetParam();
    Type(IDC_COL_SIZES, u"cols");
    Type(IDC_ROW_SIZES, u"rows");
    failure.edit(controls);
    EXPECT_FALSE(Ok());
    ASSERT_EQ(controls.Warnings.size(), 1u);
    EXPECT_EQ(controls.Warnings[0].first, failure.message);
    EXPECT_EQ(controls.Warnings[0].second, failure.focus);
    EXPECT_EQ(SizeListText(params.ColSizes),
              failure.colSizesStored ? controls.Controls[IDC_COL_SIZES].text : u"marker");
    EXPECT_EQ(SizeListText(params.RowSizes),
              failure.rowSizesStored ? controls.Controls[IDC_ROW_SIZES].text : u"marker");
    // Counts, sizes and everything after them wait for steps 1 to 5.
    EXPECT_EQ(params.Rows, 9);
    EXPECT_EQ(params.Cols, 9);
    EXPECT_EQ(params.TableWidth, 777);
    EXPECT_EQ(params.LineOpaque, 1);
}

const std::u16string kWidthMessage = u"请输入正确的表格宽度！[2, ] 或者留空。";
const std::u16string kHeightMessage = u"请输入正确的表格高度！[2, ] 或者留空。";
const std::u16string kRowsMessage = u"请输入正确的行数 [1, 100]。";
const std::u16string kColsMessage = u"请输入正确的列数 [1, 100]。";

INSTANTIATE_TEST_SUITE_P(Steps, FailingStep, ::testing::Values(
    Failure{"WidthNotANumber", [](FakeControls& c) { c.SetText(IDC_TABLE_WIDTH, u"abc"); },
            kWidthMessage, IDC_TABLE_WIDTH, false, false},
    Failure{"WidthSigned", [](FakeControls& c) { c.SetText(IDC_TABLE_WIDTH, u"-5"); },
            kWidthMessage, IDC_TABLE_WIDTH, false, false},
    Failure{"WidthBeyondInt32", [](FakeControls& c) { c.SetText(IDC_TABLE_WIDTH, u"3000000000"); },
            kWidthMessage, IDC_TABLE_WIDTH, false, false},
    Failure{"NoWidthNorColumns",
            [](FakeControls& c) {
                c.SetText(IDC_TABLE_WIDTH, u"0");
                c.SetText(IDC_COL_SIZES, u"");
            },
            u"【表格宽度】和【每列宽度】请至少输入一项！", IDC_TABLE_WIDTH, true, false},
    Failure{"HeightNotANumber", [](FakeControls& c) { c.SetText(IDC_TABLE_HEIGHT, u"1 2"); },
            kHeightMessage, IDC_TABLE_HEIGHT, true, false},
    Failure{"NoHeightNorRows",
            [](FakeControls& c) {
                c.SetText(IDC_TABLE_HEIGHT, u"");
                c.SetText(IDC_ROW_SIZES, u"");
            },
            u"【表格高度】和【每行高度】请至少输入一项！", IDC_TABLE_HEIGHT, true, true},
    Failure{"RowsZero", [](FakeControls& c) { c.SetText(IDC_ROWS, u"0"); },
            kRowsMessage, IDC_ROWS, true, true},
    Failure{"Rows101", [](FakeControls& c) { c.SetText(IDC_ROWS, u"101"); },
            kRowsMessage, IDC_ROWS, true, true},
    Failure{"RowsEmpty", [](FakeControls& c) { c.SetText(IDC_ROWS, u""); },
            kRowsMessage, IDC_ROWS, true, true},
    Failure{"Cols101", [](FakeControls& c) { c.SetText(IDC_COLS, u"101"); },
            kColsMessage, IDC_COLS, true, true},
    Failure{"ColsText", [](FakeControls& c) { c.SetText(IDC_COLS, u"x"); },
            kColsMessage, IDC_COLS, true, true}),
    [](const ::testing::TestParamInfo<Failure>& info) { return info.param.name; });

TEST_F(BindingTest, AcceptedInputIsStoredAndLaidOut) {
    Type(IDC_TABLE_WIDTH, u"");
    Type(IDC_COL_SIZES, u"100,50");
    Type(IDC_LEFT_MARGIN, u"-5");
    Type(IDC_TOP_MARGIN, u"x");
    Type(IDC_LINE_OPACITY, u"");
    Type(IDC_BACK_OPACITY, u"300");
    Type(IDC_LINE_COLOR, u"FF");
    Type(IDC_BACK_COLOR, u"GG0000");
    Type(IDC_GRID_LINE_SIZE, u"0");
    Type(IDC_BORDER_LINE_SIZE, u"0");
    controls.Select(IDC_GRID_LINE_TYPE, -1);
    controls.Select(IDC_BORDER_LINE_TYPE, LineDashDotDot);
    controls.SetChecked(IDC_BORDER_TOP, false);
    controls.SetChecked(IDC_FILL_BACKGROUND, false);
    ASSERT_TRUE(Ok());
    EXPECT_TRUE(controls.Warnings.empty());
    EXPECT_EQ(params.Rows, 4);
    EXPECT_EQ(params.Cols, 3);
    EXPECT_EQ(params.TableWidth, 200);  // derived from 100, 50, 50 and no border
    EXPECT_EQ(cols[2], 50);
    EXPECT_EQ(params.TableHeight, 120);
    EXPECT_EQ(params.LeftMargin, -5);
    EXPECT_EQ(params.TopMargin, 0);
    EXPECT_EQ(params.LineOpaque, 255);
    EXPECT_EQ(params.BackOpaque, 255);
    EXPECT_EQ(params.LineColor, 0xFF0000u);  // blue 255
    EXPECT_EQ(params.BackClr, 0u);
    EXPECT_EQ(params.FirstBackClr, 0xBD814Fu);
    EXPECT_EQ(params.GridLineSize, 0);
    EXPECT_EQ(params.BorderLineSize, 0);
    EXPECT_EQ(params.GridLineType, 0);
    EXPECT_EQ(params.BorderLineType, LineDashDotDot);
    EXPECT_EQ(params.Borders, BorderLeft | BorderRight | BorderBottom);
    EXPECT_EQ(params.FillBkGnd, 0);
}

TEST_F(BindingTest, ARefusedLayoutWarnsWithoutFocusAfterStoringEverything) {
    Type(IDC_LINE_OPACITY, u"7");
    EXPECT_FALSE(ControlsToParams(controls, params, TableLayout{nullptr, rows}, UiLanguage::Chinese));
    ASSERT_EQ(controls.Warnings.size(), 1u);
    EXPECT_EQ(controls.Warnings[0].first, u"布局表格失败！请点取消。");
    EXPECT_EQ(controls.Warnings[0].second, 0);
    EXPECT_EQ(params.Rows, 4);
    EXPECT_EQ(params.LineOpaque, 7);
    EXPECT_EQ(params.Borders, 15);
}

TEST_F(BindingTest, InEnglishTheSameChecksWarnInEnglishWithTheirRanges) {
    auto warningFor = [&](int id, std::u16string_view text, const TableLayout& layout) {
        FakeControls english;
        ParamsToControls(english, shown);
        english.SetText(id, text);
        EXPECT_FALSE(ControlsToParams(english, params, layout, UiLanguage::English));
        return english.Warnings.empty() ? std::pair<std::u16string, int>{} : english.Warnings.front();
    };
    const TableLayout layout{cols, rows};
    using Warning = std::pair<std::u16string, int>;
    EXPECT_EQ(warningFor(IDC_ROWS, u"150", layout),
              (Warning{u"Please enter a valid number of rows [1, 100].", IDC_ROWS}));
    EXPECT_EQ(warningFor(IDC_COLS, u"0", layout),
              (Warning{u"Please enter a valid number of columns [1, 100].", IDC_COLS}));
    EXPECT_EQ(warningFor(IDC_TABLE_HEIGHT, u"abc", layout),
              (Warning{u"Please enter a valid table height [2, ], or leave it empty.", IDC_TABLE_HEIGHT}));
    EXPECT_EQ(warningFor(IDC_LINE_OPACITY, u"7", TableLayout{nullptr, rows}),
              (Warning{u"The table cannot be laid out. Please click Cancel.", 0}));
}

TEST_F(BindingTest, BordersFollowTheBoxesAfterALoadUnchecksThem) {
    shown.Borders = BorderLeft | BorderRight;
    ParamsToControls(controls, shown);
    ASSERT_TRUE(Ok());
    EXPECT_EQ(params.Borders, BorderLeft | BorderRight);
}

TEST_F(BindingTest, SaveReadBackTakesOnlyTheControlOnlyValues) {
    Type(IDC_ROWS, u"abc");
    Type(IDC_TABLE_WIDTH, u"abc");
    Type(IDC_BORDER_LINE_SIZE, u"4");
    Type(IDC_GRID_LINE_SIZE, u"3");
    Type(IDC_BACK_COLOR2, u"123456");
    controls.SetChecked(IDC_BORDER_LEFT, false);
    SaveReadBack(controls, params);
    EXPECT_TRUE(controls.Warnings.empty());
    EXPECT_EQ(params.Rows, 9);
    EXPECT_EQ(params.TableWidth, 777);
    EXPECT_EQ(params.BorderLineSize, 1);  // kept live by its own handler
    EXPECT_EQ(SizeListText(params.ColSizes), u"marker");
    EXPECT_EQ(params.GridLineSize, 3);
    EXPECT_EQ(params.BackClr2, 0x563412u);
    EXPECT_EQ(params.LineOpaque, 255);
    EXPECT_EQ(params.Borders, BorderTop | BorderRight | BorderBottom);
}

}  // namespace
}  // namespace gridsmith::ui
