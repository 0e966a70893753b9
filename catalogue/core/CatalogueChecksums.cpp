#include "catalogue/core/CatalogueChecksums.h"

#include "catalogue/core/CatalogueSections.h"
#include "catalogue/core/CompatibilityToken.h"
#include "catalogue/core/HexText.h"

#include <cstring>

bool parseChecksumLine(const char *line, char *name, std::size_t nameSize, Sha256Digest &digest)
{
    const char *separator = std::strchr(line, ChecksumSeparator);
    const std::size_t nameLength = separator ? static_cast<std::size_t>(separator - line) : std::strlen(line);
    const std::size_t kept = nameLength < nameSize - 1 ? nameLength : nameSize - 1;
    std::memcpy(name, line, kept);
    name[kept] = '\0';
    return separator && std::strlen(separator + 1) == Sha256HexLength &&
           decodeLowerHex(separator + 1, digest.bytes, Sha256Size);
}

void readCatalogueChecksums(LineReader &lines, CatalogueEntry *entries, int count, SameFileName same)
{
    for (int i = 0; i < count; ++i)
        entries[i].checksumStatus = ChecksumStatus::None;

    char line[CatalogueLineLimit];
    lines.lineLimit = CatalogueLineLimit;
    bool inSection = false;
    while (!lines.atEnd()) {
        lines.readLine(line);
        if (line[0] == '[') {
            // Only the first section counts.
            if (inSection)
                return;
            inSection = std::strcmp(line, HashesHeader) == 0;
            continue;
        }
        if (!inSection || line[0] == '\0')
            continue;
        char name[CatalogueLineLimit];
        Sha256Digest digest;
        const bool wellFormed = parseChecksumLine(line, name, sizeof name, digest);
        for (int i = 0; i < count; ++i) {
            CatalogueEntry &entry = entries[i];
            if (entry.checksumStatus != ChecksumStatus::None || !same(name, entry.fileName))
                continue;
            entry.checksumStatus = wellFormed ? ChecksumStatus::Present : ChecksumStatus::Malformed;
            if (wellFormed)
                entry.checksum = digest;
        }
    }
}

void readCatalogueChecksums(const char *data, std::size_t size, CatalogueEntry *entries, int count,
                            SameFileName same)
{
    LineReader lines(data, size, CatalogueLineLimit);
    lines.expandTabs = 0;
    readCatalogueChecksums(lines, entries, count, same);
}
