#pragma once

// Command identifiers of the button bar and the accelerator table 103.
enum CommandId : int {
    CommandExit = 40001,
    CommandStart = 40002,
    CommandUpdate = 40003,
    CommandAbout = 40004,
};
