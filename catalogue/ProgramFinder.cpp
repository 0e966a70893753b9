#include "catalogue/ProgramFinder.h"

#include "catalogue/Catalogue.h"
#include "toolkit/ListBoxControl.h"
#include "toolkit/MessagePump.h"
#include "toolkit/MonotonicClock.h"
#include "toolkit/StatusBar.h"

#include <cstring>

void ProgramFinder::attach(Catalogue &catalogue, ListBoxControl &list, StatusBar &statusBar)
{
    catalogue_ = &catalogue;
    list_ = &list;
    statusBar_ = &statusBar;
}

void ProgramFinder::onBackInFolder()
{
    std::uint64_t now = microsecondsNow();
    if (folderShown_ && now >= folderShownAt_ && now - folderShownAt_ < displayInterval_)
        return;
    statusBar_->setPaneText(0, folder);
    // Painted now rather than at the next pump, so that the cost measured
    // is the whole cost of showing the folder.
    UpdateWindow(statusBar_->handle);
    folderShown_ = true;
    folderShownAt_ = microsecondsNow();
    std::uint64_t scaled = folderShownAt_ >= now ? (folderShownAt_ - now) * DisplayCostShare : 0;
    displayInterval_ = scaled > MinimumDisplayInterval ? scaled : MinimumDisplayInterval;
}

int ProgramFinder::onFile(const WIN32_FIND_DATAA &found)
{
    if (!catalogue_->findEntryByName(found.cFileName))
        return 0;
    // A path beyond the platform's limit could not be replaced later anyway.
    char fullPath[MAX_PATH];
    std::size_t folderLength = std::strlen(folder);
    std::size_t nameLength = std::strlen(found.cFileName);
    if (folderLength + nameLength >= sizeof fullPath)
        return 0;
    std::memcpy(fullPath, folder, folderLength);
    std::memcpy(fullPath + folderLength, found.cFileName, nameLength + 1);

    // A copy whose identities cannot be read could not be checked before
    // it is replaced, so it is not listed.
    ListedCopy copy;
    if (catalogue_->isOutdatedProgram(fullPath) && ListedCopies::identify(folder, fullPath, copy)) {
        catalogue_->entries[catalogue_->matchIndex].needsUpdate = 1;
        const LRESULT line = SendMessageA(list_->handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fullPath));
        if (line >= 0)
            SendMessageA(list_->handle, LB_SETITEMDATA, static_cast<WPARAM>(line), copies_.add(copy));
    }
    return 0;
}

int ProgramFinder::onEnterFolder(const WIN32_FIND_DATAA &)
{
    // A search starts with a pump, so a quit that waits already stops it
    // before it reads anything.
    if (depth == 0)
        pumpGate_.reset();
    return pumpGate_.due(microsecondsNow()) ? pumpPendingMessages() : 0;
}

int ProgramFinder::onSearchEnd()
{
    return pumpPendingMessages();
}

std::uint64_t ProgramFinder::microsecondsNow()
{
    return monotonicMicroseconds();
}
