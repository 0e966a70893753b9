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
