#include "catalogue/core/Base64.h"
#include "catalogue/core/CatalogueChecksums.h"
#include "catalogue/core/CatalogueExpiry.h"
#include "catalogue/core/CatalogueIssued.h"
#include "catalogue/core/CatalogueSizes.h"
#include "catalogue/core/HexText.h"
#include "catalogue/core/SignedCatalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

namespace {

TEST(Base64, MatchesTheStandardVectorsAndRefusesEveryOtherEncoding)
{
    const char *vectors[][2] = {{"", ""},          {"f", "Zg=="},         {"fo", "Zm8="},
                                {"foob", "Zm9vYg=="}, {"foobar", "Zm9vYmFy"}, {"\xff\xfe\x3e\x3f", "//4+Pw=="}};
    for (const auto &v : vectors) {
        char text[16];
        encodeBase64(reinterpret_cast<const unsigned char *>(v[0]), std::strlen(v[0]), text);
        EXPECT_STREQ(text, v[1]);
        unsigned char bytes[8];
        std::size_t size = 99;
        ASSERT_TRUE(decodeBase64(v[1], std::strlen(v[1]), bytes, std::strlen(v[0]), size)) << v[1];
        EXPECT_EQ(std::string(reinterpret_cast<char *>(bytes), size), v[0]);
    }
    for (const char *bad : {"Zm9", "Zg", "Z===", "Zg==Zm8=", "Zm=v", "Zh==", "Zm9=", "-_8=", "Zm9 ", "Zm9\n"}) {
        unsigned char bytes[8];
        std::size_t size = 99;
        EXPECT_FALSE(decodeBase64(bad, std::strlen(bad), bytes, sizeof bytes, size)) << bad;
        EXPECT_EQ(size, 0u) << bad;
    }
    unsigned char five[5];
    std::size_t size = 0;
    EXPECT_FALSE(decodeBase64("Zm9vYmFy", 8, five, sizeof five, size)) << "more bytes than room";
}

// 88 characters that decode to r and s.
const std::string SignatureText = "B" + std::string(85, 'A') + "==";
const std::string Signed = "[L]\r\n&7(2?KwT\r\n[U]\r\nA.exe|0|1/1/20|1:00:00 PM|-|1.0.0.0\r\n";

TEST(SignedCatalogue, SplitsAtTheFirstWholeSignatureHeader)
{
    struct Case {
        const char *what;
        std::string data;
        SignatureStatus status;
        std::size_t signedSize;
    } cases[] = {
        {"CR LF", Signed + "[Signature]\r\n" + SignatureText + "\r\n", SignatureStatus::WellFormed, Signed.size()},
        {"LF, no final line end", "[L]\n[Signature]\n" + SignatureText, SignatureStatus::WellFormed, 4},
        {"blank lines after it", "[Signature]\n" + SignatureText + "\n\r\n\n", SignatureStatus::WellFormed, 0},
        {"no header", Signed, SignatureStatus::NoSection, Signed.size()},
        {"text after the bracket", "[Signature] \n" + SignatureText, SignatureStatus::NoSection, 101},
        {"not at a line start", "x[Signature]\n" + SignatureText, SignatureStatus::NoSection, 101},
        {"two carriage returns", "[Signature]\r\r\n" + SignatureText, SignatureStatus::NoSection, 102},
        {"a carriage return inside", "[Sig\rnature]\n" + SignatureText, SignatureStatus::NoSection, 101},
        {"the piece after 127 characters", std::string(127, 'x') + "[Signature]\n" + SignatureText,
         SignatureStatus::NoSection, 227},
        {"a carriage return in the signature", "[Signature]\n\r" + SignatureText, SignatureStatus::BadSignatureLine, 0},
        {"header at the very end", "[U]\n[Signature]", SignatureStatus::BadSignatureLine, 4},
        {"signature one short", "[Signature]\n" + SignatureText.substr(1), SignatureStatus::BadSignatureLine, 0},
        {"66 bytes", "[Signature]\n" + std::string(88, 'A'), SignatureStatus::BadSignatureLine, 0},
        {"an empty line first", "[Signature]\n\n" + SignatureText, SignatureStatus::BadSignatureLine, 0},
        {"entry appended", "[Signature]\n" + SignatureText + "\n[U]\nB.exe|0|1/1/20|1:00:00 PM|-|1.0.0.0\n",
         SignatureStatus::TrailingBytes, 0},
        {"first header counts", "[Signature]\nnot base64\n[Signature]\n" + SignatureText,
         SignatureStatus::BadSignatureLine, 0},
    };
    for (const Case &c : cases) {
        const SignedCatalogue split = splitSignedCatalogue(c.data.data(), c.data.size());
        EXPECT_EQ(split.status, c.status) << c.what;
        EXPECT_EQ(split.signedSize, c.signedSize) << c.what;
    }
    const std::string data = "[Signature]\n" + SignatureText;
    const SignedCatalogue split = splitSignedCatalogue(data.data(), data.size());
    EXPECT_EQ(split.signature[0], 0x04);
    EXPECT_EQ(split.signature[63], 0x00);
}

TEST(CatalogueExpiry, ReadsTheLineRightAfterTheFirstHeader)
{
    struct Case {
        const char *what;
        std::string data;
        ExpiryStatus status;
        int year, month, day;
    } cases[] = {
        {"CR LF", "[U]\r\n[Expires]\r\n12/8/27\r\n", ExpiryStatus::Readable, 2027, 12, 8},
        {"first section counts", "[Expires]\n2/3/25\n[Expires]\n2/4/25\n", ExpiryStatus::Readable, 2025, 2, 3},
        {"header starting alike", "[Expired]\n12/8/27\n", ExpiryStatus::NoSection, 0, 0, 0},
        {"header on the last line", "[Expires]\n", ExpiryStatus::Unreadable, 0, 0, 0},
        {"empty line first", "[Expires]\n\n12/8/27\n", ExpiryStatus::Unreadable, 0, 0, 0},
        {"four-digit year", "[Expires]\n12/8/2027\n", ExpiryStatus::Unreadable, 0, 0, 0},
    };
    for (const Case &c : cases) {
        const CatalogueExpiry expiry = readCatalogueExpiry(c.data.data(), c.data.size());
        EXPECT_EQ(expiry.status, c.status) << c.what;
        if (c.status == ExpiryStatus::Readable) {
            EXPECT_EQ(expiry.lastDay.year * 10000 + expiry.lastDay.month * 100 + expiry.lastDay.day,
                      c.year * 10000 + c.month * 100 + c.day)
                << c.what;
        }
    }
    // Expired only after the last day, whichever part of the date moves on.
    const CalendarTime last{2027, 6, 0, 15, 0, 0, 0, 0};
    EXPECT_FALSE(isExpired(last, CalendarTime{2027, 6, 0, 15, 23, 59, 59, 0}));
    EXPECT_FALSE(isExpired(last, CalendarTime{2026, 12, 0, 31, 0, 0, 0, 0}));
    EXPECT_TRUE(isExpired(last, CalendarTime{2027, 6, 0, 16, 0, 0, 0, 0}));
    EXPECT_TRUE(isExpired(last, CalendarTime{2027, 7, 0, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(isExpired(last, CalendarTime{2028, 1, 0, 1, 0, 0, 0, 0}));
    // An issue time on the last day, up to its end, is the maker's; one the day after is not.
    EXPECT_FALSE(issuedAfterLastDay(last, CalendarTime{2027, 6, 0, 15, 23, 59, 59, 0}));
    EXPECT_TRUE(issuedAfterLastDay(last, CalendarTime{2027, 6, 0, 16, 0, 0, 0, 0}));
}

bool sameIgnoringCase(const char *a, const char *b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

TEST(CatalogueChecksums, GivesEachEntryTheFirstLineForItsName)
{
    const std::string hex = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";
    const std::string data = "[U]\nIgnored.exe|" + hex + "\n[Hashes]\nSAMPLE.EXE|" + hex + "\n\nSample.exe|" +
                             std::string(64, '0') + "\nUpper.exe|" + std::string(hex).replace(0, 1, "F") +
                             "\nShort.exe|" + hex.substr(1) + "\nSpaced.exe| " + hex + "\nBare.exe\n"
                             "[Hashesque]\nLater.exe|" + hex + "\n[Hashes]\nLater.exe|" + hex + "\n";
    const char *names[] = {"Sample.exe", "Upper.exe", "Short.exe", "Spaced.exe", "Bare.exe", "Later.exe",
                           "Ignored.exe"};
    const ChecksumStatus expected[] = {ChecksumStatus::Present,   ChecksumStatus::Malformed, ChecksumStatus::Malformed,
                                       ChecksumStatus::Malformed, ChecksumStatus::Malformed, ChecksumStatus::None,
                                       ChecksumStatus::None};
    CatalogueEntry entries[7];
    std::memset(entries, 0x5A, sizeof entries);
    for (int i = 0; i < 7; ++i)
        std::strcpy(entries[i].fileName, names[i]);
    readCatalogueChecksums(data.data(), data.size(), entries, 7, sameIgnoringCase);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(entries[i].checksumStatus, expected[i]) << names[i];
    char text[Sha256HexLength + 1];
    encodeHex(entries[0].checksum.bytes, Sha256Size, text);
    EXPECT_EQ(text, hex);
}

// A size is decimal digits alone, to the last byte a 64-bit length holds;
// the first line of the first section for a name counts, as for checksums.
TEST(CatalogueSizes, GivesEachEntryTheFirstLineForItsName)
{
    const std::string data = "[U]\nIgnored.exe|1\n[Sizes]\nSAMPLE.EXE|0123\nSample.exe|9\n"
                             "Most.exe|18446744073709551615\nOver.exe|18446744073709551616\nSigned.exe|+5\nSpaced.exe| 5\nEmpty.exe|\nBare.exe\n"
                             "Hex.exe|0x10\n[Sizes]\nLater.exe|7\n";
    const struct {
        const char *name;
        SizeStatus status;
        std::uint64_t size;
    } expected[] = {{"Sample.exe", SizeStatus::Present, 123},     {"Most.exe", SizeStatus::Present, UINT64_MAX},
                    {"Over.exe", SizeStatus::Malformed, 0},       {"Signed.exe", SizeStatus::Malformed, 0},
                    {"Spaced.exe", SizeStatus::Malformed, 0},     {"Empty.exe", SizeStatus::Malformed, 0},
                    {"Bare.exe", SizeStatus::Malformed, 0},       {"Hex.exe", SizeStatus::Malformed, 0},
                    {"Later.exe", SizeStatus::None, 0},           {"Ignored.exe", SizeStatus::None, 0}};
    const int count = sizeof expected / sizeof expected[0];
    CatalogueEntry entries[count];
    std::memset(entries, 0x5A, sizeof entries);
    for (int i = 0; i < count; ++i)
        std::strcpy(entries[i].fileName, expected[i].name);
    readCatalogueSizes(data.data(), data.size(), entries, count, sameIgnoringCase);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].sizeStatus, expected[i].status) << expected[i].name;
        EXPECT_EQ(entries[i].size, expected[i].size) << expected[i].name;
    }
}

// The issue time is one exact form, read back as written, and compared to
// the second: any later field decides only when the earlier ones are equal.
TEST(CatalogueIssued, ReadsOneExactFormAndOrdersToTheSecond)
{
    CalendarTime time{};
    ASSERT_TRUE(parseIssueTime("2028-02-29T23:59:09Z", time));
    char text[IssueTimeLength + 1];
    formatIssueTime(time, text);
    EXPECT_STREQ(text, "2028-02-29T23:59:09Z");
    for (const char *bad : {"2026-02-29T10:00:00Z", "2026-13-01T10:00:00Z", "2026-12-08T24:00:00Z",
                            "2026-12-08T10:60:00Z", "2026-12-08T10:00:60Z", "1979-12-31T10:00:00Z",
                            "2051-01-01T10:00:00Z", "2026-12-08t10:00:00z", "2026-12-08 10:00:00Z",
                            "2026-12-08T10:00:00", "2026-12-08T10:00:00Z ", "+026-12-08T10:00:00Z",
                            "2026-1-08T10:00:00Z0", ""})
        EXPECT_FALSE(parseIssueTime(bad, time)) << bad;

    const char *ordered[] = {"2025-12-31T23:59:59Z", "2026-01-01T00:00:00Z", "2026-01-02T00:00:00Z",
                             "2026-02-01T00:00:00Z", "2026-02-01T01:00:00Z", "2026-02-01T01:01:00Z",
                             "2026-02-01T01:01:01Z"};
    for (const char *earlier : ordered)
        for (const char *later : ordered) {
            CalendarTime a{}, b{};
            ASSERT_TRUE(parseIssueTime(earlier, a) && parseIssueTime(later, b));
            EXPECT_EQ(issuedBefore(a, b), std::strcmp(earlier, later) < 0) << earlier << " " << later;
        }

    const struct {
        const char *what;
        std::string data;
        IssuedStatus status;
    } cases[] = {
        {"CR LF", "[Sizes]\r\n[Issued]\r\n2026-12-08T10:00:00Z\r\n", IssuedStatus::Readable},
        {"first section counts", "[Issued]\nsoon\n[Issued]\n2026-12-08T10:00:00Z\n", IssuedStatus::Unreadable},
        {"header on the last line", "[Issued]", IssuedStatus::Unreadable},
        {"header starting alike", "[Issued ]\n2026-12-08T10:00:00Z\n", IssuedStatus::NoSection},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readCatalogueIssued(c.data.data(), c.data.size()).status, c.status) << c.what;
}

} // namespace
