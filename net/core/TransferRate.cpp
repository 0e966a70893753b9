#include "net/core/TransferRate.h"

namespace {
constexpr unsigned SecondsPerDay = 86400;
}

unsigned secondOfDay(unsigned hour, unsigned minute, unsigned second)
{
    return hour * 3600 + minute * 60 + second;
}

unsigned averageRate(unsigned totalBytes, unsigned startSecond, unsigned nowSecond)
{
    unsigned elapsed = (nowSecond + SecondsPerDay - startSecond) % SecondsPerDay;
    return elapsed == 0 ? 0 : totalBytes / elapsed;
}
