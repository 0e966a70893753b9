#include "catalogue/core/SectionWalker.h"

#include <cstring>

SectionKind sectionOfHeader(const char *header)
{
    static const struct {
        const char *text;
        SectionKind kind;
    } named[] = {{HashesHeader, SectionKind::Hashes},
                 {SizesHeader, SectionKind::Sizes},
                 {IssuedHeader, SectionKind::Issued},
                 {ExpiresHeader, SectionKind::Expires},
                 {SignatureHeader, SectionKind::Signature}};
    for (const auto &section : named)
        if (std::strcmp(header, section.text) == 0)
            return section.kind;
    if (header[1] == 'L')
        return SectionKind::Compatibility;
    if (header[1] == 'U')
        return SectionKind::Programs;
    return SectionKind::Other;
}

LineReader catalogueLines(const char *data, std::size_t size)
{
    LineReader lines(data, size, CatalogueLineLimit);
    lines.expandTabs = 0;
    return lines;
}

SectionWalker::SectionWalker(const LineReader &lines) : lines_(lines), start_(lines.cursor)
{
    // The walker's buffer is of this size, whatever the reader was set up
    // with, so a line can never overrun it.
    lines_.lineLimit = CatalogueLineLimit;
    line.section = SectionKind::None;
}

SectionWalker::SectionWalker(const char *data, std::size_t size) : SectionWalker(catalogueLines(data, size))
{
}

bool SectionWalker::next()
{
    if (lines_.atEnd())
        return false;
    line.startsLine = !continuing_;
    line.offset = static_cast<std::size_t>(lines_.cursor - start_);
    if (line.startsLine) {
        ++line.number;
        line.length = 0;
        line.strayReturn = false;
        for (const char *c = lines_.cursor; c != lines_.end && *c != '\n'; ++c) {
            line.length += *c != '\r';
            line.strayReturn = line.strayReturn || (*c == '\r' && c + 1 != lines_.end && c[1] != '\n');
        }
    }
    lines_.readLine(line.text);
    // A piece cut at the limit is followed by the rest of its line, even when
    // that rest is only the line feed.
    continuing_ = lines_.truncated != 0;
    line.header = line.text[0] == '[';
    if (line.header) {
        line.section = sectionOfHeader(line.text);
        bool &seen = seen_[static_cast<int>(line.section)];
        line.firstOfKind = !seen;
        seen = true;
    }
    return true;
}

LineAfterHeader lineAfterFirstHeader(const LineReader &lines, SectionKind kind)
{
    LineAfterHeader found{};
    SectionWalker walker(lines);
    while (walker.next()) {
        if (found.headerNumber != 0) {
            found.number = walker.line.number;
            std::memcpy(found.text, walker.line.text, sizeof found.text);
            return found;
        }
        if (walker.line.header && walker.line.section == kind)
            found.headerNumber = walker.line.number;
    }
    return found;
}
