#include "catalogue/core/Base64.h"
#include "catalogue/core/CatalogueChecksums.h"
#include "catalogue/core/CatalogueExpiry.h"
#include "catalogue/core/HexText.h"
#include "catalogue/core/SignedCatalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string encoded(const std::string &bytes)
{
    std::string out(base64Length(bytes.size()) + 1, '?');
    encodeBase64(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(), &out[0]);
    EXPECT_EQ(out.back(), '\0');
    out.pop_back();
    return out;
}

bool decoded(const std::string &text, std::string &bytes, std::size_t capacity = 100)
{
    std::vector<unsigned char> out(capacity);
    std::size_t size = 99999;
    const bool ok = decodeBase64(text.data(), text.size(), out.data(), capacity, size);
    bytes.assign(out.begin(), out.begin() + static_cast<long>(size));
    return ok;
}

TEST(Base64, MatchesTheStandardVectorsBothWays)
{
    const char *vectors[][2] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},   {"foo", "Zm9v"},
                                {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
                                {"\xff\xfe\x3e\x3f", "//4+Pw=="}};
    for (const auto &v : vectors) {
        EXPECT_EQ(encoded(v[0]), v[1]);
        std::string bytes;
        EXPECT_TRUE(decoded(v[1], bytes)) << v[1];
        EXPECT_EQ(bytes, v[0]);
    }
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(255 - i);
    for (std::size_t length = 60; length <= all.size(); length += 7) {
        std::string bytes;
        ASSERT_TRUE(decoded(encoded(all.substr(0, length)), bytes, length));
        EXPECT_EQ(bytes, all.substr(0, length));
    }
}

TEST(Base64, RefusesEverythingButTheOneEncoding)
{
    struct Case {
        const char *what;
        const char *text;
        std::size_t capacity;
    } cases[] = {
        {"length not a multiple of 4", "Zm9", 10},        {"padding missing", "Zg", 10},
        {"three padding characters", "Z===", 10},        {"padding inside", "Zg==Zm8=", 10},
        {"padding before a character", "Zm=v", 10},      {"unused bits set, two =", "Zh==", 10},
        {"unused bits set, one =", "Zm9=", 10},          {"URL alphabet", "-_8=", 10},
        {"space", "Zm9 ", 10},                           {"line end", "Zm9\n", 10},
        {"byte above 127", "Zm9\xc3", 10},               {"more bytes than room", "Zm9vYmFy", 5},
    };
    for (const Case &c : cases) {
        std::string bytes;
        EXPECT_FALSE(decoded(c.text, bytes, c.capacity)) << c.what;
        EXPECT_TRUE(bytes.empty()) << c.what;
    }
    std::string bytes;
    EXPECT_TRUE(decoded("Zm9vYmFy", bytes, 6)) << "exactly the room";
}

TEST(HexText, WritesLowerCaseAndReadsOnlyLowerCase)
{
    const unsigned char bytes[] = {0x00, 0x9f, 0xa0, 0xff, 0x5c};
    char text[11];
    encodeHex(bytes, sizeof bytes, text);
    EXPECT_STREQ(text, "009fa0ff5c");
    unsigned char back[5] = {};
    ASSERT_TRUE(decodeLowerHex(text, back, sizeof back));
    EXPECT_EQ(std::memcmp(back, bytes, sizeof bytes), 0);
    for (const char *bad : {"009FA0ff5c", "009fa0ff5g", "009fa0ff5", "0x9fa0ff5c", " 09fa0ff5c"})
        EXPECT_FALSE(decodeLowerHex(bad, back, sizeof back)) << bad;
}

// 88 characters that decode to r and s, and a different but valid one.
const std::string SignatureText = std::string(86, 'A') + "==";
const std::string OtherSignature = "B" + std::string(85, 'A') + "==";
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
        {"empty file", "", SignatureStatus::NoSection, 0},
        {"header with more after the bracket", "[Signature] \n" + SignatureText, SignatureStatus::NoSection, 30},
        {"header in lower case", "[signature]\n" + SignatureText, SignatureStatus::NoSection, 100},
        {"header not at a line start", "x[Signature]\n" + SignatureText, SignatureStatus::NoSection, 102},
        {"two carriage returns", "[Signature]\r\r\n" + SignatureText, SignatureStatus::NoSection, 102},
        {"header on the last line", "[U]\n[Signature]\r\n", SignatureStatus::BadSignatureLine, 4},
        {"header at the very end", "[U]\n[Signature]", SignatureStatus::BadSignatureLine, 4},
        {"signature one short", "[Signature]\n" + SignatureText.substr(1), SignatureStatus::BadSignatureLine, 0},
        {"signature with a space", "[Signature]\n " + SignatureText, SignatureStatus::BadSignatureLine, 0},
        {"signature of 66 bytes", "[Signature]\n" + std::string(88, 'A'), SignatureStatus::BadSignatureLine, 0},
        {"empty line before it", "[Signature]\n\n" + SignatureText, SignatureStatus::BadSignatureLine, 0},
        {"entry appended", "[Signature]\n" + SignatureText + "\n[U]\nB.exe|0|1/1/20|1:00:00 PM|-|1.0.0.0\n",
         SignatureStatus::TrailingBytes, 0},
        {"a space appended", "[Signature]\n" + SignatureText + "\n ", SignatureStatus::TrailingBytes, 0},
        {"second signature", "[Signature]\n" + SignatureText + "\n[Signature]\n" + OtherSignature,
         SignatureStatus::TrailingBytes, 0},
        {"first header counts", "[Signature]\nnot base64\n[Signature]\n" + SignatureText,
         SignatureStatus::BadSignatureLine, 0},
    };
    for (const Case &c : cases) {
        const SignedCatalogue split = splitSignedCatalogue(c.data.data(), c.data.size());
        EXPECT_EQ(split.status, c.status) << c.what;
        if (c.status != SignatureStatus::NoSection)
            EXPECT_EQ(split.signedSize, c.signedSize) << c.what;
        else
            EXPECT_EQ(split.signedSize, c.data.size()) << c.what;
    }
    const std::string data = "[Signature]\n" + OtherSignature;
    const SignedCatalogue split = splitSignedCatalogue(data.data(), data.size());
    EXPECT_EQ(split.signature[0], 0x04);
    EXPECT_EQ(split.signature[63], 0x00);
}

CalendarTime day(int year, int month, int dayOfMonth)
{
    CalendarTime t{};
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(dayOfMonth);
    return t;
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
        {"dashes, last line", "[Expires]\n1-31-50", ExpiryStatus::Readable, 2050, 1, 31},
        {"first section counts", "[Expires]\n2/3/25\n[Expires]\n2/4/25\n", ExpiryStatus::Readable, 2025, 2, 3},
        {"no section", "[U]\n12/8/27\n", ExpiryStatus::NoSection, 0, 0, 0},
        {"other header starting alike", "[Expired]\n12/8/27\n", ExpiryStatus::NoSection, 0, 0, 0},
        {"header without line", "[Expires]\n", ExpiryStatus::Unreadable, 0, 0, 0},
        {"empty line first", "[Expires]\n\n12/8/27\n", ExpiryStatus::Unreadable, 0, 0, 0},
        {"four-digit year", "[Expires]\n12/8/2027\n", ExpiryStatus::Unreadable, 0, 0, 0},
        {"no such day", "[Expires]\n2/30/28\n", ExpiryStatus::Unreadable, 0, 0, 0},
        {"a header", "[Expires]\n[U]\n", ExpiryStatus::Unreadable, 0, 0, 0},
    };
    for (const Case &c : cases) {
        const CatalogueExpiry expiry = readCatalogueExpiry(c.data.data(), c.data.size());
        EXPECT_EQ(expiry.status, c.status) << c.what;
        if (c.status == ExpiryStatus::Readable) {
            EXPECT_EQ(expiry.lastDay.year, c.year) << c.what;
            EXPECT_EQ(expiry.lastDay.month, c.month) << c.what;
            EXPECT_EQ(expiry.lastDay.day, c.day) << c.what;
        }
    }
}

TEST(CatalogueExpiry, ExpiresOnlyAfterTheLastDay)
{
    const CalendarTime last = day(2027, 6, 15);
    EXPECT_FALSE(isExpired(last, day(2027, 6, 15)));
    EXPECT_FALSE(isExpired(last, day(2027, 6, 14)));
    EXPECT_FALSE(isExpired(last, day(2026, 12, 31)));
    EXPECT_FALSE(isExpired(last, day(2027, 5, 30)));
    EXPECT_TRUE(isExpired(last, day(2027, 6, 16)));
    EXPECT_TRUE(isExpired(last, day(2027, 7, 1)));
    EXPECT_TRUE(isExpired(last, day(2028, 1, 1)));
}

bool sameIgnoringCase(const char *a, const char *b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

const std::string Hex = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";

TEST(CatalogueChecksums, GivesEachEntryTheFirstLineForItsName)
{
    const std::string other = std::string(63, '0') + "1";
    const std::string data = "[U]\nignored|" + Hex + "\n"
                             "[Hashes]\n"
                             "SAMPLE.EXE|" + Hex + "\n"
                             "\n"
                             "Sample.exe|" + other + "\n"
                             "Upper.exe|" + std::string(Hex).replace(0, 1, "F") + "\n"
                             "Short.exe|" + Hex.substr(1) + "\n"
                             "Spaced.exe| " + Hex + "\n"
                             "Bare.exe\n"
                             "Stranger.exe|" + Hex + "\n"
                             "[Hashesque]\n"
                             "Later.exe|" + Hex + "\n"
                             "[Hashes]\n"
                             "Later.exe|" + Hex + "\n";
    const char *names[] = {"Sample.exe", "Upper.exe", "Short.exe", "Spaced.exe", "Bare.exe", "Later.exe",
                           "Absent.exe", "ignored"};
    const ChecksumStatus expected[] = {ChecksumStatus::Present,   ChecksumStatus::Malformed, ChecksumStatus::Malformed,
                                       ChecksumStatus::Malformed, ChecksumStatus::Malformed, ChecksumStatus::None,
                                       ChecksumStatus::None,      ChecksumStatus::None};
    CatalogueEntry entries[8];
    std::memset(entries, 0x5A, sizeof entries);
    for (int i = 0; i < 8; ++i)
        std::strcpy(entries[i].fileName, names[i]);
    readCatalogueChecksums(data.data(), data.size(), entries, 8, sameIgnoringCase);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(entries[i].checksumStatus, expected[i]) << names[i];
    char text[Sha256HexLength + 1];
    encodeHex(entries[0].checksum.bytes, Sha256Size, text);
    EXPECT_EQ(text, Hex);
}

TEST(CatalogueChecksums, SplitsALineAtItsFirstSeparator)
{
    char name[6];
    Sha256Digest digest;
    EXPECT_TRUE(parseChecksumLine(("A.exe|" + Hex).c_str(), name, sizeof name, digest));
    EXPECT_STREQ(name, "A.exe");
    EXPECT_TRUE(parseChecksumLine(("Longer.exe|" + Hex).c_str(), name, sizeof name, digest));
    EXPECT_STREQ(name, "Longe") << "cut to the buffer";
    EXPECT_FALSE(parseChecksumLine(("A|B|" + Hex).c_str(), name, sizeof name, digest));
    EXPECT_STREQ(name, "A");
    EXPECT_FALSE(parseChecksumLine(("A.exe|" + Hex + "\t").c_str(), name, sizeof name, digest));
}

} // namespace
