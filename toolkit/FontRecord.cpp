#include "toolkit/FontRecord.h"

#include <cstring>

void FontRecord::clear()
{
    std::memset(&logFont, 0, sizeof logFont);
    font = nullptr;
    textColour = 0;
}

void FontRecord::createPointFont(HDC deviceContext, const char *faceName, int points)
{
    if (faceName && faceName[0]) {
        std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
        logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    }
    logFont.lfHeight = -MulDiv(points, GetDeviceCaps(deviceContext, LOGPIXELSY), 72);
    createFont(deviceContext);
}

void FontRecord::createFont(HDC)
{
    font = CreateFontIndirectA(&logFont);
}
