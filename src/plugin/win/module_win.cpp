#include "plugin/win/module_win.h"

#include <string>

#include "plugin/module.h"

namespace gridsmith {
namespace {

HINSTANCE g_instance = nullptr;
HFONT g_linkFont = nullptr;
HANDLE g_activationContext = nullptr;

}  // namespace

std::wstring ModuleFileName(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(module, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

void* ModuleInstance() { return g_instance; }

void AttachModule(HINSTANCE instance) {
    g_instance = instance;
    g_activationContext = CreateModuleActivationContext(instance);
    g_linkFont = CreateLinkFont();
}

HFONT LinkFont() { return g_linkFont; }

HFONT CreateLinkFont(int32_t height) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = TRUE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(font.lfFaceName, L"宋体", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

HANDLE CreateModuleActivationContext(HMODULE module) {
    std::wstring path = ModuleFileName(module);
    if (path.empty()) return nullptr;
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.hModule = module;
    request.lpResourceName = MAKEINTRESOURCEW(2);  // ISOLATIONAWARE_MANIFEST_RESOURCE_ID
    HANDLE context = CreateActCtxW(&request);
    return context == INVALID_HANDLE_VALUE ? nullptr : context;
}

ActivationScope::ActivationScope() : ActivationScope(g_activationContext) {}

ActivationScope::ActivationScope(HANDLE context) {
    if (context) active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

ActivationScope::~ActivationScope() {
    if (active_) DeactivateActCtx(0, cookie_);
}

}  // namespace gridsmith

// Runs under the loader lock: only kernel32 and GDI work that loads no library.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    using namespace gridsmith;
    if (reason == DLL_PROCESS_ATTACH) {
        AttachModule(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded by FreeLibrary. At process exit (reserved non-null) other
        // threads are gone, maybe holding locks, and the system reclaims both.
        if (g_linkFont) DeleteObject(g_linkFont);
        g_linkFont = nullptr;
        if (g_activationContext) ReleaseActCtx(g_activationContext);
        g_activationContext = nullptr;
    }
    return TRUE;
}
