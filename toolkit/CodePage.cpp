#include "toolkit/CodePage.h"

#include <windows.h>

LeadBytes leadBytesOf(unsigned codePage)
{
    LeadBytes leadBytes;
    // Every byte of a UTF-8 character is 0x80 or above, so UTF-8 needs no
    // stepping over characters; only the double-byte code pages have lead
    // bytes, and all of them at 0x80 or above.
    if (codePage == CP_UTF8)
        return leadBytes;
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(byte)))
            leadBytes.add(static_cast<unsigned char>(byte), static_cast<unsigned char>(byte));
    }
    return leadBytes;
}

const LeadBytes &programLeadBytes()
{
    static const LeadBytes leadBytes = leadBytesOf(GetACP());
    return leadBytes;
}
