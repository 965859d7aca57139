// A user at the plug-in's dialogs, as a test or a script plays one: every
// action a person takes on a control, and every look at one. The Windows host
// implements it over the real dialog (ScriptedUser); a failed action records
// why and returns false.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace gridsmith::hosting {

struct MessageBoxSeen {
    std::string caption;
    std::string text;
};

struct Box {  // right and bottom exclusive
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The plug-in's help bubble as it shows.
struct TipSeen {
    bool found = false;
    bool visible = false;
    std::string text;
    Box frame;             // screen coordinates
    intptr_t window = 0;   // its handle, for messages sent to it
};

class DialogUser {
public:
    virtual ~DialogUser() = default;

    // Waits until the plug-in's dialog is open (or `title`'s, when given).
    virtual bool WaitForDialog(const std::string& title = {}) = 0;

    // Replaces a control's text as a program does (edits raise their change).
    virtual bool SetText(int id, const std::string& text) = 0;
    // Types into an edit (its selection replaced, character by character) or
    // into an editable list's edit, raising what typing raises.
    virtual bool Type(int id, const std::string& text) = 0;
    // Chooses item `index` of a drop-down list.
    virtual bool Choose(int id, int index) = 0;
    // Clicks a check box until it shows `checked`.
    virtual bool Tick(int id, bool checked) = 0;
    // Clicks a button; fails when it is disabled.
    virtual bool Click(int id) = 0;
    // The left mouse button at a point of the dialog's client area.
    virtual bool Press(int x, int y) = 0;
    virtual bool Move(int x, int y) = 0;
    virtual bool Release(int x, int y) = 0;
    // The caption's help button, and the help request that help mode then
    // makes for control `id` (at its centre).
    virtual bool HelpButton() = 0;
    virtual bool HelpOn(int id) = 0;

    // The controls named from now on are those of the dialog shown over the
    // plug-in's (a popup or the system's colour dialog), or again the
    // plug-in's own.
    virtual bool EnterWindowOver() = 0;
    virtual void LeaveWindowOver() = 0;

    virtual std::string Text(int id) = 0;
    virtual bool Enabled(int id) = 0;
    virtual bool Checked(int id) = 0;
    virtual int Selection(int id) = 0;
    // The control with the keyboard focus; 0 when none of the dialog's.
    virtual int Focus() = 0;
    // A control's rectangle in its dialog's client coordinates.
    virtual Box ItemBox(int id) = 0;
    // The client area within the window, as a capture shows it, and the
    // window's frame on the screen (of the dialog acted on).
    virtual Box ClientBox() = 0;
    virtual Box WindowBox() = 0;
    // Whether the dialog shown over the plug-in's is open.
    virtual bool WindowOverShown() = 0;
    virtual TipSeen Tip() = 0;

    // Waits for a message box over the dialog, reads it and presses OK.
    virtual bool AnswerMessageBox(MessageBoxSeen& seen) = 0;
    // Waits for the open or save file dialog and confirms `path`, or cancels
    // it when `path` is empty. Asked whether `path` is to replace an existing
    // file, the user first does `whileAsked` (if any), then says yes.
    virtual bool AnswerFileDialog(const std::string& path, const std::function<void()>& whileAsked = {}) = 0;
    // Writes the dialog as it shows on screen, with the windows it owns over
    // it, into a PNG file.
    virtual bool Capture(const std::string& pngPath) = 0;
    // The dialog has closed.
    virtual bool WaitForClose() = 0;

    // Runs `work` on the dialog's own thread with its window handle, between
    // steps: to look at what the host recorded there, or to time a step.
    virtual bool RunOnDialog(const std::function<void(intptr_t dialog)>& work) = 0;

    virtual void Fail(const std::string& why) = 0;
};

}  // namespace gridsmith::hosting
