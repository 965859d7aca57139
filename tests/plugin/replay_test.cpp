// Replayed actions through the whole plug-in: the host's play option decides
// whether the dialog shows, and a descriptor that fails to read draws the
// default table.
#include <gtest/gtest.h>

#include "host/descriptors/descriptor_store.h"
#include "host/lib/filter_host.h"
#include "tests/plugin/plugin_under_test.h"

namespace gridsmith::testing {
namespace {

using hosting::ColourMode;
using hosting::DescriptorStore;
using hosting::Document;
using hosting::FilterHost;

int g_dialogsShown = 0;
#ifdef GRIDSMITH_LINKED_CORE
int CountingConfirmedDialog(DialogState& state) {
    ++g_dialogsShown;
    return LayoutTable(state.Params, state.Layout(), false) ? int(DialogOk) : -1;
}
#endif

// An interactive run (the parameters selector asks for the dialog) that
// replays `descriptor` with `playInfo`; returns the painted document.
Document Replay(const hosting::Descriptor& descriptor, int16_t playInfo, host::OSErr closeError) {
    Document document{160, 120, ColourMode::Rgb, 8};
    FilterHost host{document};
    DescriptorStore store{host.Handles().Procs()};
    store.Offer(descriptor);
    store.SetPlay(playInfo, host::plugInDialogOptional);
    store.Faults().closeReadError = closeError;
    host.SetDescriptorParameters(store.Parameters());
    auto plugin = PluginUnderTest();
#ifdef GRIDSMITH_LINKED_CORE
    platform::SetParametersDialogStandIn(&CountingConfirmedDialog);
#endif
    g_dialogsShown = 0;
    const hosting::RunReport report = host.Run(*plugin);
#ifdef GRIDSMITH_LINKED_CORE
    platform::SetParametersDialogStandIn(nullptr);
#endif
    EXPECT_TRUE(report.Succeeded()) << report.Problem();
    EXPECT_EQ(host.Buffers().LiveBuffers(), 0);
    return document;
}

const hosting::Descriptor kNarrowTable = {
    {host::FourCC("rowS"), 2}, {host::FourCC("colS"), 2}, {host::FourCC("lefM"), 5},
    {host::FourCC("topM"), 5}, {host::FourCC("tabW"), 60}, {host::FourCC("tabH"), 30},
    {host::FourCC("bdlZ"), 2}, {host::FourCC("bbdS"), 15}, {host::FourCC("filB"), true},
};

TEST(Replay, SilentFailedReadDrawsTheDefaultsWithoutTheDialog) {
    const Document failed = Replay(kNarrowTable, host::plugInDialogSilent, host::paramErr);
    EXPECT_EQ(g_dialogsShown, 0);
    const Document defaults = Replay({}, host::plugInDialogSilent, host::paramErr);
    const Document narrow = Replay(kNarrowTable, host::plugInDialogSilent, host::noErr);
    EXPECT_EQ(failed.Bytes(), defaults.Bytes());
    EXPECT_NE(failed.Bytes(), narrow.Bytes());
}

#ifdef GRIDSMITH_LINKED_CORE
TEST(Replay, PlayOptionDecidesTheDialog) {
    Replay(kNarrowTable, host::plugInDialogDontDisplay, host::noErr);
    EXPECT_EQ(g_dialogsShown, 0);
    Replay(kNarrowTable, host::plugInDialogDontDisplay, host::paramErr);
    EXPECT_EQ(g_dialogsShown, 1);
    Replay(kNarrowTable, host::plugInDialogDisplay, host::noErr);
    EXPECT_EQ(g_dialogsShown, 1);
}
#endif

}  // namespace
}  // namespace gridsmith::testing
