#pragma once

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

// The last step of replacing the running program at target with newCopy
// (a complete file in target's folder): target is renamed to its first
// old-program name that is free or can be made free, then newCopy is moved
// to target; if that move fails, the old program is renamed back. False, with
// the failing step's error as the last error, when target is not the new
// copy at the end.
bool moveOverRunningProgram(const char *newCopy, const char *target);

// Deletes the files beside the running program that carry its old-program
// names, silently; one that cannot be deleted (still running, say) is left.
void removeOldRunningPrograms();

// The two steps above for any files: whether two paths name one file, by
// identity; and the deletion of the old-program names of programPath.
bool sameFile(const char *first, const char *second);
void removeOldPrograms(const char *programPath);
