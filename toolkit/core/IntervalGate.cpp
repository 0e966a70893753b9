#include "toolkit/core/IntervalGate.h"

bool IntervalGate::due(std::uint64_t now)
{
    if (!open_ && now >= last_ && now - last_ < interval_)
        return false;
    open_ = false;
    last_ = now;
    return true;
}
