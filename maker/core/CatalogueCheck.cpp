#include "maker/core/CatalogueCheck.h"

#include "catalogue/core/AsciiCase.h"
#include "catalogue/core/CatalogueEntries.h"
#include "catalogue/core/CompatibilityToken.h"
#include "catalogue/core/SectionWalker.h"
#include "maker/core/CatalogueText.h"

#include <cstring>

namespace {

constexpr std::uint32_t MaxVersionPart = 65535;

// Kestrel reads a longer line in pieces.
bool tooLong(const CatalogueLine &line)
{
    return line.length > CatalogueLineLimit - 1;
}

// The text after the fifth separator: the version field, as Kestrel reads it.
const char *versionField(const char *line)
{
    for (int separators = 0; separators < 5; ++separators) {
        line = std::strchr(line, FieldSeparator);
        if (!line)
            return "";
        ++line;
    }
    return line;
}

bool endsInExe(const char *name, std::size_t length)
{
    static const char Extension[] = ".exe";
    const std::size_t extensionLength = sizeof Extension - 1;
    if (length < extensionLength)
        return false;
    for (std::size_t i = 0; i < extensionLength; ++i) {
        if (lowerAscii(name[length - extensionLength + i]) != Extension[i])
            return false;
    }
    return true;
}

// Exactly four decimal numbers joined by "."; each must fit the 16 bits of a
// program's fixed file version, or no installed copy could ever equal it.
bool isFourPartVersion(const char *text)
{
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && *text++ != '.')
            return false;
        std::uint32_t value = 0;
        const char *digits = text;
        while (*text >= '0' && *text <= '9' && value <= MaxVersionPart)
            value = value * 10 + static_cast<std::uint32_t>(*text++ - '0');
        if (text == digits || value > MaxVersionPart)
            return false;
    }
    return *text == '\0';
}

class TextCheck {
public:
    TextCheck(const char *data, std::size_t size, SameFileName same, Findings &findings, CatalogueFacts &facts)
        : data_(data), size_(size), same_(same), findings_(findings), facts_(facts)
    {
    }

    void run()
    {
        const LineReader lines = catalogueLines(data_, size_);
        facts_.issued = readCatalogueIssued(lines);
        facts_.issuedLine = lineNumberAfter(lines, SectionKind::Issued);
        facts_.expiry = readCatalogueExpiry(lines);
        facts_.expiryLine = lineNumberAfter(lines, SectionKind::Expires);
        facts_.signature = splitSignedCatalogue(data_, size_);
        if (!hasCompatibilityToken(lines))
            reportMissingToken();
        readLines();
        readNamedSection(SectionKind::Hashes);
        readNamedSection(SectionKind::Sizes);
        for (int i = 0; i < facts_.programCount; ++i) {
            const CheckedProgram &program = facts_.programs[i];
            if (program.checksumLine == 0)
                findings_.problem(program.line, "no checksum line for %s", program.name);
            if (program.sizeLine == 0)
                findings_.problem(program.line, "no size line for %s", program.name);
        }
        if (facts_.issued.status == IssuedStatus::NoSection)
            findings_.problem(0, "no issue time: a signed Kestrel needs an [Issued] section");
        else if (facts_.issued.status == IssuedStatus::Unreadable)
            findings_.problem(facts_.issuedLine, "no issue time that Kestrel can read after [Issued] (the form is "
                              "YYYY-MM-DDTHH:MM:SSZ, UTC)");
        if (facts_.expiry.status == ExpiryStatus::Unreadable)
            findings_.problem(facts_.expiryLine, "no expiry date that Kestrel can read after [Expires]");
        if (facts_.signature.status == SignatureStatus::BadSignatureLine)
            findings_.problem(facts_.signature.signatureLine, "the signature line is not %u base64 characters",
                              static_cast<unsigned>(SignatureLineLength));
    }

private:
    // The line after the first header of the kind, or the header's own when
    // it is the last line; 0 without one.
    static int lineNumberAfter(const LineReader &lines, SectionKind kind)
    {
        const LineAfterHeader found = lineAfterFirstHeader(lines, kind);
        return found.number != 0 ? found.number : found.headerNumber;
    }

    void reportMissingToken()
    {
        SectionWalker walker(data_, size_);
        bool anyHeader = false;
        while (walker.next()) {
            if (walker.line.header && walker.line.section == SectionKind::Compatibility) {
                findings_.problem(walker.line.number, "no token line \"%s\" right after this header",
                                  CompatibilityToken);
                anyHeader = true;
            }
        }
        if (!anyHeader)
            findings_.problem(0, "no [L] header followed by the token line \"%s\"", CompatibilityToken);
    }

    void readLines()
    {
        SectionWalker walker(data_, size_);
        bool trailingReported = false;
        while (walker.next()) {
            const CatalogueLine &line = walker.line;
            if (line.startsLine && tooLong(line))
                findings_.problem(line.number, "line of %u characters; Kestrel reads at most %u and takes the "
                                  "rest for further lines", static_cast<unsigned>(line.length), CatalogueLineLimit - 1);
            if (facts_.signature.status == SignatureStatus::TrailingBytes && !trailingReported &&
                line.number > facts_.signature.signatureLine && line.length > 0) {
                trailingReported = true;
                findings_.problem(line.number, "text after the signature line; a signed Kestrel refuses the "
                                  "catalogue");
            }
            // A program whose name starts with "[" would be read as a header,
            // and every entry after it lost with it.
            if (line.header && line.startsLine && std::strchr(line.text, FieldSeparator))
                findings_.problem(line.number, "line starts with \"[\": Kestrel reads it as a section header, not "
                                  "as a program, checksum or size");
            // Of a line too long, Kestrel takes the first piece for an entry
            // of its own: it is kept, so checksum and file checks find it, but
            // what is wrong with it was said with the line's length.
            if (!line.header && line.section == SectionKind::Programs && line.text[0] != '\0' &&
                (line.startsLine || !tooLong(line)))
                readEntry(line.text, line.number, tooLong(line));
        }
    }

    void readEntry(const char *line, int lineNumber, bool quiet)
    {
        ++entryLines_;
        if (entryLines_ == MaxCatalogueEntries + 1)
            findings_.problem(lineNumber, "more than %d programs; Kestrel refuses the catalogue", MaxCatalogueEntries);

        CatalogueEntry entry{};
        CalendarTime local;
        const bool dateTimeValid = parseEntryLine(line, entry, local);
        if (!quiet)
            reportEntryProblems(line, lineNumber, dateTimeValid);
        if (const CheckedProgram *first = findProgram(entry.fileName)) {
            if (!quiet)
                findings_.problem(lineNumber, "%s is listed again (first on line %d); Kestrel uses only the first",
                                  entry.fileName, first->line);
            return;
        }
        if (facts_.programCount == MaxCatalogueEntries)
            return;
        CheckedProgram &program = facts_.programs[facts_.programCount++];
        program = CheckedProgram{};
        std::strcpy(program.name, entry.fileName);
        std::memcpy(program.version, entry.version, sizeof program.version);
        program.line = lineNumber;
    }

    void reportEntryProblems(const char *line, int lineNumber, bool dateTimeValid)
    {
        if (!dateTimeValid)
            findings_.problem(lineNumber, "date or time that Kestrel cannot read");

        const char *const nameEnd = std::strchr(line, FieldSeparator);
        const std::size_t nameLength = nameEnd ? static_cast<std::size_t>(nameEnd - line) : std::strlen(line);
        if (nameLength > MaxFileNameLength)
            findings_.problem(lineNumber, "name of %u characters; at most %u", static_cast<unsigned>(nameLength),
                              static_cast<unsigned>(MaxFileNameLength));
        if (std::strcspn(line, "\\/:") < nameLength)
            findings_.problem(lineNumber, "name holds '\\', '/' or ':'; it must be a bare file name");
        // Kestrel compares names in the code page of the system it runs on,
        // so beyond ASCII the same bytes spell other names on other systems.
        for (std::size_t i = 0; i < nameLength; ++i) {
            if (static_cast<unsigned char>(line[i]) >= 0x80) {
                findings_.warning(lineNumber, "name is not plain ASCII; Kestrels on systems of other code pages "
                                              "read it as another name");
                break;
            }
        }
        if (!endsInExe(line, nameLength))
            findings_.warning(lineNumber, "name does not end in \".exe\"; Kestrel looks at *.exe files only");

        const char *version = versionField(line);
        if (!isFourPartVersion(version))
            findings_.problem(lineNumber, "version \"%s\" is not four numbers from 0 to %u", version, MaxVersionPart);
    }

    // Kestrel reads the first checksum or size section only, and for each
    // program the first line that names it.
    void readNamedSection(SectionKind kind)
    {
        const bool sizes = kind == SectionKind::Sizes;
        const char *what = sizes ? "size" : "checksum";
        SectionWalker walker(data_, size_);
        while (walker.next()) {
            const CatalogueLine &line = walker.line;
            if (line.header || line.section != kind || !line.firstOfKind || tooLong(line) || line.text[0] == '\0')
                continue;
            char name[CatalogueLineLimit];
            Sha256Digest digest{};
            std::uint64_t size = 0;
            const bool wellFormed = sizes ? parseSizeLine(line.text, name, sizeof name, size)
                                          : parseChecksumLine(line.text, name, sizeof name, digest);
            CheckedProgram *program = findProgram(name);
            if (!program) {
                findings_.problem(line.number, "%s for %s, which the catalogue does not list", what, name);
                continue;
            }
            int &firstLine = sizes ? program->sizeLine : program->checksumLine;
            if (firstLine != 0) {
                findings_.warning(line.number, "second %s line for %s (first on line %d); Kestrel uses only the first",
                                  what, program->name, firstLine);
                continue;
            }
            firstLine = line.number;
            if (sizes) {
                program->sizeWellFormed = wellFormed;
                program->size = size;
            } else {
                program->checksumWellFormed = wellFormed;
                program->checksum = digest;
            }
            if (!wellFormed)
                findings_.problem(line.number, "%s of %s is not %s", what, program->name,
                                  sizes ? "a decimal number of bytes" : "64 lower-case hex digits");
        }
    }

    CheckedProgram *findProgram(const char *name)
    {
        for (int i = 0; i < facts_.programCount; ++i)
            if (same_(facts_.programs[i].name, name))
                return &facts_.programs[i];
        return nullptr;
    }

    const char *data_;
    std::size_t size_;
    SameFileName same_;
    Findings &findings_;
    CatalogueFacts &facts_;
    int entryLines_ = 0;
};

} // namespace

void checkCatalogueText(const char *data, std::size_t size, SameFileName same, Findings &findings,
                        CatalogueFacts &facts)
{
    facts = CatalogueFacts{};
    TextCheck(data, size, same, findings, facts).run();
}

void checkSignatureForm(const CatalogueFacts &facts, Findings &findings)
{
    if (facts.signature.status == SignatureStatus::NoSection)
        findings.problem(0, "no signature: Kestrel built with the key refuses the catalogue");
}

void checkExpiry(const CatalogueFacts &facts, const CalendarTime &today, Findings &findings)
{
    if (facts.expiry.status == ExpiryStatus::NoSection) {
        findings.problem(0, "no expiry date: Kestrel needs an [Expires] section");
        return;
    }
    if (facts.expiry.status != ExpiryStatus::Readable)
        return;
    char date[16];
    formatCatalogueDate(facts.expiry.lastDay, date, sizeof date);
    const long daysLeft = dayNumber(facts.expiry.lastDay) - dayNumber(today);
    if (isExpired(facts.expiry.lastDay, today))
        findings.problem(facts.expiryLine, "the catalogue expired after %s", date);
    else if (daysLeft < ExpiryWarningDays)
        findings.warning(facts.expiryLine, "the catalogue expires after %s, in %ld days", date, daysLeft);
}

void checkIssuedByExpiry(const CatalogueFacts &facts, const CalendarTime &issuedDay, Findings &findings)
{
    if (facts.issued.status != IssuedStatus::Readable || facts.expiry.status != ExpiryStatus::Readable ||
        !issuedAfterLastDay(facts.expiry.lastDay, issuedDay))
        return;
    char date[16];
    formatCatalogueDate(facts.expiry.lastDay, date, sizeof date);
    findings.problem(facts.issuedLine, "issued after its expiry date %s: Kestrel refuses it as not the maker's", date);
}
