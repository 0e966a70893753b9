#include "toolkit/core/PathText.h"

#include "tests/native/CodePage932.h"

#include <gtest/gtest.h>
#include <string>

namespace {
const LeadBytes doubleByte = codePage932();
// ソフト and 表示 in code page 932: the second byte of ソ and of 表 is a backslash's.
const std::string Soft = "\x83\x5C\x83t\x83g", Display = "\x95\x5C\x8E\xA6";

std::string cut(std::string text, const LeadBytes &rule = SingleByteCharacters)
{
    text.push_back('\0');
    cutToDirectory(&text[0], rule);
    return text.c_str();
}
std::string nameOf(const std::string &path, std::size_t size, const LeadBytes &rule = SingleByteCharacters)
{
    char out[80];
    fileNameFromPath(path.c_str(), out, size, rule);
    return out;
}
}

TEST(CutToDirectory, KeepsTheFolderAndItsSeparator)
{
    EXPECT_EQ(cut("D:\\Temp\\Kestrel.ini"), "D:\\Temp\\");
    EXPECT_EQ(cut("D:\\Temp\\"), "D:\\Temp\\");
    EXPECT_EQ(cut("http://host/Utils/Kestrel.ini"), "http://host/Utils/");
    EXPECT_EQ(cut("http://host/Utils/"), "http://host/Utils/");
    EXPECT_EQ(cut("D:name"), "D:");
    // Only where a whole character begins.
    EXPECT_EQ(cut("C:\\" + Soft, doubleByte), "C:\\");
    EXPECT_EQ(cut("C:\\" + Soft), "C:\\\x83\x5C");
    EXPECT_TRUE(endsInSeparator("C:\\\x83\x5C\\", doubleByte));
    EXPECT_FALSE(endsInSeparator("C:\\\x83\x5C", doubleByte));
}

TEST(CutToDirectory, EmptiesTextWithoutASeparatorAfterTheFirstCharacter)
{
    EXPECT_EQ(cut("Kestrel.ini"), "");
    EXPECT_EQ(cut("\\name"), "");
    EXPECT_EQ(cut(""), "");
    EXPECT_EQ(cut("/"), "");
}

TEST(FileNameFromPath, TakesTheLastComponentWithinTheBuffer)
{
    EXPECT_EQ(nameOf("D:\\Tools\\Sample.exe", 60), "Sample.exe");
    EXPECT_EQ(nameOf("D:\\Tools\\Sample.exe", 5), "Samp");
    EXPECT_EQ(nameOf("Sample.exe", 60), "Sample.exe");
    EXPECT_EQ(nameOf("C:Sample.exe", 60), "Sample.exe");
    EXPECT_EQ(nameOf("http://host/Utils/", 60), "");
    EXPECT_EQ(nameOf("D:\\Tools\\Sample.exe", 1), "");
    EXPECT_EQ(nameOf("D:\\" + Display + "\\" + Soft, 60, doubleByte), Soft);
    // A character that does not fit whole is left out whole.
    EXPECT_EQ(nameOf("D:\\" + Display, 4, doubleByte), "\x95\x5C");
}
