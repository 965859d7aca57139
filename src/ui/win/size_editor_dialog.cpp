#include "ui/win/size_editor_dialog.h"

#include "ui/control_text.h"
#include "ui/dialog_ids.h"
#include "ui/size_editor_rules.h"
#include "ui/win/ui_language_win.h"
#include "ui/win/window_controls.h"

namespace gridsmith::ui {
namespace {

SizeEditorState* StateOf(HWND popup) {
    return reinterpret_cast<SizeEditorState*>(GetWindowLongPtrW(popup, DWLP_USER));
}

std::u16string EditText(HWND popup) {
    return WindowControls(popup).Text(IDC_SIZE_EDITOR_TEXT, kSizeListMaxUnits);
}

void ShowCount(HWND popup, size_t length) {
    WindowControls(popup).SetText(IDC_SIZE_EDITOR_COUNT, CharactersLeftText(length));
}

void Load(HWND popup, SizeEditorState& state) {
    const std::u16string_view text = SizeListText(state.Text);
    ShowCount(popup, text.size());
    WindowControls(popup).SetText(IDC_SIZE_EDITOR_TEXT, text);
    HWND edit = GetDlgItem(popup, IDC_SIZE_EDITOR_TEXT);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
}

void Close(HWND popup, SizeEditorState& state, int result) {
    state.Result = result;
    state.OpenFor = 0;
    if (result == IDOK) {
        StoreSizeList(state.Text, EditText(popup));
        SendMessageW(reinterpret_cast<HWND>(state.Owner), MSG_SIZE_LIST_EDITED, 0, LPARAM(&state));
    }
    ShowWindow(popup, SW_HIDE);
}

INT_PTR CALLBACK SizeEditorProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(popup, DWLP_USER, lParam);
        SendDlgItemMessageW(popup, IDC_SIZE_EDITOR_TEXT, EM_LIMITTEXT, kSizeListMaxUnits, 0);
        return FALSE;
    }
    SizeEditorState* state = StateOf(popup);
    if (!state) return FALSE;
    switch (message) {
    case MSG_SIZE_LIST_LOAD:
        Load(popup, *state);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SIZE_EDITOR_TEXT:
            if (HIWORD(wParam) == EN_CHANGE) ShowCount(popup, EditText(popup).size());
            return TRUE;
        case IDOK:
        case IDCANCEL:
            Close(popup, *state, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

HWND CreateSizeEditor(HWND dialog, HINSTANCE instance, SizeEditorState& state, UiLanguage language) {
    const DLGTEMPLATE* popup = DialogTemplate(instance, IDD_SIZE_EDITOR, language);
    if (!popup) return nullptr;
    return CreateDialogIndirectParamW(instance, popup, dialog, SizeEditorProc, reinterpret_cast<LPARAM>(&state));
}

void ShowSizeEditorUnder(HWND popup, HWND dialog, int button, DisplayScale scale) {
    SendMessageW(popup, MSG_SIZE_LIST_LOAD, 0, 0);
    RECT buttonRect{}, popupRect{};
    GetWindowRect(GetDlgItem(dialog, button), &buttonRect);
    GetWindowRect(popup, &popupRect);
    const ScreenPoint corner = SizeEditorCorner({buttonRect.left, buttonRect.top, buttonRect.right,
                                                 buttonRect.bottom},
                                                int(popupRect.right - popupRect.left), scale);
    SetWindowPos(popup, HWND_TOP, corner.x, corner.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_SHOWWINDOW);
}

}  // namespace gridsmith::ui
