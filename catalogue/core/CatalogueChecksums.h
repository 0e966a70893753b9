#pragma once
#include "catalogue/CatalogueEntry.h"
#include "catalogue/core/CryptoSizes.h"
#include "catalogue/core/SectionWalker.h"
#include "catalogue/core/NamedLines.h"

#include <cstddef>

// The checksums of the programs' files: the lines of the first "[Hashes]"
// section, each FileName|<SHA-256 as 64 lower-case hex digits>.

// Splits one line of the section as splitNamedLine does. True when the rest
// is exactly 64 lower-case hex digits; digest then holds them.
bool parseChecksumLine(const char *line, char *name, std::size_t nameSize, Sha256Digest &digest);

// Gives each of entries[0..count) the first checksum line for its name:
// checksumStatus Present with its checksum, Malformed for a line of another
// form, None when there is none. Lines naming no entry are ignored. Reads
// from the reader as it stands.
void readCatalogueChecksums(const LineReader &lines, CatalogueEntry *entries, int count, SameFileName same);

// Fuzzing entry point: the same over any bytes, as catalogueLines reads them.
inline void readCatalogueChecksums(const char *data, std::size_t size, CatalogueEntry *entries, int count,
                                   SameFileName same)
{
    readCatalogueChecksums(catalogueLines(data, size), entries, count, same);
}
