#include "app/core/LogText.h"

namespace {

bool breaksLine(char c)
{
    return c == '\r' || c == '\n' || c == '\t';
}

} // namespace

void flattenLogText(char *text)
{
    char *out = text;
    for (const char *in = text; *in;) {
        if (!breaksLine(*in)) {
            *out++ = *in++;
            continue;
        }
        while (breaksLine(*in))
            ++in;
        if (*in && out != text && out[-1] != ' ')
            *out++ = ' ';
    }
    *out = '\0';
}
