#include "toolkit/core/PathText.h"

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

// Just after the last separator at or after position from; 0 when none.
std::size_t afterLastSeparator(const char *text, std::size_t from, const LeadBytes &leadBytes)
{
    std::size_t after = 0;
    for (const char *p = text; *p; p = leadBytes.next(p)) {
        if (isSeparator(*p) && static_cast<std::size_t>(p - text) >= from)
            after = static_cast<std::size_t>(p - text) + 1;
    }
    return after;
}

} // namespace

std::size_t directoryLength(const char *text, const LeadBytes &leadBytes)
{
    return afterLastSeparator(text, 1, leadBytes);
}

bool endsInSeparator(const char *path, const LeadBytes &leadBytes)
{
    bool separated = false;
    for (const char *p = path; *p; p = leadBytes.next(p))
        separated = *p == '\\' || *p == '/';
    return separated;
}

void cutToDirectory(char *text, const LeadBytes &leadBytes)
{
    text[directoryLength(text, leadBytes)] = '\0';
}

void fileNameFromPath(const char *path, char *out, std::size_t outSize, const LeadBytes &leadBytes)
{
    if (outSize == 0)
        return;
    const char *name = path + afterLastSeparator(path, 0, leadBytes);
    std::size_t n = 0;
    // A character that would not fit whole is left out whole.
    for (std::size_t size; name[n] && n + (size = leadBytes.next(name + n) - (name + n)) < outSize; n += size) {
        for (std::size_t i = 0; i < size; ++i)
            out[n + i] = name[n + i];
    }
    out[n] = '\0';
}
