// SPDX-License-Identifier: GPL-3.0-or-later
// The radio served on the network by ser2net: a connection that goes is
// said with its host and port, as a pulled cable is, and the radio is found
// again once the server is back.
#include "network_radio.h"

#include <gtest/gtest.h>

namespace zephyra::test {
namespace {

using namespace std::chrono_literals;

using NetworkLoss = NetworkRadio;

TEST_F(NetworkLoss, AServerThatGoesIsSaidWithItsAddressAndFoundAgain) {
    QString title;
    bool away = false;
    QObject::connect(bench.link.get(), &ConsoleLink::connectionNote, [&](const QString& text, bool isAway) {
        title = text;
        away = isAway;
    });
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    // A network port has no device to look at: an open connection is not
    // taken for a device gone.
    PumpFor(2500ms);
    ASSERT_TRUE(bench.link->State().connected) << "a connection that stands is not lost";
    EXPECT_EQ(bench.link->Loss(), RadioLoss::None);

    server.stop();
    ASSERT_TRUE(PumpUntil([&] { return !bench.link->State().connected; }, 15s));
    EXPECT_NE(bench.link->Loss(), RadioLoss::None);
    const std::string where = "127.0.0.1:" + std::to_string(server.port(0));
    EXPECT_EQ(title.toStdString(), "The connection to " + where + " has gone");
    EXPECT_TRUE(away);

    // Refused while the server is away; back once it is.
    std::string error;
    bench.link->ControlOn();
    EXPECT_FALSE(bench.link->State().connected);
    ASSERT_TRUE(server.start(&error)) << error;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
}

} // namespace
} // namespace zephyra::test
