#pragma once

// Catalogue lines are read into buffers of this size, terminator included:
// a line holds at most 127 characters, a longer one comes in pieces.
constexpr unsigned CatalogueLineLimit = 128;

// A header line is any line starting with "[". The compatibility and
// programs sections are named by the header's second character alone ("[L",
// "[U"); the sections that protect a catalogue only by their whole text, so
// that an "[Extras]" or "[History]" section of some other use keeps being
// ignored. Readers of the two older sections skip the others.
constexpr char HashesHeader[] = "[Hashes]";       // lines FileName|<SHA-256 in hex>
constexpr char SizesHeader[] = "[Sizes]";         // lines FileName|<length in bytes, decimal>
constexpr char IssuedHeader[] = "[Issued]";       // one line: when it was made, UTC
constexpr char ExpiresHeader[] = "[Expires]";     // one line: the last day it is accepted
constexpr char SignatureHeader[] = "[Signature]"; // one line: base64 of the signature

// Separates the fields of an entry line, and a checksum or size line's file
// name from its value.
constexpr char FieldSeparator = '|';

enum class SectionKind {
    None,          // before the first header
    Compatibility, // "[L..."
    Programs,      // "[U..."
    Hashes,
    Sizes,
    Issued,
    Expires,
    Signature,
    Other, // any other header
};

// The section a header line opens.
SectionKind sectionOfHeader(const char *header);
