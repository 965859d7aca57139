// Moves a dialog over its owner (the desktop when it has none) by the rule in
// ui/centering.h, keeping its size and Z order.
#pragma once

#include <windows.h>

namespace gridsmith::ui {

void CenterOverOwner(HWND dialog);

}  // namespace gridsmith::ui
