#include "app/core/MainWindowText.h"
#include "catalogue/CatalogueEntry.h"
#include "toolkit/core/TextWriter.h"

#include <cstring>

void driveRoot(int index, char (&root)[4])
{
    root[0] = static_cast<char>('A' + index);
    root[1] = ':';
    root[2] = '\\';
    root[3] = '\0';
}

void appendDriveLetters(char *line, std::size_t lineSize, const int fixedDrive[DriveCount])
{
    if (lineSize == 0)
        return;
    std::size_t length = std::strlen(line);
    for (int index = FirstSearchedDrive; index < DriveCount; ++index) {
        if (!fixedDrive[index])
            continue;
        if (length + 2 >= lineSize)
            break;
        line[length++] = char('A' + index);
        line[length++] = ' ';
        line[length] = '\0';
    }
}

bool temporaryFolderFits(std::size_t folderLength, std::size_t pathSize)
{
    return folderLength > 0 && folderLength + MaxFileNameLength < pathSize;
}

void formatFileCount(long count, char *out, std::size_t outSize)
{
    TextWriter(out, outSize).number(count).text(" files");
}

unsigned listLineHeight(long textHeight, long externalLeading)
{
    return static_cast<unsigned>(textHeight + externalLeading + 4) & 0xFFFFu;
}
