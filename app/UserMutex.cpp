#include "app/UserMutex.h"

#include "toolkit/HeapArray.h"
#include "toolkit/core/TextWriter.h"

#include <sddl.h>

namespace {

// "Global\Kestrel-" and the SID of the process's user; false when it cannot
// be read.
bool mutexName(char *out, std::size_t size)
{
    FileHandle token(nullptr);
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        return false;
    token.reset(opened);
    DWORD needed = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &needed);
    HeapArray<BYTE> user;
    if (needed == 0 || !user.allocate(needed) ||
        !GetTokenInformation(token.get(), TokenUser, user.get(), needed, &needed))
        return false;
    char *sid = nullptr;
    if (!ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER *>(user.get())->User.Sid, &sid))
        return false;
    TextWriter(out, size).text("Global\\Kestrel-").text(sid);
    LocalFree(sid);
    return true;
}

} // namespace

bool UserMutex::acquireFindsAnother()
{
    char name[200];
    if (!mutexName(name, sizeof name))
        return false;
    // Only waiting rights are asked for: a mutex made by an elevated Kestrel
    // of the same user may grant a plain one no more, and is then found all
    // the same (the open is refused rather than the name being free).
    mutex_.reset(CreateMutexExA(nullptr, name, 0, SYNCHRONIZE));
    const DWORD error = GetLastError();
    if (!mutex_.valid())
        return error == ERROR_ACCESS_DENIED;
    return error == ERROR_ALREADY_EXISTS;
}
