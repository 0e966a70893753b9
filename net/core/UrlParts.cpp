#include "net/core/UrlParts.h"

#include <cstring>

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
