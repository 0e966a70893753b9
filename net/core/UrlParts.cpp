#include "net/core/UrlParts.h"

#include "toolkit/core/PathText.h"

#include <cstring>

namespace {
constexpr unsigned HttpPort = 80;
constexpr unsigned HttpsPort = 443;
constexpr unsigned LargestPort = 65535;

bool needsEscape(unsigned char c)
{
    return c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '#' || c == '%';
}

bool isSecureScheme(const char *url, const char *slashes)
{
    static const char https[] = "https:";
    if (slashes - url != static_cast<std::ptrdiff_t>(sizeof https - 1))
        return false;
    for (std::size_t i = 0; i + 1 < sizeof https; ++i) {
        char c = url[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != https[i])
            return false;
    }
    return true;
}

// The port written from first to end, or 0 when that is not a number from 1
// to 65535; an empty port means the scheme's own.
unsigned parsePort(const char *first, const char *end, unsigned defaultPort)
{
    if (first == end)
        return defaultPort;
    unsigned port = 0;
    for (const char *p = first; p != end; ++p) {
        if (*p < '0' || *p > '9')
            return 0;
        port = port * 10 + static_cast<unsigned>(*p - '0');
        if (port > LargestPort)
            return 0;
    }
    return port;
}
}

UrlParts splitUrl(const char *url)
{
    const char *slashes = std::strstr(url, "//");
    const char *server = slashes ? slashes + 2 : url;
    const char *pathStart = std::strchr(server, '/');
    const char *serverEnd = pathStart ? pathStart : server + std::strlen(server);
    UrlParts parts;
    parts.secure = slashes && isSecureScheme(url, slashes);
    parts.port = parts.secure ? HttpsPort : HttpPort;
    parts.server = server;
    parts.serverLength = static_cast<std::size_t>(serverEnd - server);
    parts.objectPath = serverEnd;
    // The last colon, unless a bracketed address closes after it.
    for (const char *p = serverEnd; p != server; --p) {
        if (p[-1] == ']')
            break;
        if (p[-1] == ':') {
            parts.serverLength = static_cast<std::size_t>(p - 1 - server);
            parts.port = parsePort(p, serverEnd, parts.port);
            break;
        }
    }
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

const char *lastPathComponent(const char *url, const LeadBytes &leadBytes)
{
    return url + directoryLength(url, leadBytes);
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
