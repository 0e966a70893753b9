#pragma once
#include <cstdint>

// The maker's test of a program file, for the search and for a download:
// true when its version information can be read and its CompanyName (US
// English, Windows-1252 strings) names the maker; version then holds its
// fixed file version, most significant part first.
bool readMakersVersion(const char *path, std::int32_t version[4]);
