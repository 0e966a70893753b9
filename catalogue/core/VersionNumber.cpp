#include "catalogue/core/VersionNumber.h"

#include "catalogue/core/DecimalNumber.h"

#include "toolkit/core/TextWriter.h"

#include <cstring>

void parseVersion(const char *text, std::int32_t parts[4])
{
    const char *part = text;
    for (int i = 0; i < 4; ++i) {
        parts[i] = part ? readDecimalNumber(part) : 0;
        if (part) {
            part = std::strchr(part, '.');
            if (part)
                ++part;
        }
    }
}

bool sameVersion(const std::int32_t a[4], const std::int32_t b[4])
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}

void formatVersion(std::uint32_t part1, std::uint32_t part2, std::uint32_t part3, std::uint32_t part4,
                   char *out, std::size_t outSize)
{
    TextWriter(out, outSize).number(part1).text(".").number(part2).text(".").number(part3).text(".").number(part4);
}
