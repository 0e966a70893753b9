#include "toolkit/core/PathText.h"

#include <cstring>

namespace {
bool isSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }
}

void cutToDirectory(char *text)
{
    std::size_t length = std::strlen(text);
    for (std::size_t i = length; i > 1; --i) {
        if (isSeparator(text[i - 1])) {
            text[i] = '\0';
            return;
        }
    }
    text[0] = '\0';
}

void fileNameFromPath(const char *path, char *out, std::size_t outSize)
{
    if (outSize == 0)
        return;
    const char *name = path;
    for (const char *p = path; *p; ++p) {
        if (isSeparator(*p))
            name = p + 1;
    }
    std::size_t n = 0;
    while (name[n] && n < outSize - 1) {
        out[n] = name[n];
        ++n;
    }
    out[n] = '\0';
}
