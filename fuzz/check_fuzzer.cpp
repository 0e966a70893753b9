// Feeds arbitrary bytes to the maker's check of a catalogue, which must read
// it exactly as Kestrel does, both ways: whatever Kestrel's readers refuse
// in a signed catalogue's text (the signature's cryptography aside), the
// check reports, and whatever the check passes, Kestrel's readers take whole.
#include "FuzzCheck.h"

#include "catalogue/core/AsciiCase.h"
#include "catalogue/core/CatalogueChecksums.h"
#include "catalogue/core/CatalogueEntries.h"
#include "catalogue/core/CatalogueSizes.h"
#include "catalogue/core/CompatibilityToken.h"
#include "maker/core/CatalogueCheck.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

bool sameAscii(const char *a, const char *b)
{
    for (; *a && lowerAscii(*a) == lowerAscii(*b); ++a, ++b)
        ;
    return *a == *b;
}

bool acceptAnyTime(const CalendarTime &, FileTime &, void *) { return true; }

CatalogueEntry entries[MaxCatalogueEntries];

// Kestrel built with a key reads the signed bytes only, in this order; the
// number of entries it read whole, or -1 when it refuses the catalogue.
int signedKestrelReads(const char *data, std::size_t size, const CalendarTime &today)
{
    const SignedCatalogue split = splitSignedCatalogue(data, size);
    if (split.status != SignatureStatus::WellFormed)
        return -1;
    size = split.signedSize;
    if (readCatalogueIssued(data, size).status != IssuedStatus::Readable)
        return -1;
    const CatalogueExpiry expiry = readCatalogueExpiry(data, size);
    if (expiry.status != ExpiryStatus::Readable || isExpired(expiry.lastDay, today) ||
        !hasCompatibilityToken(data, size))
        return -1;
    const CatalogueReadResult read = readCatalogueEntries(data, size, entries, MaxCatalogueEntries, acceptAnyTime,
                                                          nullptr);
    if (read.status != CatalogueReadStatus::Complete)
        return -1;
    readCatalogueChecksums(data, size, entries, read.entryCount, sameAscii);
    readCatalogueSizes(data, size, entries, read.entryCount, sameAscii);
    for (int i = 0; i < read.entryCount; ++i)
        if (entries[i].checksumStatus != ChecksumStatus::Present || entries[i].sizeStatus != SizeStatus::Present)
            return -1;
    return read.entryCount;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    std::unique_ptr<char[]> data = exactBlock(size);
    std::memcpy(data.get(), bytes, size);
    int lineCount = 1;
    for (std::size_t i = 0; i < size; ++i)
        lineCount += data[i] == '\n';

    std::unique_ptr<Findings> findings(new Findings);
    std::unique_ptr<CatalogueFacts> facts(new CatalogueFacts);
    checkCatalogueText(data.get(), size, sameAscii, *findings, *facts);
    CalendarTime today{};
    today.year = 2026;
    today.month = 12;
    today.day = 8;
    checkExpiry(*facts, today, *findings);
    // As a check given the key does, short of verifying the signature.
    checkSignatureForm(*facts, *findings);
    static std::FILE *nowhere = std::fopen("/dev/null", "w");
    findings->print(nowhere, "K.ini", SingleByteCharacters);

    FUZZ_REQUIRE(facts->programCount >= 0 && facts->programCount <= MaxCatalogueEntries);
    for (int i = 0; i < facts->programCount; ++i) {
        const CheckedProgram &program = facts->programs[i];
        FUZZ_REQUIRE(std::memchr(program.name, '\0', sizeof program.name) != nullptr);
        FUZZ_REQUIRE(program.line >= 1 && program.line <= lineCount);
        FUZZ_REQUIRE(i == 0 || program.line > facts->programs[i - 1].line);
        FUZZ_REQUIRE(program.checksumLine >= 0 && program.checksumLine <= lineCount);
        FUZZ_REQUIRE(program.sizeLine >= 0 && program.sizeLine <= lineCount);
    }
    FUZZ_REQUIRE(facts->issuedLine >= 0 && facts->issuedLine <= lineCount);
    FUZZ_REQUIRE(facts->expiryLine >= 0 && facts->expiryLine <= lineCount);
    FUZZ_REQUIRE(facts->signature.signatureLine >= 0 && facts->signature.signatureLine <= lineCount);

    const int read = signedKestrelReads(data.get(), size, today);
    FUZZ_REQUIRE(read >= 0 || findings->problems() > 0);
    if (findings->problems() == 0) {
        FUZZ_REQUIRE(read == facts->programCount);
        for (int i = 0; i < read; ++i)
            FUZZ_REQUIRE(entries[i].sizeStatus == SizeStatus::Present && entries[i].size == facts->programs[i].size);
    }
    return 0;
}
