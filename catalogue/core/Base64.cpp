#include "catalogue/core/Base64.h"

namespace {

constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The six bits a character stands for, or -1 outside the alphabet.
int sextet(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

} // namespace

void encodeBase64(const unsigned char *data, std::size_t size, char *out)
{
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const unsigned long group = static_cast<unsigned long>(data[i]) << 16 | data[i + 1] << 8 | data[i + 2];
        *out++ = Alphabet[group >> 18 & 63];
        *out++ = Alphabet[group >> 12 & 63];
        *out++ = Alphabet[group >> 6 & 63];
        *out++ = Alphabet[group & 63];
    }
    if (size - i == 1) {
        *out++ = Alphabet[data[i] >> 2];
        *out++ = Alphabet[(data[i] & 3) << 4];
        *out++ = '=';
        *out++ = '=';
    } else if (size - i == 2) {
        *out++ = Alphabet[data[i] >> 2];
        *out++ = Alphabet[(data[i] & 3) << 4 | data[i + 1] >> 4];
        *out++ = Alphabet[(data[i + 1] & 15) << 2];
        *out++ = '=';
    }
    *out = '\0';
}

bool decodeBase64(const char *text, std::size_t length, unsigned char *out, std::size_t capacity,
                  std::size_t &decodedSize)
{
    decodedSize = 0;
    if (length % 4 != 0)
        return false;
    std::size_t padding = 0;
    if (length > 0 && text[length - 1] == '=')
        padding = length > 1 && text[length - 2] == '=' ? 2 : 1;
    const std::size_t size = length / 4 * 3 - padding;
    if (size > capacity)
        return false;

    std::size_t written = 0;
    for (std::size_t i = 0; i < length; i += 4) {
        const bool last = i + 4 == length;
        const std::size_t digits = last ? 4 - padding : 4;
        unsigned long group = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const int value = k < digits ? sextet(text[i + k]) : 0;
            if (value < 0)
                return false;
            group = group << 6 | static_cast<unsigned long>(value);
        }
        // Padding leaves bits of the last character unused; another encoder
        // could set them, but then two texts would stand for one value.
        if (last && ((padding == 1 && (group & 0xFF) != 0) || (padding == 2 && (group & 0xFFFF) != 0)))
            return false;
        const unsigned char bytes[3] = {static_cast<unsigned char>(group >> 16),
                                        static_cast<unsigned char>(group >> 8), static_cast<unsigned char>(group)};
        for (std::size_t k = 0; k < 3 - (last ? padding : 0); ++k)
            out[written++] = bytes[k];
    }
    decodedSize = written;
    return true;
}
