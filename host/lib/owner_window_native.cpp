#include "host/lib/owner_window.h"

namespace gridsmith::hosting {

OwnerWindow::OwnerWindow() = default;
OwnerWindow::~OwnerWindow() = default;

}  // namespace gridsmith::hosting
