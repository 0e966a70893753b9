#include "catalogue/core/SubfolderStack.h"

#include <cstdlib>
#include <cstring>

// An entry is the attributes, then the name and the short name, each with
// its terminator.
namespace {
constexpr std::size_t AttributesSize = sizeof(std::uint32_t);
constexpr std::size_t FirstCapacity = 4096;
}

SubfolderStack::~SubfolderStack()
{
    std::free(bytes_);
}

bool SubfolderStack::push(const char *name, std::size_t length, std::uint32_t attributes, const char *shortName)
{
    std::size_t shortSize = std::strlen(shortName) + 1;
    std::size_t entrySize = AttributesSize + length + 1 + shortSize;
    if (entrySize > capacity_ - used_) {
        std::size_t wanted = capacity_ ? capacity_ : FirstCapacity;
        while (wanted - used_ < entrySize)
            wanted *= 2;
        void *grown = std::realloc(bytes_, wanted);
        if (!grown)
            return false;
        bytes_ = static_cast<char *>(grown);
        capacity_ = wanted;
    }
    std::memcpy(bytes_ + used_, &attributes, AttributesSize);
    std::memcpy(bytes_ + used_ + AttributesSize, name, length);
    bytes_[used_ + AttributesSize + length] = '\0';
    std::memcpy(bytes_ + used_ + AttributesSize + length + 1, shortName, shortSize);
    used_ += entrySize;
    return true;
}

const char *SubfolderStack::nameAt(std::size_t offset) const
{
    return bytes_ + offset + AttributesSize;
}

const char *SubfolderStack::shortNameAt(std::size_t offset) const
{
    const char *name = nameAt(offset);
    return name + std::strlen(name) + 1;
}

std::uint32_t SubfolderStack::attributesAt(std::size_t offset) const
{
    std::uint32_t attributes;
    std::memcpy(&attributes, bytes_ + offset, AttributesSize);
    return attributes;
}

std::size_t SubfolderStack::nextAfter(std::size_t offset) const
{
    const char *shortName = shortNameAt(offset);
    return static_cast<std::size_t>(shortName + std::strlen(shortName) + 1 - bytes_);
}
