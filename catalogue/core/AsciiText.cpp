#include "catalogue/core/AsciiText.h"

void toLowerAscii(char *text)
{
    for (; *text != '\0'; ++text)
        if (*text >= 'A' && *text <= 'Z')
            *text = static_cast<char>(*text - 'A' + 'a');
}

const char *findSubstring(const char *text, const char *wanted)
{
    for (const char *start = text; *start != '\0'; ++start) {
        const char *t = start;
        const char *w = wanted;
        while (*w != '\0' && *t == *w) {
            ++t;
            ++w;
        }
        if (*w == '\0')
            return start;
    }
    return nullptr;
}
