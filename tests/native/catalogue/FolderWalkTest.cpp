#include "catalogue/core/NamePattern.h"
#include "catalogue/core/SubfolderStack.h"

#include <gtest/gtest.h>

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
