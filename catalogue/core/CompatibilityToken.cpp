#include "catalogue/core/CompatibilityToken.h"

#include <cstring>

bool hasCompatibilityToken(LineReader &lines)
{
    char line[CatalogueLineLimit];
    // The catalogue is read in lines of this size, whatever the reader was
    // set up with, so a line can never overrun the buffer.
    lines.lineLimit = CatalogueLineLimit;
    while (!lines.atEnd()) {
        lines.readLine(line);
        if (line[0] == '[' && line[1] == 'L') {
            lines.readLine(line);
            if (std::strcmp(line, CompatibilityToken) == 0)
                return true;
        }
    }
    return false;
}

bool hasCompatibilityToken(const char *data, std::size_t size)
{
    LineReader lines(data, size, CatalogueLineLimit);
    lines.expandTabs = 0;
    return hasCompatibilityToken(lines);
}
