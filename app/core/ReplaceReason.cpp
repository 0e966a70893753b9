#include "app/core/ReplaceReason.h"

#include "toolkit/core/BriefHold.h"

bool refusesTargetAttributes(std::uint32_t attributes)
{
    using namespace FileAttribute;
    return (attributes & (ReadOnly | Hidden | System | Directory)) != 0;
}

bool needsInUseProbe(std::uint32_t moveError)
{
    return moveError == AccessDeniedError || moveError == SharingViolationError;
}

ReplaceReason replaceReason(const ReplaceFacts &facts)
{
    if (facts.folderChanged)
        return ReplaceReason::FolderChanged;
    if (facts.targetAttributes & FileAttribute::ReadOnly)
        return ReplaceReason::ReadOnly;
    if (facts.targetAttributes & (FileAttribute::Hidden | FileAttribute::System))
        return ReplaceReason::HiddenOrSystem;
    if (facts.atFinalMove && needsInUseProbe(facts.error) &&
        (facts.openForWritingError == SharingViolationError || facts.openForWritingError == LockViolationError))
        return ReplaceReason::InUse;
    if (facts.error == AccessDeniedError)
        return ReplaceReason::NeedsAdministrator;
    return ReplaceReason::OtherError;
}
