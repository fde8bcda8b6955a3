// SPDX-License-Identifier: GPL-3.0-or-later
// sharing_fixture.h - the console on the built-in simulator with both
// sharing servers listening on free loopback ports.
#pragma once

#include "display_fixture.h"
#include "line_client.h"

#include <radio_sharing.h>

namespace sharing_test {

using namespace std::chrono_literals;
using display_test::DigitsOf;
using share_test::LineClient;
using share_test::Lines;

inline void Pump() { platform::PumpMessages(100); }

class SharingTest : public display_test::DisplayTest {
protected:
    void SetUp() override {
        display_test::DisplayTest::SetUp();
        if (paced) {
            // The radio's side of the line at its rate, 9,600 baud.
            qxsim::Options radio;
            radio.pace = true;
            console->connection()->Simulator().SetOptions(radio);
        }
        Connect();
        zephyra::RadioSharing::Settings s;
        s.rigctl.enabled = true;
        s.rigctl.port = 0;
        s.flrig.enabled = true;
        s.flrig.port = 0;
        sharing().Apply(s, false);
        rigctlPort = sharing().Status(zephyra::RadioSharing::Server::Rigctl).port;
        flrigPort = sharing().Status(zephyra::RadioSharing::Server::Flrig).port;
        ASSERT_NE(rigctlPort, 0);
        ASSERT_NE(flrigPort, 0);
    }
    zephyra::RadioSharing& sharing() { return *console->sharing(); }
    // Sends one line and reads its plain answer (`lines` value lines of a
    // get, or one "RPRT" line).
    std::string Ask(LineClient& c, const std::string& line, int lines = 1) {
        return c.Ask(line, lines, 5s, Pump);
    }
    // One XML-RPC call on a connection of its own that closes after it
    // (`params`: the <param> elements); the whole answer.
    std::string Call(const std::string& method, const std::string& params = "") {
        LineClient c;
        if (!c.Connect(flrigPort))
            return "no connection";
        c.Send(share_test::XmlRpcPost(share_test::XmlRpcCall(method, params), "close"));
        return c.ReadThrough("</methodResponse>", 5s, Pump);
    }
    bool paced = false; // set before SetUp
    std::uint16_t rigctlPort = 0;
    std::uint16_t flrigPort = 0;
};

} // namespace sharing_test
