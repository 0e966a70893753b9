#include "net/core/ReplaceFileName.h"

#include "toolkit/core/PathText.h"

#include <cstring>

bool replaceFileName(char *buffer, std::size_t capacity, const char *name, const LeadBytes &leadBytes)
{
    cutToDirectory(buffer, leadBytes);
    std::size_t folder = std::strlen(buffer);
    std::size_t length = std::strlen(name);
    if (folder + length >= capacity)
        return false;
    std::memcpy(buffer + folder, name, length + 1);
    return true;
}
