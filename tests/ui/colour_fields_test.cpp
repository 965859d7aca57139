// The colour and opacity fields: swatch placement and which swatches and
// labels are live, the scrub step at its ends, and the picker's request.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/colour_fields.h"
#include "ui/dialog_ids.h"

namespace gridsmith::ui {
namespace {

ColourFieldRects SampleRects() {
    ColourFieldRects rects;
    for (int i = 0; i < kColourFieldCount; ++i)
        rects.SwatchRects[size_t(i)] = SwatchRectFor({87, 147 + 24 * i, 132, 165 + 24 * i});
    rects.OpacityLabelRects = {ClientRect{22, 174, 84, 186}, ClientRect{22, 341, 84, 353}};
    return rects;
}

TEST(ColourFields, ASwatchIsSixteenWideFourRightOfItsEditAndFourShorter) {
    EXPECT_EQ(SwatchRectFor({87, 147, 132, 165}), (ClientRect{136, 149, 152, 163}));
}

TEST(ColourFields, WithFillingOffOnlyTheLineSwatchAndLabelAnswer) {
    const ColourFieldRects rects = SampleRects();
    const ClientPoint inFirstRow{140, 24 + 155};
    EXPECT_EQ(SwatchAt(rects, false, {140, 155}), 0);
    EXPECT_EQ(SwatchAt(rects, false, inFirstRow), -1);
    EXPECT_EQ(SwatchAt(rects, true, inFirstRow), 1);
    EXPECT_EQ(SwatchAt(rects, true, {135, 155}), -1);  // the gap beside the edit
    EXPECT_EQ(SwatchAt(rects, true, {152, 155}), -1);  // right edge exclusive
    EXPECT_EQ(OpacityEditAt(rects, false, {30, 180}), IDC_LINE_OPACITY);
    EXPECT_EQ(OpacityEditAt(rects, false, {30, 345}), 0);
    EXPECT_EQ(OpacityEditAt(rects, true, {30, 345}), IDC_BACK_OPACITY);
    EXPECT_EQ(OpacityEditAt(rects, true, {30, 200}), 0);
}

TEST(ColourFields, MovesInsideTheThumbnailLeaveTheHotLabelAsItWas) {
    const ColourFieldRects rects = SampleRects();
    EXPECT_EQ(HotOpacityEditAfterMove(0, rects, true, {30, 180}, false), IDC_LINE_OPACITY);
    EXPECT_EQ(HotOpacityEditAfterMove(IDC_LINE_OPACITY, rects, true, {300, 300}, true), IDC_LINE_OPACITY);
    EXPECT_EQ(HotOpacityEditAfterMove(0, rects, true, {300, 300}, true), 0);
    EXPECT_EQ(HotOpacityEditAfterMove(IDC_LINE_OPACITY, rects, true, {300, 300}, false), 0);
}

TEST(ColourFields, ScrubbingMovesOneStepAndStopsAtBothEnds) {
    EXPECT_EQ(ScrubbedOpacity(u"254", 10, 11), u"255");
    EXPECT_EQ(ScrubbedOpacity(u"254", 10, 500), u"255");  // however far the mouse went
    EXPECT_EQ(ScrubbedOpacity(u"255", 10, 11), std::nullopt);
    EXPECT_EQ(ScrubbedOpacity(u"1", 10, 9), u"0");
    EXPECT_EQ(ScrubbedOpacity(u"0", 10, 9), std::nullopt);
    EXPECT_EQ(ScrubbedOpacity(u"128", 10, 10), std::nullopt);  // a vertical move
    // Empty or non-numeric text starts from 0.
    EXPECT_EQ(ScrubbedOpacity(u"", 10, 11), u"1");
    EXPECT_EQ(ScrubbedOpacity(u"x7", 10, 11), u"1");
    EXPECT_EQ(ScrubbedOpacity(u"-5", 10, 9), std::nullopt);
}

TEST(ColourFields, ThePromptIsAPascalStringInCodePage936) {
    const PickerPrompt prompt = PickerPromptFor(IDC_FIRST_BACK_COLOR, UiLanguage::Chinese);
    const std::string gbk = "\xD1\xA1\xD4\xF1\xCA\xD7\xD0\xD0\xB1\xB3\xBE\xB0\xD1\xD5\xC9\xAB";  // 选择首行背景颜色
    ASSERT_EQ(prompt[0], gbk.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(prompt.data() + 1), gbk.size()), gbk);
    for (size_t i = 1 + gbk.size(); i < prompt.size(); ++i) ASSERT_EQ(prompt[i], 0) << i;
    EXPECT_EQ(PickerPromptFor(IDC_LINE_COLOR, UiLanguage::Chinese)[0], 14);
    EXPECT_EQ(PickerPromptFor(IDC_BACK_COLOR, UiLanguage::Chinese)[0], 12);
    EXPECT_EQ(PickerPromptFor(IDC_BACK_COLOR2, UiLanguage::Chinese)[0], 16);
    EXPECT_EQ(PickerPromptFor(IDC_ROWS, UiLanguage::Chinese)[0], 0);
}

TEST(ColourFields, TheRequestStartsFromTheEditsColourInRgb) {
    PickerPrompt prompt = PickerPromptFor(IDC_LINE_COLOR, UiLanguage::Chinese);
    const host::ColorServicesInfo info = ColourRequest(0x00BD814F, prompt);  // shown as 4F81BD
    EXPECT_EQ(info.infoSize, 56);
    EXPECT_EQ(info.selector, 0);
    EXPECT_EQ(info.sourceSpace, 0);
    EXPECT_EQ(info.resultSpace, 0);
    EXPECT_EQ(info.reservedSourceSpaceInfo, nullptr);
    EXPECT_EQ(info.reservedResultSpaceInfo, nullptr);
    EXPECT_EQ(info.reserved, nullptr);
    EXPECT_EQ(info.colorComponents[0], 0x4F);
    EXPECT_EQ(info.colorComponents[1], 0x81);
    EXPECT_EQ(info.colorComponents[2], 0xBD);
    EXPECT_EQ(info.colorComponents[3], 255);
    EXPECT_EQ(static_cast<const void*>(info.selectorParameter.pickerPrompt), prompt.data());
}

TEST(ColourFields, TheAnswerIsWrittenAsSixHexDigitsHeldToAByteEach) {
    host::ColorServicesInfo answer{};
    answer.colorComponents[0] = 0x0A;
    answer.colorComponents[1] = 0xFF;
    answer.colorComponents[2] = 0x00;
    EXPECT_EQ(PickedColourText(answer), u"0AFF00");
    answer.colorComponents[0] = 300;
    answer.colorComponents[1] = -7;
    EXPECT_EQ(PickedColourText(answer), u"FF0000");
}

}  // namespace
}  // namespace gridsmith::ui
