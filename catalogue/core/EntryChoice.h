#pragma once
#include <cstdint>

// The platform's file attribute bits that decide what the search takes.
namespace FileAttribute {
constexpr std::uint32_t System = 0x4;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t ReparsePoint = 0x400;
}

// Whether the search enters a subfolder listed with these attributes and
// this name: never "." and "..", nor any other name beginning with ".";
// system folders only when asked to; and no folder that is a reparse point:
// a junction, directory link or mount point leads to something that is either
// searched where it lies or is not on this drive at all.
bool isEnterableFolder(const char *name, std::uint32_t attributes, std::uint32_t reparseTag,
                       int includeSystemFolders);
