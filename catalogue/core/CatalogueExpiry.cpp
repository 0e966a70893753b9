#include "catalogue/core/CatalogueExpiry.h"

#include "catalogue/core/CatalogueDateTime.h"
#include "catalogue/core/SectionWalker.h"

CatalogueExpiry readCatalogueExpiry(const LineReader &lines)
{
    CatalogueExpiry expiry{ExpiryStatus::NoSection, CalendarTime{}};
    expiry.status = readLineAfterHeader<ExpiryStatus>(lines, SectionKind::Expires, parseCatalogueDate, expiry.lastDay);
    return expiry;
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
