#include "app/UpdateFolder.h"

#include "catalogue/RegistryKey.h"
#include "net/core/UpdateFolderAddress.h"

#include <cstring>

namespace {

constexpr char PolicyKeyPath[] = "Software\\Policies\\Corvel\\Kestrel";
constexpr char PolicyValueName[] = "UpdateFolder";

} // namespace

UpdateFolder readUpdateFolder(const char *builtIn)
{
    UpdateFolder folder{};
    std::strcpy(folder.url, builtIn);
    folder.valid = true;

    RegistryKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PolicyKeyPath, 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
        return folder;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), PolicyValueName, nullptr, &type, nullptr, &size) == ERROR_FILE_NOT_FOUND)
        return folder;
    // One byte spare, so a value longer than the buffer is seen as such
    // rather than cut to a valid address.
    char value[sizeof folder.url + 1] = {};
    size = sizeof value - 1;
    const LONG read = RegQueryValueExA(key.get(), PolicyValueName, nullptr, &type,
                                       reinterpret_cast<BYTE *>(value), &size);
    folder.valid = read == ERROR_SUCCESS && type == REG_SZ && isUpdateFolderAddress(value, LongestUpdateFolder);
    // A value that could not be read as text shows as an empty address.
    if (read != ERROR_SUCCESS || type != REG_SZ)
        value[0] = '\0';
    std::strncpy(folder.url, value, sizeof folder.url - 1);
    folder.url[sizeof folder.url - 1] = '\0';
    return folder;
}
