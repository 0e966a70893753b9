#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "net/core/UpdateFolderAddress.h"

// The program takes exactly the addresses the build's own check takes, on that
// check's rows (tests/CMakeLists.txt), whose longest address is 41 characters.
TEST(UpdateFolderAddress, AgreesWithTheBuildsCheckOnEveryRow)
{
    std::ifstream cases(ADDRESS_CASES);
    std::string address;
    int accepted = 0, rows = 0;
    for (; std::getline(cases, address, '\t') && cases >> accepted && cases.ignore(); ++rows)
        EXPECT_EQ(isUpdateFolderAddress(address.c_str(), 41), accepted == 1) << address;
    EXPECT_GE(rows, 17);
    EXPECT_FALSE(isUpdateFolderAddress("", 41));
}
