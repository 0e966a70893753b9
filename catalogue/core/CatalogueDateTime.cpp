#include "catalogue/core/CatalogueDateTime.h"

#include "catalogue/core/DecimalNumber.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t FieldCopySize = 40;

void copyField(const char *text, char (&copy)[FieldCopySize])
{
    std::size_t length = 0;
    while (length < FieldCopySize - 1 && text[length] != '\0') {
        copy[length] = text[length];
        ++length;
    }
    copy[length] = '\0';
}

void replaceAll(char *text, char from, char to)
{
    for (; *text != '\0'; ++text)
        if (*text == from)
            *text = to;
}

// Whole values are checked before they are narrowed to the 16-bit members,
// so a number like 65537 cannot pass as 1.
bool inRange(std::int32_t value, std::int32_t low, std::int32_t high)
{
    return value >= low && value <= high;
}

} // namespace

int isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int isValidDate(const CalendarTime &time)
{
    static const int monthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (time.year < 1980 || time.year > 2050 || time.month < 1 || time.month > 12)
        return 0;
    int length = monthLength[time.month - 1];
    if (time.month == 2 && isLeapYear(time.year))
        length = 29;
    return time.day >= 1 && time.day <= length;
}

int parseCatalogueDate(const char *text, CalendarTime &time)
{
    char copy[FieldCopySize];
    copyField(text, copy);
    replaceAll(copy, '-', '/');
    replaceAll(copy, ':', '/');

    const std::int32_t month = readDecimalNumber(copy);
    const char *day = std::strchr(copy, '/');
    if (!day)
        return 0;
    ++day;
    const char *shortYear = std::strchr(day, '/');
    if (!shortYear)
        return 0;
    ++shortYear;
    const std::int32_t dayValue = readDecimalNumber(day);
    const std::int32_t y = readDecimalNumber(shortYear);

    if (!inRange(month, 1, 12) || !inRange(dayValue, 1, 31) || !inRange(y, 0, 99))
        return 0;
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(dayValue);
    time.year = static_cast<std::uint16_t>(y < 80 ? 2000 + y : 1900 + y);
    return isValidDate(time);
}

int parseCatalogueTime(const char *text, CalendarTime &time)
{
    char copy[FieldCopySize];
    copyField(text, copy);
    replaceAll(copy, '-', ':');

    std::int32_t hour = readDecimalNumber(copy);
    const char *minute = std::strchr(copy, ':');
    if (!minute)
        return 0;
    ++minute;
    const char *second = std::strchr(minute, ':');
    if (!second)
        return 0;
    ++second;
    const std::int32_t minuteValue = readDecimalNumber(minute);
    const std::int32_t secondValue = readDecimalNumber(second);

    const char *marker = second;
    while (*marker >= '0' && *marker <= '9')
        ++marker;
    while (*marker == ' ')
        ++marker;
    std::int32_t largestHour;
    if (*marker == 'a' || *marker == 'A') {
        if (hour == 12)
            hour = 0;
        largestHour = 12;
    } else if (*marker == 'p' || *marker == 'P') {
        if (hour >= 0 && hour < 12)
            hour += 12;
        largestHour = 23;
    } else {
        return 0;
    }

    if (!inRange(hour, 0, largestHour) || !inRange(minuteValue, 0, 59) || !inRange(secondValue, 0, 59))
        return 0;
    time.hour = static_cast<std::uint16_t>(hour);
    time.minute = static_cast<std::uint16_t>(minuteValue);
    time.second = static_cast<std::uint16_t>(secondValue);
    time.milliseconds = 0;
    return 1;
}
