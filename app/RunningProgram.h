#pragma once
#include <windows.h>

// The program file this process runs from. Windows neither overwrites nor
// deletes a running program, but it lets one be renamed: an update moves the
// running file aside under an old-program name (app/core/OldProgramName.h)
// and the new copy in under its name, and the next start deletes what was
// moved aside.

// True when path names the file this process runs from. Files are compared by
// identity (volume serial number and file index), not by their path texts,
// so another drive letter, a short name or a folder link to the same file
// counts. The running file's identity is taken at the first call and kept,
// so after it has been moved aside a new copy under its old path is not it.
bool isRunningProgram(const char *path);

// The last step of replacing the running program, name in folder (a handle
// on the folder, held), with newCopy (a complete file in that folder, opened
// with DELETE access), through handles alone: program (a handle on the
// running file) is renamed to its first old-program name that is free or can
// be made free, then newCopy is renamed to name; if that fails, the old
// program is renamed back. False, with the failing step's error as the last
// error, when newCopy is not the program at the end.
bool moveOverRunningProgram(HANDLE newCopy, HANDLE program, HANDLE folder, const char *name);

// Deletes the files beside the running program's own file (found through a
// handle on it, not by the launch path) that carry its old-program names,
// silently, each through a handle and only when it is a plain file lying
// there: a link under such a name, and one that cannot be deleted (still
// running, say), is left.
void removeOldRunningPrograms();

// Whether two paths name one file, by identity; and the deletion of the
// old-program names of the program programPath leads to.
bool sameFile(const char *first, const char *second);
void removeOldPrograms(const char *programPath);
