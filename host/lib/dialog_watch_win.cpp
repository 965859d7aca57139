#include "host/lib/dialog_watch.h"

#include <utility>

#include "host/lib/scripted_user_win.h"

namespace gridsmith::hosting {

struct DialogWatch::Player {
    explicit Player(HWND owner) : user(owner) {}
    ScriptedUser user;
};

namespace {

// The click only ends the dialog: it is destroyed once its loop runs again.
void ConfirmAtOnce(DialogUser& user) {
    if (user.WaitForDialog() && user.Click(1)) user.WaitForClose();
}

}  // namespace

DialogWatch::DialogWatch(intptr_t ownerWindow, const DialogPlay& play) {
    if (play.person) return;
    player_ = std::make_unique<Player>(reinterpret_cast<HWND>(ownerWindow));
    if (play.script)
        player_->user.Start(play.script);
    else
        player_->user.Start(&ConfirmAtOnce, /*dialogOptional=*/true);
}

DialogWatch::~DialogWatch() = default;

std::vector<std::string> DialogWatch::Finish() {
    std::vector<std::string> problems = std::exchange(refused_, {});
    if (player_) {
        for (std::string& problem : player_->user.Stop()) problems.push_back(std::move(problem));
        player_.reset();
    }
    return problems;
}

}  // namespace gridsmith::hosting
