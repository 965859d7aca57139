// The host's side of the tile protocol against a plug-in that breaks it: a
// bad request or a write past a tile row is a clear host error, the run
// still finishes, and nothing crashes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/lib/filter_host.h"

namespace gridsmith::hosting {
namespace {

// What the scripted plug-in does: request `rect` and `planes` at start, and
// optionally write one byte past the first tile row or free a foreign ID.
struct Script {
    host::VRect rect{};
    int16_t loPlane = 0;
    int16_t hiPlane = 0;
    bool writePastRow = false;
    bool freeForeignBuffer = false;
    uint8_t paint = 0;  // non-zero: every delivered sample becomes this
    bool bigDocument = false;  // opt in and use the 32-bit fields
    host::OSErr startResult = host::noErr;
};
Script g_script;

host::VRect OutRect(const host::FilterRecord& r) {
    if (g_script.bigDocument) return r.bigDocumentData->outRect32;
    return {r.outRect.top, r.outRect.left, r.outRect.bottom, r.outRect.right};
}

void SetOutRect(host::FilterRecord& r, const host::VRect& rect) {
    if (g_script.bigDocument) {
        r.bigDocumentData->PluginUsing32BitCoordinates = 1;
        r.bigDocumentData->outRect32 = rect;
    } else {
        r.outRect = {int16_t(rect.top), int16_t(rect.left), int16_t(rect.bottom), int16_t(rect.right)};
    }
}

void ScriptedEntry(int16_t selector, void* record, intptr_t*, int16_t* result) {
    auto& r = *static_cast<host::FilterRecord*>(record);
    if (selector == host::filterSelectorStart) {
        *result = g_script.startResult;
        SetOutRect(r, g_script.rect);
        r.outLoPlane = g_script.loPlane;
        r.outHiPlane = g_script.hiPlane;
    } else if (selector == host::filterSelectorContinue) {
        const host::VRect out = OutRect(r);
        const int planes = r.outHiPlane - r.outLoPlane + 1;
        const int rowSamples = (out.right - out.left) * planes;
        for (int y = 0; g_script.paint && y < out.bottom - out.top; ++y)
            std::memset(static_cast<char*>(r.outData) + y * r.outRowBytes, g_script.paint, size_t(rowSamples));
        if (g_script.writePastRow) static_cast<char*>(r.outData)[(out.right - out.left) * planes] = 1;
        SetOutRect(r, {});
    } else if (selector == host::filterSelectorFinish && g_script.freeForeignBuffer) {
        r.bufferProcs->freeProc(reinterpret_cast<host::BufferID>(&g_script));
    }
}

class ScriptedPlugin final : public Plugin {
public:
    PluginEntry Entry() const override { return &ScriptedEntry; }
    std::string Origin() const override { return "the scripted plug-in"; }
};

class Protocol : public ::testing::Test {
protected:
    RunReport RunScript(const Script& script, int32_t padding = 0) {
        g_script = script;
        RunOptions options;
        options.rowPadding = padding;
        return host_.Run(ScriptedPlugin(), options);
    }
    void ExpectHostError(const RunReport& report, const std::string& words) {
        ASSERT_FALSE(report.hostErrors.empty());
        EXPECT_NE(report.hostErrors.front().find(words), std::string::npos) << report.hostErrors.front();
        EXPECT_TRUE(report.Called(host::filterSelectorFinish));  // start had succeeded
    }

    Document document_{50, 40, ColourMode::Rgb, 8};
    FilterHost host_{document_};
};

// A plug-in that opted in is served from the 32-bit fields, whose filter
// rectangle is the one checked; one that did not, from the 16-bit ones.
TEST(BigDocumentProtocol, ThePlugInsChoiceOfFieldsIsHonoured) {
    Document wide(40000, 2, ColourMode::Gray, 8);
    FilterHost host(wide);
    Script script{{0, 35000, 1, 35010}};
    script.bigDocument = true;
    script.paint = 7;
    g_script = script;
    RunReport report = host.Run(ScriptedPlugin());
    EXPECT_TRUE(report.Succeeded()) << report.Problem();
    ASSERT_EQ(report.tiles.size(), 1u);
    EXPECT_EQ(report.tiles.front().left, 35000);
    EXPECT_EQ(wide.Sample(35009, 0, 0), 7);
    EXPECT_EQ(wide.Sample(35010, 0, 0), 0);

    g_script.rect = {0, 39990, 1, 40001};  // one column past the image
    report = host.Run(ScriptedPlugin());
    ASSERT_FALSE(report.hostErrors.empty());
    EXPECT_NE(report.hostErrors.front().find("(39990,0)-(40001,1) lies outside"), std::string::npos)
        << report.hostErrors.front();

    // Without the opt-in the 16-bit fields count: they reach only 32767.
    g_script.bigDocument = false;
    g_script.rect = {0, 32760, 1, 32767};
    EXPECT_TRUE(host.Run(ScriptedPlugin()).Succeeded());
    EXPECT_EQ(wide.Sample(32766, 0, 0), 7);
}

// A refusal is named in words and by its number, for looking it up.
TEST_F(Protocol, RefusalsAreReportedInWords) {
    Script script;
    script.startResult = host::filterBadParameters;
    EXPECT_EQ(RunScript(script).Problem(), "the plug-in's start step reported bad parameters (-30100)");
    script.startResult = -4242;
    EXPECT_EQ(RunScript(script).Problem(), "the plug-in's start step reported an error (-4242)");
}

TEST_F(Protocol, RequestOutsideTheSelection) {
    ASSERT_EQ(host_.Select({10, 10, 30, 30}), "");
    const RunReport report = RunScript({{5, 5, 20, 20}, 0, 2});
    ExpectHostError(report, "outside the filter rectangle");
    EXPECT_FALSE(report.Called(host::filterSelectorContinue));
}

TEST_F(Protocol, PlanesOutOfRange) {
    ExpectHostError(RunScript({{0, 0, 10, 10}, 0, 3}), "planes 0..3");
    ExpectHostError(RunScript({{0, 0, 10, 10}, 2, 1}), "planes 2..1");
}

TEST_F(Protocol, InvertedRectangle) { ExpectHostError(RunScript({{20, 20, 10, 10}, 0, 2}), "inverted"); }

TEST_F(Protocol, WriteIntoRowPadding) {
    Script script{{0, 0, 10, 10}, 0, 2};
    script.writePastRow = true;
    ExpectHostError(RunScript(script, 2), "row padding");
}

TEST_F(Protocol, FreeingABufferTheHostNeverGave) {
    Script script;
    script.freeForeignBuffer = true;
    ExpectHostError(RunScript(script), "unknown buffer ID");
}

TEST_F(Protocol, PartOfThePlanesComesBackIntoThoseOnly) {
    Script script{{1, 2, 3, 5}, 1, 2};  // rows 1..2, columns 2..4, green and blue
    script.paint = 7;
    const RunReport report = RunScript(script, 1);
    EXPECT_TRUE(report.Succeeded()) << report.Problem();
    ASSERT_EQ(report.tiles.size(), 1u);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 6; ++x) {
            const bool inside = y >= 1 && y < 3 && x >= 2 && x < 5;
            EXPECT_EQ(document_.Sample(x, y, 0), 0) << x << "," << y;
            EXPECT_EQ(document_.Sample(x, y, 1), inside ? 7 : 0) << x << "," << y;
            EXPECT_EQ(document_.Sample(x, y, 2), inside ? 7 : 0) << x << "," << y;
        }
}

}  // namespace
}  // namespace gridsmith::hosting
