#include "host/lib/dialog_watch.h"

#include <utility>

namespace gridsmith::hosting {

struct DialogWatch::Player {};

DialogWatch::DialogWatch(intptr_t, const DialogPlay& play) {
    if (play.script) refused_.push_back("dialog scripts are played by the Windows build only");
}

DialogWatch::~DialogWatch() = default;

std::vector<std::string> DialogWatch::Finish() { return std::exchange(refused_, {}); }

}  // namespace gridsmith::hosting
