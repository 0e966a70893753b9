#include "toolkit/core/BriefHold.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Attempts {
    std::uint32_t result;
    int count;
    unsigned waited;
};

// retryBriefHolds over a scripted series of attempt results.
Attempts runOver(const std::vector<std::uint32_t> &results)
{
    Attempts run{0, 0, 0};
    run.result = retryBriefHolds([&] { return results[static_cast<std::size_t>(run.count++)]; },
                                 [&](unsigned milliseconds) { run.waited += milliseconds; });
    return run;
}

TEST(BriefHold, WaitsOutAHoldOfUpToAboutASecondAndNothingElse)
{
    const struct {
        std::vector<std::uint32_t> results;
        std::uint32_t result;
        int count;
        unsigned waited;
    } cases[] = {
        {{SharingViolationError, AccessDeniedError, LockViolationError, 0}, 0, 4, 350},
        {std::vector<std::uint32_t>(6, SharingViolationError), SharingViolationError, 6, 1000},
        {{0}, 0, 1, 0},
        {{2 /* not found */}, 2, 1, 0},
        {{112 /* disk full */}, 112, 1, 0},
        {{SharingViolationError, 2}, 2, 2, 50},
    };
    for (const auto &c : cases) {
        const Attempts run = runOver(c.results);
        EXPECT_EQ(run.result, c.result);
        EXPECT_EQ(run.count, c.count);
        EXPECT_EQ(run.waited, c.waited);
    }
}

} // namespace
