#pragma once
#include "catalogue/core/CatalogueSections.h"
#include "catalogue/core/SectionWalker.h"

#include <cstddef>

// The line that must follow a header "[L..." for this Kestrel to accept a
// catalogue.
constexpr char CompatibilityToken[] = "&7(2?KwT";

// True if some header line whose second character is "L" is immediately
// followed by a line that is exactly the token; that line is taken for the
// token even when it is another header. Reads from the reader as it stands
// (the caller chooses tab handling).
bool hasCompatibilityToken(const LineReader &lines);

// Fuzzing entry point: the same check over any bytes, as catalogueLines reads them.
inline bool hasCompatibilityToken(const char *data, std::size_t size)
{
    return hasCompatibilityToken(catalogueLines(data, size));
}
