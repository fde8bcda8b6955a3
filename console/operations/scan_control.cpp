// SPDX-License-Identifier: GPL-3.0-or-later
// scan_control.cpp - starting and stopping the radio's scans, the scan
// group and visual scan windows, the scan speed and the slow-scan mark.
#include "console_operations.h"
#include "read_toggle.h"

#include "console_menu.h"

#include <corvan.h>

using namespace operations;

void ConsoleOperations::ScanButton() {
    zephyra::ConsoleState& s = state;
    if (s.funcMode) {
        windows.RadioSgrView();
        link.ConnSU("R", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        SetFuncMode(false);
        return;
    }
    u32 scan = 0;
    if (!ReadOnce(link, &CCorvan::RcvDataSC, scan)) {
        link.ConnSC("R", 0);
        return;
    }
    if (scan != 0)
        link.ConnSC("W", 0);
    else if (!s.memoryScroll && !s.entryMode)
        link.ConnSC("W", 1);
}

void ConsoleOperations::VisualScan() { RunCommand(cmd::VisualScan); }

void ConsoleOperations::ScanSpeed(int direction) {
    if (direction < 0)
        link.ConnRD("W", 1);
    else
        link.ConnRU("W", 1);
}

void ConsoleOperations::SlowScanFrequency() {
    if (!zephyra::OnProgramScanChannel(state))
        return; // the radio keeps a slow-scan frequency only on those channels
    u32 slow = 0;
    if (!ReadOnce(link, &CCorvan::RcvDataSS, slow)) {
        link.ConnSS("R", 0);
        return;
    }
    link.ConnSS("W", slow == 0 ? 1 : 0);
}
