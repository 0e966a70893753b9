#pragma once
#include <cstddef>

#include "app/core/ReplaceReason.h"

// The first line of the box of a program that could not be replaced.
extern const char CantReplaceThisFile[];

// That line, then the reason as a second paragraph.
void replaceFailureText(const ReplaceFacts &facts, char *text, std::size_t size);
