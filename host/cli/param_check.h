// The parameters of a run, checked before the plug-in runs and by its own
// rules: its descriptor reader makes of the offered descriptor the block a
// freshly loaded module would hold, and the block's limits name the first
// field that the start step, then the dialog's OK or the layout, refuses.
#pragma once

#include <string>

#include "host/descriptors/descriptor.h"
#include "plugin/host_abi.h"

namespace gridsmith::cli {

// Empty when a run would take `offered`, else what it refuses, as "Rows must
// be 1..100 (got 500)". With `startOnly` a person or a script answers the
// dialog and may still mend a value there: only the start step's limits hold.
std::string CheckOfferedParams(const hosting::Descriptor& offered, host::HandleProcs* handles,
                               bool startOnly);

}  // namespace gridsmith::cli
