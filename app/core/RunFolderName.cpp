#include "app/core/RunFolderName.h"

#include "toolkit/core/TextWriter.h"

#include <cstring>

bool runFolderPath(const char *folder, unsigned number, char *out, std::size_t outSize)
{
    std::size_t digits = 1;
    for (unsigned rest = number; rest >= 10; rest /= 10)
        ++digits;
    const std::size_t length = std::strlen(folder) + sizeof RunFolderPrefix - 1 + digits + 1;
    if (length >= outSize) {
        if (outSize > 0)
            out[0] = '\0';
        return false;
    }
    TextWriter(out, outSize).text(folder).text(RunFolderPrefix).number(number).text("\\");
    return true;
}
