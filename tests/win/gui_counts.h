// What a leaking dialog would leave behind: live GDI objects of the process
// and windows of a thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace gridsmith::testing {

// Live GDI objects by kind (OBJ_PEN ... OBJ_COLORSPACE). GetGuiResources is a
// stub under Wine; there a GDI object is found by its table index alone, so
// every live one answers GetObjectType.
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

// The kinds whose counts changed, as "bitmap +1, DC -2"; "none" when none did.
inline std::string KindsMoved(const GdiObjectKinds& before, const GdiObjectKinds& after) {
    static const char* const kNames[16] = {"?",       "pen",       "brush",        "DC",
                                           "metafile DC", "palette", "font",     "bitmap",
                                           "region",  "metafile",  "memory DC",    "extended pen",
                                           "enhanced metafile DC", "enhanced metafile", "colour space", "?"};
    std::string moved;
    for (DWORD kind = 1; kind < 16; ++kind) {
        const int change = after.Of(kind) - before.Of(kind);
        if (change == 0) continue;
        moved += (moved.empty() ? "" : ", ") + std::string(kNames[kind]) + " " + (change > 0 ? "+" : "") +
                 std::to_string(change);
    }
    return moved.empty() ? "none" : moved;
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
