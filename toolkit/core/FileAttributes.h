#pragma once
#include <cstdint>

// The platform's file attribute bits, as the platform-free code sees them.
namespace FileAttribute {
constexpr std::uint32_t ReadOnly = 0x1;
constexpr std::uint32_t Hidden = 0x2;
constexpr std::uint32_t System = 0x4;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t ReparsePoint = 0x400;
constexpr std::uint32_t Offline = 0x1000;
// In a directory listing this bit is the recall-on-open attribute (elsewhere
// the same value means a file with extended attributes).
constexpr std::uint32_t RecallOnOpen = 0x40000;
constexpr std::uint32_t RecallOnDataAccess = 0x400000;
}

#ifdef _WIN32
#include <windows.h>
// Some are missing from older headers.
#ifndef FILE_ATTRIBUTE_RECALL_ON_OPEN
#define FILE_ATTRIBUTE_RECALL_ON_OPEN 0x00040000
#endif
#ifndef FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS
#define FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS 0x00400000
#endif
static_assert(FileAttribute::ReadOnly == FILE_ATTRIBUTE_READONLY && FileAttribute::Hidden == FILE_ATTRIBUTE_HIDDEN &&
                  FileAttribute::System == FILE_ATTRIBUTE_SYSTEM &&
                  FileAttribute::Directory == FILE_ATTRIBUTE_DIRECTORY &&
                  FileAttribute::ReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT &&
                  FileAttribute::Offline == FILE_ATTRIBUTE_OFFLINE &&
                  FileAttribute::RecallOnOpen == FILE_ATTRIBUTE_RECALL_ON_OPEN &&
                  FileAttribute::RecallOnDataAccess == FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS,
              "the core's attribute bits are the platform's");
#endif
