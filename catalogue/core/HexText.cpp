#include "catalogue/core/HexText.h"

namespace {

constexpr char Digits[] = "0123456789abcdef";

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

void encodeHex(const unsigned char *data, std::size_t size, char *out)
{
    for (std::size_t i = 0; i < size; ++i) {
        *out++ = Digits[data[i] >> 4];
        *out++ = Digits[data[i] & 15];
    }
    *out = '\0';
}

bool decodeLowerHex(const char *text, unsigned char *out, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        const int high = digitValue(text[2 * i]);
        if (high < 0)
            return false;
        const int low = digitValue(text[2 * i + 1]);
        if (low < 0)
            return false;
        out[i] = static_cast<unsigned char>(high << 4 | low);
    }
    return true;
}
