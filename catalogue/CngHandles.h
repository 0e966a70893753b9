#pragma once
#include <windows.h>

#include <bcrypt.h>

// Owners for the handles of Windows CNG (bcrypt.dll): algorithm providers,
// keys and hash objects, each released by its own function.
template <typename Handle, void (*Release)(Handle)>
class CngHandle {
public:
    CngHandle() = default;
    ~CngHandle() { reset(nullptr); }
    CngHandle(const CngHandle &) = delete;
    CngHandle &operator=(const CngHandle &) = delete;
    Handle get() const { return handle_; }
    // Takes over a handle a CNG call has made, releasing the one held.
    void reset(Handle handle)
    {
        if (handle_)
            Release(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

inline void closeAlgorithm(BCRYPT_ALG_HANDLE handle) { BCryptCloseAlgorithmProvider(handle, 0); }
inline void destroyKey(BCRYPT_KEY_HANDLE handle) { BCryptDestroyKey(handle); }
inline void destroyHash(BCRYPT_HASH_HANDLE handle) { BCryptDestroyHash(handle); }

using AlgorithmHandle = CngHandle<BCRYPT_ALG_HANDLE, closeAlgorithm>;
using KeyHandle = CngHandle<BCRYPT_KEY_HANDLE, destroyKey>;
using HashHandle = CngHandle<BCRYPT_HASH_HANDLE, destroyHash>;

// Opens the named algorithm of the default provider into owner; true on
// success.
inline bool openAlgorithm(AlgorithmHandle &owner, LPCWSTR algorithm)
{
    BCRYPT_ALG_HANDLE handle = nullptr;
    if (BCryptOpenAlgorithmProvider(&handle, algorithm, nullptr, 0) != 0)
        return false;
    owner.reset(handle);
    return true;
}
