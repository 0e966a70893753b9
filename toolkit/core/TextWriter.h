#pragma once
#include <cstddef>

// Builds a text in a caller's buffer piece by piece: what does not fit is
// cut, and the buffer always holds a terminated text (a buffer of 0 bytes is
// left alone). The program's few number texts are made with it rather than
// the C library's formatted printing, which would bring its whole formatter.
class TextWriter {
public:
    TextWriter(char *out, std::size_t size);

    TextWriter &text(const char *piece);
    // Decimal, with a leading '-' when negative.
    TextWriter &number(long long value);

private:
    void put(char c);

    char *out_;
    std::size_t size_;
    std::size_t length_ = 0;
};
