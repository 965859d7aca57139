// Places a dialog over its owner: centred across, one third of the free space down.
#pragma once

#include <windows.h>

namespace gridsmith::ui {

void CenterOverOwner(HWND dialog);

}  // namespace gridsmith::ui
