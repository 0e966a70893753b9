#include "catalogue/core/LineReader.h"

LineReader::LineReader(const char *data, std::size_t size, std::uint32_t limit)
    : cursor(data), end(data + size), lineLimit(limit)
{
}

int LineReader::readLine(char *buffer)
{
    truncated = 0;
    const std::uint32_t room = lineLimit > 0 ? lineLimit - 1 : 0;
    std::uint32_t column = 0;
    while (cursor != end && column < room) {
        const char c = *cursor++;
        if (c == '\r')
            continue;
        if (c == '\n')
            break;
        if (c == '\t' && expandTabs && tabWidth > 0) {
            std::uint32_t spaces = tabWidth - column % tabWidth;
            while (spaces-- > 0 && column < room)
                buffer[column++] = ' ';
        } else {
            buffer[column++] = c;
        }
        if (column == room) {
            truncated = 1;
            break;
        }
    }
    if (lineLimit > 0)
        buffer[column] = '\0';
    return static_cast<int>(column);
}
