#include "app/core/ReplaceReason.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t Denied = 5;
constexpr std::uint32_t Sharing = 32;
constexpr std::uint32_t Lock = 33;
constexpr std::uint32_t DiskFull = 112;
constexpr std::uint32_t Archive = 0x20;

struct Case {
    const char *what;
    ReplaceFacts facts;
    ReplaceReason expected;
};

TEST(ReplaceReason, NamesTheCauseFromTheFailingStepAndTheTarget)
{
    const Case cases[] = {
        {"running program: move denied, writing shared", {Archive, Denied, true, Sharing}, ReplaceReason::InUse},
        {"held open: move shared, writing locked", {Archive, Sharing, true, Lock}, ReplaceReason::InUse},
        {"no rights: move denied, writing denied", {Archive, Denied, true, Denied}, ReplaceReason::NeedsAdministrator},
        {"no rights: move denied, writing opened", {0, Denied, true, 0}, ReplaceReason::NeedsAdministrator},
        {"no rights to create the copy beside it", {Archive, Denied, false, 0}, ReplaceReason::NeedsAdministrator},
        {"copy beside it held by a scanner", {Archive, Sharing, false, 0}, ReplaceReason::OtherError},
        {"shared at the move, free afterwards", {Archive, Sharing, true, 0}, ReplaceReason::OtherError},
        {"a sharing error at writing alone is not a probe", {Archive, DiskFull, true, Sharing}, ReplaceReason::OtherError},
        {"disk full while copying", {Archive, DiskFull, false, 0}, ReplaceReason::OtherError},
        {"read-only", {FileAttribute::ReadOnly | Archive, 0, false, 0}, ReplaceReason::ReadOnly},
        {"read-only and hidden", {FileAttribute::ReadOnly | FileAttribute::Hidden, 0, false, 0},
         ReplaceReason::ReadOnly},
        {"hidden", {FileAttribute::Hidden, 0, false, 0}, ReplaceReason::HiddenOrSystem},
        {"system", {FileAttribute::System | Archive, 0, false, 0}, ReplaceReason::HiddenOrSystem},
        {"a folder", {FileAttribute::Directory, 267, false, 0}, ReplaceReason::OtherError},
        {"folder or program changed since the search", {FileAttribute::ReadOnly, 0, false, 0, true},
         ReplaceReason::FolderChanged},
    };
    for (const Case &c : cases)
        EXPECT_EQ(replaceReason(c.facts), c.expected) << c.what;
}

TEST(ReplaceReason, RefusesOnlyReadOnlyHiddenSystemAndFolders)
{
    EXPECT_FALSE(refusesTargetAttributes(0));
    EXPECT_FALSE(refusesTargetAttributes(Archive | 0x80 /* normal */ | 0x2000 /* not indexed */));
    using namespace FileAttribute;
    for (const std::uint32_t refused : {ReadOnly, Hidden, System, Directory})
        EXPECT_TRUE(refusesTargetAttributes(refused | Archive)) << refused;
}

} // namespace
