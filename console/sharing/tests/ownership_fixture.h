// SPDX-License-Identifier: GPL-3.0-or-later
// ownership_fixture.h - the console on the built-in simulator's radio
// behind a cable that can be pulled (a lasting device name, as an adapter
// has), both sharing servers on free loopback ports with a short silence
// time on a clock the test moves, and the clients' plumbing.
#pragma once

#include "display_fixture.h"
#include "line_client.h"
#include "console_menu.h"

#include <radio_sharing.h>
#include <cable.h>

#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <string>

namespace ownership_test {

using namespace std::chrono_literals;
using display_test::PumpUntil;
using share_test::LineClient;

inline void Pump() { platform::PumpMessages(100); }

class OwnershipTest : public display_test::DisplayTest {
protected:
    static constexpr int kSilenceSeconds = 3;

    void SetUp() override {
        display_test::DisplayTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        cable = std::make_unique<qxsim_test::Cable>(
            radio(), folder.filePath(QStringLiteral("usb-QX_9000-if00-port0")).toStdString());
        console->connection()->SetPortOverride(QString::fromStdString(cable->Path()));
        Connect();
        ASSERT_EQ(state().initialReadDone, 1);
        zephyra::RadioSharing::Settings s;
        s.rigctl.enabled = true;
        s.rigctl.port = 0;
        s.rigctl.pttSilenceSeconds = kSilenceSeconds;
        s.flrig = s.rigctl;
        sharing().Apply(s, false);
        sharing().Rigctl().SetClock([this] { return now; });
        sharing().Flrig().SetClock([this] { return now; });
        rigctlPort = sharing().Status(zephyra::RadioSharing::Server::Rigctl).port;
        flrigPort = sharing().Status(zephyra::RadioSharing::Server::Flrig).port;
        ASSERT_NE(rigctlPort, 0);
        ASSERT_NE(flrigPort, 0);
    }
    void TearDown() override {
        display_test::DisplayTest::TearDown();
        cable.reset();
    }

    zephyra::RadioSharing& sharing() { return *console->sharing(); }
    zshare::Transmitter& ptt() { return sharing().Queue().Ptt(); }
    bool Ready() { return state().connected == 1 && state().consoleReady == 1 && state().initialReadDone == 1; }

    std::string Ask(LineClient& c, const std::string& line, int lines = 1) { return c.Ask(line, lines, 5s, Pump); }

    static std::string Post(const std::string& body, bool keepAlive) {
        return share_test::XmlRpcPost(body, keepAlive ? "keep-alive" : "close");
    }
    // `param`: the value of the one parameter, typed ("<int>1</int>").
    static std::string Call(const std::string& method, const std::string& param = "") {
        return share_test::XmlRpcCall(method, param.empty() ? "" : "<param><value>" + param + "</value></param>");
    }
    static std::string Response(LineClient& c) { return c.ReadThrough("</methodResponse>", 5s, Pump); }
    // One XML-RPC call on a connection of its own that closes after it.
    std::string Once(const std::string& body) {
        LineClient c;
        if (!c.Connect(flrigPort))
            return "no connection";
        c.Send(Post(body, false));
        const std::string answer = Response(c);
        c.WaitClosed(2s, Pump);
        return answer;
    }
    std::string Keep(LineClient& c, const std::string& body) {
        if (!c.Send(Post(body, true)))
            return "not sent";
        return Response(c);
    }
    static bool Fault(const std::string& answer) { return answer.find("<fault>") != std::string::npos; }
    static bool Done(const std::string& answer) { return answer.find("<i4>0</i4>") != std::string::npos; }

    // Until the requests queued (releases too) have run.
    void Settle() {
        PumpUntil([&] { return sharing().Queue().Pending() == 0; }, 5s);
        Pump();
    }
    // Moves the servers' clock by `ms` and lets the silence check run.
    void Advance(int ms) {
        now += ms;
        display_test::PumpFor(300ms); // the check runs every 250 ms
        Settle();
    }
    int Transmitting() { return radio().state().transmitting; }
    std::size_t Count(const std::string& text) {
        const auto got = radio().received();
        return static_cast<std::size_t>(std::count_if(got.begin(), got.end(),
                                                      [&](const qxsim::Received& r) { return r.text == text; }));
    }

    // The cable pulled: the console has seen the device go.
    void Pull() {
        cable->Pull();
        ASSERT_TRUE(PumpUntil([&] { return state().connected == 0; }, 5s));
    }
    // Plugged in again: the console has found the radio by itself and read it.
    void Plug() {
        ASSERT_TRUE(cable->Plug());
        ASSERT_TRUE(PumpUntil([&] { return Ready(); }, 15s));
        Settle();
    }

    QTemporaryDir folder;
    std::unique_ptr<qxsim_test::Cable> cable;
    std::int64_t now = 1'000'000;
    std::uint16_t rigctlPort = 0;
    std::uint16_t flrigPort = 0;
};

} // namespace ownership_test
