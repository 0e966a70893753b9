#pragma once
#include <cstddef>

// What an update folder's address must be for the download to reach it and
// append file names to it: "http://" or "https://", a host name without "/",
// ":", "@", "?" or "#" (so no user name and no IPv6 literal), an optional
// ":port" of digits naming a port from 1 to 65535, then a path ending in "/";
// no "%" anywhere (the file names appended are escaped, "%" included, and the
// server decodes the whole path), and at most longest characters in all. The
// build checks its built-in address by these rules
// (cmake/KestrelServerAddress.cmake), and the program an administrator's.
bool isUpdateFolderAddress(const char *text, std::size_t longest);
