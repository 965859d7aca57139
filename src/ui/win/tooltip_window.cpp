// The help bubble's window: its class, procedure and painting. Its text, font
// and widest line are the procedure's own state and persist between showings.
#include "ui/win/tooltip_window.h"

#include <cwchar>
#include <string>

#include "ui/tooltip_layout.h"
#include "ui/win/ui_language_win.h"
#include "ui/win/win_handles.h"

namespace gridsmith::ui {
namespace {

constexpr int kTipUnits = 512;
constexpr COLORREF kTipBackground = 0x99FFFF;
constexpr COLORREF kBubbleColour = 0xE1FFFF;
constexpr COLORREF kTransparentKey = RGB(255, 0, 255);
constexpr BYTE kTipAlpha = 240;

struct TipState {
    wchar_t text[kTipUnits] = {};
    HFONT font = nullptr;
    int maxWidth = 0;
    DisplayScale scale;
};
TipState g_tip;

RECT ToRect(const ClientRect& r) { return {r.left, r.top, r.right, r.bottom}; }

void FillShape(HDC dc, const ClientRect& shape, HBRUSH brush) {
    const RECT rect = ToRect(shape);
    FillRect(dc, &rect, brush);
}

// A change while shown lays the tip out again at its present corner.
void ReshowInPlace(HWND window) {
    if (!IsWindowVisible(window)) return;
    RECT frame;
    GetWindowRect(window, &frame);
    PostMessageW(window, WM_TIP_SHOWAT, 0, LPARAM(PackTipPoint(frame.left, frame.top)));
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc) return;
    RECT client;
    GetClientRect(window, &client);
    const TipShapes shapes = TipShapesFor(client.right, client.bottom, g_tip.scale);
    HBRUSH bubble = CreateSolidBrush(kBubbleColour);
    HBRUSH key = CreateSolidBrush(kTransparentKey);
    {
        SelectScope font(dc, g_tip.font);
        if (key) FillRect(dc, &client, key);
        if (key) DeleteObject(key);
        for (const ClientRect& strip : shapes.DarkShadow)
            FillShape(dc, strip, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        for (const ClientRect& strip : shapes.LightShadow)
            FillShape(dc, strip, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        {
            SelectScope brush(dc, bubble);
            Rectangle(dc, shapes.Bubble.left, shapes.Bubble.top, shapes.Bubble.right, shapes.Bubble.bottom);
        }
        SetBkMode(dc, TRANSPARENT);
        RECT text = ToRect(shapes.Text);
        DrawTextW(dc, g_tip.text, -1, &text, DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
    }
    if (bubble) DeleteObject(bubble);
    EndPaint(window, &paint);
}

void ShowAt(HWND window, LPARAM packed) {
    const int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    RECT measured = ToRect(TipMeasureRect(g_tip.maxWidth, screenHeight, g_tip.scale));
    {
        WindowDc dc(window);
        if (dc.Get()) {
            SelectScope font(dc.Get(), g_tip.font);
            DrawTextW(dc.Get(), g_tip.text, -1, &measured, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        }
    }
    uint16_t x = 0, y = 0;
    UnpackTipPoint(uint32_t(packed), x, y);
    const TipPlacement tip = PlaceTip(x, y, measured.right - measured.left, measured.bottom - measured.top,
                                      screenWidth, screenHeight, g_tip.scale);
    SetWindowPos(window, nullptr, tip.x, tip.y, tip.cx, tip.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
    // Shown active, so that losing the focus hides it again.
    ShowWindow(window, SW_SHOWNORMAL);
}

LRESULT CALLBACK TooltipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        if (g_tip.maxWidth == 0)
            g_tip.maxWidth = DefaultTipMaxWidth(GetSystemMetrics(SM_CXFULLSCREEN), g_tip.scale);
        return 1;
    case WM_ERASEBKGND:
        return 1;  // painting covers everything
    case WM_KILLFOCUS:
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        ShowWindow(window, SW_HIDE);
        break;
    case WM_PAINT:
        Paint(window);
        break;
    case WM_TIP_SETFONT: {
        HFONT previous = g_tip.font;
        g_tip.font = reinterpret_cast<HFONT>(lParam);
        if (g_tip.font != previous) ReshowInPlace(window);
        return LRESULT(previous);
    }
    case WM_TIP_SETTEXT:
        if (lParam) {
            lstrcpynW(g_tip.text, reinterpret_cast<const wchar_t*>(lParam), kTipUnits);
            // Also the window's own text, for screen readers and for tests.
            DefWindowProcW(window, WM_SETTEXT, 0, LPARAM(g_tip.text));
        }
        ReshowInPlace(window);
        return 1;
    case WM_TIP_SHOWAT: {
        // A show supersedes the re-shows still queued: a text set while the
        // tip was up would otherwise move it back to its old corner.
        MSG queued;
        while (PeekMessageW(&queued, window, WM_TIP_SHOWAT, WM_TIP_SHOWAT, PM_REMOVE)) {}
        ShowAt(window, lParam);
        return 1;
    }
    case WM_TIP_SETMAXWIDTH: {
        const int previous = g_tip.maxWidth;
        g_tip.maxWidth = int(wParam);
        if (g_tip.maxWidth != previous) ReshowInPlace(window);
        return previous;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterTooltipClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = TooltipProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    // The class keeps its brush while the library is loaded.
    windowClass.hbrBackground = CreateSolidBrush(kTipBackground);
    windowClass.lpszClassName = kTooltipClass;
    // An earlier dialog registered it: taken as it is, unless an earlier load
    // of the library left it behind with a procedure that is no longer there.
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kTooltipClass, &existing) && existing.lpfnWndProc != TooltipProc &&
        UnregisterClassW(kTooltipClass, instance) && existing.hbrBackground)
        DeleteObject(existing.hbrBackground);
    if (!RegisterClassExW(&windowClass) && windowClass.hbrBackground)
        DeleteObject(windowClass.hbrBackground);
}

int HalfWidthOf(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    return (frame.right - frame.left) / 2;
}

}  // namespace

HWND CreateTooltipWindow(HWND dialog, HINSTANCE instance, DisplayScale scale) {
    g_tip.scale = scale;
    RegisterTooltipClass(instance);
    HWND tip = CreateWindowExW(0, kTooltipClass, L"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, dialog, nullptr, instance, nullptr);
    if (!tip) return nullptr;
    SetWindowLongPtrW(tip, GWL_EXSTYLE, GetWindowLongPtrW(tip, GWL_EXSTYLE) | WS_EX_LAYERED);
    SendMessageW(tip, WM_TIP_SETFONT, 0, SendMessageW(dialog, WM_GETFONT, 0, 0));
    SendMessageW(tip, WM_TIP_SETMAXWIDTH, WPARAM(HalfWidthOf(dialog)), 0);
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return tip;
}

void RescaleTooltip(HWND tooltip, HWND dialog, DisplayScale scale, HFONT font) {
    if (!tooltip) return;
    g_tip.scale = scale;
    SendMessageW(tooltip, WM_TIP_SETFONT, 0, LPARAM(font));
    SendMessageW(tooltip, WM_TIP_SETMAXWIDTH, WPARAM(HalfWidthOf(dialog)), 0);
}

void ShowHelpText(HINSTANCE instance, UiLanguage language, int stringId, HWND tooltip, int x, int y) {
    if (stringId == 0 || !tooltip) return;
    const std::wstring text = LoadLocalString(instance, stringId, language, kTipUnits - 1);
    SendMessageW(tooltip, WM_TIP_SETTEXT, 0, LPARAM(text.c_str()));
    SetLayeredWindowAttributes(tooltip, kTransparentKey, kTipAlpha, LWA_COLORKEY | LWA_ALPHA);
    SendMessageW(tooltip, WM_TIP_SHOWAT, 0, LPARAM(HelpTipPoint(x, y, g_tip.scale)));
}

}  // namespace gridsmith::ui
