#include "catalogue/FileNameOrder.h"
#include "tests/native/CodePage932.h"
#include "toolkit/CodePage.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(CodePageNames, NamesMatchAsTheFileSystemComparesThem)
{
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    struct Pair {
        const char *a, *b;
        bool same;
    } pairs[] = {{"INSTALL.EXE", "install.exe", true}, {"ÉTÉ.EXE", "été.exe", true}, {"\xFF.exe", "\xFF.exe", true},
                 {"Straße.exe", "Strasse.exe", false}, {"Sample.exe", "Sam\u00ADple.exe", false},
                 {"ınstall.exe", "install.exe", false}, {"\xFF.exe", "\xFE.exe", false}};
    for (const Pair &p : pairs) {
        EXPECT_EQ(sameFileName(p.a, p.b), p.same) << p.a << " ~ " << p.b;
        EXPECT_EQ(compareFileNames(p.a, p.b) < 0, compareFileNames(p.b, p.a) > 0) << p.a << " ~ " << p.b;
    }
}

TEST(CodePageNames, CodePage932HasItsLeadBytesAndUtf8None)
{
    const LeadBytes rule = leadBytesOf(932), expected = codePage932();
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(rule.isLead(static_cast<char>(byte)), expected.isLead(static_cast<char>(byte))) << byte;
        EXPECT_FALSE(programLeadBytes().isLead(static_cast<char>(byte))) << byte;
    }
}

} // namespace
