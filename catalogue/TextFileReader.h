#pragma once
#include "catalogue/core/LineReader.h"
#include "toolkit/KernelHandles.h"

#include <cstdint>

// A whole text file loaded in one read, handed out line by line. The block
// lives until release, the next openFile, or the end of the reader.
class TextFileReader : public LineReader {
public:
    // Files above this size are refused: a catalogue is a few kilobytes.
    static constexpr std::uint32_t MaxFileSize = 1024 * 1024;

    // Loads the file at path; lines will fit buffers of lineLimit bytes.
    // 1 on success; 0 if the file cannot be opened, is too large, the memory
    // cannot be had or the read fails, and then nothing stays loaded.
    int openFile(const char *path, std::uint32_t lineLimit);
    void release();

    const char *data() const { return static_cast<const char *>(block_.get()); }
    std::uint32_t dataSize = 0;

private:
    GlobalBlock block_;
};
