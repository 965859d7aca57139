// The module state: everything that lives between the host's calls. It begins
// with the one parameter block and continues with the run's fields; the dialog
// appends its own fields when it exists.
#pragma once

#include <cstdint>

#include "layout/layout_table.h"
#include "params/table_params.h"
#include "plugin/host_abi.h"
#include "plugin/host_buffer.h"
#include "render/plane_values.h"
#include "render/draw_progress.h"

namespace gridsmith {

enum DrawPhase : int32_t {
    PhaseBackground = 0,
    PhaseHorizontalGrid = 1,
    PhaseVerticalGrid = 2,
    PhaseBorders = 3,
};

// What the mouse or the dialog's own code is doing.
enum DragMode : int32_t {
    DragNone = 0,
    DragOpacity = 1,
    DragPan = 2,
    DragGrip = 3,
    HelpPick = 4,
    Updating = 5,  // the dialog writes controls; their notifications are ignored
};

enum DialogOutcome : int32_t {
    DialogOk = 1,
    DialogCancel = 2,
};

struct DialogState {
    TableParams Params;

    void* Instance = nullptr;              // module handle of the library
    host::FilterRecord* Host = nullptr;    // host record of the current call

    int32_t ShowDialog = 0;
    int32_t DialogResult = 0;

    int32_t DragMode = DragNone;
    // The preview shows the table as it will be painted ("显示效果"), not its
    // outline. No parameter: off when the library loads, kept while it stays.
    int32_t ShowEffect = 0;

    int32_t DrawPhase = PhaseBackground;
    int32_t ItemIndex = 0;
    int32_t ColumnIndex = 0;
    host::VRect LineRect{};  // in 32-bit coordinates; narrowed only in the record
    host::VRect TileRect{};
    RunPixels Pixels;  // what this run paints, made at start
    DrawProgress Progress;  // items painted in this run, for the host's progress bar

    HostBuffer RowSizeBuffer;
    int32_t* RowHeights = nullptr;
    HostBuffer ColSizeBuffer;
    int32_t* ColWidths = nullptr;

    // Filled in by the dialog while it runs; the layout calls it when asked to
    // refresh the grips. Null when no preview exists.
    GripPlacement PlaceGrips = nullptr;
    void* GripContext = nullptr;

    TableLayout Layout() const { return TableLayout{ColWidths, RowHeights}; }
};

// The one module-level record. It is never destroyed: the host may unload the
// library at any time, and nothing in it must call back into the host then.
DialogState& ModuleState();

// Unlocks and frees both layout buffers and clears their addresses.
void ReleaseLayoutBuffers(DialogState& state);

}  // namespace gridsmith
