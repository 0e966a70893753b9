#pragma once
#include <cstddef>

// Lower-case hexadecimal, two digits a byte, most significant digit first:
// the form of the catalogue's checksums.

// Writes 2 * size digits and a terminator to out.
void encodeHex(const unsigned char *data, std::size_t size, char *out);

// Decodes exactly 2 * size characters of text into size bytes. True only
// when every one of them is 0-9 or a-f; capital letters are refused, so a
// checksum has exactly one written form.
bool decodeLowerHex(const char *text, unsigned char *out, std::size_t size);
