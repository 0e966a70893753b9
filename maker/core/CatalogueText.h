#pragma once
#include "catalogue/core/CalendarTime.h"

#include <cstddef>

// The catalogue's date and time fields, written in the forms Kestrel's own
// parsers read back to the same values: month/day/two-digit year without
// leading zeros ("12/8/27") and a 12-hour time with seconds and a marker
// ("2:30:00 PM"). The year must lie within the years Kestrel reads
// (1980 to 2050).
void formatCatalogueDate(const CalendarTime &date, char *out, std::size_t outSize);
void formatCatalogueTime(const CalendarTime &time, char *out, std::size_t outSize);

// Days since 1 January 1970 of the date's year, month and day (proleptic
// Gregorian), for comparing dates and counting days between them.
long dayNumber(const CalendarTime &date);

// The date days after the given one (year, month and day only).
CalendarTime daysLater(const CalendarTime &date, long days);
