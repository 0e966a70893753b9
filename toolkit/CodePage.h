#pragma once
#include "toolkit/core/LeadBytes.h"

// The lead bytes of a code page, as IsDBCSLeadByteEx gives them.
LeadBytes leadBytesOf(unsigned codePage);

// The lead bytes of the code page the program's ANSI texts are in (GetACP:
// UTF-8 where the manifest's setting is honoured, else the system's).
const LeadBytes &programLeadBytes();
