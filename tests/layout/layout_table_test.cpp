#include "layout/layout_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace gridsmith {
namespace {

constexpr int32_t kUntouched = -777;

void SetList(char16_t (&list)[kSizeListCapacity], const std::u16string& text) {
    ASSERT_LT(text.size(), size_t(kSizeListCapacity));
    std::copy(text.begin(), text.end(), list);
    list[text.size()] = u'\0';
}

std::vector<std::u16string> AllTokens(const char16_t* list) {
    std::vector<std::u16string> tokens;
    for (const char16_t* t = NextSizeToken(list); t; t = NextSizeToken(nullptr))
        tokens.push_back(t);
    return tokens;
}

TEST(NextSizeToken, SplitsOnlyAtCommaAndSemicolonKeepingEmptyTokens) {
    EXPECT_EQ(AllTokens(u"10;20,, 3 0,"),
              (std::vector<std::u16string>{u"10", u"20", u"", u" 3 0", u""}));
    EXPECT_EQ(NextSizeToken(nullptr), nullptr);  // stays exhausted
    EXPECT_TRUE(AllTokens(u"").empty());
}

TEST(NextSizeToken, CutsALongTokenToTheBufferAndGoesOnAfterIt) {
    const std::u16string list = std::u16string(60, u'9') + u",7";
    EXPECT_EQ(AllTokens(list.c_str()),
              (std::vector<std::u16string>{std::u16string(kSizeTokenCapacity - 1, u'9'), u"7"}));
}

struct ValueCase { const char16_t* token; int32_t value; };
class SizeTokenValueTest : public testing::TestWithParam<ValueCase> {};

TEST_P(SizeTokenValueTest, ReadsTheLeadingInteger) {
    EXPECT_EQ(SizeTokenValue(GetParam().token), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Tokens, SizeTokenValueTest, testing::Values(
    ValueCase{u"40px", 40}, ValueCase{u" 25", 25}, ValueCase{u"\t\r\n+7", 7},
    ValueCase{u"50 60", 50}, ValueCase{u"", 0}, ValueCase{u"  ", 0}, ValueCase{u"px", 0},
    ValueCase{u"-5", -5}, ValueCase{u"- 5", 0}, ValueCase{u"+-5", 0}, ValueCase{u"007", 7},
    ValueCase{u"2147483647", INT32_MAX}, ValueCase{u"2147483648", INT32_MAX},
    ValueCase{u"-2147483648", INT32_MIN}, ValueCase{u"-99999999999999999999999", INT32_MIN}));

class LayoutFixture : public testing::Test {
protected:
    LayoutFixture() {
        ApplyDefaultParams(params);
        std::fill(std::begin(cols), std::end(cols), kUntouched);
        std::fill(std::begin(rows), std::end(rows), kUntouched);
    }
    std::vector<int32_t> Widths() const { return {cols, cols + params.Cols}; }
    std::vector<int32_t> Heights() const { return {rows, rows + params.Rows}; }
    bool BeyondCountsUntouched() const {
        auto untouched = [](int32_t v) { return v == kUntouched; };
        return std::all_of(cols + params.Cols, std::end(cols), untouched) &&
               std::all_of(rows + params.Rows, std::end(rows), untouched);
    }

    TableParams params{};
    int32_t cols[MaxTableCells];
    int32_t rows[MaxTableCells];
    TableLayout layout{cols, rows};
};

TEST_F(LayoutFixture, DefaultsShareTheSpaceWithTheRemainderLastAndKeepTheTotals) {
    ASSERT_EQ(LayoutTable(params, layout, false), 1);
    EXPECT_EQ(Widths(), (std::vector<int32_t>{139, 139, 140}));
    EXPECT_EQ(Heights(), (std::vector<int32_t>{29, 29, 30, 30}));
    EXPECT_EQ(params.TableWidth, 420);
    EXPECT_EQ(params.TableHeight, 120);
    EXPECT_TRUE(BeyondCountsUntouched());
}

TEST_F(LayoutFixture, RowsStartAt24WhenNothingGivesAHeight) {
    params.TableHeight = -1;
    ASSERT_EQ(LayoutTable(params, layout, false), 1);
    EXPECT_EQ(Heights(), (std::vector<int32_t>{24, 24, 24, 24}));
    EXPECT_EQ(params.TableHeight, 2 + 96);
}

struct ColumnCase {
    const char* name;
    int32_t cols, tableWidth, border;
    std::u16string colSizes;
    std::vector<int32_t> widths;
    int32_t newTableWidth;
};
class ColumnLayoutTest : public LayoutFixture, public testing::WithParamInterface<ColumnCase> {};

TEST_P(ColumnLayoutTest, GivesTheWidthsAndTotal) {
    const ColumnCase& c = GetParam();
    params.Cols = c.cols;
    params.TableWidth = c.tableWidth;
    params.BorderLineSize = c.border;
    SetList(params.ColSizes, c.colSizes);
    ASSERT_EQ(LayoutTable(params, layout, false), 1);
    EXPECT_EQ(Widths(), c.widths);
    EXPECT_EQ(params.TableWidth, c.newTableWidth);
    EXPECT_TRUE(BeyondCountsUntouched());
}

// Digits that start past the working buffer's length.
const std::u16string kLongTokens =
    std::u16string(60, u' ') + u"25," + std::u16string(50, u'0') + u"7";

INSTANTIATE_TEST_SUITE_P(Cases, ColumnLayoutTest, testing::Values(
    ColumnCase{"OneTokenRepeatsWithoutSpace", 3, 0, 1, u"50", {50, 50, 50}, 152},
    ColumnCase{"ListedBeyondSpaceGrowsTable", 3, 100, 1, u"60,60", {60, 60, 60}, 182},
    ColumnCase{"UnlistedShareWhatIsLeft", 3, 100, 1, u"20", {20, 39, 39}, 100},
    ColumnCase{"NegativeTokenLeavesMoreToShare", 3, 100, 0, u"-5", {-5, 52, 53}, 100},
    ColumnCase{"ExtraTokensIgnored", 2, 100, 0, u"10;20,30", {10, 20}, 30},
    ColumnCase{"BlankDoesNotSeparate", 2, 200, 0, u"50 60", {50, 150}, 200},
    ColumnCase{"EmptyTokensAreZero", 3, 500, 1, u",,", {0, 0, 0}, 2},
    ColumnCase{"TrailingCommaGivesEmptyToken", 3, 200, 0, u"50,", {50, 0, 150}, 200},
    ColumnCase{"NegativeTotalStartsAt100", 3, -5, 1, u"", {100, 100, 100}, 302},
    ColumnCase{"TotalWithinBordersStartsAt100", 2, 2, 1, u"", {100, 100}, 202},
    ColumnCase{"TinySpaceGivesZerosFirst", 5, 5, 1, u"", {0, 0, 1, 1, 1}, 5},
    ColumnCase{"LongTokensGiveTheirTrueValue", 2, 0, 0, kLongTokens, {25, 7}, 32},
    ColumnCase{"TotalSaturatesHigh", 3, 0, 1, u"2147483647",
               {INT32_MAX, INT32_MAX, INT32_MAX}, INT32_MAX},
    ColumnCase{"TotalSaturatesLow", 2, 0, 0, u"-2147483648", {INT32_MIN, INT32_MIN}, INT32_MIN},
    ColumnCase{"HugeBorderSaturates", 1, INT32_MAX, INT32_MAX, u"", {100}, INT32_MAX},
    ColumnCase{"ShareBeyondInt32Saturates", 1, INT32_MAX, INT32_MIN, u"", {INT32_MAX}, INT32_MIN}),
    [](const testing::TestParamInfo<ColumnCase>& info) { return std::string(info.param.name); });

struct GripCalls {
    int count = 0;
    int32_t tableWidthSeen = 0;
    int32_t lastWidthSeen = 0;
};
void RecordGrips(void* context, const TableParams& params, const TableLayout& layout) {
    auto& calls = *static_cast<GripCalls*>(context);
    ++calls.count;
    calls.tableWidthSeen = params.TableWidth;
    calls.lastWidthSeen = layout.ColWidths[params.Cols - 1];
}

TEST_F(LayoutFixture, PlacesGripsLastAndOnlyWhenAsked) {
    GripCalls calls;
    params.TableWidth = 0;
    SetList(params.ColSizes, u"50");
    ASSERT_EQ(LayoutTable(params, layout, false, RecordGrips, &calls), 1);
    EXPECT_EQ(calls.count, 0);
    ASSERT_EQ(LayoutTable(params, layout, true, RecordGrips, &calls), 1);
    EXPECT_EQ(calls.count, 1);
    EXPECT_EQ(calls.tableWidthSeen, 152);
    EXPECT_EQ(calls.lastWidthSeen, 50);
    EXPECT_EQ(LayoutTable(params, layout, true), 1);  // no preview: no hook
}

TEST_F(LayoutFixture, RefusesWithoutBothArrays) {
    const TableParams before = params;
    EXPECT_EQ(LayoutTable(params, TableLayout{nullptr, rows}, false), 0);
    EXPECT_EQ(LayoutTable(params, TableLayout{cols, nullptr}, false), 0);
    EXPECT_EQ(std::memcmp(&before, &params, sizeof params), 0);
}

struct RefusalCase {
    const char* name;
    void (*breakParams)(TableParams&);
};
class RefusalTest : public LayoutFixture, public testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, ChangesNothing) {
    GetParam().breakParams(params);
    unsigned char before[sizeof params];
    std::memcpy(before, &params, sizeof params);
    GripCalls calls;
    EXPECT_EQ(LayoutTable(params, layout, true, RecordGrips, &calls), 0);
    EXPECT_EQ(std::memcmp(before, &params, sizeof params), 0);
    params.Rows = params.Cols = 0;  // every entry must still be untouched
    EXPECT_TRUE(BeyondCountsUntouched());
    EXPECT_EQ(calls.count, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusalTest, testing::Values(
    RefusalCase{"NoRows", [](TableParams& p) { p.Rows = 0; }},
    RefusalCase{"TooManyRows", [](TableParams& p) { p.Rows = 101; }},
    RefusalCase{"NoColumns", [](TableParams& p) { p.Cols = -3; }},
    RefusalCase{"TooManyColumns", [](TableParams& p) { p.Cols = 101; }},
    RefusalCase{"NoWidth", [](TableParams& p) { p.TableWidth = 0; }},
    RefusalCase{"NoHeight", [](TableParams& p) { p.TableHeight = 0; }},
    RefusalCase{"LastCheckFailsAfterOthersPass", [](TableParams& p) {
        p.Rows = p.Cols = MaxTableCells;
        p.ColSizes[0] = u',';
        p.ColSizes[1] = u'\0';
        p.TableWidth = 0;
        p.TableHeight = 0;
    }}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(LayoutFixture, FillsAllEntriesAtTheLargestCounts) {
    params.Rows = params.Cols = MaxTableCells;
    params.TableWidth = 1000 + 2;
    ASSERT_EQ(LayoutTable(params, layout, false), 1);
    EXPECT_TRUE(std::all_of(std::begin(cols), std::end(cols), [](int32_t w) { return w == 10; }));
    EXPECT_EQ(rows[MaxTableCells - 1], 2);  // 118 over 100 rows: the last 18 get 2
    EXPECT_EQ(rows[MaxTableCells - 19], 1);
}

}  // namespace
}  // namespace gridsmith
