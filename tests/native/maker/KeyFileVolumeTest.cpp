#include "maker/core/KeyFileVolume.h"

#include <gtest/gtest.h>

TEST(KeyFileVolume, OnlyAVolumeThatKeepsAccessListsHoldsTheKeyFile)
{
    // NTFS and ReFS flags, and FAT's and exFAT's (case-preserving names, Unicode, no access lists).
    EXPECT_TRUE(keepsAccessLists(0x03E706FF));
    EXPECT_TRUE(keepsAccessLists(PersistentAccessListsFlag));
    EXPECT_FALSE(keepsAccessLists(0x00020006));
    EXPECT_FALSE(keepsAccessLists(0));
}
