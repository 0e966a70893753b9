#pragma once
#include <windows.h>

// Puts newFile over the installed program at target so that target is, at every
// moment and whatever fails, either the old program byte for byte or the
// complete new file. The new copy is built beside the target under a unique
// temporary name, stamped with `stamp` (creation, access and write time) and
// then moved over the target in one step; on any failure the temporary copy
// is removed and the target is left alone.
//
// Refused without touching anything: a target that is missing, a folder, or
// carries the read-only or hidden attribute (Windows refuses to overwrite
// those; Wine running as root does not, so the attributes are checked here).
// The program this process runs from is moved aside for the new copy
// (app/RunningProgram.h); any other target that is running or held open
// without sharing makes the final move fail and is refused too, and so is one
// in a folder path (with its final backslash) longer than MAX_PATH - 14
// characters, where the temporary copy's name cannot be made.
bool replaceProgramFile(const char *newFile, const char *target, const FILETIME &stamp);
