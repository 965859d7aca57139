// The host's UIHooks suite (version 1), offered through the basic suite:
// SetCursor takes the host's cursor names, records them and, on Windows,
// sets the nearest system cursor. Acquires and releases are counted so a
// test can check that they balance.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/host_abi.h"

namespace gridsmith::hosting {

constexpr host::SPErr kPSCursorError = 0x21637572;  // '!cur'

// The system cursor a host cursor name stands for.
enum class SystemCursor { None, Arrow, Wait, Busy, Move, Hand, Cross, Text };

// The cursor for a host cursor name; false for a name the host does not know.
bool CursorForName(const char* name, SystemCursor& cursor);

// Sets the system cursor (Windows); nothing natively.
void ShowSystemCursor(SystemCursor cursor);

struct CursorCall {
    std::string name;  // "" for kPICursorNone (null)
    host::SPErr result;
};

class UIHooks {
public:
    // `mainWindow` is what MainAppWindow reports.
    explicit UIHooks(intptr_t mainWindow);
    ~UIHooks();
    UIHooks(const UIHooks&) = delete;
    UIHooks& operator=(const UIHooks&) = delete;

    // The most recently created suite; null when there is none.
    static UIHooks* Active() { return active_; }

    // While not offered, the basic suite reports the suite as not found.
    void SetOffered(bool offered) { offered_ = offered; }
    bool Offered() const { return offered_; }
    // The displayPixels entry of the suite (null when the host has none).
    void SetDisplayPixels(host::DisplayPixelsProc proc) { suite_.displayPixels = proc; }

    // The basic suite's side: acquire hands out the suite, release must match.
    const host::PSUIHooksSuite1* Acquire();
    bool Release();  // false (and a misuse recorded) without an outstanding acquire

    int Acquires() const { return acquires_; }
    int Releases() const { return releases_; }
    bool Balanced() const { return acquires_ == releases_; }
    const std::vector<CursorCall>& Cursors() const { return cursors_; }
    const std::vector<std::string>& Misuses() const { return misuses_; }
    void ClearRecords();

private:
    static host::SPErr SetCursor(const char* cursorID);
    static intptr_t MainAppWindow();
    static uint32_t TickCount();
    static host::SPErr GetPluginName(void*, void** name);

    static UIHooks* active_;
    UIHooks* previous_;

    host::PSUIHooksSuite1 suite_{};
    intptr_t mainWindow_;
    bool offered_ = true;
    int acquires_ = 0;
    int releases_ = 0;
    std::vector<CursorCall> cursors_;
    std::vector<std::string> misuses_;
};

}  // namespace gridsmith::hosting
