// The selectors around the run: prepare, finish, unknown ones, and which of
// them leave the host's preset result alone.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/lib/filter_host.h"
#include "tests/plugin/plugin_under_test.h"

namespace gridsmith::testing {
namespace {

using hosting::ColourMode;
using hosting::Document;
using hosting::FilterHost;

std::vector<unsigned char> RecordBytes(FilterHost& host) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&host.Record());
    return std::vector<unsigned char>(bytes, bytes + sizeof(host::FilterRecord));
}

TEST(Prepare, AsksForTheLayoutBuffersAndPerPlaneSpace) {
    auto plugin = PluginUnderTest();
    Document rgba(64, 64, ColourMode::RgbAlpha, 8);
    FilterHost fourPlanes(rgba);
    EXPECT_EQ(fourPlanes.Call(*plugin, host::filterSelectorPrepare), host::noErr);
    EXPECT_EQ(fourPlanes.Record().bufferSpace, 454856);

    Document gray(64, 64, ColourMode::Gray, 16);
    FilterHost onePlane(gray);
    onePlane.Call(*plugin, host::filterSelectorPrepare);
    EXPECT_EQ(onePlane.Record().bufferSpace, 325832);
    EXPECT_EQ(onePlane.Record().maxSpace, fourPlanes.Record().maxSpace);  // never changed
}

TEST(UnknownSelector, ReportsBadParametersAndTouchesNothing) {
    auto plugin = PluginUnderTest();
    Document document(32, 32, ColourMode::Rgb, 8);
    FilterHost host(document);
    const std::vector<unsigned char> before = RecordBytes(host);
    for (int16_t selector : {int16_t(6), int16_t(-1)}) {
        EXPECT_EQ(host.Call(*plugin, selector), host::filterBadParameters) << selector;
        EXPECT_EQ(RecordBytes(host), before) << selector;
    }
}

// Parameters and prepare leave the host's preset alone; about reports noErr
// over it (tests/win checks the real dialog's).
TEST(PresetResult, StaysForParametersAndPrepareWhileAboutReportsNoErr) {
    auto plugin = PluginUnderTest();
    Document document(32, 32, ColourMode::Rgb, 8);
    FilterHost host(document);
    constexpr host::OSErr kPreset = 1234;
    EXPECT_EQ(host.Call(*plugin, host::filterSelectorParameters, kPreset), kPreset);
    EXPECT_EQ(host.Call(*plugin, host::filterSelectorPrepare, kPreset), kPreset);
#ifdef GRIDSMITH_LINKED_CORE
    // The real About dialog is modal; only the native stand-in returns at once.
    EXPECT_EQ(host.Call(*plugin, host::filterSelectorAbout, 1), host::noErr);
#endif
}

TEST(Finish, ReportsNoErrWithoutAnyBuffers) {
    auto plugin = PluginUnderTest();
    Document document(32, 32, ColourMode::Rgb, 8);
    FilterHost host(document);
    EXPECT_EQ(host.Call(*plugin, host::filterSelectorFinish, host::paramErr), host::noErr);
    EXPECT_EQ(host.Buffers().LiveBuffers(), 0);
}

#ifdef GRIDSMITH_LINKED_CORE
TEST(Parameters, AsksForTheDialogAtTheNextStart) {
    auto plugin = PluginUnderTest();
    Document document(32, 32, ColourMode::Rgb, 8);
    FilterHost host(document);
    ASSERT_EQ(ModuleState().ShowDialog, 0);
    host.Call(*plugin, host::filterSelectorParameters);
    EXPECT_EQ(ModuleState().ShowDialog, 1);
}
#endif

}  // namespace
}  // namespace gridsmith::testing
