// Whole runs through the substitute host with random table parameters (set
// by the dialog stand-in, as OK would), documents (some wider than 16 bits
// reach), selections, cancels and row padding, with and without big
// documents offered; margins and sizes reach the ends of the 32-bit range.
// The host must never see a request outside the filter rectangle or a plane
// out of range, a plug-in offered big documents must opt in, and no buffer
// may outlive the run.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/lib/filter_host.h"
#include "layout/layout_table.h"
#include "plugin/dialog_state.h"
#include "plugin/platform_native.h"

namespace {

using namespace gridsmith;

TableParams g_params;

int RandomTableDialog(DialogState& state) {
    state.Params = g_params;
    return LayoutTable(state.Params, state.Layout(), false) ? DialogOk : DialogCancel;
}

void SizeList(FuzzedDataProvider& in, char16_t (&list)[kSizeListCapacity]) {
    const std::string text = in.ConsumeRandomLengthString(40);
    size_t n = 0;
    for (char c : text) {
        if (n + 1 == kSizeListCapacity) break;
        list[n++] = char16_t(static_cast<unsigned char>(c));
    }
    list[n] = 0;
}

// Small, anywhere in int32, or within reach of either end of the range.
int32_t Coordinate(FuzzedDataProvider& in, int32_t low, int32_t high) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeIntegral<int32_t>();
    case 1: return INT32_MAX - in.ConsumeIntegralInRange(0, 70000);
    case 2: return INT32_MIN + in.ConsumeIntegralInRange(0, 70000);
    default: return in.ConsumeIntegralInRange(low, high);
    }
}

TableParams RandomParams(FuzzedDataProvider& in) {
    TableParams p{};
    ApplyDefaultParams(p);
    p.Rows = in.ConsumeIntegralInRange(-1, 102);
    p.Cols = in.ConsumeIntegralInRange(-1, 102);
    p.TableWidth = Coordinate(in, -40, 70000);
    p.TableHeight = Coordinate(in, -40, 400);
    p.LeftMargin = Coordinate(in, -200, 70000);
    p.TopMargin = Coordinate(in, -200, 200);
    p.GridLineSize = in.ConsumeIntegralInRange(-2, 12);
    p.GridLineType = in.ConsumeIntegralInRange(-1, 6);
    p.BorderLineSize = in.ConsumeIntegralInRange(-2, 12);
    p.BorderLineType = in.ConsumeIntegralInRange(-1, 6);
    p.Borders = in.ConsumeIntegralInRange(0, 31);
    p.FillBkGnd = in.ConsumeBool();
    p.LineOpaque = in.ConsumeIntegral<uint8_t>();
    p.BackOpaque = in.ConsumeIntegral<uint8_t>();
    p.LineColor = in.ConsumeIntegral<uint32_t>() & 0xFFFFFF;
    if (in.ConsumeBool()) SizeList(in, p.RowSizes);
    if (in.ConsumeBool()) SizeList(in, p.ColSizes);
    return p;
}

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "fuzz_whole_run: %s\n", message.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    // Some documents are wider than 16-bit rectangles reach, and so short
    // that they stay cheap.
    const bool wide = in.ConsumeBool();
    const int32_t width = wide ? in.ConsumeIntegralInRange(32000, 70000) : in.ConsumeIntegralInRange(1, 96);
    const int32_t height = wide ? in.ConsumeIntegralInRange(1, 3) : in.ConsumeIntegralInRange(1, 96);
    const auto mode = static_cast<hosting::ColourMode>(
        in.ConsumeIntegralInRange(0, int(hosting::ColourMode::Multichannel)));
    const int picked = in.PickValueInArray({8, 16, 32});
    const int depth = hosting::HasDepth(mode, picked) ? picked : 16;
    hosting::Document document(width, height, mode, depth);

    hosting::FilterHost host(document);
    if (in.ConsumeBool()) {
        const int32_t left = in.ConsumeIntegralInRange(0, width - 1);
        const int32_t top = in.ConsumeIntegralInRange(0, height - 1);
        const int32_t right = in.ConsumeIntegralInRange(left + 1, width);
        const int32_t bottom = in.ConsumeIntegralInRange(top + 1, height);
        if (!host.Select({top, left, bottom, right}).empty()) Fail("a valid selection was refused");
    }
    hosting::RunOptions options;
    options.cancelAfterTiles = in.ConsumeIntegralInRange(-1, 40);
    options.rowPadding = in.ConsumeIntegralInRange(0, 3);
    options.offerBigDocument = in.ConsumeBool();
    options.offerColourServices = in.ConsumeBool();
    options.convertColours = in.ConsumeBool();
    options.fillLayerCounts = in.ConsumeBool();
    g_params = RandomParams(in);

    DialogState& state = ModuleState();
    state.ShowDialog = 0;
    platform::SetParametersDialogStandIn(&RandomTableDialog);
    auto plugin = hosting::LoadDefaultPlugin();
    const hosting::RunReport report = host.Run(*plugin.value, options);
    platform::SetParametersDialogStandIn(nullptr);

    if (!report.hostErrors.empty()) Fail(report.hostErrors.front());
    if (options.offerBigDocument && host.Record().bigDocumentData->PluginUsing32BitCoordinates != 1)
        Fail("offered big documents, the plug-in did not opt in");
    if (host.Buffers().LiveBuffers() != 0) Fail("host buffers left after the run");
    if (host.Handles().LiveHandles() != 0) Fail("host handles left after the run");
    return 0;
}
