#include "plugin/filter_start.h"

#include "layout/layout_table.h"
#include "params/script_params.h"
#include "plugin/platform.h"
#include "render/draw_passes.h"

namespace gridsmith {
namespace {

constexpr int32_t kLayoutBufferBytes = MaxTableCells * int32_t(sizeof(int32_t));

// Both layout buffers allocated and locked into the state, or an error with
// nothing left allocated.
host::OSErr AcquireLayoutBuffers(DialogState& state) {
    host::BufferProcs* procs = state.Host->bufferProcs;
    HostBuffer rows, cols;
    if (rows.Allocate(procs, kLayoutBufferBytes) != host::noErr) return host::memFullErr;
    if (cols.Allocate(procs, kLayoutBufferBytes) != host::noErr) return host::memFullErr;
    state.RowHeights = static_cast<int32_t*>(rows.Lock());
    state.ColWidths = static_cast<int32_t*>(cols.Lock());
    state.RowSizeBuffer = static_cast<HostBuffer&&>(rows);
    state.ColSizeBuffer = static_cast<HostBuffer&&>(cols);
    if (!state.RowHeights || !state.ColWidths) {
        // The host would not call finish after this error: release here.
        ReleaseLayoutBuffers(state);
        return host::nilHandleErr;
    }
    return host::noErr;
}

// Lays the table out without the dialog. On refusal the buffers are released,
// since the host does not call finish after a failed start.
host::OSErr LayOutDirectly(DialogState& state) {
    if (LayoutTable(state.Params, state.Layout(), false)) return host::noErr;
    ReleaseLayoutBuffers(state);
    return host::filterBadParameters;
}

host::OSErr RunDialogOrLayout(DialogState& state) {
    if (!state.ShowDialog) return LayOutDirectly(state);
    switch (platform::RunParametersDialog(state)) {
    case DialogOk:
        return host::noErr;  // OK has laid the table out into the buffers
    case DialogCancel:
        EndRequests(*state.Host);
        ReleaseLayoutBuffers(state);
        return host::userCanceledErr;
    default:
        // No dialog could be created, so no layout exists for this run: lay the
        // current parameters out as a run without the dialog would.
        return LayOutDirectly(state);
    }
}

}  // namespace

host::OSErr StartFilter(DialogState& state) {
    state.Pixels.Ready = false;
    state.Progress.Begin(0);  // nothing to report until a tile is requested
    if (ReadScriptParams(state.Host, state.Params, state.ShowDialog) != host::noErr)
        ApplyDefaultParams(state.Params);
    if (FirstRefusedAtStart(state.Params)) return host::filterBadParameters;

    if (host::OSErr err = AcquireLayoutBuffers(state); err != host::noErr) return err;
    if (host::OSErr err = RunDialogOrLayout(state); err != host::noErr) return err;

    if (!FindFirstItem(state)) {
        EndRequests(*state.Host);
        return host::noErr;
    }
    state.Pixels = MakeRunPixels(*state.Host, state.Params);
    BeginProgress(state);
    RequestTile(state);
    return host::noErr;
}

}  // namespace gridsmith
