#pragma once
#include "catalogue/CatalogueEntry.h"
#include "catalogue/core/CalendarTime.h"
#include "catalogue/core/SectionWalker.h"

#include <cstddef>

// Reading the programs section of a catalogue into entry records.
//
// Lines before the first header and lines of sections other than "[U" are
// ignored; empty lines are skipped. Each other line of the programs section
// is an entry: fileName|number|date|time|note|version.

// Turns the catalogue's local date and time into UTC. Called once per entry,
// in reading order, after the date and time parsed; false stops the reading.
using LocalTimeConverter = bool (*)(const CalendarTime &local, FileTime &utc, void *context);

enum class CatalogueReadStatus {
    Complete,       // every entry line was read
    BadDateTime,    // entries[entryCount] holds the failing line's fileName
    TooManyEntries, // an entry line beyond the capacity; nothing written for it
};

struct CatalogueReadResult {
    CatalogueReadStatus status;
    int entryCount; // records filled, 0 to capacity
};

// Splits one entry line into the record and the local time: fileName (58
// characters at most), number, note (11 at most) and version are stored,
// needsUpdate, downloaded, checksumStatus and sizeStatus cleared, fileTime
// untouched. Returns true when
// the date and the time are valid. The note and version are filled even when
// they are not, so the record can be inspected.
bool parseEntryLine(const char *line, CatalogueEntry &entry, CalendarTime &local);

// Reads entry lines from the reader as it stands into entries[0..capacity).
CatalogueReadResult readCatalogueEntries(const LineReader &lines, CatalogueEntry *entries, int capacity,
                                         LocalTimeConverter convert, void *context);

// Fuzzing entry point: the same over any bytes, as catalogueLines reads them.
inline CatalogueReadResult readCatalogueEntries(const char *data, std::size_t size, CatalogueEntry *entries,
                                                int capacity, LocalTimeConverter convert, void *context)
{
    return readCatalogueEntries(catalogueLines(data, size), entries, capacity, convert, context);
}
