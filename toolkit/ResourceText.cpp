#include "toolkit/ResourceText.h"

#include "toolkit/core/TextWriter.h"

namespace {
const char UnknownError[] = "Unknown error";
}

void loadMessageText(UINT id, char *text, int size)
{
    if (LoadStringA(GetModuleHandleA(nullptr), id, text, size) == 0)
        TextWriter(text, static_cast<std::size_t>(size)).text(UnknownError);
}

void loadSystemErrorText(DWORD error, char *text, int size)
{
    DWORD length = 0;
    // 0 is "success", which explains no failure.
    if (error != 0)
        length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                static_cast<DWORD>(size), nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
        text[--length] = '\0';
    if (length == 0)
        TextWriter(text, static_cast<std::size_t>(size)).text(UnknownError);
}
