#pragma once
#include <cstddef>

// Path and URL helpers shared by the scan, the update and the download.
// Separators are '\\', '/' and ':'.

// The size of a buffer for a path under the temporary folder: the folder's
// path and a file name in it, terminator included.
constexpr std::size_t PathBufferSize = 280;

// Cuts text in place just after its last separator found at a position after
// the first character; a text without one becomes empty.
void cutToDirectory(char *text);

// Copies what follows the last separator of path (the whole path when there
// is none) into out, at most outSize - 1 characters, always terminated.
void fileNameFromPath(const char *path, char *out, std::size_t outSize);
