#pragma once
#include <cstddef>

// How a download URL is taken apart: the server name runs from just after the
// first "//" (or from the start when there is none) up to the next '/';
// the object path is the rest, its leading '/' included.
struct UrlParts {
    const char *server;      // start of the server name inside the URL
    std::size_t serverLength;
    const char *objectPath;  // the rest of the URL; empty text when there is none
};

UrlParts splitUrl(const char *url);

// The last path component: what follows the last '\\', ':' or '/' that is not
// the URL's first character; the whole URL when there is none.
const char *lastPathComponent(const char *url);
