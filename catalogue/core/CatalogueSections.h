#pragma once

// Header lines of the sections that protect a catalogue. Unlike the "[L" and
// "[U" sections, which are named by their second character, these are known
// only by their whole text, so that an "[Extras]" or "[History]" section of
// some other use keeps being ignored. Readers of the two older sections skip
// all three.
constexpr char HashesHeader[] = "[Hashes]";       // lines FileName|<SHA-256 in hex>
constexpr char ExpiresHeader[] = "[Expires]";     // one line: the last day it is accepted
constexpr char SignatureHeader[] = "[Signature]"; // one line: base64 of the signature

// Separates a checksum line's file name from its digest.
constexpr char ChecksumSeparator = '|';
