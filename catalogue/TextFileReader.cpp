#include "catalogue/TextFileReader.h"

#include "toolkit/BriefHoldRetry.h"

int TextFileReader::openFile(const char *path, std::uint32_t limit)
{
    lineLimit = limit;
    // The catalogue has just been downloaded: a scanner may still hold it.
    FileHandle file(openJustWrittenFile(path, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!file.valid()) {
        release();
        return 0;
    }
    DWORD sizeHigh = 0;
    const DWORD size = GetFileSize(file.get(), &sizeHigh);
    release();
    // An unreadable size comes back as INVALID_FILE_SIZE, far above the limit.
    if (sizeHigh != 0 || size > MaxFileSize)
        return 0;
    // Two zero bytes after the contents keep the block a terminated text.
    if (!block_.allocate(GMEM_FIXED | GMEM_ZEROINIT, size + 2))
        return 0;
    DWORD bytesRead = 0;
    if (!ReadFile(file.get(), block_.get(), size, &bytesRead, nullptr)) {
        release();
        return 0;
    }
    file.close();
    dataSize = bytesRead;
    cursor = data();
    end = data() + bytesRead;
    return 1;
}

void TextFileReader::release()
{
    block_.free();
    dataSize = 0;
    cursor = nullptr;
    end = nullptr;
}
