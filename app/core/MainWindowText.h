#pragma once
#include <cstddef>

// Texts and size rules of the main window, free of the platform.

// Appends "X " to line (at most lineSize - 1 characters, always terminated)
// for each drive index 2 (C) to 25 (Z) whose flag is set; A and B never appear.
void appendDriveLetters(char *line, std::size_t lineSize, const int fixedDrive[26]);

// Whether a temporary folder of folderLength characters, as GetTempPathA
// reported it, an Update's own folder in it and a file name of
// MaxFileNameLength characters fit a working path buffer of pathSize bytes.
// A length of 0 (the call failed) never fits.
bool temporaryFolderFits(std::size_t folderLength, std::size_t pathSize);

// "<count> files" into out (outSize bytes, always terminated).
void formatFileCount(long count, char *out, std::size_t outSize);

// The height of a list line from the display font's metrics, kept to 16 bits.
unsigned listLineHeight(long textHeight, long externalLeading);
