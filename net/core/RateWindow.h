#pragma once
#include <cstdint>

// Tells when a transfer has become too slow to wait for: from one window's
// length after its start on, whenever the last window (sliding, not in fixed
// steps) brought fewer than minimumBytes. A server that trickles its bytes
// could otherwise hold a transfer for as long as it likes.
//
// The window is kept in Slots equal steps, each remembering the total known
// at its start; the bytes of the last window are counted from the step
// boundary at or before its start, so the count may take in up to one step
// more than the window: a transfer is never stopped for being too slow when
// it was not, and is stopped at most one step late.
class RateWindow {
public:
    static constexpr unsigned Slots = 60;

    // window in the clock's units, a multiple of Slots; minimumBytes per window.
    RateWindow(std::uint64_t window, std::uint64_t minimumBytes);

    // The transfer begins at now with nothing received.
    void start(std::uint64_t now);
    // Whether a transfer that has received total bytes in all by now must stop.
    // A clock that seems to run backwards counts as standing still.
    bool tooSlow(std::uint64_t now, std::uint64_t total);

private:
    std::uint64_t slot_;
    std::uint64_t minimumBytes_;
    std::uint64_t start_ = 0;
    std::uint64_t lastTime_ = 0;
    std::uint64_t lastTotal_ = 0;
    // Index of the newest step boundary recorded, counted from the start.
    std::uint64_t recorded_ = 0;
    // The total known at each of the last steps' boundaries, by index modulo its size.
    std::uint64_t totals_[Slots + 2] = {};
};
