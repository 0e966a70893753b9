#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/core/MainWindowText.h"

namespace {

struct DrivesCase {
    const char *letters;
    const char *expected;
};

TEST(DrivesLine, ListsFixedDrivesFromCOnwardsEachFollowedByASpace)
{
    const DrivesCase cases[] = {
        {"C", "Drives to be scanned:  C "},
        {"CD", "Drives to be scanned:  C D "},
        {"CFZ", "Drives to be scanned:  C F Z "},
        {"ABC", "Drives to be scanned:  C "},  // A: and B: are never searched
        {"", "Drives to be scanned:  "},
    };
    for (const auto &c : cases) {
        int fixed[26] = {};
        for (const char *letter = c.letters; *letter; ++letter)
            fixed[*letter - 'A'] = 1;
        char line[100] = "Drives to be scanned:  ";
        appendDriveLetters(line, sizeof line, fixed);
        EXPECT_STREQ(line, c.expected) << c.letters;
    }
    char root[4];
    driveRoot(FirstSearchedDrive, root);
    EXPECT_STREQ(root, "C:\\");
    driveRoot(DriveCount - 1, root);
    EXPECT_STREQ(root, "Z:\\");
}

TEST(DrivesLine, AllDrivesFitTheLineAndAFullBufferStaysTerminated)
{
    int fixed[26];
    for (int &flag : fixed)
        flag = 1;
    char line[100] = "Drives to be scanned:  ";
    appendDriveLetters(line, sizeof line, fixed);
    EXPECT_EQ(std::strlen(line), std::strlen("Drives to be scanned:  ") + 24 * 2);

    char small[8] = "ab";
    appendDriveLetters(small, sizeof small, fixed);
    EXPECT_STREQ(small, "abC D ");
}

TEST(TemporaryFolder, FitsOnlyWithRoomForTheLongestNameAndTheTerminator)
{
    // 280 bytes: the folder, 58 characters and the terminator.
    const struct {
        std::size_t length;
        bool fits;
    } cases[] = {{0, false}, {1, true}, {23, true}, {221, true}, {222, false}, {259, false}};
    for (const auto &c : cases)
        EXPECT_EQ(temporaryFolderFits(c.length, 280), c.fits) << c.length;
}

TEST(FileCount, CountFollowedByFiles)
{
    char text[20];
    formatFileCount(0, text, sizeof text);
    EXPECT_STREQ(text, "0 files");
    formatFileCount(1234, text, sizeof text);
    EXPECT_STREQ(text, "1234 files");
}

TEST(ListLineHeight, MetricsPlusFourKeptToSixteenBits)
{
    EXPECT_EQ(listLineHeight(16, 0), 20u);
    EXPECT_EQ(listLineHeight(13, 3), 20u);
    EXPECT_EQ(listLineHeight(65535, 0), 3u);
}

} // namespace
