#pragma once
#include <string>

// Bytes for the text of a version made of four 16-bit parts, terminator included.
constexpr unsigned VersionTextSize = 24;

// Reads the fixed file version and the US English / Windows-1252
// CompanyName of a program file. 1 when the version could be read: versionText
// is then "a.b.c.d" and companyText the whole CompanyName, or empty if the
// file has none. 0 otherwise, with both texts empty.
int readVersionInfo(const char *path, char (&versionText)[VersionTextSize], std::string &companyText);
