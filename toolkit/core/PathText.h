#pragma once
#include <cstddef>

// Path and URL helpers shared by the scan, the update and the download.
// Separators are '\\', '/' and ':'.

// Cuts text in place just after its last separator found at a position after
// the first character; a text without one becomes empty.
void cutToDirectory(char *text);

// Copies what follows the last separator of path (the whole path when there
// is none) into out, at most outSize - 1 characters, always terminated.
void fileNameFromPath(const char *path, char *out, std::size_t outSize);
