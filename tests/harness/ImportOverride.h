#pragma once
#include <windows.h>

// While alive, this test program's calls of one imported platform function go
// to a replacement: a failure the platform cannot be made to give is made in
// process, and the program keeps no switch for it.
class ImportOverride {
public:
    ImportOverride(const char *module, const char *function, void *replacement)
    {
        original_ = reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA(module), function));
        auto *base = reinterpret_cast<BYTE *>(GetModuleHandleA(nullptr));
        auto *headers = reinterpret_cast<IMAGE_NT_HEADERS *>(base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
        const DWORD imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        for (auto *entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + imports); original_ && entry->Name; ++entry)
            for (auto *slot = reinterpret_cast<void **>(base + entry->FirstThunk); *slot && !slot_; ++slot)
                if (*slot == original_)
                    slot_ = slot;
        if (slot_)
            write(replacement);
    }
    ~ImportOverride()
    {
        if (slot_)
            write(original_);
    }
    ImportOverride(const ImportOverride &) = delete;
    ImportOverride &operator=(const ImportOverride &) = delete;

    bool active() const { return slot_ != nullptr; }

private:
    void write(void *value)
    {
        DWORD protection;
        VirtualProtect(slot_, sizeof value, PAGE_READWRITE, &protection);
        *slot_ = value;
        VirtualProtect(slot_, sizeof value, protection, &protection);
    }

    void *original_ = nullptr;
    void **slot_ = nullptr;
};
