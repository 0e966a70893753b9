#pragma once
#include "toolkit/FileIdentity.h"

#include <cstddef>

// Steps on files taken through handles, so that no link planted on a path
// and no folder renamed above one can send them to another file.

// The handle's final path as the platform gives it ("\\?\C:\..."); false
// when it does not fit size bytes.
bool finalPathOf(HANDLE file, char *out, std::size_t size);

// True when file lies in folder under name: its final path is the folder's
// final path, a backslash and name (letter case as the platform gives it).
bool liesInFolder(HANDLE file, HANDLE folder, const char *name);

// Renames file (opened with DELETE access) to name in folder (a handle on
// it), replacing a file of that name when replace is set: the rename of
// SetFileInformationByHandle with the folder as its root, so no path is
// looked up. Wine's refuses a name relative to a root (87); the same record
// then goes to the layer below it (NtSetInformationFile), still by handle.
// A file of that name that is open anywhere is not replaced (5).
bool moveIntoFolder(HANDLE file, HANDLE folder, const char *name, bool replace);

// Marks file (opened with DELETE access) for deletion; it goes when its
// last handle closes.
bool removeByHandle(HANDLE file);

// Opens name in folder without following a final link, and removes it
// through that handle when it is a plain file (no reparse point) lying
// there under that name. Anything else is left untouched.
bool removePlainFileIn(HANDLE folder, const char *name);

// Opens path without following a final link, and removes it through that
// handle when it is a plain file or an empty folder with the kept identity.
bool removeIfStill(const char *path, const FileIdentity &kept);
