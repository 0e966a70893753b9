#include "net/core/RateWindow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace {

constexpr std::uint64_t Minute = 60000;  // milliseconds
constexpr std::uint64_t MinimumBytes = 61440;

// Runs a transfer whose total at each moment is totalAt(ms), asking every
// step ms from the start at 5000; the time since the start at which the
// window stops it, or 0 when it runs the whole ten minutes.
std::uint64_t stopTime(const std::function<std::uint64_t(std::uint64_t)> &totalAt, std::uint64_t step = 250)
{
    const std::uint64_t start = 5000;
    RateWindow window(Minute, MinimumBytes);
    window.start(start);
    for (std::uint64_t t = step; t <= 10 * Minute; t += step) {
        if (window.tooSlow(start + t, totalAt(t)))
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
    } cases[] = {
        {"1,024 bytes a second exactly is enough", [](std::uint64_t t) { return t * 1024 / 1000; }, 0},
        {"1,000 bytes a second stops when the first minute is over",
         [](std::uint64_t t) { return t; }, Minute},
        {"a byte every 20 seconds", [](std::uint64_t t) { return t / 20000; }, Minute},
        {"nothing at all", [](std::uint64_t) { return 0; }, Minute},
        {"a megabyte in the first second, then silence: once it slides out of the window",
         [](std::uint64_t t) { return t >= 1000 ? 1048576 : 0; }, Minute + 1000},
        {"2,000 a second for 100 s, then silence: when the last minute holds fewer than 61,440",
         [](std::uint64_t t) { return (t < 100000 ? t : 100000) * 2; }, 130000},
        {"bursts of 70,000 every 50 s keep it going",
         [](std::uint64_t t) { return (t / 50000 + 1) * 70000; }, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(stopTime(c.totalAt), c.stop) << c.what;
}

TEST(RateWindow, PausesBetweenQuestionsAndABackwardClock)
{
    // Asked only every 7 minutes: the bytes that came since the last
    // question count for the last minute, none before them.
    EXPECT_EQ(stopTime([](std::uint64_t t) { return t / 420000 * 61440; }, 420000), 0u);
    EXPECT_EQ(stopTime([](std::uint64_t t) { return t / 420000 * 61439; }, 420000), 420000u);

    RateWindow window(Minute, MinimumBytes);
    window.start(100000);
    EXPECT_FALSE(window.tooSlow(150000, 50000));
    EXPECT_FALSE(window.tooSlow(120000, 60000));  // the clock ran back: still at 50 s
    EXPECT_FALSE(window.tooSlow(160000, 61440));
    // The first 50,000 may have come at any time before 50 s: only from
    // 110 s on is the window sure to hold none of them.
    EXPECT_FALSE(window.tooSlow(209999, 61440));
    EXPECT_TRUE(window.tooSlow(210000, 61440));

    // A fresh start forgets the last transfer.
    window.start(0);
    EXPECT_FALSE(window.tooSlow(59999, 0));
    EXPECT_TRUE(window.tooSlow(60000, 0));
}

} // namespace
