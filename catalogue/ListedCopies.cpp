#include "catalogue/ListedCopies.h"

#include "toolkit/KernelHandles.h"

namespace {
constexpr SIZE_T FirstRoom = 64;
}

LPARAM ListedCopies::add(const ListedCopy &copy)
{
    if (count_ == copies_.size() && !copies_.resize(count_ == 0 ? FirstRoom : count_ * 2))
        return NoCopy;
    copies_[count_++] = copy;
    return static_cast<LPARAM>(count_);
}

const ListedCopy *ListedCopies::find(LPARAM key) const
{
    if (key <= 0 || static_cast<SIZE_T>(key) > count_)
        return nullptr;
    return &copies_[static_cast<SIZE_T>(key) - 1];
}

bool ListedCopies::identify(const char *folder, const char *path, ListedCopy &copy)
{
    // The program itself, never a file a link there points to.
    FileHandle program(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return identityOfPath(folder, copy.folder) && program.valid() && readFileIdentity(program.get(), copy.program);
}
