#include "app/ReplaceFailureText.h"

#include "resources/ResourceIds.h"
#include "toolkit/ResourceText.h"
#include "toolkit/core/TextWriter.h"

const char CantReplaceThisFile[] = "Can't replace this file";

namespace {
constexpr int ReasonTextSize = 256;

UINT reasonTextId(ReplaceReason reason)
{
    switch (reason) {
    case ReplaceReason::InUse:
        return IDS_REPLACE_IN_USE;
    case ReplaceReason::NeedsAdministrator:
        return IDS_REPLACE_NEEDS_ADMINISTRATOR;
    case ReplaceReason::ReadOnly:
        return IDS_REPLACE_READ_ONLY;
    case ReplaceReason::HiddenOrSystem:
        return IDS_REPLACE_HIDDEN_OR_SYSTEM;
    case ReplaceReason::FolderChanged:
        return IDS_REPLACE_FOLDER_CHANGED;
    case ReplaceReason::OtherError:
        break;
    }
    return 0;
}
} // namespace

void replaceFailureText(const ReplaceFacts &facts, char *text, std::size_t size)
{
    char reason[ReasonTextSize];
    const UINT id = reasonTextId(replaceReason(facts));
    if (id != 0)
        loadMessageText(id, reason, sizeof reason);
    else
        loadSystemErrorText(facts.error, reason, sizeof reason);
    TextWriter(text, size).text(CantReplaceThisFile).text("\n\n").text(reason);
}
