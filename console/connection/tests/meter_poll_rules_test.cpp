// SPDX-License-Identifier: GPL-3.0-or-later
// The meters' poll against the simulator: which meter is asked in satellite
// mode and after a transmission.
#include "harness.h"

#include "meter_poll.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zephyra::test {
namespace {

using namespace std::chrono_literals;

// Satellite mode drives the sub bar with the sub receiver off: it is asked.
TEST(MeterPollRules, SatelliteModeAsksTheSubBarWithTheSubReceiverOff) {
    Bench bench;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    MeterPoll poll(*bench.link);
    poll.SetPace(MeterPace::Fast);
    bench.state.subReceiver = 0;
    bench.state.satelliteMode = 1;
    bench.Drain();
    PumpFor(1s);
    const auto polls = MeterPolls(bench.radio);
    EXPECT_GE(std::count(polls.begin(), polls.end(), "SM1"), 2) << Joined(polls);
    EXPECT_GE(std::count(polls.begin(), polls.end(), "SM0"), 2) << Joined(polls);
    bench.state.satelliteMode = 0;
}

// The second meter shows SWR, COMP or ALC only while transmitting; when the
// transmission ends it is asked once more, so that its last transmit
// reading goes, and then no more while receiving.
TEST(MeterPollRules, TheSecondMeterIsAskedOnceMoreAfterATransmission) {
    Bench bench;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    MeterPoll poll(*bench.link);
    poll.SetPace(MeterPace::Fast);
    bench.state.transmitting = {1, 0};
    bench.Drain();
    PumpFor(500ms);
    // Back in receive; an identity query marks the moment on the wire.
    bench.state.transmitting = {0, 0};
    bench.link->Link().ConnID();
    PumpFor(1s);
    const auto commands = Commands(bench.radio);
    const int marker = IndexOf(commands, "ID");
    ASSERT_GE(marker, 0);
    const std::vector<std::string> before(commands.begin(), commands.begin() + marker);
    EXPECT_GE(std::count(before.begin(), before.end(), "RM"), 1) << Joined(before);
    std::vector<std::string> after;
    for (std::size_t i = static_cast<std::size_t>(marker) + 1; i < commands.size(); ++i)
        if (commands[i].rfind("SM", 0) == 0 || commands[i] == "RM")
            after.push_back(commands[i]);
    ASSERT_GE(after.size(), 4U) << Joined(after);
    EXPECT_EQ(after.front(), "RM") << Joined(after);
    EXPECT_EQ(std::count(after.begin(), after.end(), "RM"), 1) << Joined(after);
}

} // namespace
} // namespace zephyra::test
