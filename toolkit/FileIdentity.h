#pragma once
#include <windows.h>

// A file's identity: its volume's serial number and its index on that
// volume. Two handles name one file exactly when their identities are
// equal, whatever path reached them: another letter case, a short name, a
// SUBST drive or a folder link. Paths are never compared for this.
struct FileIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
};

bool readFileIdentity(HANDLE file, FileIdentity &identity);

// The identity of what path leads to, links followed; no access is asked
// and every sharing allowed, so any file or folder will do, a running
// program included.
bool identityOfPath(const char *path, FileIdentity &identity);

bool sameIdentity(const FileIdentity &first, const FileIdentity &second);
