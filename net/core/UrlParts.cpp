#include "net/core/UrlParts.h"

#include <cstring>

namespace {
bool needsEscape(unsigned char c)
{
    return c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '#' || c == '%';
}
}

UrlParts splitUrl(const char *url)
{
    const char *slashes = std::strstr(url, "//");
    const char *server = slashes ? slashes + 2 : url;
    const char *pathStart = std::strchr(server, '/');
    UrlParts parts;
    parts.server = server;
    parts.serverLength = pathStart ? static_cast<std::size_t>(pathStart - server) : std::strlen(server);
    parts.objectPath = pathStart ? pathStart : server + parts.serverLength;
    return parts;
}

bool copyServerName(const UrlParts &parts, char *out, std::size_t outSize)
{
    if (outSize == 0)
        return false;
    out[0] = '\0';
    if (parts.serverLength >= outSize)
        return false;
    std::memcpy(out, parts.server, parts.serverLength);
    out[parts.serverLength] = '\0';
    return true;
}

const char *lastPathComponent(const char *url)
{
    std::size_t length = std::strlen(url);
    for (std::size_t i = length; i > 1; --i) {
        char c = url[i - 1];
        if (c == '\\' || c == ':' || c == '/')
            return url + i;
    }
    return url;
}

std::size_t escapedObjectPathSize(const char *path)
{
    std::size_t size = 1;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(path); *p; ++p)
        size += needsEscape(*p) ? 3 : 1;
    return size;
}

bool escapeObjectPath(const char *path, char *out, std::size_t outSize)
{
    static const char hex[] = "0123456789ABCDEF";
    if (outSize == 0)
        return false;
    if (escapedObjectPathSize(path) > outSize) {
        out[0] = '\0';
        return false;
    }
    char *o = out;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(path); *p; ++p) {
        if (needsEscape(*p)) {
            *o++ = '%';
            *o++ = hex[*p >> 4];
            *o++ = hex[*p & 0x0F];
        } else {
            *o++ = static_cast<char>(*p);
        }
    }
    *o = '\0';
    return true;
}
