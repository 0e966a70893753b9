#pragma once
#include "catalogue/core/CatalogueSections.h"
#include "catalogue/core/LineReader.h"

#include <cstddef>

// One line of a catalogue as every reader of it sees it.
struct CatalogueLine {
    char text[CatalogueLineLimit]; // the piece the line reader hands out, terminated
    SectionKind section;           // of the line; a header's is the section it opens
    bool header;                   // text starts with "["
    bool firstOfKind;              // section is the first of its kind in the file
    int number;                    // the line an editor shows it on, from 1
    bool startsLine;               // false for the further pieces of a line too long
    std::size_t length;            // bytes of the whole editor line, carriage returns not counted
    bool strayReturn;              // the editor line holds a carriage return other than one ending it
    std::size_t offset;            // bytes of the walked text before the piece
};

// A reader over catalogue text with the catalogue's settings: lines of
// CatalogueLineLimit bytes, tabs kept as they are.
LineReader catalogueLines(const char *data, std::size_t size);

// Walks a catalogue's lines in the pieces Kestrel reads (CatalogueLineLimit
// bytes at most, whatever the given reader was set up with), telling each
// one's section. A line of more than 127 characters comes out in pieces that
// share its number; so does the empty piece that follows a line of exactly
// 127 characters.
class SectionWalker {
public:
    // From the reader as it stands; tabs as it handles them.
    explicit SectionWalker(const LineReader &lines);
    // Over any bytes, as catalogueLines reads them.
    SectionWalker(const char *data, std::size_t size);

    // The next line into line; false at the end.
    bool next();

    CatalogueLine line{};

private:
    LineReader lines_;
    const char *start_;
    bool continuing_ = false;
    bool seen_[static_cast<int>(SectionKind::Other) + 1] = {};
};

// Where the one-line sections stand: the line right after the first header of
// a kind, whatever that line holds.
struct LineAfterHeader {
    int headerNumber; // 0: no such header
    int number;       // 0: the header is the last line
    char text[CatalogueLineLimit];
};

LineAfterHeader lineAfterFirstHeader(const LineReader &lines, SectionKind kind);

// Reads a one-line section: NoSection without its header, Readable when parse
// takes the line after it into value, else Unreadable.
template <typename Status, typename Parse, typename Value>
Status readLineAfterHeader(const LineReader &lines, SectionKind kind, Parse parse, Value &value)
{
    const LineAfterHeader line = lineAfterFirstHeader(lines, kind);
    if (line.headerNumber == 0)
        return Status::NoSection;
    return line.number != 0 && parse(line.text, value) ? Status::Readable : Status::Unreadable;
}
