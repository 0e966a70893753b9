#include "maker/Commands.h"
#include "maker/KeyFile.h"
#include "maker/ProgramIdentity.h"
#include "maker/PublicKeyText.h"
#include "maker/ReleaseFolder.h"

#include "catalogue/CatalogueLocalTime.h"
#include "catalogue/Sha256.h"
#include "catalogue/SignatureVerifier.h"
#include "catalogue/TextFileReader.h"
#include "catalogue/core/CatalogueDateTime.h"
#include "catalogue/core/CatalogueExpiry.h"
#include "catalogue/core/CatalogueIssued.h"
#include "catalogue/core/CatalogueSections.h"
#include "catalogue/core/HexText.h"
#include "maker/core/CatalogueText.h"
#include "maker/core/CatalogueWriter.h"
#include "maker/core/Findings.h"
#include "toolkit/CodePage.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"

#include <cstdio>
#include <cstring>

namespace {

// A signed catalogue can be replayed until it expires: the window stays short
// unless the maker asks otherwise, and never opens beyond a year.
constexpr long DefaultExpiryDays = 90;
constexpr long MaxExpiryDays = 366;

// Shared by the build only; large enough to stay off the stack.
ListedProgram listed[ReleaseFolder::Capacity];
ReleaseFolder folder;
Findings findings;
char text[CatalogueTextCapacity];

enum class Listing { Listed, Refused, Unreadable };

// Fills the catalogue line of one program, or says why Kestrel could not use it.
Listing listProgram(const ReleaseFolder::Program &program, ListedProgram &out)
{
    const int problemsBefore = findings.problems();
    char version[VersionTextSize];
    std::string company;
    switch (identifyProgram(program.path, version, company)) {
    case ProgramIdentity::NoVersion:
        findings.programProblem(program.name, "no version resource with a fixed file version");
        break;
    case ProgramIdentity::OtherMaker:
        findings.programProblem(program.name, "its version resource does not name the maker (CompanyName \"%s\")",
                                company.c_str());
        break;
    case ProgramIdentity::Makers:
        break;
    }
    // Kestrel would take its line for a section header and lose it and every
    // entry after it.
    if (program.name[0] == '[')
        findings.programProblem(program.name, "name starts with \"[\"; Kestrel would read its line as a section "
                                "header");
    const std::size_t nameLength = std::strlen(program.name);
    if (nameLength > MaxFileNameLength)
        findings.programProblem(program.name, "name of %u characters; Kestrel reads at most %u",
                                static_cast<unsigned>(nameLength),
                                static_cast<unsigned>(MaxFileNameLength));
    CalendarTime local;
    if (!utcToLocalTime(program.lastWrite, local))
        findings.programProblem(program.name, "its last-write time cannot be read");
    else if (!isValidDate(local))
        findings.programProblem(program.name, "last written in %u, outside the years Kestrel reads (1980 to 2050)",
                                unsigned{local.year});
    Sha256Digest digest;
    std::uint64_t size = 0;
    if (!sha256OfFile(program.path, digest, &size)) {
        findings.programProblem(program.name, "cannot be read");
        return Listing::Unreadable;
    }
    if (findings.problems() > problemsBefore)
        return Listing::Refused;
    std::strcpy(out.name, program.name);
    std::strcpy(out.version, version);
    out.local = local;
    encodeHex(digest.bytes, sizeof digest.bytes, out.checksum);
    out.size = size;
    return Listing::Listed;
}

// Writes beside the target first and then moves it into place, so a failed
// write never leaves a cut catalogue that could be uploaded.
bool writeWhole(const char *path, const char *data, std::size_t size)
{
    char fresh[MAX_PATH];
    if (std::snprintf(fresh, sizeof fresh, "%s.new", path) >= static_cast<int>(sizeof fresh))
        return false;
    FileHandle file(CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const bool done = file.valid() && WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) &&
                      written == size && FlushFileBuffers(file.get());
    file.close();
    if (done && MoveFileExA(fresh, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(fresh);
    return false;
}

// True when the file at path is a catalogue issued after issued.
bool replacesANewerCatalogue(const char *path, const CalendarTime &issued)
{
    TextFileReader existing;
    if (!existing.openFile(path, CatalogueLineLimit))
        return false;
    const CatalogueIssued before = readCatalogueIssued(existing.data(), existing.dataSize);
    return before.status == IssuedStatus::Readable && issuedBefore(issued, before.time);
}

} // namespace

int runBuild(const CommandLine &line)
{
    const CalendarTime today = localToday();
    CalendarTime expiry = daysLater(today, DefaultExpiryDays);
    if (line.expires && (!parseCatalogueDate(line.expires, expiry) || isExpired(expiry, today) ||
                         dayNumber(expiry) - dayNumber(today) > MaxExpiryDays)) {
        std::fprintf(stderr, "--expires %s: a date M/D/YY from today to %ld days ahead is needed\n", line.expires,
                     MaxExpiryDays);
        return ExitUsage;
    }
    SigningKey key;
    if (line.keyFile) {
        const KeyFileStatus status = readKeyFile(line.keyFile, key);
        if (status != KeyFileStatus::Done) {
            std::fprintf(stderr, "%s: %s\n", line.keyFile, keyFileProblem(status));
            return ExitUsage;
        }
    }
    if (!folder.read(line.target)) {
        std::fprintf(stderr, "%s: cannot be read as a folder\n", line.target);
        return ExitUsage;
    }

    bool unreadable = false;
    int count = 0;
    int refused = 0;
    for (int i = 0; i < folder.kept; ++i) {
        const Listing listing = listProgram(folder.programs[i], listed[count]);
        unreadable = unreadable || listing == Listing::Unreadable;
        if (listing == Listing::Listed)
            ++count;
        else
            ++refused;
    }
    if (folder.found > ReleaseFolder::Capacity)
        findings.problem(0, "%d programs; a catalogue lists at most %d", folder.found, ReleaseFolder::Capacity);

    char defaultOut[MAX_PATH];
    const char *out = line.out;
    if (!out) {
        const bool separated = endsInSeparator(line.target, programLeadBytes());
        std::snprintf(defaultOut, sizeof defaultOut, "%s%sKestrel.ini", line.target, separated ? "" : "\\");
        out = defaultOut;
    }
    // Kestrel refuses a catalogue older than one it has used, so one issued
    // before the catalogue it replaces (a clock set back) would lock out the
    // users who already have that one.
    const CalendarTime issued = utcNow();
    if (replacesANewerCatalogue(out, issued)) {
        std::fprintf(stderr, "%s: the new catalogue would be older than the one it replaces\n", out);
        return ExitProblems;
    }

    std::size_t size = 0;
    if (findings.problems() == 0) {
        size = writeCatalogue(listed, count, issued, expiry, text, sizeof text);
        Sha256Digest digest;
        unsigned char signature[P256SignatureSize];
        if (size > 0 && line.keyFile) {
            if (!sha256OfMemory(text, size, digest) || !key.sign(digest, signature)) {
                std::fprintf(stderr, "%s: the platform cannot sign with this key\n", line.keyFile);
                return ExitUsage;
            }
            // A key file whose public part is not that of its private key
            // would sign catalogues no Kestrel built with it accepts.
            SignatureVerifier verifier;
            if (!verifier.importPublicKey(key.publicKey) || !verifier.verify(digest, signature)) {
                std::fprintf(stderr, "%s: its public key does not belong to its private key\n", line.keyFile);
                return ExitUsage;
            }
            size = appendSignature(signature, text, size, sizeof text);
        }
    }
    findings.print(stderr, line.target, programLeadBytes());
    if (findings.problems() > 0) {
        std::printf("%d of %d programs refused, %d problem%s, nothing written\n", refused, folder.found,
                    findings.problems(), findings.problems() == 1 ? "" : "s");
        return unreadable ? ExitUsage : ExitProblems;
    }

    if (size == 0 || !writeWhole(out, text, size)) {
        std::fprintf(stderr, "%s: cannot be written\n", out);
        return ExitUsage;
    }
    char date[16];
    formatCatalogueDate(expiry, date, sizeof date);
    if (line.keyFile)
        printPublicKey(key.publicKey, "key used: ");
    std::printf("%s: %d program%s, %s, expires %s\n", out, count, count == 1 ? "" : "s",
                line.keyFile ? "signed" : "not signed", date);
    return ExitDone;
}
