#pragma once
#include <cstdint>

// Antivirus scanners open a freshly written file for a moment, and a move or
// an exclusive open of it then fails with access denied, a sharing violation
// or a lock violation. Such a step is tried again after each of these pauses
// (milliseconds), about one second in all, before its failure counts.
constexpr unsigned BriefHoldPauses[] = {50, 100, 200, 300, 350};

// The platform's codes of those three errors (the core does not see its headers).
constexpr std::uint32_t AccessDeniedError = 5;
constexpr std::uint32_t SharingViolationError = 32;
constexpr std::uint32_t LockViolationError = 33;

// True for the errors another program's brief hold of a file gives.
bool mayBeBriefHold(std::uint32_t error);

// Runs attempt(), which answers 0 on success or its error code, until it
// succeeds, fails with an error no brief hold gives, or the pauses are used
// up; pause(milliseconds) waits between two attempts. Answers the last
// attempt's result.
template <class Attempt, class Pause>
std::uint32_t retryBriefHolds(Attempt attempt, Pause pause)
{
    std::uint32_t error = attempt();
    for (const unsigned milliseconds : BriefHoldPauses) {
        if (!mayBeBriefHold(error))
            break;
        pause(milliseconds);
        error = attempt();
    }
    return error;
}
