// SPDX-License-Identifier: GPL-3.0-or-later
// The radio served on the network, lost and looked for again by itself: a
// try that the server refuses while it is away shows no box (a box would
// wait for the operator and hold up every later try), says why on the
// connection line, and the tries go on until the server is back.
#include "network_radio.h"
#include "reconnect.h"

#include <corvan.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zephyra::test {
namespace {

using namespace std::chrono_literals;

struct Boxes {
    Boxes() {
        CCorvan::SetMessageBoxHandler([this](const char* text) { shown.emplace_back(text); });
    }
    ~Boxes() { CCorvan::SetMessageBoxHandler(nullptr); }
    std::vector<std::string> shown;
};

using NetworkRetry = NetworkRadio;

TEST_F(NetworkRetry, RefusedTriesShowNoBoxSayWhyAndGoOnUntilTheServerIsBack) {
    const std::string where = "127.0.0.1:" + std::to_string(server.port(0));
    std::string error;
    Reconnector reconnect(*bench.link);
    reconnect.SetEnabled(true);
    Boxes boxes;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();

    server.stop();
    ASSERT_TRUE(PumpUntil([&] { return !bench.link->State().connected; }, 15s));
    ASSERT_TRUE(reconnect.Trying());
    // Two tries refused while the server is away.
    ASSERT_TRUE(PumpUntil([&] { return reconnect.Attempts() >= 2; }, 15s)) << reconnect.Attempts();
    EXPECT_TRUE(boxes.shown.empty()) << "a try made by itself showed \"" << boxes.shown.front() << "\"";
    const std::string note = bench.link->ConnectionNote().toStdString();
    EXPECT_EQ(note.rfind("The connection to " + where + " has gone (", 0), 0u) << note;
    EXPECT_NE(note.find("refused"), std::string::npos) << note;

    ASSERT_TRUE(server.start(&error)) << error;
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().connected != 0 && !reconnect.Trying(); }, 20s))
        << bench.Describe();
    EXPECT_TRUE(boxes.shown.empty());

    // The operator's own Control > ON still says a refusal in a box.
    bench.link->ControlOff();
    reconnect.Stop();
    server.stop();
    bench.link->ControlOn();
    EXPECT_FALSE(bench.link->State().connected);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].find("Error opening COM port"), std::string::npos);
}

} // namespace
} // namespace zephyra::test
