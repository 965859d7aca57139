// The parameters dialog's rules, apart from the window system: the command
// handlers that keep TableParams and the preview in step with the controls,
// OK and Cancel, the size-list popup's toggling, Save and Load. The Windows
// dialog procedure translates messages into these calls.
#pragma once

#include <cstdint>
#include <string>

#include "plugin/dialog_state.h"
#include "ui/dialog_controls.h"
#include "ui/params_file.h"
#include "ui/ui_language.h"

namespace gridsmith::ui {

constexpr int kSizeListUnits = 256;  // the popup's text, terminator included

// Shared by the dialog and the size-list popup.
struct SizeEditorState {
    intptr_t Owner = 0;       // the parameters dialog's window
    int32_t TargetEdit = 0;   // IDC_ROW_SIZES or IDC_COL_SIZES
    int32_t Result = 101;     // the popup: 1 after its OK, 2 after its Cancel
    int32_t OpenFor = 0;      // the edit the popup is showing for; 0 while hidden
    char16_t Text[kSizeListUnits] = {};
};

// What the dialog needs from its window besides the controls. A piece the
// window does not have (no preview yet, no popup) is a call that does nothing.
class DialogWindow {
public:
    virtual ~DialogWindow() = default;
    virtual void EndDialog(int result) = 0;
    // Repaints the preview with its rulers, without erasing.
    virtual void RepaintPreview() = 0;
    // Repaints the swatch beside a colour edit.
    virtual void RepaintSwatch(int colorEditId) = 0;
    // Repaints the three background swatches, erasing first when asked.
    virtual void RepaintBackgroundSwatches(bool erase) = 0;
    // The common file dialog, proposing the name in `path` (the save form):
    // true with the confirmed path in `path`.
    virtual bool ChooseParamsFile(std::u16string& path, bool save) = 0;
    // The parameters into the file at `path`, which keeps its bytes unless
    // all of them were written; and back, unchanged when the file cannot be
    // read.
    virtual FileOutcome SaveParamsFile(const std::u16string& path, const TableParams& params) = 0;
    virtual FileOutcome LoadParamsFile(const std::u16string& path, TableParams& params) = 0;
    virtual void CenterTable() = 0;
    virtual void ZoomIn() = 0;
    virtual void ZoomOut() = 0;
    virtual void ShowAbout() = 0;
    // The size-list popup: whether it exists; show it under a button after
    // sending it the editor state's text; hide it.
    virtual bool HasSizeEditor() = 0;
    virtual void ShowSizeEditor(int buttonId) = 0;
    virtual void HideSizeEditor() = 0;
};

class MainDialog {
public:
    // `language` is the dialog's: its messages and the file name it proposes.
    MainDialog(DialogState& state, DialogControls& controls, DialogWindow& window, UiLanguage language);

    // The last steps of initialisation: the controls from the parameters and
    // the layout with its grips.
    void FillControls();

    // A WM_COMMAND from control `id` with notification `code`. First closes
    // the popup (dropping its text) when it shows and the command is not one
    // of its two buttons.
    void OnCommand(int id, int code);
    // A click in the client or non-client area: closes the popup the same way.
    void OnMouseDown();
    // The popup's OK: applies its text to the target list.
    void OnSizeListEdited();

    // Lays the table out with the grips and repaints the preview; with
    // `reread`, first takes the table's controls into TableParams. Disables
    // the refresh button.
    void RefreshLayoutPreview(bool reread);

    SizeEditorState& SizeEditor() { return sizeEditor_; }
    DialogState& State() { return state_; }
    UiLanguage Language() const { return language_; }

private:
    void OnSizeListChange(int id);
    void OnTotalSizeChange(int id);
    void OnCountChange(int id, int code);
    void OnMarginChange(int id);
    void OnFillBackground();
    void OnShowEffect();
    void OnClearSizes(int button);
    void OnEditSizes(int button);
    void OnOk();
    void OnCancel();
    void OnSave();
    void OnLoad();
    void DismissSizeEditor();
    bool Idle() const { return state_.DragMode == DragNone; }

    DialogState& state_;
    DialogControls& controls_;
    DialogWindow& window_;
    UiLanguage language_;
    SizeEditorState sizeEditor_;
};

// Sets DragMode to Updating for the scope, so the dialog's own writes into
// controls do not run their handlers; restores DragNone at the end.
class UpdatingScope {
public:
    explicit UpdatingScope(DialogState& state) : state_(state) { state_.DragMode = Updating; }
    ~UpdatingScope() { state_.DragMode = DragNone; }
    UpdatingScope(const UpdatingScope&) = delete;
    UpdatingScope& operator=(const UpdatingScope&) = delete;

private:
    DialogState& state_;
};

}  // namespace gridsmith::ui
