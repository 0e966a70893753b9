#pragma once
#include <windows.h>

// Owner of an open registry key, closed with RegCloseKey.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;
    HKEY get() const { return key_; }
    // For the call that opens the key; only while nothing is held.
    HKEY *receive() { return &key_; }

private:
    HKEY key_ = nullptr;
};
