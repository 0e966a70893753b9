#include "maker/Commands.h"
#include "maker/KeyFile.h"
#include "maker/ProgramIdentity.h"
#include "maker/PublicKeyText.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueLocalTime.h"
#include "catalogue/Sha256.h"
#include "catalogue/SignatureVerifier.h"
#include "catalogue/TextFileReader.h"
#include "catalogue/core/Base64.h"
#include "catalogue/core/CompatibilityToken.h"
#include "catalogue/core/VersionNumber.h"
#include "maker/core/CatalogueCheck.h"
#include "maker/core/CatalogueText.h"
#include "toolkit/CodePage.h"
#include "toolkit/core/PathText.h"

#include <cstdio>
#include <cstring>

namespace {

// Shared by the check only; large enough to stay off the stack.
CatalogueFacts facts;
Findings findings;

// The public key given on the command line, from its text or from the
// private key file. Prints why not and returns false when it cannot be had.
bool takePublicKey(const CommandLine &line, unsigned char (&publicKey)[P256PublicKeySize])
{
    if (line.keyFile) {
        SigningKey key;
        const KeyFileStatus status = readKeyFile(line.keyFile, key);
        if (status != KeyFileStatus::Done) {
            std::fprintf(stderr, "%s: %s\n", line.keyFile, keyFileProblem(status));
            return false;
        }
        std::memcpy(publicKey, key.publicKey, sizeof publicKey);
        return true;
    }
    std::size_t decoded = 0;
    if (std::strlen(line.publicKey) != base64Length(P256PublicKeySize) ||
        !decodeBase64(line.publicKey, std::strlen(line.publicKey), publicKey, sizeof publicKey, decoded) ||
        decoded != sizeof publicKey) {
        std::fprintf(stderr, "--key: the public key is %u base64 characters\n",
                     static_cast<unsigned>(base64Length(P256PublicKeySize)));
        return false;
    }
    return true;
}

void checkSignature(const char *data, const unsigned char (&publicKey)[P256PublicKeySize])
{
    checkSignatureForm(facts, findings);
    if (facts.signature.status != SignatureStatus::WellFormed)
        return;
    SignatureVerifier verifier;
    Sha256Digest digest;
    if (!verifier.importPublicKey(publicKey) || !sha256OfMemory(data, facts.signature.signedSize, digest) ||
        !verifier.verify(digest, facts.signature.signature))
        findings.problem(facts.signature.signatureLine, "the signature does not verify with the key");
}

void checkProgramFile(const char *folder, const CheckedProgram &program)
{
    char path[MAX_PATH];
    const bool separated = endsInSeparator(folder, programLeadBytes());
    std::snprintf(path, sizeof path, "%s%s%s", folder, separated ? "" : "\\", program.name);
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        findings.problem(program.line, "program file %s is missing", path);
        return;
    }
    char version[VersionTextSize];
    std::string company;
    switch (identifyProgram(path, version, company)) {
    case ProgramIdentity::NoVersion:
        findings.problem(program.line, "%s has no version resource with a fixed file version", path);
        break;
    case ProgramIdentity::OtherMaker:
        findings.problem(program.line, "the version resource of %s does not name the maker (CompanyName \"%s\")",
                         path, company.c_str());
        break;
    case ProgramIdentity::Makers:
        break;
    }
    std::int32_t fileVersion[4];
    parseVersion(version, fileVersion);
    if (version[0] != '\0' && !sameVersion(fileVersion, program.version))
        findings.problem(program.line, "the version differs from the fixed file version %s of %s", version, path);

    Sha256Digest digest;
    std::uint64_t size = 0;
    if (!sha256OfFile(path, digest, &size)) {
        findings.problem(program.line, "%s cannot be read", path);
        return;
    }
    if (program.checksumWellFormed && std::memcmp(digest.bytes, program.checksum.bytes, sizeof digest.bytes) != 0)
        findings.problem(program.checksumLine, "the checksum differs from that of %s", path);
    if (program.sizeWellFormed && program.size != size)
        findings.problem(program.sizeLine, "the size differs from that of %s (%llu bytes)", path,
                         static_cast<unsigned long long>(size));
}

} // namespace

int runCheck(const CommandLine &line)
{
    unsigned char publicKey[P256PublicKeySize];
    if ((line.keyFile || line.publicKey) && !takePublicKey(line, publicKey))
        return ExitUsage;
    if (line.folder) {
        const DWORD attributes = GetFileAttributesA(line.folder);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            std::fprintf(stderr, "%s: cannot be read as a folder\n", line.folder);
            return ExitUsage;
        }
    }
    TextFileReader reader;
    if (!reader.openFile(line.target, CatalogueLineLimit)) {
        std::fprintf(stderr, "%s: cannot be read\n", line.target);
        return ExitUsage;
    }

    checkCatalogueText(reader.data(), reader.dataSize, sameFileName, findings, facts);
    checkExpiry(facts, localToday(), findings);
    CalendarTime issuedDay;
    if (facts.issued.status == IssuedStatus::Readable && utcCalendarToLocal(facts.issued.time, issuedDay))
        checkIssuedByExpiry(facts, issuedDay, findings);
    const bool withKey = line.keyFile || line.publicKey;
    if (withKey)
        checkSignature(reader.data(), publicKey);
    else
        findings.warning(0, "the signature was not checked; give --key or --key-file to check it");
    if (line.folder)
        for (int i = 0; i < facts.programCount; ++i)
            checkProgramFile(line.folder, facts.programs[i]);

    findings.print(stderr, line.target, programLeadBytes());
    if (withKey)
        printPublicKey(publicKey, "key used: ");
    std::printf("%d program%s, %d problem%s", facts.programCount, facts.programCount == 1 ? "" : "s",
                findings.problems(), findings.problems() == 1 ? "" : "s");
    if (findings.warnings() > 0)
        std::printf(", %d warning%s", findings.warnings(), findings.warnings() == 1 ? "" : "s");
    if (facts.expiry.status == ExpiryStatus::Readable) {
        char date[16];
        formatCatalogueDate(facts.expiry.lastDay, date, sizeof date);
        std::printf(", expires %s\n", date);
    } else {
        std::printf(", no expiry date\n");
    }
    return findings.problems() > 0 ? ExitProblems : ExitDone;
}
