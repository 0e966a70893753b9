#pragma once
#include "resources/ResourceIds.h"

// Command identifiers of the button bar and the accelerator table.
enum CommandId : int {
    CommandExit = IDM_EXIT,
    CommandStart = IDM_START,
    CommandUpdate = IDM_UPDATE,
    CommandAbout = IDM_ABOUT,
};
