#pragma once
#include <cstdint>

// A calendar date and time of day, laid out like the platform's SYSTEMTIME so
// the Win32 layer can hand it straight to the time conversions.
struct CalendarTime {
    std::uint16_t year;
    std::uint16_t month;
    std::uint16_t dayOfWeek;
    std::uint16_t day;
    std::uint16_t hour;
    std::uint16_t minute;
    std::uint16_t second;
    std::uint16_t milliseconds;
};
