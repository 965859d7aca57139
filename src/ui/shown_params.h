// The table the dialog shows at this moment: every value read from its
// control the way OK reads it, but without storing into the parameters,
// without messages and without moving the focus. A value OK would refuse,
// or one not complete yet (a colour of fewer than six digits, an empty
// opacity, a lone minus sign), keeps the last value that was one.
#pragma once

#include "params/table_params.h"
#include "ui/dialog_controls.h"

namespace gridsmith::ui {

// Updates `shown` from the controls; it starts as the parameters the
// controls were filled from.
void ReadShownParams(DialogControls& controls, TableParams& shown);

}  // namespace gridsmith::ui
