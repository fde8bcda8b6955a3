// SPDX-License-Identifier: GPL-3.0-or-later
// The outside windows' shared test pieces: the event pump, the virtual radio
// and the console's stand-in.
#include "plugin_test_harness.h"

#include <QCoreApplication>
#include <QEvent>

#include <thread>

namespace plugin_tests {

void PumpFor(int ms) { platform::PumpFor(std::chrono::milliseconds(ms)); }

SimRadio& SimRadio::instance() {
    static SimRadio sim;
    return sim;
}

SimRadio::SimRadio() {
    if (radio.start())
        connected = link.Conn("QR-7730", radio.devicePath().c_str(), 9600, "n", 8, 1, 1) == 1;
}

SimRadio::~SimRadio() {
    m_console.reset();
    link.WinMsgSendReg(nullptr);
    link.Close();
    radio.stop();
}

ConsoleStandIn& SimRadio::console() {
    if (!m_console)
        m_console = std::make_unique<ConsoleStandIn>(link);
    return *m_console;
}

ConsoleStandIn::ConsoleStandIn(CCorvan& link) : m_link(link), m_target(this) { m_link.WinMsgSendReg(&m_target); }

ConsoleStandIn::~ConsoleStandIn() { m_link.WinMsgSendReg(nullptr); }

void ConsoleStandIn::On(std::uint32_t message, std::function<void()> forward) {
    m_handlers[message] = std::move(forward);
}

bool ConsoleStandIn::event(QEvent* event) {
    const auto found = m_handlers.find(static_cast<std::uint32_t>(event->type()));
    if (found == m_handlers.end())
        return QObject::event(event);
    found->second();
    return true;
}

} // namespace plugin_tests
