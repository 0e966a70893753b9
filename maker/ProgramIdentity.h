#pragma once
#include "catalogue/VersionInfo.h"

#include <string>

// Whether a program file is one Kestrel takes for the maker's, decided by
// Kestrel's own identification.
enum class ProgramIdentity {
    NoVersion,  // no version resource with a fixed file version
    OtherMaker, // its CompanyName does not name the maker, or it has none
    Makers,
};

// versionText receives the fixed file version as a.b.c.d and company the
// CompanyName, both empty without a version resource.
ProgramIdentity identifyProgram(const char *path, char (&versionText)[VersionTextSize], std::string &company);
