// SPDX-License-Identifier: GPL-3.0-or-later
// simulator_connection.h - the console's connection to the built-in
// simulator without the console window, for the benchmarks that measure it.
#pragma once

#include "console_link.h"

#include <QString>
#include <qxsim.h>

class QuietSurface final : public zephyra::ConsoleSurface {
public:
    void EnableCommand(zephyra::ConnectionCommand, bool) override {}
    void SetConnectionLamp(bool) override {}
    void SetControlPicture(bool) override {}
    void SetPowerPicture(bool) override {}
    void ShowLiveDisplay(bool) override {}
    void PaintDisplayDark() override {}
    void EndTransmitDisplay() override {}
    void StopBlinkTimers() override {}
    void SetStatusText(const QString&) override {}
    void SetZulLine(const QString&) override {}
    void SetOperationBusy(bool) override {}
    void LeaveOperatorMode(zephyra::OperatorMode) override {}
};

// A connection with its state, link and surface, its simulator paced as asked.
struct SimulatorConnection {
    SimulatorConnection(bool pace, unsigned baud) : link(state, corvan, surface, peers) {
        qxsim::Options options;
        options.pace = pace;
        options.baud = baud;
        link.Simulator().SetOptions(options);
        link.SetPortOverride(QString::fromLatin1(zephyra::kBuiltInSimulatorPort));
    }
    QuietSurface surface;
    zephyra::SecondaryWindows peers;
    zephyra::ConsoleState state;
    CCorvan corvan;
    zephyra::ConsoleLink link;
};
