#pragma once
#include <cstdint>

// A downloaded file may replace installed programs only when it is the program
// the catalogue promised: its version information must be readable, its
// CompanyName (US English, Windows-1252 strings) must name the maker (letter
// case ignored) and its fixed file version must equal the catalogue's. An
// error page, a cut-off file or another program fails.
bool isPromisedProgram(const char *path, const std::int32_t catalogueVersion[4]);

