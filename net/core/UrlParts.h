#pragma once
#include "toolkit/core/LeadBytes.h"

#include <cstddef>

// How a download URL is taken apart: the server part runs from just after the
// first "//" (or from the start when there is none) up to the next '/'; the
// object path is the rest, its leading '/' included. A ":port" at the end of
// the server part is the port, not part of the host name (a bracketed IPv6
// address keeps its own colons). "https:" before the "//", in any case,
// makes the request secure; any other scheme, or none, is plain HTTP.
struct UrlParts {
    const char *server;      // start of the host name inside the URL
    std::size_t serverLength;
    unsigned port;           // the URL's port, else 443 when secure, else 80; 0 when the
                             // port is not a number from 1 to 65535
    bool secure;
    const char *objectPath;  // the rest of the URL; empty text when there is none
};

UrlParts splitUrl(const char *url);

// Longest server name the download accepts (the platform's URL limit).
constexpr std::size_t MaxServerNameLength = 2083;

// Copies the host name into out as a terminated text. False, with out
// empty, when it needs more than outSize - 1 characters.
bool copyServerName(const UrlParts &parts, char *out, std::size_t outSize);

// The last path component: what follows the last '\\', ':' or '/' that is not
// the URL's first character (see directoryLength); the whole URL when there
// is none.
const char *lastPathComponent(const char *url, const LeadBytes &leadBytes);

// Room escapeObjectPath needs for path, terminator included.
std::size_t escapedObjectPathSize(const char *path);

// Percent-encodes the characters a request line cannot carry as they are
// (spaces, controls, bytes above 0x7E, '"', '<', '>', '#') and '%' itself, so
// a file name such as "Other Tool.exe" or "A%41.exe" reaches the server as
// that very name: the server decodes every escape, and a '%' sent as it is
// would name another file. The folder address holds no '%' (the build
// refuses one), so nothing arrives here already escaped. False, with out
// empty, when the result needs more than outSize - 1 characters.
bool escapeObjectPath(const char *path, char *out, std::size_t outSize);
