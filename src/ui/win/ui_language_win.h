// The interface's language on Windows: asked of the platform as a dialog
// opens, and the module's resources taken in that language explicitly rather
// than by the loader's own choice.
#pragma once

#include <windows.h>

#include <string>

#include "ui/ui_language.h"

namespace gridsmith::ui {

// From the thread's preferred user-interface languages (which the platform
// follows with the process's and the user's), then the user's default one.
UiLanguage CurrentUiLanguage();

// The template of dialog `id` in `language`; the Chinese one when the module
// has none in that language, and null when it has neither.
const DLGTEMPLATE* DialogTemplate(HINSTANCE instance, int id, UiLanguage language);

// String `id` of the module's string table in `language`, at most `maxUnits`
// units; the Chinese one when the table has no such string in that language.
std::wstring LoadLocalString(HINSTANCE instance, int id, UiLanguage language, size_t maxUnits);

}  // namespace gridsmith::ui
