#include "catalogue/core/EntryChoice.h"
#include "catalogue/core/FolderWalk.h"
#include "catalogue/core/NamePattern.h"
#include "catalogue/core/SubfolderStack.h"
#include "tests/native/CodePage932.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

TEST(NamePattern, MatchesStarsAndQuestionMarksInAnyLetterCase)
{
    struct Case {
        const char *name;
        const char *pattern;
        bool matches;
    } cases[] = {
        {"Sample.exe", "*.exe", true},
        {"SAMPLE.EXE", "*.exe", true},
        {"setup.Exe", "*.EXE", true},
        {".exe", "*.exe", true},
        {"a.exe.exe", "*.exe", true},
        {"Sample.exe1", "*.exe", false},
        {"Sample.exee", "*.exe", false},
        {"Sampleexe", "*.exe", false},
        {"exe", "*.exe", false},
        {"Sample.ex", "*.exe", false},
        {"", "*.exe", false},
        {"", "*", true},
        {"anything", "*", true},
        {"a.b", "?.?", true},
        {"ab.b", "?.?", false},
        {"aXbXc", "a*b*c", true},
        {"aXbXd", "a*b*c", false},
        {"abab.exe", "*ab*.exe", true},
        {"\xe9t\xe9.exe", "\xc9T\xc9.exe", false},
        {"\xe9t\xe9.exe", "\xe9*.exe", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(matchesNamePattern(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
}

TEST(EntryChoice, EntersCloudFoldersButNoLinksAndOpensNoFileKeptElsewhere)
{
    constexpr std::uint32_t Directory = 0x10, ReparsePoint = 0x400, System = 0x4, Hidden = 0x2;
    struct Case {
        const char *what;
        std::uint32_t attributes;
        std::uint32_t tag;
        bool enteredWithoutSystem;
        bool enteredWithSystem;
    } cases[] = {
        {"plain folder", Directory, 0, true, true},
        {"hidden folder", Directory | Hidden, 0, true, true},
        {"system folder", Directory | System, 0, false, true},
        {"a tag without the reparse attribute means nothing", Directory, 0xA000000C, true, true},
        {"link whose tag the platform left out (Wine)", Directory | ReparsePoint, 0, false, false},
        {"mount point or junction", Directory | ReparsePoint, 0xA0000003, false, false},
        {"symbolic link", Directory | ReparsePoint, 0xA000000C, false, false},
        {"WSL symbolic link", Directory | ReparsePoint, 0xA000001D, false, false},
        {"any tag with the name-surrogate bit", Directory | ReparsePoint, 0x20000000, false, false},
        {"cloud files folder", Directory | ReparsePoint, 0x9000001A, true, true},
        {"cloud files folder, another provider", Directory | ReparsePoint, 0x9000F01A, true, true},
        {"OneDrive folder", Directory | ReparsePoint, 0x80000021, true, true},
        {"deduplicated folder", Directory | ReparsePoint, 0x80000013, true, true},
        {"cloud folder with the system attribute", Directory | ReparsePoint | System, 0x9000001A, false, true},
        {"folder listed with recall on open", Directory | 0x40000, 0, true, true},
        {"a file", 0x20, 0, false, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(isEnterableFolder("Documents", c.attributes, c.tag, 0), c.enteredWithoutSystem) << c.what;
        EXPECT_EQ(isEnterableFolder("Documents", c.attributes, c.tag, 1), c.enteredWithSystem) << c.what;
        EXPECT_FALSE(isEnterableFolder(".Documents", c.attributes, c.tag, 1)) << c.what;
    }
    EXPECT_FALSE(isEnterableFolder(".", Directory, 0, 1));
    EXPECT_FALSE(isEnterableFolder("..", Directory, 0, 1));

    EXPECT_TRUE(hasContentsHere(0x20));
    EXPECT_TRUE(hasContentsHere(0x20 | ReparsePoint | System | Hidden | 0x1 | 0x80000));
    EXPECT_FALSE(hasContentsHere(0x20 | 0x1000));      // offline
    EXPECT_FALSE(hasContentsHere(0x20 | 0x400000));    // recall on data access
    EXPECT_FALSE(hasContentsHere(0x20 | 0x401400));
    EXPECT_FALSE(hasContentsHere(0x20 | 0x40000));     // recall on open: a placeholder
}

// Lists folders by their whole paths (a name with ".exe" is a file) and
// notes the files found.
class PathWalk : public FolderWalk, public FolderListing {
public:
    PathWalk(std::map<std::string, std::vector<std::string>> folders) : FolderWalk(codePage932()), folders_(folders) {}
    std::vector<std::string> found;

    bool first(const char *folder, ListedEntry &entry) override
    {
        listed_ = folders_.count(folder) ? &folders_[folder] : nullptr;
        at_ = 0;
        return next(entry);
    }
    bool next(ListedEntry &entry) override
    {
        if (!listed_ || at_ == listed_->size())
            return false;
        const std::string &name = (*listed_)[at_++];
        entry = ListedEntry{name.c_str(), "", name.find(".exe") != std::string::npos ? 0x20u : 0x10u, 0};
        return true;
    }
    void close() override { listed_ = nullptr; }

protected:
    void backInFolder() override {}
    int fileFound(const ListedEntry &file) override { return found.push_back(folder + std::string(file.name)), 0; }
    int folderEntered(const ListedEntry *) override { return 0; }
    int subfolderFound(const ListedEntry &) override { return 0; }
    int walkEnded() override { return 0; }

private:
    std::map<std::string, std::vector<std::string>> folders_;
    std::vector<std::string> *listed_ = nullptr;
    std::size_t at_ = 0;
};

TEST(FolderWalk, ComesBackFromADoubleByteNameAndSearchesTheSiblingsAfterIt)
{
    // ソフト and 表示 in code page 932: the second byte of ソ and of 表 is a backslash's.
    const std::string soft = "C:\\Tools\\\x83\x5C\x83t\x83g\\", display = "\x95\x5C\x8E\xA6\\";
    PathWalk walk({{"C:\\Tools\\", {"\x83\x5C\x83t\x83g", "Other"}}, {soft, {display.substr(0, 4)}},
                   {soft + display, {"a.exe"}}, {"C:\\Tools\\Other\\", {"b.exe"}}});
    EXPECT_EQ(walk.walk("C:\\Tools", "*.exe", 16, 0, walk), 0);
    EXPECT_EQ(walk.found, (std::vector<std::string>{soft + display + "a.exe", "C:\\Tools\\Other\\b.exe"}));
}

std::vector<std::string> namesBetween(const SubfolderStack &stack, std::size_t from, std::size_t to)
{
    std::vector<std::string> names;
    for (std::size_t at = from; at < to; at = stack.nextAfter(at))
        names.push_back(stack.nameAt(at));
    return names;
}

TEST(SubfolderStack, KeepsEachLevelsNamesAndAttributesAcrossGrowth)
{
    SubfolderStack stack;
    ASSERT_TRUE(stack.push("Program Files", 13, 0x10));
    ASSERT_TRUE(stack.push("Tools", 5, 0x12));
    std::size_t parentEnd = stack.top();

    // A child level wide enough to move the storage several times over.
    std::vector<std::string> child;
    for (int i = 0; i < 3000; ++i) {
        child.push_back("sub" + std::to_string(i) + std::string(i % 40, 'x'));
        ASSERT_TRUE(stack.push(child.back().c_str(), child.back().size(), 0x10 | static_cast<unsigned>(i)));
    }
    EXPECT_EQ(namesBetween(stack, parentEnd, stack.top()), child);
    EXPECT_EQ(stack.attributesAt(stack.nextAfter(0)), 0x12u);

    stack.cutTo(parentEnd);
    EXPECT_EQ(stack.top(), parentEnd);
    EXPECT_EQ(namesBetween(stack, 0, stack.top()), (std::vector<std::string>{"Program Files", "Tools"}));
    stack.cutTo(stack.top() + 100);
    EXPECT_EQ(stack.top(), parentEnd);
    ASSERT_TRUE(stack.push("", 0, 0));
    EXPECT_STREQ(stack.nameAt(parentEnd), "");
    EXPECT_EQ(stack.nextAfter(parentEnd), stack.top());
}

} // namespace
