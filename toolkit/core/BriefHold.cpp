#include "toolkit/core/BriefHold.h"

bool mayBeBriefHold(std::uint32_t error)
{
    return error == AccessDeniedError || error == SharingViolationError || error == LockViolationError;
}
