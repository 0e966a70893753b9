#include "toolkit/core/BriefHold.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Runs retryBriefHolds over a scripted series of attempt results and records
// the pauses it asked for.
struct Attempts {
    std::uint32_t result;
    int attempts;
    unsigned waited;
};

Attempts runOver(const std::vector<std::uint32_t> &results)
{
    Attempts run{0, 0, 0};
    run.result = retryBriefHolds(
        [&] { return results[static_cast<std::size_t>(run.attempts++)]; },
        [&](unsigned milliseconds) { run.waited += milliseconds; });
    return run;
}

TEST(BriefHold, AHoldThatEndsWithinASecondIsWaitedOutAndALongerOneGivesItsErrorAfterOneSecond)
{
    // Held for the first three attempts: success after 50 + 100 + 200 ms.
    Attempts run = runOver({SharingViolationError, AccessDeniedError, LockViolationError, 0});
    EXPECT_EQ(run.result, 0u);
    EXPECT_EQ(run.attempts, 4);
    EXPECT_EQ(run.waited, 350u);

    // Held throughout: six attempts, about one second, the last error.
    run = runOver(std::vector<std::uint32_t>(6, SharingViolationError));
    EXPECT_EQ(run.result, SharingViolationError);
    EXPECT_EQ(run.attempts, 6);
    EXPECT_EQ(run.waited, 1000u);
}

TEST(BriefHold, OtherErrorsAndSuccessEndAtOnce)
{
    for (const std::uint32_t first : {0u, 2u /* not found */, 112u /* disk full */, 183u /* exists */}) {
        const Attempts run = runOver({first});
        EXPECT_EQ(run.result, first);
        EXPECT_EQ(run.attempts, 1) << first;
        EXPECT_EQ(run.waited, 0u) << first;
    }
    // A hold that turns into another error stops there.
    const Attempts run = runOver({SharingViolationError, 2u});
    EXPECT_EQ(run.result, 2u);
    EXPECT_EQ(run.waited, 50u);
}

} // namespace
