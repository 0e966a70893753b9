#include "maker/core/CatalogueText.h"

#include <cstdio>

void formatCatalogueDate(const CalendarTime &date, char *out, std::size_t outSize)
{
    std::snprintf(out, outSize, "%u/%u/%02u", unsigned{date.month}, unsigned{date.day}, date.year % 100u);
}

void formatCatalogueTime(const CalendarTime &time, char *out, std::size_t outSize)
{
    const unsigned hour = time.hour % 12u == 0 ? 12u : time.hour % 12u;
    std::snprintf(out, outSize, "%u:%02u:%02u %s", hour, unsigned{time.minute}, unsigned{time.second},
                  time.hour < 12 ? "AM" : "PM");
}

long dayNumber(const CalendarTime &date)
{
    // Counts from 1 March so that the leap day falls at the end of a year.
    const long year = date.month <= 2 ? long{date.year} - 1 : long{date.year};
    const long era = year / 400;
    const long yearOfEra = year - era * 400;
    const long shiftedMonth = date.month > 2 ? date.month - 3 : date.month + 9;
    const long dayOfYear = (153 * shiftedMonth + 2) / 5 + date.day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CalendarTime daysLater(const CalendarTime &date, long days)
{
    // The inverse of dayNumber, over the same 400-year eras from 1 March.
    const long day = dayNumber(date) + days + 719468;
    const long era = (day >= 0 ? day : day - 146096) / 146097;
    const long dayOfEra = day - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long shiftedMonth = (5 * dayOfYear + 2) / 153;
    CalendarTime later{};
    later.day = static_cast<std::uint16_t>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    later.month = static_cast<std::uint16_t>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    later.year = static_cast<std::uint16_t>(yearOfEra + era * 400 + (later.month <= 2 ? 1 : 0));
    return later;
}
