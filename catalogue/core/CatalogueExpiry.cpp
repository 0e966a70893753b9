#include "catalogue/core/CatalogueExpiry.h"

#include "catalogue/core/CatalogueDateTime.h"
#include "catalogue/core/CatalogueSections.h"
#include "catalogue/core/CompatibilityToken.h"

#include <cstring>

CatalogueExpiry readCatalogueExpiry(LineReader &lines)
{
    CatalogueExpiry expiry{ExpiryStatus::NoSection, CalendarTime{}};
    char line[CatalogueLineLimit];
    lines.lineLimit = CatalogueLineLimit;
    while (!lines.atEnd()) {
        lines.readLine(line);
        if (std::strcmp(line, ExpiresHeader) != 0)
            continue;
        expiry.status = ExpiryStatus::Unreadable;
        // A header on the last line has no date after it.
        if (!lines.atEnd()) {
            lines.readLine(line);
            if (parseCatalogueDate(line, expiry.lastDay))
                expiry.status = ExpiryStatus::Readable;
        }
        return expiry;
    }
    return expiry;
}

CatalogueExpiry readCatalogueExpiry(const char *data, std::size_t size)
{
    LineReader lines(data, size, CatalogueLineLimit);
    lines.expandTabs = 0;
    return readCatalogueExpiry(lines);
}

bool isExpired(const CalendarTime &lastDay, const CalendarTime &today)
{
    if (today.year != lastDay.year)
        return today.year > lastDay.year;
    if (today.month != lastDay.month)
        return today.month > lastDay.month;
    return today.day > lastDay.day;
}
