// Feeds arbitrary bytes to the catalogue's text handling: the line reader,
// the compatibility check, the entry loading, the signed-bytes split, the
// expiry, checksum and size sections and the base64 and hex decoders, as a
// downloaded Kestrel.ini would reach them.
#include "FuzzCheck.h"

#include "catalogue/CatalogueEntry.h"
#include "catalogue/core/Base64.h"
#include "catalogue/core/CatalogueChecksums.h"
#include "catalogue/core/CatalogueDateTime.h"
#include "catalogue/core/CatalogueEntries.h"
#include "catalogue/core/CatalogueExpiry.h"
#include "catalogue/core/CatalogueSections.h"
#include "catalogue/core/CatalogueSizes.h"
#include "catalogue/core/CompatibilityToken.h"
#include "catalogue/core/HexText.h"
#include "catalogue/core/LineReader.h"
#include "catalogue/core/SignedCatalogue.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t FileNameLength = 58;
constexpr std::size_t NoteLength = 11;
constexpr unsigned char Untouched = 0xAA;

// The lines a reader with tabs kept must hand out, worked out independently:
// carriage returns vanish, a line feed ends a line, and a line reaching
// limit - 1 characters ends there. All lines live in one block, each followed
// by a terminator, so the checks allocate little per input.
class ExpectedLines {
public:
    // Kept between inputs, so the blocks are reused.
    void reset(const char *data, std::size_t size, std::size_t limit)
    {
        text.clear();
        spans.clear();
        std::size_t i = 0;
        while (i < size) {
            const std::size_t start = text.size();
            std::size_t length = 0;
            while (i < size) {
                const char c = data[i++];
                if (c == '\r')
                    continue;
                if (c == '\n')
                    break;
                text += c;
                if (++length == limit - 1)
                    break;
            }
            text += '\0';
            spans.push_back({start, length});
        }
    }

    std::size_t count() const { return spans.size(); }
    // The line as the program's C string functions see it.
    const char *line(std::size_t i) const { return text.data() + spans[i].start; }
    std::size_t length(std::size_t i) const { return spans[i].length; }

private:
    struct Span {
        std::size_t start;
        std::size_t length;
    };
    std::string text;
    std::vector<Span> spans;
};

// Line buffers of exactly limit bytes, made once per limit.
char *lineBuffer(std::uint32_t limit)
{
    static std::unique_ptr<char[]> blocks[CatalogueLineLimit + 1];
    if (!blocks[limit])
        blocks[limit] = exactBlock(limit);
    return blocks[limit].get();
}

void checkLineReader(const char *data, std::size_t size, std::uint32_t limit, bool expandTabs,
                     const ExpectedLines *expected)
{
    LineReader reader(data, size, limit);
    reader.expandTabs = expandTabs ? 1 : 0;
    char *buffer = lineBuffer(limit);
    std::size_t index = 0;
    while (!reader.atEnd()) {
        const char *before = reader.cursor;
        const int length = reader.readLine(buffer);
        FUZZ_REQUIRE(reader.cursor > before && reader.cursor <= reader.end);
        FUZZ_REQUIRE(length >= 0 && static_cast<std::uint32_t>(length) <= limit - 1);
        FUZZ_REQUIRE(buffer[length] == '\0');
        FUZZ_REQUIRE(reader.truncated == (static_cast<std::uint32_t>(length) == limit - 1 ? 1u : 0u));
        FUZZ_REQUIRE(std::memchr(buffer, '\r', length) == nullptr);
        FUZZ_REQUIRE(std::memchr(buffer, '\n', length) == nullptr);
        if (expandTabs)
            FUZZ_REQUIRE(std::memchr(buffer, '\t', length) == nullptr);
        if (expected) {
            FUZZ_REQUIRE(index < expected->count());
            FUZZ_REQUIRE(static_cast<std::size_t>(length) == expected->length(index));
            FUZZ_REQUIRE(std::memcmp(buffer, expected->line(index), length) == 0);
        }
        ++index;
    }
    if (expected)
        FUZZ_REQUIRE(index == expected->count());
    FUZZ_REQUIRE(reader.readLine(buffer) == 0 && buffer[0] == '\0');
}

bool expectedToken(const ExpectedLines &lines)
{
    for (std::size_t i = 0; i < lines.count(); ++i) {
        if (lines.line(i)[0] == '[' && lines.line(i)[1] == 'L') {
            ++i;
            if (i < lines.count() && std::strcmp(lines.line(i), CompatibilityToken) == 0)
                return true;
        }
    }
    return false;
}

// The entry lines of the programs section, in order.
void expectedEntryLines(const ExpectedLines &lines, std::vector<const char *> &entries)
{
    entries.clear();
    char section = '\0';
    for (std::size_t i = 0; i < lines.count(); ++i) {
        const char *line = lines.line(i);
        if (line[0] == '[')
            section = line[1];
        else if (line[0] != '\0' && section == 'U')
            entries.push_back(line);
    }
}

// True when stored is field number index of line, cut to length characters.
bool holdsField(const char *stored, const char *line, int index, std::size_t length)
{
    const char *text = line;
    for (int i = 0; i < index; ++i) {
        const char *separator = std::strchr(text, '|');
        if (!separator)
            return *stored == '\0';
        text = separator + 1;
    }
    std::size_t n = std::strcspn(text, "|");
    if (n > length)
        n = length;
    return std::strlen(stored) == n && std::strncmp(stored, text, n) == 0;
}

bool validLocalTime(const CalendarTime &t)
{
    return isValidDate(t) && t.hour <= 23 && t.minute <= 59 && t.second <= 59 && t.milliseconds == 0;
}

// A stand-in for the platform's local-to-UTC conversion: refuses some valid
// times, so the reader's stop on a failed conversion is exercised, and
// makes a file time the checks can recompute.
struct ConverterLog {
    int calls = 0;
    bool lastRefused = false;
};

bool refuses(const CalendarTime &t) { return (t.day + t.hour + t.minute + t.second) % 17 == 16; }

FileTime stubFileTime(const CalendarTime &t)
{
    return FileTime{static_cast<std::uint32_t>(t.year) << 16 | t.month << 8 | t.day,
                    static_cast<std::uint32_t>(t.hour) << 16 | t.minute << 8 | t.second};
}

bool stubConverter(const CalendarTime &local, FileTime &utc, void *context)
{
    FUZZ_REQUIRE(validLocalTime(local));
    ConverterLog &log = *static_cast<ConverterLog *>(context);
    ++log.calls;
    log.lastRefused = refuses(local);
    if (log.lastRefused)
        return false;
    utc = stubFileTime(local);
    return true;
}

void checkEntryRecord(const CatalogueEntry &entry, const char *line)
{
    FUZZ_REQUIRE(terminatedWithin(entry.fileName, FileNameLength + 1));
    FUZZ_REQUIRE(terminatedWithin(entry.note, NoteLength + 1));
    FUZZ_REQUIRE(holdsField(entry.fileName, line, 0, FileNameLength));
    FUZZ_REQUIRE(holdsField(entry.note, line, 4, NoteLength));
    FUZZ_REQUIRE(entry.needsUpdate == 0 && entry.downloaded == 0);
    FUZZ_REQUIRE(entry.checksumStatus == ChecksumStatus::None);
}

bool untouched(const CatalogueEntry &entry)
{
    static const std::vector<unsigned char> pattern(sizeof(CatalogueEntry), Untouched);
    return std::memcmp(&entry, pattern.data(), sizeof entry) == 0;
}

// Entry arrays of exactly the capacity asked for, made once: AddressSanitizer
// still guards their ends, and the fuzzer spends its time in the reader
// instead of the allocator.
CatalogueEntry *entryBlock(int capacity)
{
    static std::unique_ptr<CatalogueEntry[]> blocks[MaxCatalogueEntries + 1];
    if (!blocks[capacity])
        blocks[capacity].reset(new CatalogueEntry[capacity]);
    return blocks[capacity].get();
}

void checkEntries(const char *data, std::size_t size, int capacity,
                  const std::vector<const char *> &entryLines)
{
    CatalogueEntry *entries = entryBlock(capacity);
    std::memset(static_cast<void *>(entries), Untouched, sizeof(CatalogueEntry) * capacity);
    ConverterLog log;
    const CatalogueReadResult result = readCatalogueEntries(data, size, entries, capacity,
                                                            stubConverter, &log);
    const int count = result.entryCount;
    const int lineCount = static_cast<int>(entryLines.size());
    FUZZ_REQUIRE(count >= 0 && count <= capacity && count <= lineCount);

    switch (result.status) {
    case CatalogueReadStatus::Complete:
        FUZZ_REQUIRE(count == lineCount && log.calls == count);
        break;
    case CatalogueReadStatus::TooManyEntries:
        FUZZ_REQUIRE(count == capacity && lineCount > capacity && log.calls == count);
        break;
    case CatalogueReadStatus::BadDateTime:
        FUZZ_REQUIRE(count < capacity && count < lineCount);
        FUZZ_REQUIRE(log.calls == count || (log.calls == count + 1 && log.lastRefused));
        FUZZ_REQUIRE(holdsField(entries[count].fileName, entryLines[count], 0, FileNameLength));
        break;
    default:
        FUZZ_REQUIRE(!"unknown status");
    }

    for (int i = 0; i < count; ++i) {
        checkEntryRecord(entries[i], entryLines[i]);
        CatalogueEntry copy;
        CalendarTime local;
        FUZZ_REQUIRE(parseEntryLine(entryLines[i], copy, local));
        const FileTime expected = stubFileTime(local);
        FUZZ_REQUIRE(entries[i].fileTime.lowDateTime == expected.lowDateTime &&
                     entries[i].fileTime.highDateTime == expected.highDateTime);
    }
    const int firstUntouched = result.status == CatalogueReadStatus::BadDateTime ? count + 1 : count;
    for (int i = firstUntouched; i < capacity; ++i)
        FUZZ_REQUIRE(untouched(entries[i]));
}

// One line handed straight to the field splitter, longer than any line the
// reader gives out.
void checkEntryLine(const char *data, std::size_t size)
{
    std::unique_ptr<char[]> line = terminatedCopy(data, size);
    CatalogueEntry entry;
    std::memset(static_cast<void *>(&entry), Untouched, sizeof entry);
    CalendarTime local;
    const bool valid = parseEntryLine(line.get(), entry, local);
    checkEntryRecord(entry, line.get());
    if (valid)
        FUZZ_REQUIRE(validLocalTime(local));
}

bool lineEndsOnly(const char *data, std::size_t from, std::size_t size)
{
    for (std::size_t i = from; i < size; ++i)
        if (data[i] != '\r' && data[i] != '\n')
            return false;
    return true;
}

// The split, against the physical lines of the file worked out here.
void checkSignedSplit(const char *data, std::size_t size)
{
    const SignedCatalogue split = splitSignedCatalogue(data, size);
    const std::string header = SignatureHeader;
    std::size_t start = 0;
    std::size_t headerAt = size;
    std::size_t after = size;
    while (start < size) {
        const char *feed = static_cast<const char *>(std::memchr(data + start, '\n', size - start));
        const std::size_t end = feed ? static_cast<std::size_t>(feed - data) : size;
        std::string line(data + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == header) {
            headerAt = start;
            after = end + 1;
            break;
        }
        start = end + 1;
    }
    FUZZ_REQUIRE(split.signedSize == headerAt);
    if (headerAt == size) {
        FUZZ_REQUIRE(split.status == SignatureStatus::NoSection);
        return;
    }
    FUZZ_REQUIRE(split.status != SignatureStatus::NoSection);
    if (split.status == SignatureStatus::BadSignatureLine)
        return;
    // A well-formed signature line is its own re-encoding.
    char text[SignatureLineLength + 1];
    encodeBase64(split.signature, P256SignatureSize, text);
    FUZZ_REQUIRE(after + SignatureLineLength <= size);
    FUZZ_REQUIRE(std::memcmp(data + after, text, SignatureLineLength) == 0);
    std::size_t rest = after + SignatureLineLength;
    // The line ends there, one carriage return at most before its line feed.
    if (rest < size && data[rest] == '\r')
        ++rest;
    FUZZ_REQUIRE(rest == size || data[rest] == '\n');
    FUZZ_REQUIRE((split.status == SignatureStatus::WellFormed) == lineEndsOnly(data, rest, size));
}

void checkExpiry(const char *data, std::size_t size, const ExpectedLines &lines)
{
    const CatalogueExpiry expiry = readCatalogueExpiry(data, size);
    std::size_t i = 0;
    while (i < lines.count() && std::strcmp(lines.line(i), ExpiresHeader) != 0)
        ++i;
    if (i == lines.count()) {
        FUZZ_REQUIRE(expiry.status == ExpiryStatus::NoSection);
        return;
    }
    CalendarTime date{};
    const bool readable = i + 1 < lines.count() && parseCatalogueDate(lines.line(i + 1), date);
    FUZZ_REQUIRE(expiry.status == (readable ? ExpiryStatus::Readable : ExpiryStatus::Unreadable));
    if (readable)
        FUZZ_REQUIRE(isValidDate(expiry.lastDay) && expiry.lastDay.year == date.year &&
                     expiry.lastDay.month == date.month && expiry.lastDay.day == date.day);
}

bool sameIgnoringCase(const char *a, const char *b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

bool lowerHex(const char *text, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i])) && (text[i] < 'a' || text[i] > 'f'))
            return false;
    return true;
}

// The first "name|..." line for fileName (letter case ignored) in the first
// section under header, or null.
const char *firstLineFor(const ExpectedLines &lines, const char *header, const char *fileName)
{
    std::size_t first = 0;
    while (first < lines.count() && std::strcmp(lines.line(first), header) != 0)
        ++first;
    for (std::size_t i = first + 1; i < lines.count() && lines.line(i)[0] != '['; ++i) {
        const std::string line = lines.line(i);
        if (!line.empty() && sameIgnoringCase(line.substr(0, line.find(FieldSeparator)).c_str(), fileName))
            return lines.line(i);
    }
    return nullptr;
}

// Each loaded entry against the first line for its name in the first
// "[Hashes]" section, found here line by line.
void checkChecksums(const char *data, std::size_t size, const ExpectedLines &lines)
{
    CatalogueEntry *entries = entryBlock(MaxCatalogueEntries);
    ConverterLog log;
    const int count = readCatalogueEntries(data, size, entries, MaxCatalogueEntries, stubConverter, &log).entryCount;
    readCatalogueChecksums(data, size, entries, count, sameIgnoringCase);

    for (int e = 0; e < count; ++e) {
        const CatalogueEntry &entry = entries[e];
        const char *found = firstLineFor(lines, HashesHeader, entry.fileName);
        if (!found) {
            FUZZ_REQUIRE(entry.checksumStatus == ChecksumStatus::None);
            continue;
        }
        const char *digits = std::strchr(found, FieldSeparator);
        const bool wellFormed = digits && std::strlen(digits + 1) == Sha256HexLength && lowerHex(digits + 1, Sha256HexLength);
        FUZZ_REQUIRE(entry.checksumStatus == (wellFormed ? ChecksumStatus::Present : ChecksumStatus::Malformed));
        if (wellFormed) {
            char text[Sha256HexLength + 1];
            encodeHex(entry.checksum.bytes, Sha256Size, text);
            FUZZ_REQUIRE(std::strcmp(text, digits + 1) == 0);
        }
    }
}

// Each loaded entry against the first line for its name in the first
// "[Sizes]" section: decimal digits alone, read here with a wider type.
void checkSizes(const char *data, std::size_t size, const ExpectedLines &lines)
{
    CatalogueEntry *entries = entryBlock(MaxCatalogueEntries);
    ConverterLog log;
    const int count = readCatalogueEntries(data, size, entries, MaxCatalogueEntries, stubConverter, &log).entryCount;
    readCatalogueSizes(data, size, entries, count, sameIgnoringCase);

    for (int e = 0; e < count; ++e) {
        const CatalogueEntry &entry = entries[e];
        const char *found = firstLineFor(lines, SizesHeader, entry.fileName);
        if (!found) {
            FUZZ_REQUIRE(entry.sizeStatus == SizeStatus::None);
            continue;
        }
        const char *digits = std::strchr(found, FieldSeparator);
        unsigned __int128 value = 0;
        bool wellFormed = digits && digits[1] != '\0';
        for (const char *c = digits ? digits + 1 : ""; wellFormed && *c; ++c) {
            wellFormed = std::isdigit(static_cast<unsigned char>(*c)) != 0;
            value = value * 10 + static_cast<unsigned>(*c - '0');
            wellFormed = wellFormed && value <= UINT64_MAX;
        }
        FUZZ_REQUIRE(entry.sizeStatus == (wellFormed ? SizeStatus::Present : SizeStatus::Malformed));
        if (wellFormed)
            FUZZ_REQUIRE(entry.size == value);
    }
}

// Whatever decodes must encode back to the very same text.
void checkBase64(const char *data, std::size_t size)
{
    static std::vector<unsigned char> bytes;
    static std::string text;
    bytes.assign(size, 0);
    std::size_t decoded = 0;
    if (!decodeBase64(data, size, bytes.data(), size, decoded)) {
        FUZZ_REQUIRE(decoded == 0);
        return;
    }
    FUZZ_REQUIRE(base64Length(decoded) == size);
    text.assign(size + 1, '?');
    encodeBase64(bytes.data(), decoded, &text[0]);
    FUZZ_REQUIRE(text[size] == '\0' && std::memcmp(text.data(), data, size) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const char *data = reinterpret_cast<const char *>(bytes);
    static ExpectedLines lines;
    static ExpectedLines shortLines;
    static std::vector<const char *> entryLines;
    lines.reset(data, size, CatalogueLineLimit);

    FUZZ_REQUIRE(hasCompatibilityToken(data, size) == expectedToken(lines));

    expectedEntryLines(lines, entryLines);
    checkEntries(data, size, MaxCatalogueEntries, entryLines);
    checkEntries(data, size, static_cast<int>(size % 4), entryLines);

    checkLineReader(data, size, CatalogueLineLimit, false, &lines);
    // The reader on its own, with other line limits and tabs expanded or not.
    if (size > 0) {
        const std::uint32_t limit = 2 + bytes[0] % 64;
        const bool expandTabs = bytes[size - 1] & 1;
        if (expandTabs) {
            checkLineReader(data, size, limit, true, nullptr);
        } else {
            shortLines.reset(data, size, limit);
            checkLineReader(data, size, limit, false, &shortLines);
        }
    }

    checkEntryLine(data, size);
    checkSignedSplit(data, size);
    checkExpiry(data, size, lines);
    checkChecksums(data, size, lines);
    checkSizes(data, size, lines);
    checkBase64(data, size);
    return 0;
}
