#include "net/core/TransferRate.h"

#include <gtest/gtest.h>

namespace {

struct Rate {
    unsigned total;
    unsigned start;
    unsigned now;
    unsigned expected;
};

class AverageRate : public ::testing::TestWithParam<Rate> {};

TEST_P(AverageRate, DividesByTheSecondsOfTheDayElapsed)
{
    const Rate &c = GetParam();
    EXPECT_EQ(averageRate(c.total, c.start, c.now), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Times, AverageRate,
    ::testing::Values(Rate{5000, secondOfDay(12, 0, 0), secondOfDay(12, 0, 0), 0},    // first second
                      Rate{1000, secondOfDay(12, 0, 0), secondOfDay(12, 0, 3), 333},  // rounds down
                      Rate{2000, secondOfDay(23, 59, 50), secondOfDay(0, 0, 10), 100},  // across midnight: 20 s
                      Rate{4294967295u, secondOfDay(0, 0, 0), secondOfDay(0, 0, 1), 4294967295u},
                      Rate{86400, secondOfDay(0, 0, 1), secondOfDay(0, 0, 0), 1}));  // almost a day

TEST(SecondOfDay, CountsFromMidnight)
{
    EXPECT_EQ(secondOfDay(0, 0, 0), 0u);
    EXPECT_EQ(secondOfDay(23, 59, 59), 86399u);
}

} // namespace
