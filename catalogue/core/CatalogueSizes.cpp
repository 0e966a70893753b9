#include "catalogue/core/CatalogueSizes.h"

namespace {

bool parseByteCount(const char *value, std::uint64_t &size)
{
    if (!value || *value == '\0')
        return false;
    std::uint64_t total = 0;
    for (; *value != '\0'; ++value) {
        const unsigned digit = static_cast<unsigned char>(*value) - '0';
        if (digit > 9 || total > (UINT64_MAX - digit) / 10)
            return false;
        total = total * 10 + digit;
    }
    size = total;
    return true;
}

void takeSize(CatalogueEntry &entry, const char *value)
{
    if (entry.sizeStatus != SizeStatus::None)
        return;
    std::uint64_t size = 0;
    entry.sizeStatus = parseByteCount(value, size) ? SizeStatus::Present : SizeStatus::Malformed;
    entry.size = size;
}

} // namespace

bool parseSizeLine(const char *line, char *name, std::size_t nameSize, std::uint64_t &size)
{
    return parseByteCount(splitNamedLine(line, name, nameSize), size);
}

void readCatalogueSizes(const LineReader &lines, CatalogueEntry *entries, int count, SameFileName same)
{
    for (int i = 0; i < count; ++i) {
        entries[i].sizeStatus = SizeStatus::None;
        entries[i].size = 0;
    }
    readNamedLines(lines, SectionKind::Sizes, entries, count, same, takeSize);
}
