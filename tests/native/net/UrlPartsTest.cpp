#include "net/core/UrlParts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Split {
    const char *url;
    const char *server;
    unsigned port;
    bool secure;
    const char *objectPath;
    const char *lastComponent;
};

class UrlSplitting : public ::testing::TestWithParam<Split> {};

TEST_P(UrlSplitting, FindsServerPortPathAndName)
{
    const Split &c = GetParam();
    UrlParts parts = splitUrl(c.url);
    EXPECT_EQ(std::string(parts.server, parts.serverLength), c.server);
    EXPECT_EQ(parts.port, c.port);
    EXPECT_EQ(parts.secure, c.secure);
    EXPECT_STREQ(parts.objectPath, c.objectPath);
    EXPECT_STREQ(lastPathComponent(c.url, SingleByteCharacters), c.lastComponent);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, UrlSplitting,
    ::testing::Values(
        Split{"http://updates.corvel.example/Utils/Kestrel.ini", "updates.corvel.example", 80, false,
              "/Utils/Kestrel.ini", "Kestrel.ini"},
        // Without "//" the server name starts at the first character.
        Split{"updates.corvel.example/Utils/A.exe", "updates.corvel.example", 80, false, "/Utils/A.exe", "A.exe"},
        // Nothing after the server: empty object path, the name is the server name.
        Split{"http://updates.corvel.example", "updates.corvel.example", 80, false, "", "updates.corvel.example"},
        // A trailing '/' leaves an empty name.
        Split{"http://updates.corvel.example/Utils/", "updates.corvel.example", 80, false, "/Utils/", ""},
        // Only a separator at the first character: the whole text is the name.
        Split{"/Sample.exe", "", 80, false, "/Sample.exe", "/Sample.exe"}));

// The port is taken off the host name; https, in any case, means a secure
// request on 443 unless a port is given.
INSTANTIATE_TEST_SUITE_P(
    SchemesAndPorts, UrlSplitting,
    ::testing::Values(
        Split{"http://updates.corvel.example:8080/Utils/A.exe", "updates.corvel.example", 8080, false,
              "/Utils/A.exe", "A.exe"},
        Split{"https://updates.corvel.example/Utils/", "updates.corvel.example", 443, true, "/Utils/", ""},
        Split{"HTTPS://localhost:8443/Utils/A.exe", "localhost", 8443, true, "/Utils/A.exe", "A.exe"},
        Split{"http://localhost:65535", "localhost", 65535, false, "", "65535"},
        // An empty port is the scheme's own.
        Split{"https://localhost:/Utils/", "localhost", 443, true, "/Utils/", ""},
        // Only "https:" right before the first "//" makes a request secure.
        Split{"xhttps://localhost/", "localhost", 80, false, "/", ""},
        Split{"http://localhost/https://other/", "localhost", 80, false, "/https://other/", ""},
        // A bracketed address keeps its colons; a port may follow it.
        Split{"http://[::1]:8080/A.exe", "[::1]", 8080, false, "/A.exe", "A.exe"}));

// A port that is no number from 1 to 65535 is 0: nothing to connect to.
INSTANTIATE_TEST_SUITE_P(
    UnusablePorts, UrlSplitting,
    ::testing::Values(Split{"http://localhost:0/", "localhost", 0, false, "/", ""},
                      Split{"http://localhost:65536/", "localhost", 0, false, "/", ""},
                      Split{"http://localhost:99999999999999999999/", "localhost", 0, false, "/", ""},
                      Split{"http://localhost:80a/", "localhost", 0, false, "/", ""}));

TEST(ServerName, FitsUpToTheUrlLimitAndNoFurther)
{
    char buffer[MaxServerNameLength + 1];
    std::string longest = "http://" + std::string(MaxServerNameLength, 'a') + "/x";
    EXPECT_TRUE(copyServerName(splitUrl(longest.c_str()), buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer).size(), MaxServerNameLength);

    std::string tooLong = "http://" + std::string(MaxServerNameLength + 1, 'a') + "/x";
    EXPECT_FALSE(copyServerName(splitUrl(tooLong.c_str()), buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");
}

struct Escape {
    const char *path;
    const char *escaped;
};

class ObjectPathEscaping : public ::testing::TestWithParam<Escape> {};

TEST_P(ObjectPathEscaping, EncodesWhatARequestLineCannotCarry)
{
    const Escape &c = GetParam();
    std::size_t size = escapedObjectPathSize(c.path);
    EXPECT_EQ(size, std::string(c.escaped).size() + 1);
    std::string out(size, '?');
    ASSERT_TRUE(escapeObjectPath(c.path, &out[0], size));
    EXPECT_STREQ(out.c_str(), c.escaped);
}

INSTANTIATE_TEST_SUITE_P(Paths, ObjectPathEscaping,
                         ::testing::Values(Escape{"/Utils/Kestrel.ini", "/Utils/Kestrel.ini"},
                                           Escape{"/Utils/Other Tool.exe", "/Utils/Other%20Tool.exe"},
                                           // The server decodes escapes: a '%' sent bare would name another file.
                                           Escape{"/Utils/A%41.exe", "/Utils/A%2541.exe"},
                                           Escape{"/Utils/100%", "/Utils/100%25"},
                                           Escape{"/a\"<>#\x7f\xe9\t", "/a%22%3C%3E%23%7F%E9%09"},
                                           Escape{"", ""}));

TEST(ObjectPathEscapingLimit, RefusesARoomTooSmall)
{
    char out[8];
    EXPECT_FALSE(escapeObjectPath("/a b c d", out, sizeof out));
    EXPECT_STREQ(out, "");
}

} // namespace
