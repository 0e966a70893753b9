#include "net/core/UpdateFolderAddress.h"

#include <cstring>

namespace {

const char *afterScheme(const char *text)
{
    if (std::strncmp(text, "http://", 7) == 0)
        return text + 7;
    if (std::strncmp(text, "https://", 8) == 0)
        return text + 8;
    return nullptr;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool isUpdateFolderAddress(const char *text, std::size_t longest)
{
    const std::size_t length = std::strlen(text);
    if (length > longest || std::strchr(text, '%') || length == 0 || text[length - 1] != '/')
        return false;
    const char *at = afterScheme(text);
    if (!at)
        return false;
    const std::size_t host = std::strcspn(at, "/:@?#");
    if (host == 0)
        return false;
    at += host;
    if (*at == ':') {
        ++at;
        unsigned long port = 0;
        const char *digits = at;
        for (; isDigit(*at); ++at) {
            // Leading zeros are allowed; past 65535 the number is no port.
            port = port * 10 + static_cast<unsigned long>(*at - '0');
            if (port > 65535)
                return false;
        }
        if (at == digits || port == 0)
            return false;
    }
    return *at == '/';
}
