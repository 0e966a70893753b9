#include "catalogue/core/NamedLines.h"

#include "catalogue/core/SectionWalker.h"

#include <cstring>

const char *splitNamedLine(const char *line, char *name, std::size_t nameSize)
{
    const char *separator = std::strchr(line, FieldSeparator);
    const std::size_t nameLength = separator ? static_cast<std::size_t>(separator - line) : std::strlen(line);
    const std::size_t kept = nameLength < nameSize - 1 ? nameLength : nameSize - 1;
    std::memcpy(name, line, kept);
    name[kept] = '\0';
    return separator ? separator + 1 : nullptr;
}

void readNamedLines(const LineReader &lines, SectionKind kind, CatalogueEntry *entries, int count,
                    SameFileName same, TakeNamedLine take)
{
    SectionWalker walker(lines);
    while (walker.next()) {
        const CatalogueLine &line = walker.line;
        if (line.header || line.section != kind || !line.firstOfKind || line.text[0] == '\0')
            continue;
        char name[CatalogueLineLimit];
        const char *value = splitNamedLine(line.text, name, sizeof name);
        for (int i = 0; i < count; ++i)
            if (same(name, entries[i].fileName))
                take(entries[i], value);
    }
}
