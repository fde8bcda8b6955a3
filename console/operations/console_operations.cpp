// SPDX-License-Identifier: GPL-3.0-or-later
// console_operations.cpp - the operations' shared parts: construction, the
// waits inside an operation and the console's commands. The topic files
// build on these; nothing here reaches back into a topic (the hold timers
// are the input's, the end of an operator mode is operator_modes.cpp's).
#include "console_operations.h"

#include <console_link.h>
#include <platform.h>

#include <chrono>
#include <thread>

ConsoleOperations::ConsoleOperations(zephyra::ConsoleState& state_, ConsoleControls& controls_,
                                     CCorvan& link_, zephyra::SecondaryWindows& windows_,
                                     zephyra::ConsoleLink& connection_, ConsoleDisplay& display_,
                                     OperationsHost host_)
    : state(state_), controls(controls_), link(link_), windows(windows_), connection(connection_),
      display(display_), host(std::move(host_)),
      m_timers(std::make_unique<platform::TimerTable>([this](int id) { OnTimer(id); })) {}

ConsoleOperations::~ConsoleOperations() = default;

void ConsoleOperations::Pause(int milliseconds) {
    const double scale = connection.Timing().scale;
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::microseconds(static_cast<long long>(milliseconds * 1000 * scale));
    do {
        platform::PumpMessages(100);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < end);
}

bool ConsoleOperations::WaitFor(const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        platform::PumpMessages(100);
        if (done())
            return true;
        Pause(100);
    }
    return done();
}

void ConsoleOperations::RunCommand(int commandId) {
    if (host.command)
        host.command(commandId);
}
