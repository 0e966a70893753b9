#include "maker/core/CatalogueCheck.h"

#include "catalogue/core/CatalogueEntries.h"
#include "catalogue/core/CatalogueSections.h"
#include "catalogue/core/CompatibilityToken.h"
#include "catalogue/core/LineReader.h"
#include "maker/core/CatalogueText.h"

#include <cstring>

namespace {

constexpr std::uint32_t MaxVersionPart = 65535;

// Kestrel's reader hands out a line over CatalogueLineLimit - 1 characters in
// pieces; this walks the pieces and keeps the line number an editor shows.
class EditorLines {
public:
    EditorLines(const char *data, std::size_t size) : reader_(data, size, CatalogueLineLimit)
    {
        reader_.expandTabs = 0;
    }

    bool atEnd() const { return reader_.atEnd(); }

    void next(char (&piece)[CatalogueLineLimit])
    {
        firstPiece = !continuing_;
        if (!continuing_) {
            ++line;
            length = 0;
            for (const char *c = reader_.cursor; c != reader_.end && *c != '\n'; ++c)
                length += *c != '\r';
        }
        reader_.readLine(piece);
        // A piece cut at the limit is followed by the rest of its line, even
        // when that rest is only the line feed.
        continuing_ = reader_.truncated != 0;
    }

    bool tooLong() const { return length > CatalogueLineLimit - 1; }

    int line = 0;            // of the piece last handed out
    bool firstPiece = false; // the piece starts its line
    std::size_t length = 0;  // of its whole line, carriage returns not counted

private:
    LineReader reader_;
    bool continuing_ = false;
};

enum class Section { Other, Programs, Hashes, LaterHashes, Expires, Signature };

Section sectionOf(const char *header, bool &hashesSeen)
{
    if (std::strcmp(header, HashesHeader) == 0) {
        const bool first = !hashesSeen;
        hashesSeen = true;
        return first ? Section::Hashes : Section::LaterHashes;
    }
    if (std::strcmp(header, ExpiresHeader) == 0)
        return Section::Expires;
    if (std::strcmp(header, SignatureHeader) == 0)
        return Section::Signature;
    return header[1] == 'U' ? Section::Programs : Section::Other;
}

// The text after the fifth separator: the version field, as Kestrel reads it.
const char *versionField(const char *line)
{
    for (int separators = 0; separators < 5; ++separators) {
        line = std::strchr(line, '|');
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
        const char c = name[length - extensionLength + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != Extension[i])
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
        facts_.expiry = readCatalogueExpiry(data_, size_);
        facts_.signature = splitSignedCatalogue(data_, size_);
        if (!hasCompatibilityToken(data_, size_))
            reportMissingToken();
        readLines();
        readChecksums();
        for (int i = 0; i < facts_.programCount; ++i)
            if (facts_.programs[i].checksumLine == 0)
                findings_.problem(facts_.programs[i].line, "no checksum line for %s", facts_.programs[i].name);
        if (facts_.expiry.status == ExpiryStatus::Unreadable)
            findings_.problem(facts_.expiryLine, "no expiry date that Kestrel can read after [Expires]");
        if (facts_.signature.status == SignatureStatus::BadSignatureLine)
            findings_.problem(facts_.signatureLine, "the signature line is not %u base64 characters",
                              static_cast<unsigned>(SignatureLineLength));
    }

private:
    void reportMissingToken()
    {
        EditorLines lines(data_, size_);
        char piece[CatalogueLineLimit];
        bool anyHeader = false;
        while (!lines.atEnd()) {
            lines.next(piece);
            if (piece[0] == '[' && piece[1] == 'L') {
                findings_.problem(lines.line, "no token line \"%s\" right after this header", CompatibilityToken);
                anyHeader = true;
            }
        }
        if (!anyHeader)
            findings_.problem(0, "no [L] header followed by the token line \"%s\"", CompatibilityToken);
    }

    void readLines()
    {
        EditorLines lines(data_, size_);
        char piece[CatalogueLineLimit];
        Section section = Section::Other;
        bool hashesSeen = false;
        int longLineReported = 0;
        int expiresHeader = 0;
        int signatureHeader = 0;
        bool trailingReported = false;
        while (!lines.atEnd()) {
            lines.next(piece);
            if (lines.tooLong() && longLineReported != lines.line) {
                longLineReported = lines.line;
                findings_.problem(lines.line, "line of %u characters; Kestrel reads at most %u and takes the "
                                  "rest for further lines", static_cast<unsigned>(lines.length), CatalogueLineLimit - 1);
            }
            if (signatureHeader != 0 && lines.line > signatureHeader + 1 && piece[0] != '\0' && !trailingReported &&
                facts_.signature.status == SignatureStatus::TrailingBytes) {
                trailingReported = true;
                findings_.problem(lines.line, "text after the signature line; a signed Kestrel refuses the "
                                  "catalogue");
            }
            if (expiresHeader != 0 && facts_.expiryLine == 0)
                facts_.expiryLine = lines.line;
            if (signatureHeader != 0 && facts_.signatureLine == 0)
                facts_.signatureLine = lines.line;
            if (piece[0] == '[') {
                section = sectionOf(piece, hashesSeen);
                if (section == Section::Expires && expiresHeader == 0)
                    expiresHeader = lines.line;
                if (section == Section::Signature && signatureHeader == 0)
                    signatureHeader = lines.line;
                continue;
            }
            // Of a line too long, Kestrel takes the first piece for an entry
            // of its own: it is kept, so checksum and file checks find it, but
            // what is wrong with it was said with the line's length.
            if (section == Section::Programs && piece[0] != '\0' && (lines.firstPiece || !lines.tooLong()))
                readEntry(piece, lines.line, lines.tooLong());
        }
        // A header on the last line: what it lacks belongs to that line.
        if (facts_.expiryLine == 0)
            facts_.expiryLine = expiresHeader;
        if (facts_.signatureLine == 0)
            facts_.signatureLine = signatureHeader;
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

        const std::size_t nameLength = std::strcspn(line, "|");
        if (nameLength > MaxFileNameLength)
            findings_.problem(lineNumber, "name of %u characters; at most %u", static_cast<unsigned>(nameLength),
                              static_cast<unsigned>(MaxFileNameLength));
        if (std::strcspn(line, "\\/:") < nameLength)
            findings_.problem(lineNumber, "name holds '\\', '/' or ':'; it must be a bare file name");
        if (!endsInExe(line, nameLength))
            findings_.warning(lineNumber, "name does not end in \".exe\"; Kestrel looks at *.exe files only");

        const char *version = versionField(line);
        if (!isFourPartVersion(version))
            findings_.problem(lineNumber, "version \"%s\" is not four numbers from 0 to %u", version, MaxVersionPart);
    }

    // Kestrel reads the first checksum section only, and for each program
    // the first line that names it.
    void readChecksums()
    {
        EditorLines lines(data_, size_);
        char piece[CatalogueLineLimit];
        Section section = Section::Other;
        bool hashesSeen = false;
        while (!lines.atEnd()) {
            lines.next(piece);
            if (piece[0] == '[') {
                section = sectionOf(piece, hashesSeen);
                continue;
            }
            if (section != Section::Hashes || lines.tooLong() || piece[0] == '\0')
                continue;
            char name[CatalogueLineLimit];
            Sha256Digest digest;
            const bool wellFormed = parseChecksumLine(piece, name, sizeof name, digest);
            CheckedProgram *program = findProgram(name);
            if (!program) {
                findings_.problem(lines.line, "checksum for %s, which the catalogue does not list", name);
            } else if (program->checksumLine != 0) {
                findings_.warning(lines.line, "second checksum line for %s (first on line %d); Kestrel uses only "
                                  "the first", program->name, program->checksumLine);
            } else {
                program->checksumLine = lines.line;
                program->checksumWellFormed = wellFormed;
                program->checksum = digest;
                if (!wellFormed)
                    findings_.problem(lines.line, "checksum of %s is not %u lower-case hex digits", program->name,
                                      static_cast<unsigned>(Sha256HexLength));
            }
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
