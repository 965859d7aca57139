#include "host/lib/owner_window.h"

#include <windows.h>

namespace gridsmith::hosting {
namespace {

constexpr wchar_t kClassName[] = L"GridsmithHostOwner";

bool RegisterOwnerClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassW(&windowClass) != 0;
    }();
    return registered;
}

}  // namespace

OwnerWindow::OwnerWindow() {
    // Without a display (plain Wine) creation fails; the run goes on with 0.
    if (!RegisterOwnerClass()) return;
    HWND window = CreateWindowExW(0, kClassName, L"Gridsmith host", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    handle_ = reinterpret_cast<intptr_t>(window);
}

OwnerWindow::~OwnerWindow() {
    if (handle_) DestroyWindow(reinterpret_cast<HWND>(handle_));
}

}  // namespace gridsmith::hosting
