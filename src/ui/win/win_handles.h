// Owners of the window system's objects: each holds one handle and releases it
// exactly once, with the release call its kind needs.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace gridsmith::ui {

template <typename Handle, BOOL (*Free)(Handle)>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Hands the object to a new owner outside these holders.
    Handle Release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (handle_) Free(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

namespace release {
inline BOOL Font(HFONT font) { return DeleteObject(font); }
inline BOOL Pen(HPEN pen) { return DeleteObject(pen); }
inline BOOL Bitmap(HBITMAP bitmap) { return DeleteObject(bitmap); }
inline BOOL Dc(HDC dc) { return DeleteDC(dc); }
inline BOOL Icon(HICON icon) { return DestroyIcon(icon); }
inline BOOL Cursor(HCURSOR cursor) { return DestroyCursor(cursor); }
inline BOOL ImageList(HIMAGELIST list) { return ImageList_Destroy(list); }
inline BOOL Window(HWND window) { return DestroyWindow(window); }
}  // namespace release

using OwnedFont = Owned<HFONT, release::Font>;
using OwnedPen = Owned<HPEN, release::Pen>;
using OwnedBitmap = Owned<HBITMAP, release::Bitmap>;
using OwnedIcon = Owned<HICON, release::Icon>;
using OwnedCursor = Owned<HCURSOR, release::Cursor>;
using OwnedImageList = Owned<HIMAGELIST, release::ImageList>;
using OwnedWindow = Owned<HWND, release::Window>;

// A memory device context with its own bitmap selected in; the bitmap the
// context came with is put back before either is deleted.
class MemorySurface {
public:
    MemorySurface() = default;
    MemorySurface(HDC compatibleWith, int width, int height);
    MemorySurface(MemorySurface&& other) noexcept { *this = std::move(other); }
    MemorySurface& operator=(MemorySurface&& other) noexcept;
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    ~MemorySurface() { Reset(); }

    HDC Dc() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset();

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
};

// Selects an object into a device context for the scope.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectScope() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's device context for the scope.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace gridsmith::ui
