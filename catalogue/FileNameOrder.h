#pragma once

// Program file names compared as the file system compares them: ordinally,
// letter case ignored by the system's own case table (CompareStringOrdinal),
// on the names converted from the program's code page. Not lstrcmpiA, which
// follows the user's locale (on a Turkish system "INSTALL.EXE" and
// "install.exe" differ there), nor a linguistic comparison, which calls
// "Straße.exe" and "Strasse.exe" the same. A name the code page cannot
// convert equals only itself, byte for byte, and comes after every other.

// Less than 0, 0 or greater than 0 as a comes before, is the same as or
// comes after b.
int compareFileNames(const char *a, const char *b);

// True when two names name the same file: the entry lookup, the checksum
// and size lines and the maker's tool all ask this.
bool sameFileName(const char *a, const char *b);
