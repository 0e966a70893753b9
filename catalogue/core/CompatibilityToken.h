#pragma once
#include "catalogue/core/LineReader.h"

#include <cstddef>

// The line that must follow a header "[L..." for this Kestrel to accept a
// catalogue.
constexpr char CompatibilityToken[] = "&7(2?KwT";

// Catalogue lines are read into buffers of this size, terminator included.
constexpr unsigned CatalogueLineLimit = 128;

// True if some header line whose second character is "L" is immediately
// followed by a line that is exactly the token. Reads lines from the reader
// as it stands (the caller sets its line limit to CatalogueLineLimit and
// chooses tab handling).
bool hasCompatibilityToken(LineReader &lines);

// Fuzzing entry point: the same check over any bytes, tabs kept as they are.
bool hasCompatibilityToken(const char *data, std::size_t size);
