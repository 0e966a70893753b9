#include "toolkit/core/IntervalGate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(IntervalGate, LetsAStepThroughAtMostOncePerInterval)
{
    struct Case {
        const char *what;
        std::vector<std::uint64_t> times;
        std::vector<bool> due;
    } cases[] = {
        {"first call at once, even at time 0", {0, 0, 9999}, {true, false, false}},
        {"from the last step let through, not the last call", {100, 10000, 10099, 10100, 20099, 20100},
         {true, false, false, true, false, true}},
        {"a long pause lets exactly one through", {5, 1000000, 1000001}, {true, true, false}},
        {"a clock running backwards lets through", {50000, 40000, 45000}, {true, true, false}},
        {"near the end of the clock's range", {UINT64_MAX - 5000, UINT64_MAX}, {true, false}},
    };
    for (const Case &c : cases) {
        IntervalGate gate(10000);
        std::vector<bool> due;
        for (std::uint64_t t : c.times)
            due.push_back(gate.due(t));
        EXPECT_EQ(due, c.due) << c.what;
    }
}

TEST(IntervalGate, ResetLetsTheNextStepThrough)
{
    IntervalGate gate(30000);
    EXPECT_TRUE(gate.due(1000));
    EXPECT_FALSE(gate.due(2000));
    gate.reset();
    EXPECT_TRUE(gate.due(2000));
    EXPECT_FALSE(gate.due(31999));
    EXPECT_TRUE(gate.due(32000));
}

} // namespace
