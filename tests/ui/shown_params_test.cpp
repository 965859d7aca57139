#include "ui/shown_params.h"

#include <gtest/gtest.h>

#include "dialog_fakes.h"
#include "ui/param_binding.h"

namespace gridsmith::ui {
namespace {

using testing::FakeControls;

// Controls showing a table; the values shown start as the table's.
class ShownTest : public ::testing::Test {
protected:
    ShownTest() {
        ApplyDefaultParams(table);
        table.GridLineType = LineDot;
        ParamsToControls(controls, table);
        shown = table;
    }

    TableParams Read() {
        ReadShownParams(controls, shown);
        return shown;
    }

    TableParams table{};
    TableParams shown{};
    FakeControls controls;
};

// What OK would store, field by field, whether or not a live handler took
// it: and reading it asks nothing of the user and writes no control.
TEST_F(ShownTest, ReadsEveryValueAsOkWouldStoreIt) {
    controls.SetText(IDC_LINE_COLOR, u"ff0080");
    controls.SetText(IDC_LINE_OPACITY, u"17");
    controls.SetText(IDC_BACK_OPACITY, u"300");
    controls.SetText(IDC_BACK_COLOR2, u"00FF00");
    controls.SetText(IDC_COL_SIZES, u"10,20;30");
    controls.SetText(IDC_TABLE_WIDTH, u"");
    controls.SetText(IDC_TOP_MARGIN, u"-12");
    controls.Controls[IDC_GRID_LINE_SIZE].text = u"7";
    controls.Controls[IDC_COLS].text = u"42";
    controls.Select(IDC_BORDER_LINE_TYPE, LineDashDotDot);
    controls.SetChecked(IDC_BORDER_TOP, false);
    controls.SetChecked(IDC_FILL_BACKGROUND, false);
    const std::map<int, int> writes = controls.TextWrites;

    const TableParams read = Read();
    TableParams ok = table;
    int32_t cols[MaxTableCells], rows[MaxTableCells];
    ASSERT_TRUE(ControlsToParams(controls, ok, TableLayout{cols, rows}, UiLanguage::Chinese));
    EXPECT_EQ(read.LineColor, 0x8000FFu);
    EXPECT_EQ(read.LineColor, ok.LineColor);
    EXPECT_EQ(read.LineOpaque, 17);
    EXPECT_EQ(read.BackOpaque, ok.BackOpaque);
    EXPECT_EQ(read.BackClr2, ok.BackClr2);
    EXPECT_EQ(SizeListText(read.ColSizes), u"10,20;30");
    EXPECT_EQ(read.TableWidth, 0) << "left to the column sizes, as OK leaves it to the layout";
    EXPECT_EQ(read.TopMargin, -12);
    EXPECT_EQ(read.GridLineSize, 7);
    EXPECT_EQ(read.GridLineType, LineDot);
    EXPECT_EQ(read.Cols, 42);
    EXPECT_EQ(read.BorderLineType, LineDashDotDot);
    EXPECT_EQ(read.Borders, ok.Borders);
    EXPECT_EQ(read.FillBkGnd, 0);
    EXPECT_TRUE(controls.Warnings.empty());
    EXPECT_EQ(controls.TextWrites, writes);
}

// Half-typed or refused texts keep the value last shown.
TEST_F(ShownTest, AValueNotValidYetKeepsTheLastOne) {
    controls.SetText(IDC_LINE_COLOR, u"123456");
    controls.SetText(IDC_LINE_OPACITY, u"90");
    Read();
    const struct {
        int id;
        const char16_t* text;
    } typing[] = {{IDC_LINE_COLOR, u"12"},     {IDC_FIRST_BACK_COLOR, u"GG0000"}, {IDC_LINE_OPACITY, u""},
                  {IDC_LEFT_MARGIN, u"-"},     {IDC_TABLE_HEIGHT, u"12x"},        {IDC_ROWS, u"150"},
                  {IDC_COLS, u"0"},            {IDC_BORDER_LINE_SIZE, u"a"},      {IDC_BACK_OPACITY, u"-1"}};
    for (const auto& t : typing) controls.Controls[t.id].text = t.text;
    const TableParams read = Read();
    EXPECT_EQ(read.LineColor, 0x563412u);
    EXPECT_EQ(read.FirstBackClr, table.FirstBackClr);
    EXPECT_EQ(read.LineOpaque, 90);
    EXPECT_EQ(read.LeftMargin, table.LeftMargin);
    EXPECT_EQ(read.TableHeight, table.TableHeight);
    EXPECT_EQ(read.Rows, table.Rows);
    EXPECT_EQ(read.Cols, table.Cols);
    EXPECT_EQ(read.BorderLineSize, table.BorderLineSize);
    EXPECT_EQ(read.BackOpaque, table.BackOpaque);
}

}  // namespace
}  // namespace gridsmith::ui
