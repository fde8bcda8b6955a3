// SPDX-License-Identifier: GPL-3.0-or-later
// What the outside windows' tests share: letting the event loop work until a
// condition holds, the virtual radio with its connected link, and a stand-in
// for the console that forwards the link's notifications to the exports.
#pragma once

#include <corvan.h>
#include <platform.h>
#include <qxsim.h>

#include <QObject>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace plugin_tests {

// Lets the windows and the link work until `done` holds (true) or `limit`
// passes (false).
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
    return platform::PumpUntil(done, limit);
}
inline bool PumpUntil(const std::function<bool()>& done, int limitMs) {
    return platform::PumpUntil(done, std::chrono::milliseconds(limitMs));
}
// Lets them work for `ms` whatever happens.
void PumpFor(int ms);

// Receives the link's notifications while it exists and forwards each one
// that has a step, as the console's reply handlers do.
class ConsoleStandIn : public QObject {
public:
    explicit ConsoleStandIn(CCorvan& link);
    ~ConsoleStandIn() override;

    // `forward` reads the notification `message` and hands it to an export.
    void On(std::uint32_t message, std::function<void()> forward);
    void On(const char* code, std::function<void()> forward) { On(corvan::MessageOf(code), std::move(forward)); }

protected:
    bool event(QEvent* event) override;

private:
    CCorvan& m_link;
    platform::QtLinkTarget m_target;
    std::map<std::uint32_t, std::function<void()>> m_handlers;
};

// One virtual radio and one link connected to it, for the whole program.
class SimRadio {
public:
    static SimRadio& instance();

    qxsim::Radio radio;
    CCorvan link;
    bool connected = false;

    // A stand-in that forwards for the rest of the program, made on first use.
    ConsoleStandIn& console();

protected:
    SimRadio();
    virtual ~SimRadio();
    SimRadio(const SimRadio&) = delete;
    SimRadio& operator=(const SimRadio&) = delete;

private:
    std::unique_ptr<ConsoleStandIn> m_console;
};

} // namespace plugin_tests
