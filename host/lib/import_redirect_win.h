// A module's import pointed elsewhere for a scope: how tests and benchmarks
// make a plug-in's call to the system fail, count it or answer it themselves.
#pragma once

#include <windows.h>

#include <cstring>
#include <utility>

namespace gridsmith::hosting {

// Points the module's import of `name` at `replacement` for the scope.
class ImportRedirect {
public:
    ImportRedirect(HMODULE module, const char* name, const void* replacement) : slot_(ImportSlot(module, name)) {
        if (slot_) Swap(reinterpret_cast<ULONG_PTR>(replacement));
    }
    ~ImportRedirect() {
        if (slot_) Swap(original_);
    }
    ImportRedirect(const ImportRedirect&) = delete;
    ImportRedirect& operator=(const ImportRedirect&) = delete;
    bool Hooked() const { return slot_ != nullptr; }

private:
    static ULONG_PTR* ImportSlot(HMODULE module, const char* name) {
        auto* base = reinterpret_cast<BYTE*>(module);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); imports.Size && d->Name; ++d) {
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + d->OriginalFirstThunk);
            auto* slots = reinterpret_cast<ULONG_PTR*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots)
                if (!IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal) &&
                    strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name, name) == 0)
                    return slots;
        }
        return nullptr;
    }
    void Swap(ULONG_PTR target) {
        DWORD protection = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        original_ = std::exchange(*slot_, target);
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    }

    ULONG_PTR* slot_;
    ULONG_PTR original_ = 0;
};

}  // namespace gridsmith::hosting
