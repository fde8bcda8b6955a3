// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal (TNC) mode switch, OFF and closing while transmitting, a
// radio of another identity, and noise on the line during the read.
#include "harness.h"

#include <gtest/gtest.h>

#include <ostream>

#include <functional>

namespace zephyra::test {
namespace {

using namespace std::chrono_literals;

TEST(TncMode, SwitchesOnFromTheMenuAndOffWithAFullReconnect) {
    Bench bench;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    bench.Drain();

    bench.radio.setMenu(55, 0, 0, 0, "1");
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().tncMode == 1; }));
    EXPECT_FALSE(bench.link->WatchdogRunning());
    EXPECT_EQ(bench.surface.status, QStringLiteral("TNC Mode"));
    EXPECT_FALSE(bench.surface.enabled(ConnectionCommand::Refresh));
    EXPECT_EQ(bench.peers.count("SolvikView"), 1);
    EXPECT_EQ(bench.peers.calls.back(), "SolvikMsgTC 0");
    EXPECT_EQ(bench.link->State().connected, 1);

    // F5 in TNC mode sends nothing.
    bench.radio.clearReceived();
    bench.link->Refresh();
    PumpFor(200ms);
    EXPECT_TRUE(Commands(bench.radio).empty()) << Joined(Commands(bench.radio));

    // The terminal window leaves terminal mode and asks the radio.
    CCorvan terminal;
    ASSERT_EQ(terminal.ConnTC("W", 0, 1), 1);
    ASSERT_EQ(terminal.ConnTC("R", 0, 0), 1);
    ASSERT_TRUE(PumpUntil(
        [&] {
            return bench.settingsReads == 2 && bench.link->State().tncMode == 0 &&
                   bench.link->WatchdogRunning();
        },
        20s));
    EXPECT_EQ(bench.link->State().consoleReady, 1);
    EXPECT_TRUE(bench.surface.enabled(ConnectionCommand::Refresh));
    EXPECT_TRUE(bench.surface.status.isEmpty());
    // A full OFF (auto-information off) and ON (identity, power, read).
    const auto commands = Commands(bench.radio);
    const int off = IndexOf(commands, "AI0");
    ASSERT_GE(off, 0) << Joined(commands);
    EXPECT_GT(IndexOf(commands, "ID", off), off);
    EXPECT_GT(IndexOf(commands, "PS", off), off);
    EXPECT_GT(IndexOf(commands, "TY", off), off);
    EXPECT_EQ(bench.peers.calls.back(), "SolvikMsgTC 1");
}

struct CloseCase {
    const char* name;
    std::function<void(Bench&)> close;
};

// Test names and failure messages show the row by its name.
void PrintTo(const CloseCase& row, std::ostream* out) { *out << row.name; }

class CloseWhileTransmitting : public testing::TestWithParam<CloseCase> {};

TEST_P(CloseWhileTransmitting, ReturnsToReceiveAfterAutoInformationOff) {
    Bench bench;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    bench.radio.transmit(true);
    // The console's transmit display marks the band; here the test does.
    ASSERT_TRUE(PumpUntil([&] { return bench.forwarded[4163] > 0; }));
    bench.state.transmitting[0] = 1;
    bench.Drain();

    GetParam().close(bench);

    ASSERT_TRUE(bench.radio.waitFor("RX", 2s));
    const auto commands = Commands(bench.radio);
    const int aiOff = IndexOf(commands, "AI0");
    ASSERT_GE(aiOff, 0) << Joined(commands);
    EXPECT_GT(IndexOf(commands, "RX", aiOff), aiOff) << Joined(commands);
    EXPECT_EQ(bench.radio.state().transmitting, 0);
    EXPECT_EQ(bench.radio.state().ai, 0);
    EXPECT_FALSE(CCorvan::IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Closing, CloseWhileTransmitting,
    testing::Values(CloseCase{"ControlOff", [](Bench& b) { b.link->ControlOff(); }},
                    CloseCase{"ProgramEnd", [](Bench& b) { b.link.reset(); }}),
    [](const testing::TestParamInfo<CloseCase>& row) { return row.param.name; });

class OtherIdentity : public testing::TestWithParam<int> {};

TEST_P(OtherIdentity, ClosesThePortAtOnce) {
    qxsim::Options options;
    options.identity = GetParam();
    Bench bench(options);
    bench.link->ControlOn();

    EXPECT_EQ(bench.link->State().connected, 0);
    EXPECT_EQ(bench.link->State().radioIdentification, 0);
    EXPECT_FALSE(CCorvan::IsOpen());
    EXPECT_FALSE(bench.link->WatchdogRunning());
    EXPECT_TRUE(bench.surface.enabled(ConnectionCommand::On));
    EXPECT_FALSE(bench.surface.enabled(ConnectionCommand::Off));
    EXPECT_FALSE(bench.surface.lamp);
    EXPECT_FALSE(bench.surface.busy);
    EXPECT_EQ(bench.surface.count("lamp on"), 1);
    const auto commands = Commands(bench.radio);
    EXPECT_EQ(IndexOf(commands, "PS"), -1) << Joined(commands);
    EXPECT_EQ(bench.settingsReadStarts, 0);
}

// 17 and 15 are other families; -1 never answers its identity.
INSTANTIATE_TEST_SUITE_P(Identities, OtherIdentity, testing::Values(17, 15, -1),
                         [](const testing::TestParamInfo<int>& row) {
                             return row.param < 0 ? std::string("Silent")
                                                   : "Identity" + std::to_string(row.param);
                         });

TEST(Noise, DuringTheReadTheConsoleStillSynchronises) {
    qxsim::Options options;
    options.seed = 7;
    Bench bench(options);
    QObject::connect(bench.link.get(), &ConsoleLink::settingsReadStarted, [&] {
        qxsim::Faults noisy;
        noisy.noise = 0.005;
        bench.radio.setFaults(noisy);
    });
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    EXPECT_EQ(bench.settingsReads, 1);
    EXPECT_EQ(bench.link->State().radioIdentification, 19);

    // Clean again: the console stays connected through watchdog ticks.
    bench.radio.setFaults(qxsim::Faults{});
    PumpFor(2500ms);
    EXPECT_EQ(bench.link->State().connected, 1);
    EXPECT_EQ(bench.link->State().consoleReady, 1);
    EXPECT_LT(bench.link->State().noReplyCount, 2);
}

} // namespace
} // namespace zephyra::test
