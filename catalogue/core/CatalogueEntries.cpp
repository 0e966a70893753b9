#include "catalogue/core/CatalogueEntries.h"

#include "catalogue/core/CatalogueDateTime.h"
#include "catalogue/core/DecimalNumber.h"
#include "catalogue/core/SectionWalker.h"
#include "catalogue/core/VersionNumber.h"

namespace {

constexpr std::size_t NoteLength = 11;

// Copies the field under the cursor, at most outSize - 1 characters, and
// moves the cursor past the field and its separator. With lastField the field
// runs to the end of the line, separators included.
void takeField(const char *&cursor, char *out, std::size_t outSize, bool lastField = false)
{
    std::size_t length = 0;
    while (*cursor != '\0' && (lastField || *cursor != FieldSeparator)) {
        if (length < outSize - 1)
            out[length++] = *cursor;
        ++cursor;
    }
    out[length] = '\0';
    if (*cursor == FieldSeparator)
        ++cursor;
}

} // namespace

bool parseEntryLine(const char *line, CatalogueEntry &entry, CalendarTime &local)
{
    char field[CatalogueLineLimit];
    const char *cursor = line;

    entry.needsUpdate = 0;
    entry.downloaded = 0;
    entry.checksumStatus = ChecksumStatus::None;
    entry.sizeStatus = SizeStatus::None;
    entry.size = 0;
    takeField(cursor, entry.fileName, MaxFileNameLength + 1);
    takeField(cursor, field, sizeof field);
    entry.number = readDecimalNumber(field);

    local = CalendarTime{};
    takeField(cursor, field, sizeof field);
    const bool dateValid = parseCatalogueDate(field, local);
    takeField(cursor, field, sizeof field);
    const bool timeValid = parseCatalogueTime(field, local);

    takeField(cursor, entry.note, NoteLength + 1);
    takeField(cursor, field, sizeof field, true);
    parseVersion(field, entry.version);
    return dateValid && timeValid;
}

CatalogueReadResult readCatalogueEntries(const LineReader &lines, CatalogueEntry *entries, int capacity,
                                         LocalTimeConverter convert, void *context)
{
    SectionWalker walker(lines);
    int count = 0;
    while (walker.next()) {
        const CatalogueLine &line = walker.line;
        if (line.header || line.section != SectionKind::Programs || line.text[0] == '\0')
            continue;
        if (count >= capacity)
            return {CatalogueReadStatus::TooManyEntries, count};
        CatalogueEntry &entry = entries[count];
        CalendarTime local;
        if (!parseEntryLine(line.text, entry, local) || !convert(local, entry.fileTime, context))
            return {CatalogueReadStatus::BadDateTime, count};
        ++count;
    }
    return {CatalogueReadStatus::Complete, count};
}
