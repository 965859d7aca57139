// The window that owns the plug-in's dialogs: a hidden top-level window on
// Windows, none natively. A host without a window still runs (handle 0).
#pragma once

#include <cstdint>

namespace gridsmith::hosting {

class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    intptr_t Handle() const { return handle_; }

private:
    intptr_t handle_ = 0;
};

}  // namespace gridsmith::hosting
