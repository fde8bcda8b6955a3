// SPDX-License-Identifier: GPL-3.0-or-later
// console_desk.h - a real console on a simulator behind a link name that can
// be removed and made again (a cable pulled and plugged in), with the visual
// scan at hand: what the radio-away and sweep-pull tests share.
#pragma once

#include "console_dialog.h"

#include "glimra_internal.h"
#include "vscan_window.h"

#include <console_link.h>
#include <platform.h>
#include <qxsim.h>

#include <QTemporaryDir>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace console_desk {

using platform::PumpFor;
using platform::PumpUntil;

// The tuning command the console writes for `hz` on VFO A.
std::string FaText(std::int64_t hz);

// A radio on a pseudo-terminal behind a lasting link name, and a console
// that uses that name as its port.
class Desk {
public:
    Desk();
    ~Desk() { Exit(); }
    // File > Exit: the secondary windows close, then the console ends.
    void Exit();
    void Relink();
    // The cable pulled: the device and its name go; the radio keeps its state.
    void Unplug();
    void PlugIn();
    ConsoleState& state() { return console->state(); }
    zephyra::ConsoleLink& link() { return *console->connection(); }
    bool Connect() { return console->ConnectAndSynchronise(); }
    // Control > ON again after a loss; true once the initial read is done.
    bool ConnectAgain();
    bool WaitDisconnected();
    glimra::CVisualScanDlg* OpenVisualScan();
    std::string Menu015() const { return radio.menuValue(15, 0); }
    // The initial read ends with a menu query it does not wait for; the
    // window reads the operator's menu 015 only with a menu answer stored.
    bool MenuAnswerStored();
    std::int64_t VfoA() const { return radio.state().vfoA; }

    qxsim::Radio radio;
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<ConsoleDialog> console;
};

// A sweep under way: true once the radio has been tuned away from the centre.
bool SweepUnderWay(Desk& desk, glimra::CVisualScanDlg* window, std::int64_t centre);

// Connected, the visual scan open on the radio's frequency (`centre`) and
// sweeping, then the cable pulled and the console disconnected.
void PullMidSweep(Desk& desk, glimra::CVisualScanDlg*& window, std::int64_t& centre);

} // namespace console_desk
