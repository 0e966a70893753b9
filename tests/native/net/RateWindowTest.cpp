#include "net/core/RateWindow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace {

constexpr std::uint64_t Minute = 60000;  // milliseconds

// Runs a transfer whose total at each moment is totalAt(ms), asking every step
// ms; the time since its start at which the window stops it, 0 if never in ten minutes.
std::uint64_t stopTime(const std::function<std::uint64_t(std::uint64_t)> &totalAt, std::uint64_t step = 250)
{
    RateWindow window(Minute, 61440);
    window.start(5000);
    for (std::uint64_t t = step; t <= 10 * Minute; t += step) {
        if (window.tooSlow(5000 + t, totalAt(t)))
            return t;
    }
    return 0;
}

TEST(RateWindow, StopsAtTheFirstMomentTheLastMinuteFallsShort)
{
    struct Case {
        const char *what;
        std::function<std::uint64_t(std::uint64_t)> totalAt;
        std::uint64_t stop;
        std::uint64_t step = 250;
    } cases[] = {
        {"1,024 bytes a second exactly", [](std::uint64_t t) { return t * 1024 / 1000; }, 0},
        {"1,000 bytes a second", [](std::uint64_t t) { return t; }, Minute},
        {"a byte every 20 seconds", [](std::uint64_t t) { return t / 20000; }, Minute},
        {"a megabyte in the first second, then silence", [](std::uint64_t t) { return t >= 1000 ? 1048576 : 0; },
         Minute + 1000},
        {"2,000 a second for 100 s, then silence", [](std::uint64_t t) { return (t < 100000 ? t : 100000) * 2; },
         130000},
        {"bursts of 70,000 every 50 s", [](std::uint64_t t) { return (t / 50000 + 1) * 70000; }, 0},
        // Asked only every 7 minutes: what came since the last question may
        // all have come in the last minute.
        {"61,440 per 7-minute question", [](std::uint64_t t) { return t / 420000 * 61440; }, 0, 420000},
        {"61,439 per 7-minute question", [](std::uint64_t t) { return t / 420000 * 61439; }, 420000, 420000},
    };
    for (const Case &c : cases)
        EXPECT_EQ(stopTime(c.totalAt, c.step), c.stop) << c.what;
}

TEST(RateWindow, BackwardClockStandsStill)
{
    RateWindow window(Minute, 61440);
    window.start(100000);
    EXPECT_FALSE(window.tooSlow(150000, 50000));
    EXPECT_FALSE(window.tooSlow(120000, 61440));  // taken as 150 s
    // The first 50,000 may have come at any time before 150 s.
    EXPECT_FALSE(window.tooSlow(209999, 61440));
    EXPECT_TRUE(window.tooSlow(210000, 61440));
}

} // namespace
