#pragma once
#include "toolkit/core/LeadBytes.h"

#include <cstddef>

// Cuts buffer back to its folder (just after its last '\\', '/' or ':', as
// cutToDirectory finds it with leadBytes) and
// appends name. The buffer holds capacity bytes: when folder and name do not
// fit, the buffer keeps just the folder and the result is false.
bool replaceFileName(char *buffer, std::size_t capacity, const char *name, const LeadBytes &leadBytes);
