#pragma once
#include "catalogue/core/CalendarTime.h"
#include "catalogue/core/SectionWalker.h"

#include <cstddef>

// The last day on which a catalogue is accepted: the line right after the
// first "[Expires]" header, a date in the entries' own format and range.
// Without it an old signed catalogue could be served for ever.

enum class ExpiryStatus {
    NoSection,  // no "[Expires]" header
    Unreadable, // the line after it is missing or no valid date
    Readable,   // lastDay holds the date
};

struct CatalogueExpiry {
    ExpiryStatus status;
    CalendarTime lastDay; // year, month and day
};

// Reads from the reader as it stands.
CatalogueExpiry readCatalogueExpiry(const LineReader &lines);

// Fuzzing entry point: the same over any bytes, as catalogueLines reads them.
inline CatalogueExpiry readCatalogueExpiry(const char *data, std::size_t size)
{
    return readCatalogueExpiry(catalogueLines(data, size));
}

// True when today (a local date) is later than lastDay; the time of day is
// not looked at.
bool isExpired(const CalendarTime &lastDay, const CalendarTime &today);

// True when a catalogue whose issue time falls on issuedDay (a local date,
// counted as the expiry is) was issued after the end of its own last day.
// The maker's tool never writes one: it is no catalogue of the maker's, and
// an issue time so far ahead would only lock its users out of later ones.
bool issuedAfterLastDay(const CalendarTime &lastDay, const CalendarTime &issuedDay);
