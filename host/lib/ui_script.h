// The scripted user's step language: one step a line, '#' starts a comment.
//
//   wait-dialog ["TITLE"]         wait for the dialog
//   set ID "TEXT"                 replace a control's text
//   type ID "TEXT"                type into an edit or an editable list
//   choose ID INDEX               choose a list item
//   tick ID on|off                check or uncheck a box
//   click ID                      click a button (OK, CANCEL or a number)
//   press X Y | move X Y | release X Y    the left button at a client point
//   expect-text ID "TEXT"         the control shows TEXT
//   expect-enabled ID yes|no      and likewise expect-checked, expect-selection ID N
//   expect-focus ID
//   expect-message "TEXT"         a message box with TEXT appears; OK closes it
//   file "PATH"                   confirm PATH in the file dialog ("" cancels)
//   capture "FILE.png"            a screenshot of the dialog
//   help-button                   press the caption's help button
//   help ID                       help mode's request for a control
//   expect-tip "TEXT"             the help bubble shows TEXT
//   enter-over | leave-over       act on the dialog shown over the plug-in's
//                                 (a popup, the colour dialog), or on its own again
//   wait-close                    the dialog has closed
//
// IDs are control numbers; OK and CANCEL stand for 1 and 2. Texts are UTF-8
// in double quotes, with \" and \\ inside.
#pragma once

#include <string>
#include <vector>

#include "host/lib/dialog_user.h"

namespace gridsmith::hosting {

struct ScriptStep {
    std::string verb;
    std::vector<std::string> args;  // quotes removed
    int line = 0;
};

struct UiScript {
    std::vector<ScriptStep> steps;
};

// Parses a script; on error `error` names the line and the problem.
bool ParseUiScript(const std::string& text, UiScript& script, std::string& error);
bool LoadUiScript(const std::string& path, UiScript& script, std::string& error);

// Plays the steps in order; stops at the first that fails (the user records why).
bool PlayUiScript(const UiScript& script, DialogUser& user);

}  // namespace gridsmith::hosting
