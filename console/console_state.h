// console_state.h - the operator state the console's topic files share.
//
// Every field starts at its power-off value; ResetConsoleState puts them
// back. Topic files add the fields they own here.
#pragma once

struct ConsoleState {
    bool connected = false;     // the port is open
    bool ready = false;         // the radio reported power on
    int wheelSelection = 0;     // tuning-dial selection: 0 off, 1..8 on
    bool voiceRecallMode = false;
    bool satelliteMode = false;
    bool memoryScroll = false;
    bool busy = false;          // inside the operation guard
    int dialWait = 5;           // "Setting"/"DialWait"
};
