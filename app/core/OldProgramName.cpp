#include "app/core/OldProgramName.h"

#include <cstring>

bool oldProgramName(const char *programPath, int number, char *out, std::size_t outSize)
{
    if (outSize == 0)
        return false;
    out[0] = '\0';
    if (number < 1 || number > OldProgramNameCount || programPath[0] == '\0')
        return false;
    char suffix[] = ".old?";
    if (number == 1)
        suffix[4] = '\0';
    else
        suffix[4] = static_cast<char>('0' + number);
    const std::size_t pathLength = std::strlen(programPath);
    const std::size_t suffixLength = std::strlen(suffix);
    if (pathLength + suffixLength >= outSize)
        return false;
    std::memcpy(out, programPath, pathLength);
    std::memcpy(out + pathLength, suffix, suffixLength + 1);
    return true;
}
