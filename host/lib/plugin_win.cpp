// Windows build: a .8bf is a DLL whose PIPL resources name its entry point.
#include <windows.h>

#include <string>
#include <vector>

#include "host/lib/pipl.h"
#include "host/lib/plugin.h"
#include "host/lib/utf8.h"

namespace gridsmith::hosting {
namespace {

using LoadResult = Outcome<std::shared_ptr<Plugin>>;

// Owns the loaded module: freed with the last Plugin reference.
class ModulePlugin final : public Plugin {
public:
    ModulePlugin(HMODULE module, PluginEntry entry, std::string path)
        : module_(module), entry_(entry), path_(std::move(path)) {}
    ~ModulePlugin() override { FreeLibrary(module_); }
    ModulePlugin(const ModulePlugin&) = delete;
    ModulePlugin& operator=(const ModulePlugin&) = delete;

    PluginEntry Entry() const override { return entry_; }
    std::string Origin() const override { return path_; }

private:
    HMODULE module_;
    PluginEntry entry_;
    std::string path_;
};

// Releases a module on every failure path.
struct ModuleGuard {
    HMODULE module;
    ~ModuleGuard() {
        if (module) FreeLibrary(module);
    }
    HMODULE Release() {
        HMODULE m = module;
        module = nullptr;
        return m;
    }
};

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    // Numeric IDs stay as they are; string names are only valid during the call.
    auto* list = reinterpret_cast<std::vector<std::wstring>*>(names);
    list->push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(uintptr_t(name)) : name);
    return TRUE;
}

std::vector<std::wstring> PiplResourceNames(HMODULE module) {
    std::vector<std::wstring> names;
    EnumResourceNamesW(module, L"PIPL", &CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

Outcome<PiplInfo> ReadPipl(HMODULE module, const std::wstring& name) {
    HRSRC found = FindResourceW(module, name.c_str(), L"PIPL");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return Outcome<PiplInfo>::Failure("a PIPL resource cannot be read");
    return ParsePipl(static_cast<const uint8_t*>(bytes), SizeofResource(module, found));
}

// The entry point named by the first filter PIPL, or the most telling reason
// why none qualifies.
Outcome<std::string> FindEntryName(HMODULE module) {
    const std::vector<std::wstring> names = PiplResourceNames(module);
    if (names.empty()) return Outcome<std::string>::Failure("it has no PIPL resource");
    std::string reason;
    for (const std::wstring& name : names) {
        Outcome<PiplInfo> pipl = ReadPipl(module, name);
        Outcome<std::string> entry =
            pipl.ok() ? FilterEntryPoint(pipl.value) : Outcome<std::string>::Failure(pipl.error);
        if (entry.ok()) return entry;
        if (reason.empty()) reason = entry.error;
    }
    return Outcome<std::string>::Failure(reason);
}

std::wstring ProgramDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

}  // namespace

LoadResult LoadPluginFile(const std::string& path) {
    const std::wstring widePath = Utf8ToWide(path);
    if (GetFileAttributesW(widePath.c_str()) == INVALID_FILE_ATTRIBUTES)
        return LoadResult::Failure("plug-in " + path + " does not exist");
    // No message boxes from the loader for a file that is not a module.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    ModuleGuard module{LoadLibraryW(widePath.c_str())};
    const DWORD loadError = GetLastError();
    SetErrorMode(oldMode);
    if (!module.module)
        return LoadResult::Failure("plug-in " + path + " cannot be loaded (not a 64-bit DLL?" +
                                   " Windows error " + std::to_string(loadError) + ")");
    Outcome<std::string> entryName = FindEntryName(module.module);
    if (!entryName.ok())
        return LoadResult::Failure("plug-in " + path + " is not usable: " + entryName.error);
    FARPROC entry = GetProcAddress(module.module, entryName.value.c_str());
    if (!entry)
        return LoadResult::Failure("plug-in " + path + " does not export its entry point '" +
                                   entryName.value + "'");
    auto plugin = std::make_shared<ModulePlugin>(
        module.Release(), reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(entry)), path);
    return LoadResult::Success(std::move(plugin));
}

LoadResult LoadDefaultPlugin() {
    return LoadPluginFile(WideToUtf8(ProgramDirectory() + L"Gridsmith.8bf"));
}

}  // namespace gridsmith::hosting
