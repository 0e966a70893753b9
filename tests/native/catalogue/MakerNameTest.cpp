#include "catalogue/core/MakerName.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// Each value sits in a block of exactly its length, without a terminator, so
// the sanitizers catch any read past it.
bool namesMakerInBlock(const std::string &value, std::size_t length)
{
    std::unique_ptr<char[]> block(new char[value.size()]);
    std::memcpy(block.get(), value.data(), value.size());
    return namesMaker(block.get(), length);
}

TEST(MakerName, FoundAnywhereInTheWholeValueIgnoringAsciiCase)
{
    const std::string longName =
        "Federated Association of Independent Small Software Houses, member Corvel";
    struct Case {
        std::string value;
        std::size_t length;
        bool maker;
    } cases[] = {
        {"Corvel Software", 15, true},
        {"CORVEL", 6, true},
        {"The corvel company", 18, true},
        {"Corvelo Ltd", 11, true},
        {"corvecorvel", 11, true},
        {longName, longName.size(), true},
        {"Corve", 5, false},
        {"Corvel", 5, false},               // the length ends the value
        {std::string("Acme\0Corvel", 11), 11, false},  // so does a zero byte
        {"C\xD6RVEL", 6, false},            // a byte above 127 is not a letter here
        {"Acme", 4, false},
        {"x", 0, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(namesMakerInBlock(c.value, c.length), c.maker) << c.value << " / " << c.length;
}

} // namespace
