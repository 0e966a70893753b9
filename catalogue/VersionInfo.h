#pragma once
#include "toolkit/KernelHandles.h"

#include <cstddef>

// Bytes for the text of a version made of four 16-bit parts, terminator included.
constexpr unsigned VersionTextSize = 24;

// The fixed file version and the US English / Windows-1252 CompanyName of a
// program file, read from its version resource. The CompanyName stays where
// the resource holds it, in the block this object owns, whatever its length.
class VersionInfo {
public:
    // True when the version could be read: versionText is then "a.b.c.d" and
    // company the whole CompanyName, empty if the file has none. False
    // otherwise, with both texts empty.
    bool read(const char *path);

    char versionText[VersionTextSize] = "";
    // Not necessarily terminated within companyLength bytes.
    const char *company = "";
    std::size_t companyLength = 0;

private:
    GlobalBlock block_;
};
