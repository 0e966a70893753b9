#pragma once
#include <windows.h>

#include <bcrypt.h>

// Owners for the handles of Windows CNG (bcrypt.dll): algorithm providers,
// keys and hash objects.

class AlgorithmHandle {
public:
    AlgorithmHandle() = default;
    ~AlgorithmHandle() { close(); }
    AlgorithmHandle(const AlgorithmHandle &) = delete;
    AlgorithmHandle &operator=(const AlgorithmHandle &) = delete;
    BCRYPT_ALG_HANDLE get() const { return handle_; }
    // Opens the named algorithm of the default provider; true on success.
    bool open(LPCWSTR algorithm)
    {
        close();
        if (BCryptOpenAlgorithmProvider(&handle_, algorithm, nullptr, 0) == 0)
            return true;
        handle_ = nullptr;
        return false;
    }
    void close()
    {
        if (handle_)
            BCryptCloseAlgorithmProvider(handle_, 0);
        handle_ = nullptr;
    }

private:
    BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle() { close(); }
    KeyHandle(const KeyHandle &) = delete;
    KeyHandle &operator=(const KeyHandle &) = delete;
    BCRYPT_KEY_HANDLE get() const { return handle_; }
    // Takes over a handle a CNG call has made.
    void reset(BCRYPT_KEY_HANDLE handle)
    {
        close();
        handle_ = handle;
    }
    void close()
    {
        if (handle_)
            BCryptDestroyKey(handle_);
        handle_ = nullptr;
    }

private:
    BCRYPT_KEY_HANDLE handle_ = nullptr;
};

class HashHandle {
public:
    HashHandle() = default;
    ~HashHandle() { close(); }
    HashHandle(const HashHandle &) = delete;
    HashHandle &operator=(const HashHandle &) = delete;
    BCRYPT_HASH_HANDLE get() const { return handle_; }
    void reset(BCRYPT_HASH_HANDLE handle)
    {
        close();
        handle_ = handle;
    }
    void close()
    {
        if (handle_)
            BCryptDestroyHash(handle_);
        handle_ = nullptr;
    }

private:
    BCRYPT_HASH_HANDLE handle_ = nullptr;
};
