#include "host/lib/ui_hooks.h"

namespace gridsmith::hosting {

// Natively there is no pointer to show.
void ShowSystemCursor(SystemCursor) {}

}  // namespace gridsmith::hosting
