#include "toolkit/core/PathText.h"

#include <gtest/gtest.h>
#include <string>

namespace {
std::string cut(std::string text)
{
    text.push_back('\0');
    cutToDirectory(&text[0]);
    return text.c_str();
}
std::string nameOf(const char *path, std::size_t size)
{
    char out[80];
    fileNameFromPath(path, out, size);
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
}
