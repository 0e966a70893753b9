#pragma once
#include "catalogue/core/CalendarTime.h"

#include <windows.h>

#include <cstring>

// Today's date on this machine: Kestrel judges a catalogue's expiry by the
// user's local date.
inline CalendarTime localToday()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    CalendarTime today;
    std::memcpy(&today, &now, sizeof today);
    return today;
}
