// The About dialog and the about selector's platform step. Everything the
// dialog loads or creates is owned by its window state and released when the
// window is destroyed; a missing image is simply not drawn.
#include "ui/win/about_dialog.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "plugin/module.h"
#include "plugin/platform.h"
#include "plugin/win/module_win.h"  // ActivationScope, ModuleFileName
#include "ui/about_text.h"
#include "ui/dialog_ids.h"
#include "ui/win/center_over_owner.h"
#include "ui/win/display_scale_win.h"
#include "ui/win/link_control.h"
#include "ui/win/ui_language_win.h"
#include "ui/win/win_handles.h"

namespace gridsmith::ui {
namespace {

constexpr int kSymbolSize = 12;  // at 96 DPI
constexpr COLORREF kSymbolKeyColour = RGB(236, 233, 216);
constexpr WORD kHandCursor = 32649;  // IDC_HAND, whose macro is the ANSI form here

// What the open dialog holds, from WM_INITDIALOG to WM_DESTROY.
struct AboutWindow {
    UiLanguage language = UiLanguage::Chinese;
    DisplayScale scale;
    OwnedFont dialogFont;  // the dialog's font at a scale it was not made at
    OwnedBitmap logo;
    OwnedBitmap symbol;
    SIZE logoSize{};
    RECT logoRect{};
    POINT symbolAt{};
    int symbolSize = kSymbolSize;
    LinkFontAtScale linkFont;
    OwnedLink link;
    RECT linkRect{};
    OwnedIcon smallIcon;
};

HINSTANCE Instance() { return static_cast<HINSTANCE>(ModuleInstance()); }

// char16_t and wchar_t are both UTF-16 units here.
std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string Utf16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

// A control's rectangle in the dialog's client coordinates; empty when missing.
RECT ControlRect(HWND dialog, int id) {
    RECT rect{};
    HWND control = GetDlgItem(dialog, id);
    if (control && GetWindowRect(control, &rect))
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// As a DIB section, so a 32-bit bitmap keeps its alpha for AlphaBlend.
HBITMAP LoadBitmapResource(int id) {
    return static_cast<HBITMAP>(
        LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
    return {info.bmWidth, std::abs(info.bmHeight)};
}

// One string of the module's version resource, found through its first
// translation; empty when any lookup fails.
std::wstring ModuleVersionString() {
    const std::wstring path = ModuleFileName(Instance());
    DWORD unused = 0;
    const DWORD size = path.empty() ? 0 : GetFileVersionInfoSizeW(path.c_str(), &unused);
    if (size == 0) return {};
    std::vector<BYTE> info(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return {};

    void* found = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), Wide(kVersionTranslationPath.Reveal()).c_str(), &found, &length) ||
        !found || length < 2 * sizeof(WORD))
        return {};
    const auto* pair = static_cast<const WORD*>(found);
    const std::wstring valuePath = Wide(VersionValuePath(kVersionValuePath.Reveal(), {pair[0], pair[1]}));
    if (!VerQueryValueW(info.data(), valuePath.c_str(), &found, &length) || !found || length == 0) return {};
    const auto* value = static_cast<const wchar_t*>(found);
    return std::wstring(value, wcsnlen(value, length));  // length counts the terminator
}

// Read on the first opening, kept while the module stays loaded.
const std::u16string& ModuleVersion() {
    static const std::u16string version = Utf16(ModuleVersionString());
    return version;
}

std::wstring VersionText(UiLanguage language) {
    return Wide(VersionDisplayText(VersionLabel(ModuleVersion(), language)));
}

// The logo and symbol at the picture size nearest the scale, where the
// controls now lie; and the small icon, the old one going once replaced.
void PlaceImages(HWND dialog, AboutWindow& window) {
    window.logoRect = ControlRect(dialog, IDC_ABOUT_LOGO);
    window.logo.Reset(LoadBitmapResource(ScaledImageId(IDB_ABOUT_LOGO, window.scale)));
    window.symbol.Reset(LoadBitmapResource(ScaledImageId(IDB_ABOUT_SYMBOL, window.scale)));
    window.logoSize = BitmapSize(window.logo.Get());
    window.symbolSize = window.symbol ? int(BitmapSize(window.symbol.Get()).cy) : window.scale.Px(kSymbolSize);

    const RECT notice = ControlRect(dialog, IDC_ABOUT_NOTICE);
    window.symbolAt = {ControlRect(dialog, IDC_ABOUT_TITLE).left,
                       (notice.top + notice.bottom - window.symbolSize) / 2};
    window.smallIcon = ShowSmallIcon(dialog, Instance(), IDI_GRIDSMITH, window.scale);
}

void InitAboutDialog(HWND dialog, AboutWindow& window) {
    window.scale = WindowScale(dialog);
    KeepOwnDpiLayout(dialog);
    PlaceImages(dialog, window);

    SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, VersionText(window.language).c_str());

    window.linkRect = ControlRect(dialog, IDC_LINK_PLACEHOLDER);
    window.linkFont.SetScale(window.scale, nullptr);
    window.link.Reset(CreateLinkControl(dialog, window.linkRect, IDC_ABOUT_LINK,
                                         Wide(HomePageLinkMarkup(window.language)).c_str(), window.linkFont.Get()));

    SetDlgItemTextW(dialog, IDC_ABOUT_DESCRIPTION, Wide(AboutDescription(window.language)).c_str());
    CenterOverOwner(dialog);
}

// Moved to a display of `dpi`: the suggested frame, the controls and their
// font, the link font and the pictures at the new scale.
void OnDpiChanged(HWND dialog, AboutWindow& window, int32_t dpi, const RECT& suggested) {
    const DisplayScale next = ScaleForDpi(dpi);
    if (next.Dpi == window.scale.Dpi) return;
    HFONT current = window.dialogFont ? window.dialogFont.Get()
                                      : reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    OwnedFont font = RelayoutDialog(dialog, suggested, current, window.scale.Dpi, next.Dpi);
    if (font) window.dialogFont = std::move(font);
    window.scale = next;
    window.linkRect = ControlRect(dialog, IDC_LINK_PLACEHOLDER);
    window.linkFont.SetScale(next, window.link.Get());
    PlaceImages(dialog, window);
    InvalidateRect(dialog, nullptr, TRUE);
}

void ReleaseAboutDialog(HWND dialog, AboutWindow& window) {
    window.logo.Reset();
    window.symbol.Reset();
    window.link.Reset();
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, 0);
    window.smallIcon.Reset();
    window.dialogFont.Reset();
}

void PaintImages(HDC target, const AboutWindow& window) {
    Owned<HDC, release::Dc> source(CreateCompatibleDC(target));
    if (!source) return;
    if (window.logo) {
        SelectScope selected(source.Get(), window.logo.Get());
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(target, window.logoRect.left, window.logoRect.top, window.logoSize.cx,
                   window.logoSize.cy, source.Get(), 0, 0, window.logoSize.cx, window.logoSize.cy, blend);
    }
    if (window.symbol) {
        SelectScope selected(source.Get(), window.symbol.Get());
        const int side = window.symbolSize;
        TransparentBlt(target, window.symbolAt.x, window.symbolAt.y, side, side, source.Get(), 0, 0, side, side,
                       kSymbolKeyColour);
    }
}

void Paint(HWND dialog, const AboutWindow& window) {
    PAINTSTRUCT paint{};
    if (HDC target = BeginPaint(dialog, &paint)) PaintImages(target, window);
    EndPaint(dialog, &paint);
}

bool FromLink(LPARAM notification) {
    const auto* header = reinterpret_cast<const NMHDR*>(notification);
    return header && header->idFrom == IDC_ABOUT_LINK;
}

bool CursorOverLink(HWND dialog, const AboutWindow& window) {
    POINT cursor{};
    return GetCursorPos(&cursor) && ScreenToClient(dialog, &cursor) && PtInRect(&window.linkRect, cursor);
}

INT_PTR Reply(HWND dialog, LRESULT result) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        InitAboutDialog(dialog, *reinterpret_cast<AboutWindow*>(lParam));
        return TRUE;
    }
    auto* window = reinterpret_cast<AboutWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!window) return FALSE;  // messages before WM_INITDIALOG
    switch (message) {
    case WM_PAINT:
        Paint(dialog, *window);
        return TRUE;
    case WM_NOTIFY:
        return FromLink(lParam) && OpenActivatedLink(dialog, reinterpret_cast<const NMHDR*>(lParam))
                   ? Reply(dialog, 0)
                   : FALSE;
    case WM_SETCURSOR:
        if (!CursorOverLink(dialog, *window)) return FALSE;
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(kHandCursor)));
        return Reply(dialog, TRUE);
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CHAR:
        if (wParam != VK_ESCAPE) return FALSE;
        EndDialog(dialog, IDOK);
        return TRUE;
    case kDpiChangedMessage:
        if (lParam) OnDpiChanged(dialog, *window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_DESTROY:
        ReleaseAboutDialog(dialog, *window);
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool ShowAboutDialog(HWND owner, UiLanguage language) {
    AboutWindow window;
    window.language = language;
    const DLGTEMPLATE* about = DialogTemplate(Instance(), IDD_ABOUT, language);
    if (!about) return false;
    ActivationScope scope;
    DpiAwarenessScope awareness;
    // The dialog ends only with IDOK or IDCANCEL: 0 and -1 mean it never ran.
    return DialogBoxIndirectParamW(Instance(), about, owner, &AboutDialogProc, reinterpret_cast<LPARAM>(&window)) > 0;
}

}  // namespace gridsmith::ui

namespace gridsmith::platform {

// A host may leave the platform data out or name a window that is gone: the
// dialog then has no owner rather than failing to open. A dialog the system
// cannot create is short of the window system's memory.
host::OSErr RunAboutDialog(const host::AboutRecord* about) {
    HWND owner = about && about->platformData ? reinterpret_cast<HWND>(about->platformData->hwnd) : nullptr;
    if (owner && !IsWindow(owner)) owner = nullptr;
    return ui::ShowAboutDialog(owner, ui::CurrentUiLanguage()) ? host::noErr : host::memFullErr;
}

}  // namespace gridsmith::platform
