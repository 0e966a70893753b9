#pragma once
#include <cstdint>

// Lets a costly step through at most once per interval of a monotonic clock:
// the first time after a reset at once, then only once interval has passed
// since the step it last let through. A clock that seems to run backwards
// (a counter of another processor, say) lets the step through rather than
// hold it up for as long as the clock jumped.
class IntervalGate {
public:
    explicit IntervalGate(std::uint64_t interval) : interval_(interval) {}

    // Whether the step is due at now; when it is, now counts as its time.
    bool due(std::uint64_t now);
    void reset() { open_ = true; }

private:
    std::uint64_t interval_;
    std::uint64_t last_ = 0;
    bool open_ = true;
};
