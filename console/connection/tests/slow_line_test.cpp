// SPDX-License-Identifier: GPL-3.0-or-later
// The connection over a slow line: the radio behind a relay that holds every
// byte half a round trip each way. Connect and the initial read must send the
// radio the same commands and leave the console with the same state as on a
// direct line, and the console must know the line's round trip.
#include "harness.h"

#include <delay_pty.h>

#include <platform.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace zephyra::test {
namespace {

using namespace std::chrono_literals;

// What the console learnt in the initial read, as text for comparison.
std::string Learnt(const ConsoleState& s) {
    std::string out = "ready " + std::to_string(s.consoleReady) + " id " +
                      std::to_string(s.radioIdentification);
    return out;
}

struct LineRun {
    std::vector<std::string> sent;
    std::string learnt;
    int roundTrip = 0;
    bool ready = false;
};

// Control > ON with the radio behind a relay of `roundTrip`; 0 is the
// direct line.
LineRun ConnectThrough(std::chrono::milliseconds roundTrip) {
    Bench bench;
    std::unique_ptr<testsupport::DelayPty> relay;
    if (roundTrip.count() > 0) {
        relay = std::make_unique<testsupport::DelayPty>(bench.radio.devicePath(), roundTrip);
        EXPECT_TRUE(relay->Start()) << relay->Error();
        platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("PortName"),
                                     QString::fromStdString(relay->Path()));
    }
    LineRun run;
    const auto began = std::chrono::steady_clock::now();
    run.ready = bench.ConnectReady();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
    // The figure for the README: Control > ON to ready.
    std::printf("connect and initial read at %lld ms round trip: %lld ms\n",
                static_cast<long long>(roundTrip.count()), static_cast<long long>(took.count()));
    run.sent = bench.SentBeforeMarker();
    run.learnt = Learnt(bench.link->State());
    run.roundTrip = bench.link->RoundTripMs();
    return run;
}

TEST(SlowLine, ConnectAndInitialReadAsOnADirectLine) {
    const LineRun direct = ConnectThrough(0ms);
    ASSERT_TRUE(direct.ready);
    for (const auto rtt : {150ms, 400ms}) {
        SCOPED_TRACE(std::to_string(rtt.count()) + " ms round trip");
        const LineRun slow = ConnectThrough(rtt);
        EXPECT_TRUE(slow.ready);
        EXPECT_EQ(Joined(slow.sent), Joined(direct.sent));
        EXPECT_EQ(slow.learnt, direct.learnt);
        EXPECT_GE(slow.roundTrip, rtt.count());
        EXPECT_LT(slow.roundTrip, rtt.count() + 250);
    }
    EXPECT_LT(direct.roundTrip, 60);
}

TEST(SlowLine, TheRoundTripFollowsTheLineFromTheWatchdogsPolls) {
    Bench bench;
    testsupport::DelayPty relay(bench.radio.devicePath(), 150ms);
    ASSERT_TRUE(relay.Start()) << relay.Error();
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("PortName"),
                                 QString::fromStdString(relay.Path()));
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    EXPECT_GE(bench.link->RoundTripMs(), 150);
    EXPECT_LT(bench.link->RoundTripMs(), 400);
    // The line gets slower: a few of the watchdog's polls later the waits
    // know it.
    relay.SetRoundTrip(500ms);
    EXPECT_TRUE(PumpUntil([&] { return bench.link->RoundTripMs() >= 500; }, std::chrono::seconds(20)))
        << bench.link->RoundTripMs();
    EXPECT_GE(platform::ReplyAllowanceMs(), 500);
    EXPECT_TRUE(bench.link->State().connected) << "the watchdog's four seconds still hold";
    // Closed, and opened on a local line: nothing is added there.
    bench.link->ControlOff();
    relay.Stop(); // the radio's device is the console's alone again
    bench.UseRadioPort();
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    EXPECT_LT(bench.link->RoundTripMs(), ConsoleLink::kLocalRoundTripMs);
    EXPECT_EQ(platform::ReplyAllowanceMs(), 0);
}

TEST(SlowLine, ALineSlowerThanTheFixedWaitsIsConnectedAgainOnceItsRoundTripIsKnown) {
    Bench bench;
    // Switched off: the connect identifies the radio and asks its power,
    // without the whole initial read.
    bench.radio.modify([](qxsim::State& s) { s.power = 0; });
    testsupport::DelayPty relay(bench.radio.devicePath(), 250ms);
    ASSERT_TRUE(relay.Start()) << relay.Error();
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("PortName"),
                                 QString::fromStdString(relay.Path()));
    bench.link->ControlOn();
    ASSERT_TRUE(bench.link->State().connected) << bench.Describe();
    ASSERT_GE(bench.link->RoundTripMs(), 250);
    bench.link->ControlOff();
    // Slower than the identification's three fixed tries of 200 ms: the
    // round trip known on this port gives the last try its time.
    relay.SetRoundTrip(700ms);
    bench.link->ControlOn();
    EXPECT_TRUE(bench.link->State().connected) << bench.Describe();
    EXPECT_EQ(bench.link->State().radioIdentification, 19);
}

} // namespace
} // namespace zephyra::test
