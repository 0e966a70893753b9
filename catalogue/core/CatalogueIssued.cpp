#include "catalogue/core/CatalogueIssued.h"

#include "catalogue/core/CatalogueDateTime.h"
#include "catalogue/core/SectionWalker.h"

#include <cstring>

namespace {

// Where each number stands in the text and how many digits it has; the
// characters between them are fixed.
struct Field {
    std::size_t at;
    std::size_t digits;
    std::uint16_t CalendarTime::*part;
};
constexpr Field Fields[] = {{0, 4, &CalendarTime::year},   {5, 2, &CalendarTime::month},
                            {8, 2, &CalendarTime::day},    {11, 2, &CalendarTime::hour},
                            {14, 2, &CalendarTime::minute}, {17, 2, &CalendarTime::second}};
constexpr char Pattern[] = "0000-00-00T00:00:00Z";
static_assert(sizeof Pattern - 1 == IssueTimeLength, "the pattern is the form");

} // namespace

bool parseIssueTime(const char *text, CalendarTime &time)
{
    if (std::strlen(text) != IssueTimeLength)
        return false;
    for (std::size_t i = 0; i < IssueTimeLength; ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (Pattern[i] == '0' ? !digit : text[i] != Pattern[i])
            return false;
    }
    CalendarTime read{};
    for (const Field &field : Fields) {
        unsigned value = 0;
        for (std::size_t i = 0; i < field.digits; ++i)
            value = value * 10 + static_cast<unsigned>(text[field.at + i] - '0');
        read.*field.part = static_cast<std::uint16_t>(value);
    }
    if (!isValidDate(read) || read.hour > 23 || read.minute > 59 || read.second > 59)
        return false;
    time = read;
    return true;
}

void formatIssueTime(const CalendarTime &time, char (&out)[IssueTimeLength + 1])
{
    std::memcpy(out, Pattern, sizeof out);
    for (const Field &field : Fields) {
        unsigned value = time.*field.part;
        for (std::size_t i = field.digits; i-- > 0; value /= 10)
            out[field.at + i] = static_cast<char>('0' + value % 10);
    }
}

bool issuedBefore(const CalendarTime &a, const CalendarTime &b)
{
    for (const Field &field : Fields)
        if (a.*field.part != b.*field.part)
            return a.*field.part < b.*field.part;
    return false;
}

CatalogueIssued readCatalogueIssued(const LineReader &lines)
{
    CatalogueIssued issued{IssuedStatus::NoSection, CalendarTime{}};
    issued.status = readLineAfterHeader<IssuedStatus>(lines, SectionKind::Issued, parseIssueTime, issued.time);
    return issued;
}
