#pragma once
#include "catalogue/CatalogueEntry.h"
#include "net/Downloader.h"

// The folder the catalogue and the programs are fetched from: the built-in
// one, or the one an administrator set as the policy value UpdateFolder
// (text) under HKEY_LOCAL_MACHINE\Software\Policies\Corvel\Kestrel. Only
// that machine-wide key counts, so a user cannot change where Kestrel
// fetches from. The policy's address must pass the rules the build applies
// to the built-in one (isUpdateFolderAddress).
struct UpdateFolder {
    char url[Downloader::UrlBufferSize];
    // False when the policy's value breaks the rules; url then holds as much
    // of it as fits, for the window's information line.
    bool valid;
};

UpdateFolder readUpdateFolder(const char *builtIn);

// The longest folder address: the URL buffer less the longest file name and
// the terminator.
constexpr std::size_t LongestUpdateFolder = Downloader::UrlBufferSize - MaxFileNameLength - 1;
