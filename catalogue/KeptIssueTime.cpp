#include "catalogue/KeptIssueTime.h"

#include "catalogue/RegistryKey.h"
#include "catalogue/core/CatalogueIssued.h"
#include "toolkit/ProcessElevation.h"

#include <cstring>

namespace {

constexpr char KeyPath[] = "Software\\Corvel\\Kestrel";
constexpr char ValueName[] = "CatalogueIssued";
// 100 ns steps in a day.
constexpr ULONGLONG OneDay = 24ULL * 60 * 60 * 10000000;

bool readFrom(HKEY root, CalendarTime &time)
{
    RegistryKey key;
    if (RegOpenKeyExA(root, KeyPath, 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
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

void keepIn(HKEY root, const CalendarTime &time)
{
    RegistryKey key;
    if (RegCreateKeyExA(root, KeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS)
        return;
    char text[IssueTimeLength + 1];
    formatIssueTime(time, text);
    RegSetValueExA(key.get(), ValueName, 0, REG_SZ, reinterpret_cast<const BYTE *>(text), sizeof text);
}

// True when time lies more than a day after this computer's clock.
bool farAhead(const CalendarTime &time)
{
    SYSTEMTIME calendar;
    std::memcpy(&calendar, &time, sizeof calendar);
    FILETIME issued;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    if (!SystemTimeToFileTime(&calendar, &issued))
        return true;
    const ULONGLONG issuedTicks = (ULONGLONG{issued.dwHighDateTime} << 32) | issued.dwLowDateTime;
    const ULONGLONG nowTicks = (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return issuedTicks > nowTicks + OneDay;
}

} // namespace

bool readKeptIssueTime(CalendarTime &time)
{
    CalendarTime user;
    CalendarTime machine;
    const bool userKept = readFrom(HKEY_CURRENT_USER, user);
    const bool machineKept = readFrom(HKEY_LOCAL_MACHINE, machine);
    if (!userKept && !machineKept)
        return false;
    time = !machineKept || (userKept && issuedBefore(machine, user)) ? user : machine;
    return true;
}

void keepIssueTime(const CalendarTime &time)
{
    if (farAhead(time))
        return;
    keepIn(HKEY_CURRENT_USER, time);
    if (runsElevated())
        keepIn(HKEY_LOCAL_MACHINE, time);
}
