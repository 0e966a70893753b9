#pragma once
#include "catalogue/core/CalendarTime.h"

// Date and time fields of a catalogue entry. Each parser works on a copy of
// at most 39 characters of its text; a longer field is cut there.

// Month/day/two-digit year; "-" and ":" serve as "/" too. Years 80-99 are
// 1980-1999, 00-50 are 2000-2050; an empty year is 2000. Fills year, month
// and day; returns 1 if the date is valid.
int parseCatalogueDate(const char *text, CalendarTime &time);

// Hour:minute:second followed by an AM/PM marker (only its first letter, in
// either case, counts); "-" serves as ":" too. Fills hour, minute, second
// and milliseconds (0); returns 1 if the time is valid.
int parseCatalogueTime(const char *text, CalendarTime &time);

// Year 1980 to 2050, month 1 to 12, day within the month.
int isValidDate(const CalendarTime &time);

// Gregorian rule.
int isLeapYear(int year);
