#pragma once
#include <cstddef>

// Standard base64 (alphabet A-Z a-z 0-9 + /) with "=" padding, as keys and
// signatures are written in the catalogue and the build settings.

// Characters of the padded encoding of size bytes, terminator excluded.
constexpr std::size_t base64Length(std::size_t size) { return (size + 2) / 3 * 4; }

// Writes base64Length(size) characters and a terminator to out.
void encodeBase64(const unsigned char *data, std::size_t size, char *out);

// Decodes exactly length characters of text into out (capacity bytes). True
// only for the one encoding encodeBase64 would write: a length that is a
// multiple of 4, alphabet characters, at most two "=" and only at the end,
// unused bits zero. decodedSize is then the number of bytes written; on
// false it is 0 and out may hold partial bytes.
bool decodeBase64(const char *text, std::size_t length, unsigned char *out, std::size_t capacity,
                  std::size_t &decodedSize);
