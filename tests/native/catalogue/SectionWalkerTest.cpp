#include "catalogue/core/SectionWalker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Each line as "number[+ for a further piece] section-kind h(eader) f(irst of kind) length text".
std::vector<std::string> walk(const std::string &data)
{
    std::vector<std::string> seen;
    SectionWalker walker(data.data(), data.size());
    while (walker.next()) {
        const CatalogueLine &l = walker.line;
        seen.push_back(std::to_string(l.number) + (l.startsLine ? "" : "+") + " " +
                       std::to_string(static_cast<int>(l.section)) + (l.header ? "h" : "-") +
                       (l.firstOfKind ? "f " : "- ") + std::to_string(l.length) + " " + l.text);
    }
    return seen;
}

// Headers are told apart as every reader must: "[L" and "[U" by their second
// character, the others by their whole text; a long line keeps one number
// for its pieces, and the piece after a 127-character line is its own.
TEST(SectionWalker, TellsEachLineItsSectionAndEditorLine)
{
    // Kinds: 0 none, 1 compatibility, 2 programs, 3 hashes, 4 sizes, 5 issued, 6 expires, 7 signature, 8 other.
    const std::string x127(127, 'x');
    const std::string data = "before\r\n[Lizard\n&7(2?KwT\n[U]\nA.exe\n\n[Hashes] \n[Hashes]\n" + x127 +
                             "abc\n[Hashes]\n[Sizes]\n[Issued]\n[Expires]\n[Signature]\n[u]\n" + x127 + "\n[";
    const std::vector<std::string> expected = {
        "1 0-- 6 before",  "2 1hf 7 [Lizard", "3 1-f 8 &7(2?KwT", "4 2hf 3 [U]",
        "5 2-f 5 A.exe",   "6 2-f 0 ",        "7 8hf 9 [Hashes] ", "8 3hf 8 [Hashes]",
        "9 3-f 130 " + x127, "9+ 3-f 130 abc", "10 3h- 8 [Hashes]", "11 4hf 7 [Sizes]",
        "12 5hf 8 [Issued]", "13 6hf 9 [Expires]", "14 7hf 11 [Signature]", "15 8h- 3 [u]",
        "16 8-- 127 " + x127, "16+ 8-- 127 ", "17 8h- 1 ["};
    EXPECT_EQ(walk(data), expected);

    const std::string oneLine = "[Expires]\n[Expires]\n1/2/30\n[Issued]";
    LineReader lines(oneLine.data(), oneLine.size(), CatalogueLineLimit);
    const LineAfterHeader expires = lineAfterFirstHeader(lines, SectionKind::Expires);
    EXPECT_EQ(expires.headerNumber, 1);
    EXPECT_EQ(expires.number, 2);
    EXPECT_STREQ(expires.text, "[Expires]");
    const LineAfterHeader issued = lineAfterFirstHeader(lines, SectionKind::Issued);
    EXPECT_EQ(issued.headerNumber, 4);
    EXPECT_EQ(issued.number, 0);
    EXPECT_EQ(lineAfterFirstHeader(lines, SectionKind::Sizes).headerNumber, 0);
}

} // namespace
