#include "catalogue/core/CatalogueExpiry.h"

#include "catalogue/core/CatalogueDateTime.h"
#include "catalogue/core/SectionWalker.h"

CatalogueExpiry readCatalogueExpiry(const LineReader &lines)
{
    CatalogueExpiry expiry{ExpiryStatus::NoSection, CalendarTime{}};
    const LineAfterHeader date = lineAfterFirstHeader(lines, SectionKind::Expires);
    if (date.headerNumber != 0)
        expiry.status = date.number != 0 && parseCatalogueDate(date.text, expiry.lastDay) ? ExpiryStatus::Readable
                                                                                         : ExpiryStatus::Unreadable;
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

bool issuedAfterLastDay(const CalendarTime &lastDay, const CalendarTime &issuedDay)
{
    return isExpired(lastDay, issuedDay);
}
