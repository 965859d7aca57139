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
    host::Rect rect{};
    int16_t loPlane = 0;
    int16_t hiPlane = 0;
    bool writePastRow = false;
    bool freeForeignBuffer = false;
    uint8_t paint = 0;  // non-zero: every delivered sample becomes this
};
Script g_script;

void ScriptedEntry(int16_t selector, void* record, intptr_t*, int16_t*) {
    auto& r = *static_cast<host::FilterRecord*>(record);
    if (selector == host::filterSelectorStart) {
        r.outRect = g_script.rect;
        r.outLoPlane = g_script.loPlane;
        r.outHiPlane = g_script.hiPlane;
    } else if (selector == host::filterSelectorContinue) {
        const int planes = r.outHiPlane - r.outLoPlane + 1;
        const int rowSamples = (r.outRect.right - r.outRect.left) * planes;
        for (int y = 0; g_script.paint && y < r.outRect.bottom - r.outRect.top; ++y)
            std::memset(static_cast<char*>(r.outData) + y * r.outRowBytes, g_script.paint, size_t(rowSamples));
        if (g_script.writePastRow) static_cast<char*>(r.outData)[(r.outRect.right - r.outRect.left) * planes] = 1;
        r.outRect = {};
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
