#pragma once
#include <windows.h>

// The program files of a release: every *.exe directly in one folder, in
// name order with letter case ignored.
class ReleaseFolder {
public:
    // More programs than a catalogue can list are counted, not kept.
    static constexpr int Capacity = 100;

    struct Program {
        char name[MAX_PATH];
        char path[MAX_PATH];
        FILETIME lastWrite;
    };

    // False when the folder cannot be read (it does not exist, is no folder,
    // or a path inside it would be too long).
    bool read(const char *folder);

    Program programs[Capacity];
    int kept = 0;
    int found = 0;
};
