#pragma once
#include "catalogue/CatalogueEntry.h"
#include "catalogue/core/CatalogueSections.h"
#include "catalogue/core/LineReader.h"

#include <cstddef>

// The sections that give program files a value each, one line per file:
// "FileName|value". Only the first section of its kind counts, and for each
// entry the first line that names it.

// True when the two file names are the same program file; the Win32 layer
// compares them as its entry lookup does.
using SameFileName = bool (*)(const char *a, const char *b);

// name receives the text before the first "|" (the whole line without one),
// cut to nameSize - 1 characters. Returns the text after that "|", or null
// when the line has none.
const char *splitNamedLine(const char *line, char *name, std::size_t nameSize);

// Called for every entry a line names, in the order of the lines; value as
// splitNamedLine returns it. The callee keeps the first it is given.
using TakeNamedLine = void (*)(CatalogueEntry &entry, const char *value);

// Walks the non-empty lines of the first section of the kind and hands each
// to take for every one of entries[0..count) that it names.
void readNamedLines(const LineReader &lines, SectionKind kind, CatalogueEntry *entries, int count,
                    SameFileName same, TakeNamedLine take);
