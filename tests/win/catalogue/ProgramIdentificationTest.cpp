#include "catalogue/Catalogue.h"
#include "catalogue/VersionInfo.h"
#include "tests/harness/MessageBoxCatcher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The fixture programs are on drive Y: (see tests/fixtures/CMakeLists.txt).
std::string fixture(const char *name) { return std::string("Y:\\") + name + ".exe"; }

class ProgramIdentification : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.allocateEntries());
        addEntry("Sample.exe", 1, 2, 0, 7);
        addEntry("Other Tool.exe", 2, 0, 0, 1);
        addEntry("sample.EXE", 9, 9, 9, 9);
    }
    void TearDown() override { catalogue.freeEntries(); }

    void addEntry(const char *name, int a, int b, int c, int d)
    {
        CatalogueEntry &entry = catalogue.entries[catalogue.entryCount++];
        std::strcpy(entry.fileName, name);
        entry.version[0] = a;
        entry.version[1] = b;
        entry.version[2] = c;
        entry.version[3] = d;
    }

    WindowObject owner;
    Catalogue catalogue{owner};
    MessageBoxCatcher catcher;
};

TEST_F(ProgramIdentification, FindsNamesIgnoringCaseFirstEntryFirst)
{
    struct Case {
        const char *name;
        int found;
        int index;
    } cases[] = {
        {"Sample.exe", 1, 0},
        {"SAMPLE.EXE", 1, 0},
        {"other tool.exe", 1, 1},
        {"Sample", 0, 3},
        {"Sample.exe.bak", 0, 3},
        {"", 0, 3},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(catalogue.findEntryByName(c.name), c.found) << c.name;
        EXPECT_EQ(catalogue.matchIndex, c.index) << c.name;
    }
}

TEST_F(ProgramIdentification, ListsTheMakersProgramsOfAnotherVersion)
{
    struct Case {
        const char *fixtureName;
        int outdated;
    } cases[] = {
        {"corvel-current", 0},   // 1.2.0.7, the catalogue's version
        {"corvel-older", 1},     // 1.2.0.6
        {"corvel-newer", 1},     // 1.2.0.8: newer is just as different
        {"company-upper", 1},    // CORVEL
        {"company-the", 1},      // The corvel company
        {"company-corvelo", 1},  // Corvelo Ltd: the substring is enough
        {"company-long", 1},     // "Corvel" after the 59th character
        {"maker-elsewhere", 0},  // Corvel only in LegalCopyright
        {"other-language", 0},   // strings only in block 040704B0
        {"no-company", 0},
        {"no-version", 0},
        {"not-there", 0},
    };
    for (const Case &c : cases) {
        ASSERT_EQ(catalogue.findEntryByName("SAMPLE.EXE"), 1);
        EXPECT_EQ(catalogue.isOutdatedProgram(fixture(c.fixtureName).c_str()), c.outdated) << c.fixtureName;
    }
    EXPECT_TRUE(catcher.boxes().empty());
}

TEST_F(ProgramIdentification, ACataloguePartAbove65535NeverMatches)
{
    catalogue.entries[0].version[2] = 65536;
    catalogue.entries[0].version[3] = 7;
    ASSERT_EQ(catalogue.findEntryByName("Sample.exe"), 1);
    EXPECT_EQ(catalogue.isOutdatedProgram(fixture("corvel-current").c_str()), 1);
}

TEST_F(ProgramIdentification, WithoutAMatchNothingIsOutdated)
{
    EXPECT_EQ(catalogue.findEntryByName("Unknown.exe"), 0);
    EXPECT_EQ(catalogue.isOutdatedProgram(fixture("corvel-older").c_str()), 0);
}

TEST(VersionInfo, ReadsFixedVersionAndWholeCompanyName)
{
    struct Case {
        const char *fixtureName;
        bool result;
        const char *version;
        const char *company;
    } cases[] = {
        {"corvel-current", 1, "1.2.0.7", "Corvel Software"},
        {"company-long", 1, "1.2.0.6",
         "Federated Association of Independent Small Software Houses, member Corvel"},
        {"maker-elsewhere", 1, "1.2.0.6", "Acme"},
        {"other-language", 1, "1.2.0.6", ""},
        {"no-company", 1, "1.2.0.6", ""},
        {"no-version", 0, "", ""},
        {"not-there", 0, "", ""},
    };
    for (const Case &c : cases) {
        VersionInfo info;
        ASSERT_TRUE(info.read(fixture("corvel-newer").c_str()));
        EXPECT_EQ(info.read(fixture(c.fixtureName).c_str()), c.result) << c.fixtureName;
        EXPECT_STREQ(info.versionText, c.version) << c.fixtureName;
        EXPECT_EQ(std::string(info.company, strnlen(info.company, info.companyLength)), c.company)
            << c.fixtureName;
    }
}

} // namespace
