#pragma once
#include "toolkit/core/FileAttributes.h"

#include <cstdint>

// The bit of a reparse tag that marks it a name surrogate: the reparse point
// stands for another named entity (a junction, directory link or mount point).
constexpr std::uint32_t NameSurrogateTagBit = 0x20000000;

// Whether the search enters a subfolder listed with these attributes, this
// reparse tag and this name: never "." and "..", nor any other name
// beginning with "."; system folders only when asked to. Of the folders that
// are reparse points it enters only those whose tag says what they are and
// is no name surrogate, such as a folder kept in sync with a cloud drive: a
// junction, directory link or mount point leads to something that is either
// searched where it lies or is not on this drive at all, and a reparse point
// whose tag is 0 (the platform did not say; Wine never does) is taken for one.
bool isEnterableFolder(const char *name, std::uint32_t attributes, std::uint32_t reparseTag,
                       int includeSystemFolders);

// Whether a file may be opened to read its contents: not when they are kept
// elsewhere (a cloud drive's placeholder, a virtualised file not yet filled
// in, a file moved to offline storage), where opening it or reading even its
// version would fetch the whole file first.
bool hasContentsHere(std::uint32_t attributes);
