#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "net/core/UpdateFolderAddress.h"

namespace {

// The rows of the build's own address checks (tests/CMakeLists.txt), whose
// longest address is 41 characters: the program must take exactly the
// addresses the build takes.
TEST(UpdateFolderAddress, AgreesWithTheBuildsCheckOnEveryRow)
{
    std::ifstream cases(ADDRESS_CASES);
    std::string address;
    int accepted = 0;
    int rows = 0;
    while (std::getline(cases, address, '\t') && cases >> accepted && cases.ignore()) {
        EXPECT_EQ(isUpdateFolderAddress(address.c_str(), 41), accepted == 1) << address;
        ++rows;
    }
    EXPECT_GE(rows, 17);
    EXPECT_FALSE(isUpdateFolderAddress("", 41));
    EXPECT_FALSE(isUpdateFolderAddress("https://", 41));
}

} // namespace
