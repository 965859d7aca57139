// What a leaking dialog would leave behind: live GDI objects of the process
// and windows of a thread.
#pragma once

#include <windows.h>

#include <cstdint>

namespace gridsmith::testing {

// GetGuiResources is a stub under Wine; there a GDI object is found by its
// table index alone, so every live one answers GetObjectType.
inline int LiveGdiObjects() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return int(count);
    int live = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
    return live;
}

// Live GDI objects by kind (OBJ_PEN ... OBJ_COLORSPACE), found by probing
// every table index as above.
struct GdiObjectKinds {
    int count[16] = {};
    int Of(DWORD kind) const { return kind < 16 ? count[kind] : 0; }
    // Everything but device contexts and regions, which the window manager
    // keeps in a cache of its own that grows and shrinks with the windows.
    int Drawn() const {
        int total = 0;
        for (DWORD kind = 1; kind < 16; ++kind)
            if (kind != OBJ_DC && kind != OBJ_REGION) total += count[kind];
        return total;
    }
};

inline GdiObjectKinds LiveGdiObjectKinds() {
    GdiObjectKinds kinds;
    for (uintptr_t index = 1; index < 0x10000; ++index) {
        const DWORD kind = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (kind < 16) ++kinds.count[kind];
    }
    return kinds;
}

// Top-level windows of `thread` and all their children.
inline int WindowsOfThread(DWORD thread) {
    int count = 0;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM p) -> BOOL {
            ++*reinterpret_cast<int*>(p);
            EnumChildWindows(
                window, [](HWND, LPARAM q) -> BOOL { return ++*reinterpret_cast<int*>(q), TRUE; }, p);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace gridsmith::testing
