// SPDX-License-Identifier: GPL-3.0-or-later
// share_fixture.h - the sharing servers on a backend with plain state over
// real sockets: the pump that keeps them going while a test waits, and both
// servers listening on free loopback ports.
#pragma once

#include "fake_radio.h"
#include "line_client.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>

namespace share_test {

using namespace std::chrono_literals;

inline void Pump() { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); }

inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 3s) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeout.count()) {
        Pump();
        if (done())
            return true;
        QThread::msleep(1);
    }
    return done();
}

inline void PumpFor(std::chrono::milliseconds time) { PumpUntil([] { return false; }, time); }

// `server` on, on a free loopback port, with `settings` otherwise.
inline void Listen(zshare::ShareServer& server, zshare::ServerSettings settings = {}) {
    settings.enabled = true;
    settings.port = 0;
    ASSERT_TRUE(server.Apply(settings)) << server.Status().lastError.toStdString();
}

// `body` posted on a connection of its own, which the server closes after
// the answer (read by `read`).
inline std::string PostOnce(std::uint16_t port, const std::string& body,
                            const std::function<std::string(LineClient&)>& read) {
    LineClient c;
    EXPECT_TRUE(c.Connect(port));
    EXPECT_TRUE(c.Send(XmlRpcPost(body, "close")));
    const std::string answer = read(c);
    EXPECT_TRUE(c.WaitClosed(3s, Pump));
    return answer;
}

// Both servers on one queue over a FakeRadio, listening.
class ServersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(Listen(rigctl));
        ASSERT_NO_FATAL_FAILURE(Listen(flrig));
        rigctlPort = rigctl.Status().port;
        flrigPort = flrig.Status().port;
    }
    FakeRadio radio;
    zshare::RequestQueue queue{radio};
    zshare::RigctlServer rigctl{queue};
    zshare::FlrigServer flrig{queue};
    std::uint16_t rigctlPort = 0;
    std::uint16_t flrigPort = 0;
};

} // namespace share_test
