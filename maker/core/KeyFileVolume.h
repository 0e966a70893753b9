#pragma once

// Whether a volume can hold the key file: only one that keeps access lists
// (FILE_PERSISTENT_ACLS among its file system flags) can keep the file from
// other accounts. FAT and exFAT, the file systems of most sticks, cannot:
// there every account reads every file.

// The platform's FILE_PERSISTENT_ACLS flag.
constexpr unsigned long PersistentAccessListsFlag = 0x00000008;

bool keepsAccessLists(unsigned long fileSystemFlags);
