#include "catalogue/KeptIssueTime.h"

#include "catalogue/RegistryKey.h"
#include "catalogue/core/CatalogueIssued.h"

namespace {

constexpr char KeyPath[] = "Software\\Corvel\\Kestrel";
constexpr char ValueName[] = "CatalogueIssued";

} // namespace

bool readKeptIssueTime(CalendarTime &time)
{
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath, 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
        return false;
    // Room for one character more than the form, so a longer value is seen
    // as such rather than cut to a valid time.
    char text[IssueTimeLength + 2] = {};
    DWORD type = 0;
    DWORD size = sizeof text - 1;
    if (RegQueryValueExA(key.get(), ValueName, nullptr, &type, reinterpret_cast<BYTE *>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    return parseIssueTime(text, time);
}

void keepIssueTime(const CalendarTime &time)
{
    RegistryKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        key.receive(), nullptr) != ERROR_SUCCESS)
        return;
    char text[IssueTimeLength + 1];
    formatIssueTime(time, text);
    RegSetValueExA(key.get(), ValueName, 0, REG_SZ, reinterpret_cast<const BYTE *>(text), sizeof text);
}
