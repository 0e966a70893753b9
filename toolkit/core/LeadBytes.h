#pragma once
#include <cstdint>

// Which bytes begin a two-byte character in the code page the program's
// texts are in. In the double-byte code pages (932, 936, 949, 950) the second
// byte of a character can be any of '\\', '/' and ':' ("ソ" is 0x83 0x5C in
// code page 932), so a path is only split where a whole character begins.
// In a single-byte code page and in UTF-8 no byte is a lead byte: a UTF-8
// character is made of bytes of 0x80 and above only.
class LeadBytes {
public:
    constexpr LeadBytes() = default;

    // Marks the bytes first to last as lead bytes.
    void add(unsigned char first, unsigned char last);
    bool isLead(char c) const
    {
        const auto byte = static_cast<unsigned char>(c);
        return (bits_[byte / 32] >> (byte % 32)) & 1u;
    }
    // The character after the one at text, which is not the terminator; a
    // lead byte right before the terminator is a character of its own.
    const char *next(const char *text) const { return isLead(text[0]) && text[1] ? text + 2 : text + 1; }

private:
    std::uint32_t bits_[8] = {};
};

// The rule of a code page without lead bytes.
inline constexpr LeadBytes SingleByteCharacters{};
