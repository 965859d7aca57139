// The scripted user on Windows: plays a DialogUser script from a second thread
// against the real dialog of the plug-in, which runs its modal loop on the
// host's thread. Each action runs on the dialog's own thread (posted to a
// window of ours there), so an action that opens a message box or a file
// dialog does not block the script: the script goes on to answer it.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/lib/dialog_user.h"

namespace gridsmith::hosting {

class ScriptedUser final : public DialogUser {
public:
    // Made on the thread that calls the plug-in; `owner` is the host window
    // that owns the plug-in's dialogs.
    explicit ScriptedUser(HWND owner);
    ~ScriptedUser() override;
    ScriptedUser(const ScriptedUser&) = delete;
    ScriptedUser& operator=(const ScriptedUser&) = delete;

    // Plays `script` on the script thread. With `dialogOptional`, a call that
    // shows no dialog at all is no failure.
    void Start(std::function<void(DialogUser&)> script, bool dialogOptional = false);
    // Ends the script thread once the plug-in has returned; what went wrong.
    std::vector<std::string> Stop();

    bool WaitForDialog(const std::string& title = {}) override;
    bool SetText(int id, const std::string& text) override;
    bool Type(int id, const std::string& text) override;
    bool Choose(int id, int index) override;
    bool Tick(int id, bool checked) override;
    bool Click(int id) override;
    bool Press(int x, int y) override;
    bool Move(int x, int y) override;
    bool Release(int x, int y) override;
    bool HelpButton() override;
    bool HelpOn(int id) override;
    bool EnterWindowOver() override;
    void LeaveWindowOver() override { target_ = nullptr; }
    std::string Text(int id) override;
    bool Enabled(int id) override;
    bool Checked(int id) override;
    int Selection(int id) override;
    int Focus() override;
    Box ItemBox(int id) override;
    Box ClientBox() override;
    Box WindowBox() override;
    bool WindowOverShown() override;
    TipSeen Tip() override;
    bool AnswerMessageBox(MessageBoxSeen& seen) override;
    bool AnswerFileDialog(const std::string& path, const std::function<void()>& whileAsked = {}) override;
    bool Capture(const std::string& pngPath) override;
    bool WaitForClose() override;
    bool RunOnDialog(const std::function<void(intptr_t dialog)>& work) override;
    void Fail(const std::string& why) override;

    HWND Dialog() const { return dialog_.load(); }

    struct Task;  // one action posted to the dialog's thread

private:

    // Runs `work` on the dialog's thread. True once it has run, or once it
    // opened a window over the dialog (it then goes on in that window's loop).
    bool OnDialogThread(std::function<void()> work);
    HWND Item(int id);
    HWND Target() const { return target_ ? target_.load() : dialog_.load(); }
    // A visible window over the dialog: a message box, or another dialog.
    HWND WindowOverDialog(bool messageBox);
    HWND WaitForWindowOverDialog(bool messageBox, const char* what);
    bool Mouse(UINT message, WPARAM keys, int x, int y);
    // Cancels a dialog the script left open, so the host's call returns.
    void CloseWhatIsLeft();

    HWND owner_;
    DWORD hostThread_;
    HWND messenger_ = nullptr;
    std::atomic<HWND> dialog_{nullptr};
    std::atomic<HWND> target_{nullptr};  // a dialog over the plug-in's, when entered
    std::atomic<bool> stopping_{false};
    bool dialogOptional_ = false;
    std::thread script_;
    std::mutex failuresLock_;
    std::vector<std::string> failures_;
    void* faultWatch_ = nullptr;
};

}  // namespace gridsmith::hosting
