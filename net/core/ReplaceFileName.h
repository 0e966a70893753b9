#pragma once
#include <cstddef>

// Cuts buffer back to its folder (just after its last '\\', '/' or ':') and
// appends name. The buffer holds capacity bytes: when folder and name do not
// fit, the buffer keeps just the folder and the result is false.
bool replaceFileName(char *buffer, std::size_t capacity, const char *name);
