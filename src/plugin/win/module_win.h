// What the module keeps from load to unload for its windows: the link font and
// the activation context made from its manifest.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace gridsmith {

// What loading the module sets up: its handle, activation context and link
// font. DllMain calls it; a program that links the plug-in in calls it itself.
void AttachModule(HINSTANCE instance);

// The full path of `module`'s file; empty when it cannot be had.
std::wstring ModuleFileName(HMODULE module);

// The underlined font of the link controls; valid while the module is loaded.
HFONT LinkFont();

// Creates the link font, `height` pixels high (12 at 96 DPI); the caller owns
// the handle (the module keeps one of height 12).
constexpr int32_t kLinkFontHeight = 12;
HFONT CreateLinkFont(int32_t height = kLinkFontHeight);

// Creates an activation context from the manifest resource (type 24, ID 2) of
// `module`; null when none can be made. Release it with ReleaseActCtx.
HANDLE CreateModuleActivationContext(HMODULE module);

// Activates `context` for the scope's lifetime. Everything that creates a
// window, a dialog or a window class, initialises common controls or opens a
// common dialog runs inside one, so it gets common controls 6 whatever the
// host uses. Without a context the scope does nothing.
class ActivationScope {
public:
    ActivationScope();  // the module's own context
    explicit ActivationScope(HANDLE context);
    ~ActivationScope();
    ActivationScope(const ActivationScope&) = delete;
    ActivationScope& operator=(const ActivationScope&) = delete;

    bool Active() const { return active_; }

private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

}  // namespace gridsmith
