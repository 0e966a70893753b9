#include "catalogue/core/MakerName.h"

#include "catalogue/core/AsciiCase.h"

namespace {

constexpr char MakerName[] = "corvel";
constexpr std::size_t MakerNameLength = sizeof MakerName - 1;

} // namespace

bool namesMaker(const char *company, std::size_t length)
{
    for (std::size_t start = 0; start < length && company[start] != '\0'; ++start) {
        std::size_t matched = 0;
        while (matched < MakerNameLength && start + matched < length &&
               lowerAscii(company[start + matched]) == MakerName[matched])
            ++matched;
        if (matched == MakerNameLength)
            return true;
    }
    return false;
}
