// The parameters dialog on Windows: creation of everything the template does
// not hold, the message dispatch, and teardown. The rules live in MainDialog;
// this layer moves messages into it and draws what it asks for.
#include "ui/win/parameters_dialog.h"

#include <windows.h>

#include <cwchar>
#include <memory>

#include "plugin/host_suite.h"
#include "plugin/record_rects.h"
#include "plugin/win/module_win.h"
#include "ui/about_text.h"
#include "ui/control_text.h"
#include "ui/dialog_ids.h"
#include "ui/main_dialog.h"
#include "ui/win/about_dialog.h"
#include "ui/win/center_over_owner.h"
#include "ui/win/colour_fields_win.h"
#include "ui/win/context_help_win.h"
#include "ui/win/display_scale_win.h"
#include "ui/win/link_control.h"
#include "ui/win/params_file_win.h"
#include "ui/win/preview_pane.h"
#include "ui/win/size_editor_dialog.h"
#include "ui/win/tooltip_window.h"
#include "ui/win/ui_language_win.h"
#include "ui/win/win_handles.h"
#include "ui/win/window_controls.h"

namespace gridsmith::ui {
namespace {

constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr int kLineTypeCount = 5;
constexpr int kLineTypeImageWidth = 80;
constexpr int kButtonIconSize = 10;
constexpr DWORD kLineTypeComboStyle = 0x50810013;  // child, visible, border, tab stop,
                                                   // drop-down list, owner-drawn fixed
static_assert(kLineTypeComboStyle == (WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP |
                                      CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED));
constexpr int kLineTypeDropHeight = 160;
constexpr int kRulerFontHeight = 12;

RECT ClientRectOf(HWND dialog, int id) {
    RECT rect{};
    if (HWND item = GetDlgItem(dialog, id)) {
        GetWindowRect(item, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

HINSTANCE Instance(const DialogState& state) { return static_cast<HINSTANCE>(state.Instance); }

// One open parameters dialog: what it created and the rules it runs. Reached
// from the dialog procedure through the pointer kept in DWLP_USER.
class ParametersDialog final : public DialogWindow {
public:
    ParametersDialog(HWND dialog, DialogState& state, UiLanguage language)
        : dialog_(dialog), state_(state), controls_(dialog), rules_(state, controls_, *this, language) {}

    void Initialise();
    void Teardown();

    void OnCommand(int id, int code) {
        rules_.OnCommand(id, code);
        preview_.OnControlCommand(code);
    }
    void OnNonClientButtonDown(WPARAM hitCode) {
        rules_.OnMouseDown();
        if (hitCode == HTHELP) state_.DragMode = HelpPick;
    }
    void OnSizeListEdited() { rules_.OnSizeListEdited(); }
    void OnPaint();
    // The host moved the dialog to a display of `dpi`: the suggested frame,
    // then the controls, fonts, pictures and preview at the new scale.
    void OnDpiChanged(int32_t dpi, const RECT& suggested);
    void OnLinkNotify(const NMHDR& header);

    // The mouse and the cursor: opacity scrubbing, the preview's pan and
    // grips, help mode's pick and the swatches' clicks.
    void OnHelp(const HELPINFO& request) {
        OnHelpRequest(Instance(state_), Language(), tooltip_.Get(), request, state_.DragMode);
    }
    void OnButtonDown(ClientPoint point);
    void OnMouseMove(ClientPoint point);
    void OnButtonUp(ClientPoint point);
    void OnCaptureChanged(HWND gainer);
    bool OnSetCursor();

    // DialogWindow
    void EndDialog(int result) override { ::EndDialog(dialog_, result); }
    void RepaintPreview() override { preview_.InvalidateLayout(); }
    void RepaintSwatch(int colorEditId) override { colourFields_.RepaintSwatch(colorEditId); }
    void RepaintBackgroundSwatches(bool erase) override { colourFields_.RepaintBackgroundSwatches(erase); }
    bool ChooseParamsFile(std::u16string& path, bool save) override {
        return ui::ChooseParamsFile(dialog_, path, save, Language());
    }
    FileOutcome SaveParamsFile(const std::u16string& path, const TableParams& params) override {
        return ui::SaveParamsFile(path, params);
    }
    FileOutcome LoadParamsFile(const std::u16string& path, TableParams& params) override {
        return ui::LoadParamsFile(path, params);
    }
    void CenterTable() override { preview_.CenterTable(controls_); }
    void ZoomIn() override { preview_.ZoomIn(controls_); }
    void ZoomOut() override { preview_.ZoomOut(controls_); }
    void ShowAbout() override { ShowAboutDialog(dialog_, Language()); }
    bool HasSizeEditor() override { return sizeEditor_.Get() != nullptr; }
    void ShowSizeEditor(int button) override { ShowSizeEditorUnder(sizeEditor_.Get(), dialog_, button, scale_); }
    void HideSizeEditor() override {
        if (sizeEditor_) ShowWindow(sizeEditor_.Get(), SW_HIDE);
    }

private:
    UiLanguage Language() const { return rules_.Language(); }
    void CreateLink();
    void AcquireUiHooks();
    void CreateLineTypeCombos();
    void AttachLineTypeImages();
    void LimitTexts();
    void FillNumberLists();
    void AttachButtonImages();
    void CreateDrawingTools();
    HFONT DialogFont() const;
    int ImagePercent() const { return NearestImagePercent(scale_); }
    void ShowDocumentSize();
    void ShowZoom();
    void SetSmallIcon();
    void CreateSizeEditorPopup();
    void CreateTooltip();
    bool FillBackground() const { return state_.Params.FillBkGnd != 0; }
    ClientRect PreviewArea() const { return preview_.State().PreviewRect; }
    bool InsideThumb(ClientPoint point) const { return Contains(preview_.State().ThumbRect, point); }
    bool DraggingPreview() const { return state_.DragMode == DragPan || state_.DragMode == DragGrip; }
    void DetachLineTypeImages();
    void RemoveSmallIcon();

    HWND dialog_;
    DialogState& state_;
    DisplayScale scale_;
    OwnedFont dialogFont_;  // the dialog's font at a scale it was not made at; null until then
    WindowControls controls_;
    MainDialog rules_;
    ColourFields colourFields_;

    LinkFontAtScale linkFont_;
    OwnedLink link_;
    HostSuite uiHooks_;
    OwnedWindow gridTypeCombo_, borderTypeCombo_;
    OwnedImageList lineTypeImages_;
    OwnedWindow sizeEditor_;
    OwnedImageList clearButtonImages_, editButtonImages_;
    OwnedWindow tooltip_;
    OwnedFont rulerFont_;
    OwnedPen guidePen_;
    OwnedCursor scrubCursor_;
    PreviewPane preview_;
    OwnedIcon smallIcon_;
};

void ParametersDialog::Initialise() {
    scale_ = WindowScale(dialog_);
    KeepOwnDpiLayout(dialog_);
    colourFields_.Setup(dialog_, scale_);
    CreateLink();
    AcquireUiHooks();
    CreateLineTypeCombos();
    CreateSizeEditorPopup();
    LimitTexts();
    FillNumberLists();
    AttachButtonImages();
    CreateTooltip();
    CreateDrawingTools();
    scrubCursor_.Reset(static_cast<HCURSOR>(
        LoadImageW(Instance(state_), MAKEINTRESOURCEW(IDC_SCRUB_CURSOR), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
    ShowDocumentSize();
    preview_.Setup(dialog_, IDC_PREVIEW_PLACEHOLDER, state_, scale_);
    rules_.FillControls();
    ShowZoom();
    SetSmallIcon();
    CenterOverOwner(dialog_);
}

void ParametersDialog::CreateLink() {
    const std::u16string markup = HomePageLinkMarkup(Language());
    linkFont_.SetScale(scale_, nullptr);
    link_.Reset(CreateLinkControl(dialog_, ClientRectOf(dialog_, IDC_LINK_PLACEHOLDER), 0, Wide(markup),
                                  linkFont_.Get()));
}

void ParametersDialog::AcquireUiHooks() {
    if (state_.Host)
        uiHooks_.Acquire(state_.Host->sSPBasic, host::kPSUIHooksSuite, host::kPSUIHooksSuiteVersion1);
}

// The strip at the scale's picture size, on both combos; the list it replaces goes.
void ParametersDialog::AttachLineTypeImages() {
    OwnedImageList images(ImageList_LoadImageW(
        Instance(state_), MAKEINTRESOURCEW(ScaledImageId(IDB_LINE_TYPES, scale_)),
        kLineTypeImageWidth * ImagePercent() / 100, 8, kMaskColour, IMAGE_BITMAP, LR_CREATEDIBSECTION | LR_SHARED));
    for (const OwnedWindow* combo : {&gridTypeCombo_, &borderTypeCombo_})
        if (*combo) SendMessageW(combo->Get(), CBEM_SETIMAGELIST, 0, LPARAM(images.Get()));
    lineTypeImages_ = std::move(images);
}

void ParametersDialog::CreateLineTypeCombos() {
    struct Placement {
        OwnedWindow& combo;
        int id, placeholder;
    };
    for (const Placement& place : {Placement{gridTypeCombo_, IDC_GRID_LINE_TYPE, IDC_GRID_TYPE_PLACEHOLDER},
                                   Placement{borderTypeCombo_, IDC_BORDER_LINE_TYPE,
                                             IDC_BORDER_TYPE_PLACEHOLDER}}) {
        const RECT area = ClientRectOf(dialog_, place.placeholder);
        place.combo.Reset(CreateWindowExW(0, WC_COMBOBOXEXW, nullptr, kLineTypeComboStyle, area.left,
                                          area.top, area.right - area.left, scale_.Px(kLineTypeDropHeight),
                                          dialog_, reinterpret_cast<HMENU>(INT_PTR(place.id)),
                                          Instance(state_), nullptr));
        HWND combo = place.combo.Get();
        if (!combo) continue;
        // In the tab order where the placeholder stands.
        SetWindowPos(combo, GetDlgItem(dialog_, place.placeholder), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageW(combo, WM_SETFONT, SendMessageW(dialog_, WM_GETFONT, 0, 0), FALSE);
        for (int type = 0; type < kLineTypeCount; ++type) {
            COMBOBOXEXITEMW item{};
            item.mask = CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
            item.iItem = type;
            item.iImage = type;
            item.iSelectedImage = type;
            SendMessageW(combo, CBEM_INSERTITEMW, 0, LPARAM(&item));
        }
    }
    AttachLineTypeImages();
}

void ParametersDialog::CreateSizeEditorPopup() {
    SizeEditorState& editor = rules_.SizeEditor();
    editor = SizeEditorState{};
    editor.Owner = reinterpret_cast<intptr_t>(dialog_);
    sizeEditor_.Reset(CreateSizeEditor(dialog_, Instance(state_), editor, Language()));
}

void ParametersDialog::CreateTooltip() { tooltip_.Reset(CreateTooltipWindow(dialog_, Instance(state_), scale_)); }

void ParametersDialog::LimitTexts() {
    struct Limit {
        int id, units;
    };
    constexpr Limit kLimits[] = {
        {IDC_LINE_COLOR, 6},     {IDC_FIRST_BACK_COLOR, 6}, {IDC_BACK_COLOR, 6}, {IDC_BACK_COLOR2, 6},
        {IDC_LINE_OPACITY, 3},   {IDC_BACK_OPACITY, 3},     {IDC_ROW_SIZES, 255}, {IDC_COL_SIZES, 255},
        {IDC_LEFT_MARGIN, 10},   {IDC_TOP_MARGIN, 10},
    };
    for (const Limit& limit : kLimits) SendDlgItemMessageW(dialog_, limit.id, EM_LIMITTEXT, limit.units, 0);
}

void ParametersDialog::FillNumberLists() {
    struct List {
        int id, last;
    };
    constexpr List kLists[] = {{IDC_ROWS, 10}, {IDC_COLS, 10}, {IDC_GRID_LINE_SIZE, 4}, {IDC_BORDER_LINE_SIZE, 4}};
    for (const List& list : kLists) {
        for (int value = 1; value <= list.last; ++value) {
            wchar_t text[16];
            swprintf(text, 16, L"%ld", long(value));
            SendDlgItemMessageW(dialog_, list.id, CB_ADDSTRING, 0, LPARAM(text));
        }
    }
}

// The icons at the scale's picture size; the lists they replace go once the
// buttons hold the new ones.
void ParametersDialog::AttachButtonImages() {
    auto load = [&](int bitmap) {
        return OwnedImageList(ImageList_LoadImageW(Instance(state_), MAKEINTRESOURCEW(ScaledImageId(bitmap, scale_)),
                                                   kButtonIconSize * ImagePercent() / 100, 4, kMaskColour,
                                                   IMAGE_BITMAP, LR_CREATEDIBSECTION));
    };
    OwnedImageList clear = load(IDB_CLEAR_ICON), edit = load(IDB_EDIT_LIST_ICON);
    auto attach = [&](const OwnedImageList& images, int button) {
        if (!images) return;
        BUTTON_IMAGELIST list{};
        list.himl = images.Get();
        list.uAlign = BUTTON_IMAGELIST_ALIGN_CENTER;
        SendDlgItemMessageW(dialog_, button, BCM_SETIMAGELIST, 0, LPARAM(&list));
    };
    attach(clear, IDC_CLEAR_COL_SIZES);
    attach(clear, IDC_CLEAR_ROW_SIZES);
    attach(edit, IDC_EDIT_COL_SIZES);
    attach(edit, IDC_EDIT_ROW_SIZES);
    clearButtonImages_ = std::move(clear);
    editButtonImages_ = std::move(edit);
}

// A dotted black pen one pixel wide at 96 DPI; wider dots need a geometric pen.
HPEN CreateGuidePen(DisplayScale scale) {
    const int width = scale.Px(1);
    if (width <= 1) return CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    const LOGBRUSH brush{BS_SOLID, RGB(0, 0, 0), 0};
    const DWORD dots[] = {DWORD(width), DWORD(width)};
    return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, DWORD(width), &brush, 2, dots);
}

// The ruler font and guide pen at the dialog's scale.
void ParametersDialog::CreateDrawingTools() {
    LOGFONTW font{};
    font.lfHeight = scale_.Px(kRulerFontHeight);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"宋体", LF_FACESIZE);
    rulerFont_.Reset(CreateFontIndirectW(&font));
    guidePen_.Reset(CreateGuidePen(scale_));
}

HFONT ParametersDialog::DialogFont() const {
    return dialogFont_ ? dialogFont_.Get() : reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0));
}

void ParametersDialog::ShowDocumentSize() {
    if (!state_.Host) return;
    const host::VRect filter = FilterRect(*state_.Host);
    controls_.SetText(IDC_DOC_WIDTH_LABEL, FormatBracketed(filter.right - filter.left));
    controls_.SetText(IDC_DOC_HEIGHT_LABEL, FormatBracketed(filter.bottom - filter.top));
}

void ParametersDialog::ShowZoom() { preview_.ShowZoom(controls_); }

// The icon's own image at the scale's size; the one it replaces goes once the
// dialog holds the new one.
void ParametersDialog::SetSmallIcon() { smallIcon_ = ShowSmallIcon(dialog_, Instance(state_), IDI_GRIDSMITH, scale_); }

void ParametersDialog::OnDpiChanged(int32_t dpi, const RECT& suggested) {
    const DisplayScale next = ScaleForDpi(dpi);
    if (next.Dpi == scale_.Dpi) return;
    rules_.OnMouseDown();  // the popup closes, as on any click elsewhere
    OwnedFont font = RelayoutDialog(dialog_, suggested, DialogFont(), scale_.Dpi, next.Dpi);
    if (sizeEditor_) {
        RelayoutChildren(sizeEditor_.Get(), scale_.Dpi, next.Dpi, font.Get());
        RescaleClientArea(sizeEditor_.Get(), scale_.Dpi, next.Dpi);
    }
    if (font) dialogFont_ = std::move(font);  // the old one only once nothing shows it
    scale_ = next;
    linkFont_.SetScale(scale_, link_.Get());
    colourFields_.Setup(dialog_, scale_);
    AttachLineTypeImages();
    AttachButtonImages();
    CreateDrawingTools();
    RescaleTooltip(tooltip_.Get(), dialog_, scale_, DialogFont());
    SetSmallIcon();
    preview_.Rescale(scale_);
    InvalidateRect(dialog_, nullptr, TRUE);
}

void ParametersDialog::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog_, &paint);
    if (dc) {
        colourFields_.Paint(dc, FillBackground());
        preview_.Paint(dc, rulerFont_.Get(), guidePen_.Get(), controls_);
    }
    EndPaint(dialog_, &paint);
}

// Each handler in turn says whether the message was its own, in the order
// the dialog's rules give: the opacity scrub, then the preview's pan and grips.
void ParametersDialog::OnButtonDown(ClientPoint point) {
    rules_.OnMouseDown();
    if (colourFields_.OnButtonDown(point, state_.DragMode)) return;
    preview_.Press({point.x, point.y}, false);
}

void ParametersDialog::OnMouseMove(ClientPoint point) {
    if (DraggingPreview()) return preview_.Drag({point.x, point.y}, controls_);
    colourFields_.OnMouseMove(point, state_.DragMode, FillBackground(), InsideThumb(point));
}

void ParametersDialog::OnButtonUp(ClientPoint point) {
    if (DraggingPreview()) return preview_.EndDrag();
    if (colourFields_.OnButtonUp(state_.DragMode)) return;
    if (OnHelpClick(dialog_, Instance(state_), Language(), tooltip_.Get(), colourFields_.Rects(), FillBackground(),
                    PreviewArea(), point, state_.DragMode))
        return;
    colourFields_.OnSwatchClick(point, FillBackground(), state_.Host, Language());
}

// Losing the mouse ends a drag as the release would, so DragMode never sticks.
void ParametersDialog::OnCaptureChanged(HWND gainer) {
    if (gainer == dialog_) return;
    if (DraggingPreview()) return preview_.EndDrag();
    colourFields_.OnCaptureLost(state_.DragMode);
}

bool ParametersDialog::OnSetCursor() {
    if (colourFields_.OnSetCursor(state_.DragMode, scrubCursor_.Get())) return true;
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(dialog_, &cursor);
    const auto* hooks = uiHooks_.As<host::PSUIHooksSuite1>();
    switch (preview_.CursorAt(cursor, false, hooks && hooks->SetCursor)) {
    case PreviewCursor::Grab:
        hooks->SetCursor(host::kPICursorGrab);
        return true;
    case PreviewCursor::Hand:
        hooks->SetCursor(host::kPICursorHand);
        return true;
    default:
        return false;
    }
}

void ParametersDialog::OnLinkNotify(const NMHDR& header) {
    if (header.hwndFrom == link_.Get()) OpenActivatedLink(dialog_, &header);
}

void ParametersDialog::DetachLineTypeImages() {
    // Attaching an empty list hands back the old one, which we own.
    if (gridTypeCombo_) SendMessageW(gridTypeCombo_.Get(), CBEM_SETIMAGELIST, 0, 0);
    if (borderTypeCombo_) SendMessageW(borderTypeCombo_.Get(), CBEM_SETIMAGELIST, 0, 0);
    lineTypeImages_.Reset();
    gridTypeCombo_.Reset();
    borderTypeCombo_.Reset();
}

void ParametersDialog::RemoveSmallIcon() {
    SendMessageW(dialog_, WM_SETICON, ICON_SMALL, 0);
    smallIcon_.Reset();
}

void ParametersDialog::Teardown() {
    uiHooks_.Release();
    link_.Reset();
    tooltip_.Reset();
    if (sizeEditor_) ShowWindow(sizeEditor_.Get(), SW_HIDE);
    sizeEditor_.Reset();
    DetachLineTypeImages();
    clearButtonImages_.Reset();
    editButtonImages_.Reset();
    rulerFont_.Reset();
    guidePen_.Reset();
    scrubCursor_.Reset();
    RemoveSmallIcon();
    preview_.Release();
    dialogFont_.Reset();
}

ClientPoint PointOf(LPARAM lParam) {
    return {int16_t(LOWORD(lParam)), int16_t(HIWORD(lParam))};  // signed: captured moves leave the client area
}

ParametersDialog* DialogOf(HWND dialog) {
    return reinterpret_cast<ParametersDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// What the dialog opens with: the module's state and the language it shows.
struct DialogOpening {
    DialogState* state;
    UiLanguage language;
};

INT_PTR OnInitDialog(HWND dialog, LPARAM parameter) {
    const auto* opening = reinterpret_cast<const DialogOpening*>(parameter);
    if (!opening || !opening->state) return EndDialog(dialog, -1), TRUE;
    auto* open = new ParametersDialog(dialog, *opening->state, opening->language);
    SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(open));
    open->Initialise();
    return TRUE;  // the system sets the default focus
}

void OnDestroy(HWND dialog) {
    std::unique_ptr<ParametersDialog> open(DialogOf(dialog));
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    if (open) open->Teardown();
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog(dialog, lParam);
    ParametersDialog* open = DialogOf(dialog);
    if (!open) return FALSE;
    switch (message) {
    case WM_COMMAND:
        open->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        open->OnLinkNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    case WM_NCLBUTTONDOWN:
        open->OnNonClientButtonDown(wParam);
        return FALSE;  // the default handling goes on
    case WM_LBUTTONDOWN:
        open->OnButtonDown(PointOf(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
        open->OnMouseMove(PointOf(lParam));
        return TRUE;
    case WM_LBUTTONUP:
        open->OnButtonUp(PointOf(lParam));
        return TRUE;
    case WM_CAPTURECHANGED:
        open->OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_SETCURSOR:
        if (!open->OnSetCursor()) return FALSE;
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_HELP:
        if (lParam) open->OnHelp(*reinterpret_cast<const HELPINFO*>(lParam));
        return TRUE;
    case WM_PAINT:
        open->OnPaint();
        return TRUE;
    case MSG_SIZE_LIST_EDITED:
        open->OnSizeListEdited();
        return TRUE;
    case kDpiChangedMessage:
        if (lParam) open->OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_DESTROY:
        OnDestroy(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int RunParametersDialog(DialogState& state) {
    HWND owner = nullptr;
    if (state.Host && state.Host->platformData) owner = reinterpret_cast<HWND>(state.Host->platformData->hwnd);
    DialogOpening opening{&state, CurrentUiLanguage()};
    const DLGTEMPLATE* parameters = DialogTemplate(Instance(state), IDD_PARAMETERS, opening.language);
    if (!parameters) return -1;
    ActivationScope scope;
    DpiAwarenessScope awareness;
    const INT_PTR result = DialogBoxIndirectParamW(Instance(state), parameters, owner, MainDialogProc,
                                                   reinterpret_cast<LPARAM>(&opening));
    return result == DialogOk || result == DialogCancel ? int(result) : -1;
}

}  // namespace gridsmith::ui
