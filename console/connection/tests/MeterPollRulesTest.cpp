// The meters' poll against the simulator: which meter is asked in satellite
// mode and after a transmission.
#include "Harness.h"

#include "MeterPoll.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zephyra::test {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> Polls(const qxsim::Radio& radio) {
    std::vector<std::string> out;
    for (const std::string& c : Commands(radio))
        if (c.rfind("SM", 0) == 0 || c == "RM")
            out.push_back(c);
    return out;
}

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
    const auto polls = Polls(bench.radio);
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
    auto polls = Polls(bench.radio);
    ASSERT_GE(std::count(polls.begin(), polls.end(), "RM"), 1) << Joined(polls);

    bench.state.transmitting = {0, 0};
    bench.Drain();
    PumpFor(800ms);
    polls = Polls(bench.radio);
    ASSERT_FALSE(polls.empty());
    EXPECT_EQ(std::count(polls.begin(), polls.end(), "RM"), 1) << Joined(polls);
    EXPECT_EQ(std::count(polls.begin(), polls.end(), "SM0") + 1, static_cast<long>(polls.size())) << Joined(polls);

    bench.Drain();
    PumpFor(500ms);
    polls = Polls(bench.radio);
    EXPECT_EQ(std::count(polls.begin(), polls.end(), "RM"), 0) << Joined(polls);
}

} // namespace
} // namespace zephyra::test
