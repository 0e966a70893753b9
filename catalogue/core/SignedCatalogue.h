#pragma once
#include "catalogue/core/CryptoSizes.h"

#include <cstddef>

// The split of a catalogue into the bytes its signature covers and the
// signature itself.
//
// Lines are the catalogue's own (SectionWalker). The signature section starts
// at the first line that is exactly "[Signature]" (a carriage return may end
// it). Every byte of the file before the first byte of that line is signed,
// exactly as served. The section holds one line, the base64 of the 64-byte
// signature (88 characters, a carriage return may end it), and is the last
// thing in the file: only carriage returns and line feeds may come after it.

enum class SignatureStatus {
    NoSection,        // no signature header line
    BadSignatureLine, // the line after the header is not 88 base64 characters
    TrailingBytes,    // something other than line ends follows the signature line
    WellFormed,       // signature holds the decoded r and s
};

struct SignedCatalogue {
    SignatureStatus status;
    // Bytes before the signature header line; the whole size without one.
    std::size_t signedSize;
    // The signature line's number, or the header's when it is the last line;
    // 0 without a header.
    int signatureLine;
    unsigned char signature[P256SignatureSize];
};

// Characters of a signature line, line end excluded.
constexpr std::size_t SignatureLineLength = 88;

SignedCatalogue splitSignedCatalogue(const char *data, std::size_t size);
