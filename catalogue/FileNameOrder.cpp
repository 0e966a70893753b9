#include "catalogue/FileNameOrder.h"

#include <windows.h>

#include <cstring>

namespace {

// The name in UTF-16 and its length; 0 when it cannot be converted or does
// not fit a path.
int wideName(const char *name, wchar_t (&wide)[MAX_PATH])
{
    const int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, wide, MAX_PATH);
    return size > 0 ? size - 1 : 0;
}

} // namespace

int compareFileNames(const char *a, const char *b)
{
    wchar_t wideA[MAX_PATH], wideB[MAX_PATH];
    const int lengthA = wideName(a, wideA);
    const int lengthB = wideName(b, wideB);
    // Names that cannot be converted come after all others, in byte order,
    // so that the order stays one a sort can rely on.
    const bool unconvertedA = lengthA == 0 && a[0], unconvertedB = lengthB == 0 && b[0];
    if (unconvertedA || unconvertedB)
        return unconvertedA && unconvertedB ? std::strcmp(a, b) : unconvertedA ? 1 : -1;
    switch (CompareStringOrdinal(wideA, lengthA, wideB, lengthB, TRUE)) {
    case CSTR_LESS_THAN:
        return -1;
    case CSTR_EQUAL:
        return 0;
    default:
        return 1;
    }
}

bool sameFileName(const char *a, const char *b)
{
    return compareFileNames(a, b) == 0;
}
