#include "plugin/platform_native.h"

#include "layout/layout_table.h"
#include "plugin/platform.h"

namespace gridsmith::platform {
namespace {

// With no window system the dialog is played by a user who confirms the
// parameters as they stand: OK lays the table out, as the real dialog's OK
// does, and the run is recorded like any confirmed run.
int ConfirmAsShown(DialogState& state) {
    if (!LayoutTable(state.Params, state.Layout(), false)) return -1;
    state.DialogResult = DialogOk;
    return DialogOk;
}

ParametersDialogStandIn g_dialogStandIn = &ConfirmAsShown;

}  // namespace

void SetParametersDialogStandIn(ParametersDialogStandIn standIn) {
    g_dialogStandIn = standIn ? standIn : &ConfirmAsShown;
}

void InitCommonControls() {}

int RunParametersDialog(DialogState& state) { return g_dialogStandIn(state); }

host::OSErr RunAboutDialog(const host::AboutRecord*) { return host::noErr; }

}  // namespace gridsmith::platform
