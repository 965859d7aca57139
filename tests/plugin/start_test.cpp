// Every way the start step can refuse a run: its result reaches the host, no
// finish follows, and no host buffer is left behind.
#include <gtest/gtest.h>

#include <cstring>

#include "host/lib/filter_host.h"
#include "tests/plugin/offered_descriptor.h"
#include "tests/plugin/plugin_under_test.h"

namespace gridsmith::testing {
namespace {

using hosting::ColourMode;
using hosting::Document;
using hosting::FilterHost;
using hosting::RunOptions;
using hosting::RunReport;

RunOptions RepeatRun() {
    RunOptions options;
    options.callParameters = false;
    return options;
}

class StartFailure : public ::testing::Test {
protected:
    // A refused start: its result, no tile, no finish, nothing left allocated.
    void ExpectRefused(const RunReport& report, host::OSErr expected) {
        EXPECT_EQ(report.ResultOf(host::filterSelectorStart), expected);
        EXPECT_FALSE(report.Called(host::filterSelectorContinue));
        EXPECT_FALSE(report.Called(host::filterSelectorFinish));
        EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
        EXPECT_EQ(host_.Buffers().LiveBuffers(), 0);
        EXPECT_EQ(document_.Bytes(), untouched_.Bytes());
    }

    std::shared_ptr<hosting::Plugin> plugin_ = PluginUnderTest();
    Document document_{120, 80, ColourMode::Rgb, 8};
    Document untouched_ = document_;
    FilterHost host_{document_};
};

TEST_F(StartFailure, CountsOrSizesBelowOne) {
    for (uint32_t key : {host::FourCC("rowS"), host::FourCC("colS"), host::FourCC("tabW"),
                         host::FourCC("tabH")}) {
        hosting::Descriptor items = DefaultTableItems();
        hosting::SetItem(items, key, int32_t(0));
        OfferedDescriptor descriptor(host_, items);
        ExpectRefused(host_.Run(*plugin_, RepeatRun()), host::filterBadParameters);
        EXPECT_EQ(host_.Buffers().Allocations(), 0) << key;
    }
}

TEST_F(StartFailure, FirstAllocation) {
    host_.Buffers().FailAllocation(1);
    ExpectRefused(host_.Run(*plugin_, RepeatRun()), host::memFullErr);
}

TEST_F(StartFailure, SecondAllocationFreesTheFirst) {
    host_.Buffers().FailAllocation(2);
    ExpectRefused(host_.Run(*plugin_, RepeatRun()), host::memFullErr);
    EXPECT_EQ(host_.Buffers().Allocations(), 2);
}

TEST_F(StartFailure, LockReturnsNull) {
    host_.Buffers().SetLockFails(true);
    ExpectRefused(host_.Run(*plugin_, RepeatRun()), host::nilHandleErr);
}

TEST_F(StartFailure, LayoutRefusesMoreThanAHundredRows) {
    hosting::Descriptor items = DefaultTableItems();
    hosting::SetItem(items, host::FourCC("rowS"), int32_t(101));
    OfferedDescriptor descriptor(host_, items);
    ExpectRefused(host_.Run(*plugin_, RepeatRun()), host::filterBadParameters);
    EXPECT_EQ(host_.Handles().LiveHandles(), 0);  // the plug-in disposed the descriptor
}

#ifdef GRIDSMITH_LINKED_CORE
TEST_F(StartFailure, DialogCancelled) {
    platform::SetParametersDialogStandIn([](DialogState&) { return int(DialogCancel); });
    const RunReport report = host_.Run(*plugin_);  // the parameters selector asks for the dialog
    platform::SetParametersDialogStandIn(nullptr);
    ExpectRefused(report, host::userCanceledErr);
    const host::Rect empty{};
    EXPECT_EQ(std::memcmp(&host_.Record().outRect, &empty, sizeof empty), 0);
}

// A dialog that cannot be created has laid nothing out: whatever the host's
// buffers held must not be drawn. The run lays the parameters out itself.
int DialogThatCannotBeCreated(DialogState& state) {
    for (int i = 0; i < MaxTableCells; ++i) state.RowHeights[i] = state.ColWidths[i] = 7;
    return -1;
}

TEST(DialogNotCreated, DrawsAFreshLayoutNotTheBuffersContents) {
    Document document{120, 80, ColourMode::Rgb, 8}, confirmed = document;
    FilterHost host{document};
    auto plugin = PluginUnderTest();  // a fresh module state, the default dialog
    platform::SetParametersDialogStandIn(&DialogThatCannotBeCreated);
    const RunReport report = host.Run(*plugin);
    platform::SetParametersDialogStandIn(nullptr);
    EXPECT_TRUE(report.Succeeded()) << report.Problem();
    EXPECT_EQ(host.Buffers().LiveBuffers(), 0);

    FilterHost reference{confirmed};  // the same table through a confirmed dialog
    EXPECT_TRUE(reference.Run(*plugin).Succeeded());
    EXPECT_EQ(document.Bytes(), confirmed.Bytes());
}

TEST(DialogNotCreated, RefusedLayoutReleasesTheBuffers) {
    Document document{120, 80, ColourMode::Rgb, 8};
    FilterHost host{document};
    hosting::Descriptor items = DefaultTableItems();
    hosting::SetItem(items, host::FourCC("colS"), int32_t(101));
    OfferedDescriptor descriptor(host, items);
    host.Record().descriptorParameters->playInfo = host::plugInDialogDisplay;  // show the dialog
    auto plugin = PluginUnderTest();
    platform::SetParametersDialogStandIn(&DialogThatCannotBeCreated);
    const RunReport report = host.Run(*plugin);
    platform::SetParametersDialogStandIn(nullptr);
    EXPECT_EQ(report.ResultOf(host::filterSelectorStart), host::filterBadParameters);
    EXPECT_EQ(host.Buffers().LiveBuffers(), 0);
}
#endif

}  // namespace
}  // namespace gridsmith::testing
