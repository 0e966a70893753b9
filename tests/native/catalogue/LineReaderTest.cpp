#include "catalogue/core/LineReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Piece {
    std::string text;
    bool truncated;
};

std::vector<Piece> readAll(const std::string &data, unsigned limit, bool expandTabs)
{
    LineReader reader(data.data(), data.size(), limit);
    reader.expandTabs = expandTabs;
    std::vector<Piece> pieces;
    std::vector<char> buffer(limit, 'x');
    while (!reader.atEnd()) {
        const int length = reader.readLine(buffer.data());
        EXPECT_EQ(static_cast<std::size_t>(length), std::string(buffer.data()).size());
        pieces.push_back({buffer.data(), reader.truncated != 0});
    }
    return pieces;
}

std::vector<std::string> texts(const std::vector<Piece> &pieces)
{
    std::vector<std::string> out;
    for (const Piece &p : pieces)
        out.push_back(p.text);
    return out;
}

using Lines = std::vector<std::string>;

TEST(LineReader, SplitsLines)
{
    struct Case {
        const char *name;
        std::string data;
        Lines lines;
    } cases[] = {
        {"line feeds", "a\nbc\n", {"a", "bc"}},
        {"carriage returns dropped", "a\r\nbc\r\n", {"a", "bc"}},
        {"carriage return inside a line", "a\rb\n", {"ab"}},
        {"last line without line feed", "a\nbc", {"a", "bc"}},
        {"empty lines kept", "a\n\n\nb", {"a", "", "", "b"}},
        {"lone carriage return line", "\r\n", {""}},
        {"nothing", "", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(texts(readAll(c.data, 128, false)), c.lines) << c.name;
}

TEST(LineReader, LongLinesComeInPiecesOfLimitLessOne)
{
    const std::string a127(127, 'a');
    struct Case {
        const char *name;
        std::string data;
        std::vector<Piece> pieces;
    } cases[] = {
        {"126 characters", std::string(126, 'a') + "\nz", {{std::string(126, 'a'), false}, {"z", false}}},
        {"127 characters leave their line feed", a127 + "\nz", {{a127, true}, {"", false}, {"z", false}}},
        {"127 characters at the end", a127, {{a127, true}}},
        {"128 characters", std::string(128, 'a') + "\n", {{a127, true}, {"a", false}}},
        {"130 characters", std::string(130, 'b') + "\n",
         {{std::string(127, 'b'), true}, {"bbb", false}}},
        {"carriage returns do not count", std::string(63, 'a') + std::string(10, '\r') + std::string(64, 'a') + "\n",
         {{a127, true}, {"", false}}},
    };
    for (const Case &c : cases) {
        const std::vector<Piece> got = readAll(c.data, 128, false);
        ASSERT_EQ(got.size(), c.pieces.size()) << c.name;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].text, c.pieces[i].text) << c.name << " piece " << i;
            EXPECT_EQ(got[i].truncated, c.pieces[i].truncated) << c.name << " piece " << i;
        }
    }
}

TEST(LineReader, TabsExpandToTheNextStopOnlyWhenAsked)
{
    EXPECT_EQ(texts(readAll("\tx\nab\tx\nabcdefgh\tx", 128, true)),
              (Lines{"        x", "ab      x", "abcdefgh        x"}));
    EXPECT_EQ(texts(readAll("a\tb", 128, false)), (Lines{"a\tb"}));
}

TEST(LineReader, TabAtTheLimitFillsTheBufferAndIsConsumed)
{
    const std::vector<Piece> got = readAll("abc\tz", 6, true);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].text, "abc  ");
    EXPECT_TRUE(got[0].truncated);
    EXPECT_EQ(got[1].text, "z");
}

TEST(LineReader, AtTheEndStoresAnEmptyText)
{
    const std::string data = "a";
    LineReader reader(data.data(), data.size(), 8);
    char buffer[8];
    reader.readLine(buffer);
    ASSERT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readLine(buffer), 0);
    EXPECT_STREQ(buffer, "");
}

} // namespace
