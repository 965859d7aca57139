#include "plugin/platform_native.h"

#include "plugin/platform.h"

namespace gridsmith::platform {
namespace {
ParametersDialogStandIn g_dialogStandIn = nullptr;
}

void SetParametersDialogStandIn(ParametersDialogStandIn standIn) { g_dialogStandIn = standIn; }

void InitCommonControls() {}

int RunParametersDialog(DialogState& state) {
    return g_dialogStandIn ? g_dialogStandIn(state) : -1;
}

void RunAboutDialog(const host::AboutRecord*) {}

}  // namespace gridsmith::platform
