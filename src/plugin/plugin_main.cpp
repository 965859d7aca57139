// The library's one way in: records the host's pointers and dispatches on the
// selector. Start and continue live beside it; prepare and finish are here.
#include <cstdint>

#include "params/script_params.h"
#include "plugin/dialog_state.h"
#include "plugin/filter_start.h"
#include "plugin/module.h"
#include "plugin/platform.h"
#include "plugin/record_rects.h"
#include "render/draw_passes.h"

namespace gridsmith {
namespace {

// Pointers of the current call. `data` is recorded and never used.
host::FilterRecord* g_record = nullptr;
intptr_t* g_data = nullptr;
int16_t* g_result = nullptr;

void WriteResult(host::OSErr err) {
    if (g_result) *g_result = err;
}

void Prepare(host::FilterRecord& record) {
    record.bufferSpace = int32_t(record.planes) * 43008 + 282824;
}

host::OSErr Finish(DialogState& state) {
    if (state.DialogResult == DialogOk) WriteScriptParams(state.Host, state.Params);
    ReleaseLayoutBuffers(state);
    return host::noErr;
}

}  // namespace
}  // namespace gridsmith

extern "C" void PluginMain(int16_t selector, void* record, intptr_t* data, int16_t* result) {
    using namespace gridsmith;
    DialogState& state = ModuleState();
    g_data = data;
    g_result = result;
    g_record = static_cast<host::FilterRecord*>(record);
    state.Host = g_record;
    state.Instance = ModuleInstance();
    // Every filter selector reaches the record: opt in to big documents on each.
    if (g_record && selector >= host::filterSelectorParameters && selector <= host::filterSelectorFinish)
        OptInToBigDocument(*g_record);

    switch (selector) {
    case host::filterSelectorAbout:
        // Written although the about step traditionally writes nothing: hosts
        // that preset a failure would report the About command as failed.
        platform::InitCommonControls();
        WriteResult(platform::RunAboutDialog(static_cast<const host::AboutRecord*>(record)));
        break;
    case host::filterSelectorParameters:
        platform::InitCommonControls();
        state.ShowDialog = 1;
        break;
    case host::filterSelectorPrepare:
        if (g_record) Prepare(*g_record);
        break;
    case host::filterSelectorStart:
        WriteResult(g_record ? StartFilter(state) : host::filterBadParameters);
        break;
    case host::filterSelectorContinue:
        WriteResult(g_record ? ContinueFilter(state) : host::filterBadParameters);
        break;
    case host::filterSelectorFinish:
        WriteResult(Finish(state));
        break;
    default:
        WriteResult(host::filterBadParameters);
        break;
    }
}
