#pragma once
#include "catalogue/CatalogueEntry.h"
#include "catalogue/core/CalendarTime.h"

#include <windows.h>

#include <cstring>

// The catalogue's dates and times are local time. They are turned into UTC
// with the offset in force now, daylight saving time included, whatever the
// entry's date (LocalFileTimeToFileTime), so a file stamped from the
// catalogue carries the maker's own file time on a machine in the maker's
// time zone and daylight-saving state. The two conversions are exact
// inverses of each other, to the second. Inline, so a program carries only
// the direction it uses.

static_assert(sizeof(CalendarTime) == sizeof(SYSTEMTIME), "CalendarTime must match SYSTEMTIME");
static_assert(sizeof(FileTime) == sizeof(FILETIME), "FileTime must match FILETIME");

// Reading: the catalogue's local date and time to the UTC file time. The
// unused last parameter lets it serve as the entry reader's converter.
inline bool localTimeToUtc(const CalendarTime &local, FileTime &utc, void *)
{
    SYSTEMTIME systemTime;
    std::memcpy(&systemTime, &local, sizeof systemTime);
    FILETIME localFileTime;
    FILETIME utcFileTime;
    if (!SystemTimeToFileTime(&systemTime, &localFileTime) || !LocalFileTimeToFileTime(&localFileTime, &utcFileTime))
        return false;
    utc.lowDateTime = utcFileTime.dwLowDateTime;
    utc.highDateTime = utcFileTime.dwHighDateTime;
    return true;
}

// Writing: a UTC file time to the catalogue's local date and time, the
// fraction of a second dropped.
inline bool utcToLocalTime(const FILETIME &utc, CalendarTime &local)
{
    FILETIME localFileTime;
    SYSTEMTIME systemTime;
    if (!FileTimeToLocalFileTime(&utc, &localFileTime) || !FileTimeToSystemTime(&localFileTime, &systemTime))
        return false;
    systemTime.wMilliseconds = 0;
    std::memcpy(&local, &systemTime, sizeof local);
    return true;
}

// A UTC calendar time (a catalogue's issue time) as local time.
inline bool utcCalendarToLocal(const CalendarTime &utc, CalendarTime &local)
{
    SYSTEMTIME systemTime;
    std::memcpy(&systemTime, &utc, sizeof systemTime);
    FILETIME fileTime;
    return SystemTimeToFileTime(&systemTime, &fileTime) && utcToLocalTime(fileTime, local);
}

// Today's local date, by which a catalogue's expiry is judged.
inline CalendarTime localToday()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    CalendarTime today;
    std::memcpy(&today, &now, sizeof today);
    return today;
}

// The present moment in UTC, to the second, as a catalogue's issue time.
inline CalendarTime utcNow()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    CalendarTime time;
    std::memcpy(&time, &now, sizeof time);
    time.milliseconds = 0;
    return time;
}
