#pragma once

#include "plugin/dialog_state.h"

namespace gridsmith {

// The start selector: parameters, layout buffers, dialog or layout, and the
// request for the first tile. Returns the result to report to the host.
host::OSErr StartFilter(DialogState& state);

}  // namespace gridsmith
