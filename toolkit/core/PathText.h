#pragma once
#include "toolkit/core/LeadBytes.h"

#include <cstddef>

// Path and URL helpers shared by the scan, the update and the download.
// Separators are '\\', '/' and ':', found only where a character of the
// text's code page begins (see LeadBytes).

// The length of text up to and including its last separator that is not its
// first character; 0 when it has none.
std::size_t directoryLength(const char *text, const LeadBytes &leadBytes);

// Whether the last character of path is '\\' or '/', so that a name can
// follow it as it is.
bool endsInSeparator(const char *path, const LeadBytes &leadBytes);

// The size of a buffer for a path under the temporary folder: the folder's
// path and a file name in it, terminator included.
constexpr std::size_t PathBufferSize = 280;

// Cuts text in place just after its last separator found at a position after
// the first character; a text without one becomes empty.
void cutToDirectory(char *text, const LeadBytes &leadBytes);

// Copies what follows the last separator of path (the whole path when there
// is none) into out, at most outSize - 1 bytes and never half a character,
// always terminated.
void fileNameFromPath(const char *path, char *out, std::size_t outSize, const LeadBytes &leadBytes);
