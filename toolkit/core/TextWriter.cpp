#include "toolkit/core/TextWriter.h"

TextWriter::TextWriter(char *out, std::size_t size) : out_(out), size_(size)
{
    if (size_ > 0)
        out_[0] = '\0';
}

void TextWriter::put(char c)
{
    if (length_ + 1 >= size_)
        return;
    out_[length_++] = c;
    out_[length_] = '\0';
}

TextWriter &TextWriter::text(const char *piece)
{
    while (*piece)
        put(*piece++);
    return *this;
}

TextWriter &TextWriter::number(long long value)
{
    // The magnitude as unsigned, so the most negative value has one too.
    unsigned long long magnitude = static_cast<unsigned long long>(value);
    if (value < 0) {
        put('-');
        magnitude = 0 - magnitude;
    }
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    while (count > 0)
        put(digits[--count]);
    return *this;
}
