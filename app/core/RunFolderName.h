#pragma once
#include <cstddef>

// Each Update keeps its downloaded programs in a folder of its own under the
// temporary folder, named RunFolderPrefix and a number from 1 to
// MaxRunFolderNumber, the first whose folder does not exist yet. Short, so that
// it leaves the downloads' names as much of the working path as it can.
constexpr char RunFolderPrefix[] = "K";
constexpr unsigned MaxRunFolderNumber = 9999;

// "<folder><prefix><number>\" into out (outSize bytes); false, with out
// empty, when it does not fit.
bool runFolderPath(const char *folder, unsigned number, char *out, std::size_t outSize);
