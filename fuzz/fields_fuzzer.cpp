// Feeds arbitrary text to the parsers of the catalogue's fields (date, time,
// version, whole number) and to the ASCII text helpers.
#include "FuzzCheck.h"

#include "catalogue/core/CalendarTime.h"
#include "catalogue/core/CatalogueDateTime.h"
#include "catalogue/core/DecimalNumber.h"
#include "catalogue/core/MakerName.h"
#include "catalogue/core/VersionNumber.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The parsers look at no more than this many characters of a field.
constexpr std::size_t FieldCut = 39;

bool sameTime(const CalendarTime &a, const CalendarTime &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

CalendarTime filled(std::uint16_t value)
{
    return CalendarTime{value, value, value, value, value, value, value, value};
}

// The C library's reading of a base-10 number, held to the 32-bit range.
std::int32_t referenceNumber(const char *text)
{
    errno = 0;
    long long value = std::strtoll(text, nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

int referenceMonthLength(int year, int month)
{
    if (month == 2)
        return (year % 400 == 0 || (year % 4 == 0 && year % 100 != 0)) ? 29 : 28;
    return (month == 4 || month == 6 || month == 9 || month == 11) ? 30 : 31;
}

void checkDate(const char *text)
{
    CalendarTime time = filled(0xBEEF);
    const int valid = parseCatalogueDate(text, time);
    FUZZ_REQUIRE(valid == 0 || valid == 1);
    FUZZ_REQUIRE(time.hour == 0xBEEF && time.minute == 0xBEEF && time.second == 0xBEEF &&
                 time.milliseconds == 0xBEEF && time.dayOfWeek == 0xBEEF);
    if (valid) {
        FUZZ_REQUIRE(isValidDate(time));
        FUZZ_REQUIRE(time.year >= 1980 && time.year <= 2050 && time.month >= 1 && time.month <= 12);
        FUZZ_REQUIRE(time.day >= 1 && time.day <= referenceMonthLength(time.year, time.month));
    }

    std::string cut(text, std::min(std::strlen(text), FieldCut));
    CalendarTime cutTime = filled(0xBEEF);
    FUZZ_REQUIRE(parseCatalogueDate(cut.c_str(), cutTime) == valid);
    if (valid)
        FUZZ_REQUIRE(sameTime(time, cutTime));
}

void checkTime(const char *text)
{
    CalendarTime time = filled(0xBEEF);
    const int valid = parseCatalogueTime(text, time);
    FUZZ_REQUIRE(valid == 0 || valid == 1);
    FUZZ_REQUIRE(time.year == 0xBEEF && time.month == 0xBEEF && time.day == 0xBEEF &&
                 time.dayOfWeek == 0xBEEF);
    if (valid)
        FUZZ_REQUIRE(time.hour <= 23 && time.minute <= 59 && time.second <= 59 && time.milliseconds == 0);

    std::string cut(text, std::min(std::strlen(text), FieldCut));
    CalendarTime cutTime = filled(0xBEEF);
    FUZZ_REQUIRE(parseCatalogueTime(cut.c_str(), cutTime) == valid);
    if (valid)
        FUZZ_REQUIRE(sameTime(time, cutTime));
}

void checkCalendar(const std::uint8_t *bytes, std::size_t size)
{
    if (size < 6)
        return;
    CalendarTime time{};
    time.year = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
    time.month = bytes[2];
    time.day = bytes[3];
    const int year = time.year;
    const bool expected = year >= 1980 && year <= 2050 && time.month >= 1 && time.month <= 12 &&
                          time.day >= 1 && time.day <= referenceMonthLength(year, time.month);
    FUZZ_REQUIRE(isValidDate(time) == (expected ? 1 : 0));
    const int anyYear = static_cast<std::int16_t>(bytes[4] | bytes[5] << 8);
    FUZZ_REQUIRE(isLeapYear(anyYear) == (referenceMonthLength(anyYear, 2) == 29 ? 1 : 0));
}

void checkVersion(const char *text, std::size_t outSize)
{
    std::int32_t parts[4] = {-7, -7, -7, -7};
    parseVersion(text, parts);
    FUZZ_REQUIRE(parts[0] == readDecimalNumber(text));

    // Parts that fit an installed program's 16-bit fields survive a round trip
    // through the text form.
    std::uint32_t wide[4];
    for (int i = 0; i < 4; ++i)
        wide[i] = static_cast<std::uint16_t>(parts[i]);
    char full[24];
    formatVersion(wide[0], wide[1], wide[2], wide[3], full, sizeof full);
    FUZZ_REQUIRE(terminatedWithin(full, sizeof full));
    std::int32_t again[4];
    parseVersion(full, again);
    for (int i = 0; i < 4; ++i)
        FUZZ_REQUIRE(static_cast<std::uint32_t>(again[i]) == wide[i]);

    // Any parts into a buffer of any size: terminated, cut, never past it.
    std::unique_ptr<char[]> out = exactBlock(outSize == 0 ? 1 : outSize);
    out[0] = 'x';
    formatVersion(static_cast<std::uint32_t>(parts[0]), static_cast<std::uint32_t>(parts[1]),
                  static_cast<std::uint32_t>(parts[2]), static_cast<std::uint32_t>(parts[3]), out.get(),
                  outSize);
    if (outSize == 0) {
        FUZZ_REQUIRE(out[0] == 'x');
        return;
    }
    FUZZ_REQUIRE(terminatedWithin(out.get(), outSize));
    char whole[64];
    formatVersion(static_cast<std::uint32_t>(parts[0]), static_cast<std::uint32_t>(parts[1]),
                  static_cast<std::uint32_t>(parts[2]), static_cast<std::uint32_t>(parts[3]), whole,
                  sizeof whole);
    const std::size_t length = std::strlen(out.get());
    FUZZ_REQUIRE(length == std::min(std::strlen(whole), outSize - 1));
    FUZZ_REQUIRE(std::strncmp(out.get(), whole, length) == 0);
}

// The value is searched in place, unterminated, up to its length or a zero byte.
void checkMakerName(const char *data, std::size_t size)
{
    std::string lower(data, strnlen(data, size));
    for (char &c : lower)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    FUZZ_REQUIRE(namesMaker(data, size) == (lower.find("corvel") != std::string::npos));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const char *data = reinterpret_cast<const char *>(bytes);
    std::unique_ptr<char[]> text = terminatedCopy(data, size);

    checkDate(text.get());
    checkTime(text.get());
    FUZZ_REQUIRE(readDecimalNumber(text.get()) == referenceNumber(text.get()));
    checkVersion(text.get(), size > 0 ? bytes[0] % 32 : 0);
    checkCalendar(bytes, size);
    checkMakerName(data, size);
    return 0;
}
