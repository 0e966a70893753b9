#include "catalogue/core/CatalogueChecksums.h"

#include "catalogue/core/HexText.h"

#include <cstring>

namespace {

bool parseDigest(const char *value, Sha256Digest &digest)
{
    return value && std::strlen(value) == Sha256HexLength && decodeLowerHex(value, digest.bytes, Sha256Size);
}

void takeChecksum(CatalogueEntry &entry, const char *value)
{
    if (entry.checksumStatus != ChecksumStatus::None)
        return;
    Sha256Digest digest;
    entry.checksumStatus = parseDigest(value, digest) ? ChecksumStatus::Present : ChecksumStatus::Malformed;
    if (entry.checksumStatus == ChecksumStatus::Present)
        entry.checksum = digest;
}

} // namespace

bool parseChecksumLine(const char *line, char *name, std::size_t nameSize, Sha256Digest &digest)
{
    return parseDigest(splitNamedLine(line, name, nameSize), digest);
}

void readCatalogueChecksums(const LineReader &lines, CatalogueEntry *entries, int count, SameFileName same)
{
    for (int i = 0; i < count; ++i)
        entries[i].checksumStatus = ChecksumStatus::None;
    readNamedLines(lines, SectionKind::Hashes, entries, count, same, takeChecksum);
}
