#include "toolkit/ResourceText.h"

#include "toolkit/core/TextWriter.h"

void loadMessageText(UINT id, char *text, int size)
{
    if (LoadStringA(GetModuleHandleA(nullptr), id, text, size) == 0)
        TextWriter(text, static_cast<std::size_t>(size)).text("Unknown error");
}
