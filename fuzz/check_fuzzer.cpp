// Feeds arbitrary bytes to the maker's check of a catalogue, which must read
// it exactly as Kestrel does: whatever it passes, Kestrel's own readers take.
#include "FuzzCheck.h"

#include "catalogue/core/CatalogueChecksums.h"
#include "catalogue/core/CatalogueEntries.h"
#include "catalogue/core/CompatibilityToken.h"
#include "maker/core/CatalogueCheck.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

bool sameAscii(const char *a, const char *b)
{
    for (; *a && std::tolower(static_cast<unsigned char>(*a)) == std::tolower(static_cast<unsigned char>(*b)); ++a, ++b)
        ;
    return *a == *b;
}

bool acceptAnyTime(const CalendarTime &, FileTime &, void *) { return true; }

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
    static std::FILE *nowhere = std::fopen("/dev/null", "w");
    findings->print(nowhere, "K.ini");

    FUZZ_REQUIRE(facts->programCount >= 0 && facts->programCount <= MaxCatalogueEntries);
    for (int i = 0; i < facts->programCount; ++i) {
        const CheckedProgram &program = facts->programs[i];
        FUZZ_REQUIRE(std::memchr(program.name, '\0', sizeof program.name) != nullptr);
        FUZZ_REQUIRE(program.line >= 1 && program.line <= lineCount);
        FUZZ_REQUIRE(i == 0 || program.line > facts->programs[i - 1].line);
        FUZZ_REQUIRE(program.checksumLine >= 0 && program.checksumLine <= lineCount);
    }
    FUZZ_REQUIRE(facts->expiryLine >= 0 && facts->expiryLine <= lineCount);
    FUZZ_REQUIRE(facts->signatureLine >= 0 && facts->signatureLine <= lineCount);

    // A catalogue the check passes is one Kestrel reads whole.
    if (findings->problems() == 0) {
        FUZZ_REQUIRE(hasCompatibilityToken(data.get(), size));
        static CatalogueEntry entries[MaxCatalogueEntries];
        const CatalogueReadResult read =
            readCatalogueEntries(data.get(), size, entries, MaxCatalogueEntries, acceptAnyTime, nullptr);
        FUZZ_REQUIRE(read.status == CatalogueReadStatus::Complete);
        FUZZ_REQUIRE(read.entryCount == facts->programCount);
        readCatalogueChecksums(data.get(), size, entries, read.entryCount, sameAscii);
        for (int i = 0; i < read.entryCount; ++i)
            FUZZ_REQUIRE(entries[i].checksumStatus == ChecksumStatus::Present);
        FUZZ_REQUIRE(facts->expiry.status == ExpiryStatus::Readable);
    }
    return 0;
}
