#pragma once
#include "catalogue/core/CalendarTime.h"
#include "catalogue/core/SectionWalker.h"

#include <cstddef>

// When a catalogue was made: the line right after the first "[Issued]"
// header, "YYYY-MM-DDTHH:MM:SSZ" in UTC. Kestrel keeps the newest issue time
// it has used and refuses an older catalogue, so an old signed catalogue
// cannot be served again to put users back on old programs.

enum class IssuedStatus {
    NoSection,  // no "[Issued]" header
    Unreadable, // the line after it is missing or not such a time
    Readable,   // time holds it
};

struct CatalogueIssued {
    IssuedStatus status;
    CalendarTime time; // year to second
};

// Characters of an issue time.
constexpr std::size_t IssueTimeLength = 20;

// True when text is exactly the form above, with a date of the years
// Kestrel reads (1980 to 2050) and a valid time of day; time then holds it.
bool parseIssueTime(const char *text, CalendarTime &time);

// Writes the time in that form; out holds IssueTimeLength + 1 bytes.
void formatIssueTime(const CalendarTime &time, char (&out)[IssueTimeLength + 1]);

// True when a lies before b, to the second.
bool issuedBefore(const CalendarTime &a, const CalendarTime &b);

// Reads from the reader as it stands.
CatalogueIssued readCatalogueIssued(const LineReader &lines);

// Fuzzing entry point: the same over any bytes, as catalogueLines reads them.
inline CatalogueIssued readCatalogueIssued(const char *data, std::size_t size)
{
    return readCatalogueIssued(catalogueLines(data, size));
}
