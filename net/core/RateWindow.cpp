#include "net/core/RateWindow.h"

namespace {
constexpr std::uint64_t RingSize = RateWindow::Slots + 2;
}

RateWindow::RateWindow(std::uint64_t window, std::uint64_t minimumBytes)
    : slot_(window / Slots > 0 ? window / Slots : 1), minimumBytes_(minimumBytes)
{
}

void RateWindow::start(std::uint64_t now)
{
    start_ = now;
    lastTime_ = now;
    lastTotal_ = 0;
    recorded_ = 0;
    totals_[0] = 0;
}

bool RateWindow::tooSlow(std::uint64_t now, std::uint64_t total)
{
    if (now < lastTime_)
        now = lastTime_;
    const std::uint64_t current = (now - start_) / slot_;
    // The boundaries passed since the last call: those before now still saw
    // the last call's total; one falling exactly on now sees this one's.
    // After a pause longer than the ring, only the newest boundaries matter.
    std::uint64_t next = recorded_ + 1;
    if (current >= RingSize && next < current - RingSize + 1)
        next = current - RingSize + 1;
    for (std::uint64_t index = next; index <= current; ++index)
        totals_[index % RingSize] = start_ + index * slot_ == now ? total : lastTotal_;
    if (current > recorded_)
        recorded_ = current;
    lastTime_ = now;
    lastTotal_ = total;

    if (current < Slots)
        return false;
    // The newest boundary at or before the window's start.
    const std::uint64_t first = (now - start_ - Slots * slot_) / slot_;
    return total - totals_[first % RingSize] < minimumBytes_;
}
