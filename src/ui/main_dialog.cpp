#include "ui/main_dialog.h"

#include <optional>

#include "ui/control_text.h"
#include "ui/dialog_ids.h"
#include "ui/param_binding.h"
#include "ui/ui_texts.h"

namespace gridsmith::ui {
namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;

static_assert(kSizeListUnits == kSizeListCapacity);

bool IsSizeEditorButton(int id) { return id == IDC_EDIT_COL_SIZES || id == IDC_EDIT_ROW_SIZES; }

char16_t (&SizeListOf(TableParams& params, int editId))[kSizeListCapacity] {
    return editId == IDC_ROW_SIZES ? params.RowSizes : params.ColSizes;
}

int32_t& TotalSizeOf(TableParams& params, int editId) {
    return editId == IDC_TABLE_WIDTH ? params.TableWidth : params.TableHeight;
}

int32_t& MarginOf(TableParams& params, int editId) {
    return editId == IDC_LEFT_MARGIN ? params.LeftMargin : params.TopMargin;
}

int32_t& CountOf(TableParams& params, int comboId) {
    switch (comboId) {
    case IDC_ROWS: return params.Rows;
    case IDC_COLS: return params.Cols;
    default: return params.BorderLineSize;
    }
}

}  // namespace

MainDialog::MainDialog(DialogState& state, DialogControls& controls, DialogWindow& window, UiLanguage language)
    : state_(state), controls_(controls), window_(window), language_(language) {}

void MainDialog::FillControls() {
    ParamsToControls(controls_, state_.Params);
    controls_.SetChecked(IDC_SHOW_EFFECT, state_.ShowEffect != 0);
    LayoutTable(state_.Params, state_.Layout(), true, state_.PlaceGrips, state_.GripContext);
    controls_.Enable(IDC_REFRESH_PREVIEW, false);
}

void MainDialog::OnCommand(int id, int code) {
    if (sizeEditor_.OpenFor != 0 && !IsSizeEditorButton(id)) DismissSizeEditor();
    const bool editChange = code == NOTIFY_EDIT_CHANGE;
    switch (id) {
    case kOk: OnOk(); break;
    case kCancel: OnCancel(); break;
    case IDC_ROW_SIZES:
    case IDC_COL_SIZES:
        if (editChange && Idle()) OnSizeListChange(id);
        break;
    case IDC_LINE_COLOR:
    case IDC_FIRST_BACK_COLOR:
    case IDC_BACK_COLOR:
    case IDC_BACK_COLOR2:
        if (editChange) window_.RepaintSwatch(id);
        break;
    case IDC_TABLE_WIDTH:
    case IDC_TABLE_HEIGHT:
        if (editChange && Idle()) OnTotalSizeChange(id);
        break;
    case IDC_ROWS:
    case IDC_COLS:
    case IDC_BORDER_LINE_SIZE: OnCountChange(id, code); break;
    case IDC_CENTER_TABLE: window_.CenterTable(); break;
    case IDC_FILL_BACKGROUND: OnFillBackground(); break;
    case IDC_SAVE_PARAMS: OnSave(); break;
    case IDC_LOAD_PARAMS: OnLoad(); break;
    case IDC_LEFT_MARGIN:
    case IDC_TOP_MARGIN:
        if (editChange && Idle()) OnMarginChange(id);
        break;
    case IDC_REFRESH_PREVIEW: RefreshLayoutPreview(true); break;
    case IDC_CLEAR_COL_SIZES:
    case IDC_CLEAR_ROW_SIZES: OnClearSizes(id); break;
    case IDC_EDIT_COL_SIZES:
    case IDC_EDIT_ROW_SIZES: OnEditSizes(id); break;
    case IDC_ZOOM_OUT: window_.ZoomOut(); break;
    case IDC_ZOOM_IN: window_.ZoomIn(); break;
    case IDC_ABOUT: window_.ShowAbout(); break;
    // The flag is toggled, not read: the box and the flag may disagree.
    case IDC_DOCK_BORDER: state_.Params.DockBorder = !state_.Params.DockBorder; break;
    case IDC_SHOW_EFFECT: OnShowEffect(); break;
    default: break;  // read only at OK and at Save, or not the dialog's concern
    }
}

void MainDialog::OnMouseDown() {
    if (sizeEditor_.OpenFor != 0) DismissSizeEditor();
}

void MainDialog::OnSizeListEdited() {
    UpdatingScope updating(state_);
    const int target = sizeEditor_.TargetEdit;
    if (target != IDC_ROW_SIZES && target != IDC_COL_SIZES) return;
    char16_t(&list)[kSizeListCapacity] = SizeListOf(state_.Params, target);
    const std::u16string_view edited = SizeListText(sizeEditor_.Text);
    if (edited == SizeListText(list)) return;
    StoreSizeList(list, edited);
    controls_.SetText(target, std::u16string(edited));
    RefreshLayoutPreview(false);
}

void MainDialog::RefreshLayoutPreview(bool reread) {
    TableParams& params = state_.Params;
    if (reread) {
        // The live handlers' rules: values they would not take are not taken.
        for (int id : {IDC_ROWS, IDC_COLS, IDC_BORDER_LINE_SIZE})
            if (const std::optional<int32_t> count = ReadLiveCount(controls_, id))
                CountOf(params, id) = *count;
        for (int id : {IDC_LEFT_MARGIN, IDC_TOP_MARGIN})
            MarginOf(params, id) = ReadSignedOrZero(controls_, id);
        for (int id : {IDC_TABLE_WIDTH, IDC_TABLE_HEIGHT})
            if (const std::optional<int32_t> size = ReadPositive(controls_, id))
                TotalSizeOf(params, id) = *size;
        for (int id : {IDC_ROW_SIZES, IDC_COL_SIZES})
            CopySizeListText(controls_, id, SizeListOf(params, id));
    }
    LayoutTable(params, state_.Layout(), true, state_.PlaceGrips, state_.GripContext);
    window_.RepaintPreview();
    controls_.Enable(IDC_REFRESH_PREVIEW, false);
}

void MainDialog::OnSizeListChange(int id) {
    CopySizeListText(controls_, id, SizeListOf(state_.Params, id));
    if (!controls_.Enabled(IDC_REFRESH_PREVIEW)) controls_.Enable(IDC_REFRESH_PREVIEW, true);
}

void MainDialog::OnTotalSizeChange(int id) {
    const std::optional<int32_t> size = ReadPositive(controls_, id);
    if (!size) return;
    TotalSizeOf(state_.Params, id) = *size;
    RefreshLayoutPreview(false);
}

void MainDialog::OnCountChange(int id, int code) {
    std::optional<int32_t> count;
    if (code == NOTIFY_COMBO_SELECTION_CHANGE)
        count = InLiveCountRange(controls_.Selection(id) + 1);
    else if (code == NOTIFY_COMBO_EDIT_CHANGE)
        count = ReadLiveCount(controls_, id);
    if (!count) return;

    TableParams& params = state_.Params;
    CountOf(params, id) = *count;
    const int32_t width = params.TableWidth;
    const int32_t height = params.TableHeight;
    RefreshLayoutPreview(false);
    // The layout may have rewritten the totals; show them without re-running
    // the size handlers.
    UpdatingScope updating(state_);
    if (params.TableWidth != width)
        controls_.SetText(IDC_TABLE_WIDTH, FormatUnsigned(uint32_t(params.TableWidth)));
    if (params.TableHeight != height)
        controls_.SetText(IDC_TABLE_HEIGHT, FormatUnsigned(uint32_t(params.TableHeight)));
}

void MainDialog::OnMarginChange(int id) {
    MarginOf(state_.Params, id) = ReadSignedOrZero(controls_, id);
    RefreshLayoutPreview(false);
}

void MainDialog::OnShowEffect() {
    state_.ShowEffect = controls_.Checked(IDC_SHOW_EFFECT) ? 1 : 0;
    window_.RepaintPreview();
}

void MainDialog::OnFillBackground() {
    const bool enabled = controls_.Checked(IDC_FILL_BACKGROUND);
    for (int id : {IDC_BACK_OPACITY, IDC_FIRST_BACK_COLOR, IDC_BACK_COLOR, IDC_BACK_COLOR2})
        controls_.Enable(id, enabled);
    state_.Params.FillBkGnd = enabled ? 1 : 0;
    window_.RepaintBackgroundSwatches(!enabled);
}

void MainDialog::OnClearSizes(int button) {
    const int target = button == IDC_CLEAR_COL_SIZES ? IDC_COL_SIZES : IDC_ROW_SIZES;
    if (controls_.Text(target, kSizeListMaxUnits).empty()) return;
    controls_.SetText(target, u"");
    SizeListOf(state_.Params, target)[0] = u'\0';
    RefreshLayoutPreview(false);
}

void MainDialog::OnEditSizes(int button) {
    if (!window_.HasSizeEditor()) return;
    const int target = button == IDC_EDIT_COL_SIZES ? IDC_COL_SIZES : IDC_ROW_SIZES;
    if (sizeEditor_.OpenFor == target) {
        DismissSizeEditor();
        return;
    }
    sizeEditor_.TargetEdit = target;
    sizeEditor_.OpenFor = target;
    StoreSizeList(sizeEditor_.Text, controls_.Text(target, kSizeListMaxUnits));
    window_.ShowSizeEditor(button);
}

void MainDialog::OnOk() {
    if (!ControlsToParams(controls_, state_.Params, state_.Layout(), language_)) return;
    state_.DialogResult = DialogOk;
    window_.EndDialog(kOk);
}

void MainDialog::OnCancel() {
    state_.DialogResult = DialogCancel;
    window_.EndDialog(kCancel);
}

void MainDialog::OnSave() {
    std::u16string path(texts::kDefaultParamsFileName.In(language_));
    if (!window_.ChooseParamsFile(path, true)) return;
    SaveReadBack(controls_, state_.Params);
    const FileOutcome saved = window_.SaveParamsFile(path, state_.Params);
    if (!saved.ok()) controls_.Warn(NotSavedMessage(path, saved, language_), 0);
}

void MainDialog::OnLoad() {
    std::u16string path;
    if (!window_.ChooseParamsFile(path, false)) return;
    const FileOutcome loaded = window_.LoadParamsFile(path, state_.Params);
    if (!loaded.ok()) return controls_.Warn(NotLoadedMessage(path, loaded, language_), 0);
    ParamsToControls(controls_, state_.Params);
    LayoutTable(state_.Params, state_.Layout(), true, state_.PlaceGrips, state_.GripContext);
    window_.RepaintPreview();
}

void MainDialog::DismissSizeEditor() {
    sizeEditor_.OpenFor = 0;
    window_.HideSizeEditor();
}

}  // namespace gridsmith::ui
