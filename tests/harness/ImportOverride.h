#pragma once
#include <windows.h>

// While alive, this test program's calls of one imported platform function go
// to a replacement, so that a failure the platform will not give is made in
// process without a switch in the program.
class ImportOverride {
public:
    ImportOverride(const char *module, const char *function, void *replacement)
    {
        original_ = reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA(module), function));
        auto *base = reinterpret_cast<BYTE *>(GetModuleHandleA(nullptr));
        auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
        auto *entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(
            base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        for (; original_ && entry->Name && !slot_; ++entry)
            for (auto *slot = reinterpret_cast<void **>(base + entry->FirstThunk); *slot && !slot_; ++slot)
                slot_ = *slot == original_ ? slot : nullptr;
        write(replacement);
    }
    ~ImportOverride() { write(original_); }
    ImportOverride(const ImportOverride &) = delete;
    ImportOverride &operator=(const ImportOverride &) = delete;
    bool active() const { return slot_ != nullptr; }

private:
    void write(void *value)
    {
        DWORD protection;
        if (slot_ && VirtualProtect(slot_, sizeof value, PAGE_READWRITE, &protection)) {
            *slot_ = value;
            VirtualProtect(slot_, sizeof value, protection, &protection);
        }
    }
    void *original_ = nullptr;
    void **slot_ = nullptr;
};
