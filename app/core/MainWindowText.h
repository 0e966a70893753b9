#pragma once
#include <cstddef>

// Texts and size rules of the main window, free of the platform.

// The drives the program lists and searches, as indexes into its DriveCount
// drive flags (0 for A:): C: to Z:. A: and B: never, even when fixed.
constexpr int FirstSearchedDrive = 2;
constexpr int DriveCount = 26;

// The root folder of a drive index: "C:\" for 2.
void driveRoot(int index, char (&root)[4]);

// Appends "X " to line (at most lineSize - 1 characters, always terminated)
// for each searched drive whose flag is set.
void appendDriveLetters(char *line, std::size_t lineSize, const int fixedDrive[DriveCount]);

// Whether a temporary folder of folderLength characters, as GetTempPathA
// reported it, and a file name of MaxFileNameLength characters fit a working
// path buffer of pathSize bytes. A length of 0 (the call failed) never fits.
// An Update's own folder in it may leave no room for a long name: that one
// program's download then cannot be created.
bool temporaryFolderFits(std::size_t folderLength, std::size_t pathSize);

// "<count> files" into out (outSize bytes, always terminated).
void formatFileCount(long count, char *out, std::size_t outSize);

// The height of a list line from the display font's metrics, kept to 16 bits.
unsigned listLineHeight(long textHeight, long externalLeading);
