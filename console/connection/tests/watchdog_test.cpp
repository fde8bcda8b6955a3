// SPDX-License-Identifier: GPL-3.0-or-later
// The power watchdog and the power state: a radio that stops answering is
// disconnected, a radio switched off and on again is not read again.
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace zephyra::test {
namespace {

using namespace std::chrono_literals;

int CountOf(const std::vector<std::string>& commands, const std::string& text) {
    return static_cast<int>(std::count(commands.begin(), commands.end(), text));
}

void ExpectDisconnectedConsole(const Bench& bench) {
    EXPECT_EQ(bench.link->State().connected, 0);
    EXPECT_EQ(bench.link->State().consoleReady, 0);
    EXPECT_EQ(bench.link->State().radioIdentification, 0);
    EXPECT_FALSE(CCorvan::IsOpen());
    ExpectSurfaceOf(bench, false);
}

TEST(Watchdog, RadioThatNeverAnswersPowerIsDisconnected) {
    Bench bench;
    // The radio answers its identity, then nothing more.
    QObject::connect(bench.link.get(), &ConsoleLink::identified, [&](int) {
        qxsim::Faults silent;
        silent.silent = true;
        bench.radio.setFaults(silent);
        bench.link->SetTiming({0.25});
    });
    bench.link->ControlOn();

    // Connected but dark, polling for the power state.
    EXPECT_EQ(bench.link->State().connected, 1);
    EXPECT_EQ(bench.link->State().consoleReady, 0);
    EXPECT_TRUE(bench.link->WatchdogRunning());
    EXPECT_TRUE(bench.surface.lamp);
    EXPECT_EQ(bench.surface.count("live shown"), 0);

    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().connected == 0; }, 10s));
    ExpectDisconnectedConsole(bench);
    EXPECT_EQ(bench.settingsReadStarts, 0);
    const auto commands = Commands(bench.radio);
    // One power query from ON and one from each of the four silent ticks,
    // then auto-information off before the port closes.
    EXPECT_EQ(CountOf(commands, "PS"), 5) << Joined(commands);
    EXPECT_EQ(commands.back(), "AI0") << Joined(commands);
}

TEST(Watchdog, PowerCycleAtTheRadioDoesNotRepeatTheRead) {
    Bench bench;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    ASSERT_EQ(bench.settingsReadStarts, 1);

    bench.radio.setPower(false);
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().consoleReady == 0; }));
    EXPECT_EQ(bench.link->State().connected, 1);
    EXPECT_EQ(bench.link->State().initialReadDone, 1);
    EXPECT_FALSE(bench.surface.powerLit);
    EXPECT_FALSE(bench.surface.live);
    EXPECT_TRUE(bench.surface.lamp);
    EXPECT_EQ(bench.surface.events.back(), "dark");

    bench.Drain();
    bench.radio.setPower(true);
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().consoleReady == 1; }));
    ASSERT_TRUE(bench.radio.waitFor("BY", 2s));
    const auto commands = Commands(bench.radio);
    // Power on: keyer and meter asked, then the busy state.
    const int keyer = IndexOf(commands, "KY");
    ASSERT_GE(keyer, 0) << Joined(commands);
    EXPECT_GT(IndexOf(commands, "RM", keyer), keyer) << Joined(commands);
    EXPECT_GT(IndexOf(commands, "BY", keyer), IndexOf(commands, "RM", keyer)) << Joined(commands);
    // No second initial read: no type, menu or lock reads.
    for (const char* code : {"TY", "LK", "FW", "EX0040000"})
        EXPECT_EQ(IndexOf(commands, code), -1) << code << " in " << Joined(commands);
    EXPECT_EQ(bench.settingsReadStarts, 1);
    EXPECT_TRUE(bench.surface.powerLit);
    EXPECT_TRUE(bench.surface.live);
}

TEST(Watchdog, RadioSilentMidReadEveryWaitExpiresThenDisconnect) {
    Bench bench;
    QObject::connect(bench.link.get(), &ConsoleLink::settingsReadStarted,
                     [&] { bench.link->SetTiming({0.1}); });
    std::thread silencer([&] {
        if (bench.radio.waitFor("VX", 10s)) {
            qxsim::Faults silent;
            silent.silent = true;
            bench.radio.setFaults(silent);
        }
    });
    bench.link->ControlOn();
    silencer.join();

    // The read went on to its end without answers, then the watchdog ended
    // the connection.
    EXPECT_EQ(bench.settingsReads, 1);
    EXPECT_EQ(bench.link->State().connected, 1);
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().connected == 0; }, 10s));
    ExpectDisconnectedConsole(bench);
    const auto commands = Commands(bench.radio);
    int at = IndexOf(commands, "VX");
    ASSERT_GE(at, 0);
    for (const char* step : {"AG0", "KS", "AR0", "AL", "PL", "QR", "IS", "DC00", "MC", "AI2",
                             "RM", "SM1", "SB", "EX0000000"}) {
        const int next = IndexOf(commands, step, at);
        EXPECT_GT(next, at) << step << " missing after silence: " << Joined(commands);
        at = std::max(at, next);
    }
}

TEST(Watchdog, VanishedDeviceDisconnectsAndOnWorksAgain) {
    Bench bench;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    bench.link->SetTiming({0.25});
    bench.radio.hangUp();
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().connected == 0; }, 10s));
    ExpectDisconnectedConsole(bench);

    // The radio is back (on a new device): ON works again.
    ASSERT_TRUE(bench.radio.start());
    bench.UseRadioPort();
    bench.link->SetTiming({1.0});
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    EXPECT_EQ(bench.settingsReads, 2);
    EXPECT_TRUE(bench.surface.lamp);
    EXPECT_TRUE(bench.link->WatchdogRunning());
}

} // namespace
} // namespace zephyra::test
