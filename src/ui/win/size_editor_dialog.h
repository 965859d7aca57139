// The size-list popup: a modeless editor for a long row-height or
// column-width list, working on the parameters dialog's SizeEditorState.
#pragma once

#include <windows.h>

#include "ui/display_scale.h"
#include "ui/main_dialog.h"

namespace gridsmith::ui {

// Creates the hidden popup owned by `dialog` over `state`, in the dialog's
// language; null on failure.
HWND CreateSizeEditor(HWND dialog, HINSTANCE instance, SizeEditorState& state, UiLanguage language);

// Shows the popup, its text loaded, under `button` of `dialog`: its right edge
// on the button's, 2 pixels (at `scale`) below it, on top without taking the
// activation.
void ShowSizeEditorUnder(HWND popup, HWND dialog, int button, DisplayScale scale);

}  // namespace gridsmith::ui
