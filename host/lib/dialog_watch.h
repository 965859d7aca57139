// Who answers the plug-in's dialogs while the host is inside one call: a
// script played by the scripted user, a person at the screen, or, when
// nothing is said, a user who confirms at once (as the native build's
// stand-in dialog does). Windows only plays scripts; natively the plug-in's
// stand-in confirms and a script is refused.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/lib/dialog_user.h"

namespace gridsmith::hosting {

struct DialogPlay {
    std::function<void(DialogUser&)> script;  // null: confirm at once
    bool person = false;                      // leave the dialog to a person
};

class DialogWatch {
public:
    // On the thread that calls the plug-in, just before the call.
    DialogWatch(intptr_t ownerWindow, const DialogPlay& play);
    ~DialogWatch();
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;

    // After the call: what went wrong with the dialog, if anything.
    std::vector<std::string> Finish();

private:
    struct Player;
    std::unique_ptr<Player> player_;
    std::vector<std::string> refused_;
};

}  // namespace gridsmith::hosting
