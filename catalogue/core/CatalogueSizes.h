#pragma once
#include "catalogue/CatalogueEntry.h"
#include "catalogue/core/SectionWalker.h"
#include "catalogue/core/NamedLines.h"

#include <cstddef>
#include <cstdint>

// The lengths of the programs' files: the lines of the first "[Sizes]"
// section, each FileName|<bytes, decimal>. A download may stop as soon as it
// passes its size, so a server cannot send without end.

// Splits one line of the section as splitNamedLine does. True when the rest
// is only decimal digits, at least one, of a value that fits 64 bits; size
// then holds it.
bool parseSizeLine(const char *line, char *name, std::size_t nameSize, std::uint64_t &size);

// Gives each of entries[0..count) the first size line for its name:
// sizeStatus Present with its size, Malformed for a line of another form,
// None when there is none. Reads from the reader as it stands.
void readCatalogueSizes(const LineReader &lines, CatalogueEntry *entries, int count, SameFileName same);

// Fuzzing entry point: the same over any bytes, as catalogueLines reads them.
inline void readCatalogueSizes(const char *data, std::size_t size, CatalogueEntry *entries, int count,
                               SameFileName same)
{
    readCatalogueSizes(catalogueLines(data, size), entries, count, same);
}
