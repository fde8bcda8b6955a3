// SPDX-License-Identifier: GPL-3.0-or-later
// The operator mode ended by CancelPendingMode (first that applies), the
// operation guard, the replies that keep the watchdog quiet, and the port.
#include "harness.h"

#include <platform.h>

#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <optional>

namespace zephyra::test {
namespace {

using namespace std::chrono_literals;

struct PendingCase {
    const char* name;
    std::function<void(ConsoleState&)> set;
    std::vector<std::string> sent;
    std::optional<OperatorMode> left;
    int result;
};

// Test names and failure messages show the row by its name.
void PrintTo(const PendingCase& row, std::ostream* out) { *out << row.name; }

class PendingMode : public ConnectedConsole, public testing::WithParamInterface<PendingCase> {};

TEST_P(PendingMode, EndsTheFirstModeThatApplies) {
    const PendingCase& c = GetParam();
    ConsoleState& s = bench->link->State();
    const ConsoleState before = s;
    c.set(s);
    bench->surface.leftModes.clear();

    EXPECT_EQ(bench->link->CancelPendingMode(), c.result);
    EXPECT_EQ(SentBeforeMarker(), c.sent);
    if (c.left) {
        ASSERT_EQ(bench->surface.leftModes.size(), 1u);
        EXPECT_EQ(bench->surface.leftModes[0], *c.left);
    } else {
        EXPECT_TRUE(bench->surface.leftModes.empty());
    }
    s = before;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PendingMode,
    testing::Values(
        PendingCase{"Nothing", [](ConsoleState&) {}, {}, std::nullopt, 0},
        PendingCase{"MemoryScrollDigitsTyped",
                    [](ConsoleState& s) {
                        s.memoryScroll = 1;
                        s.entryCount = 2;
                        s.memory[0] = {1, 23};
                        s.tfSetActive = 1;
                    },
                    {"MR0123", "MR1123"}, std::nullopt, 1},
        PendingCase{"MemoryScrollOfTheSubBand",
                    [](ConsoleState& s) {
                        s.memoryScroll = 1;
                        s.entryCount = 1;
                        s.controlBand = 1;
                        s.memory[1] = {2, 5};
                    },
                    {"MR0205", "MR1205"}, std::nullopt, 1},
        PendingCase{"MemoryScrollNoDigits", [](ConsoleState& s) { s.memoryScroll = 1; }, {},
                    OperatorMode::MemoryScroll, 1},
        PendingCase{"MemoryScrollInSatelliteMode",
                    [](ConsoleState& s) {
                        s.memoryScroll = 1;
                        s.satelliteMode = 1;
                    },
                    {"SA"}, OperatorMode::MemoryScroll, 1},
        PendingCase{"MouseWheelBeforeVoiceRecall",
                    [](ConsoleState& s) {
                        s.mouseWheelSelection = 1;
                        s.voiceRecallDigits = 1;
                    },
                    {}, OperatorMode::MouseWheelSelection, 1},
        PendingCase{"ReadChannelBeforeDtmf",
                    [](ConsoleState& s) {
                        s.readChannel = 1;
                        s.dtmfDigits = 1;
                    },
                    {}, OperatorMode::ReadChannel, 1},
        PendingCase{"TfSetBeforeScan",
                    [](ConsoleState& s) {
                        s.tfSetActive = 1;
                        s.scanRunning[0] = 1;
                    },
                    {"TS0"}, std::nullopt, 1},
        PendingCase{"ScanOnTheControlBand", [](ConsoleState& s) { s.scanRunning[0] = 1; },
                    {"SC0"}, std::nullopt, 1},
        PendingCase{"ScanOnTheOtherBandIsLeft", [](ConsoleState& s) { s.scanRunning[1] = 1; },
                    {}, std::nullopt, 0},
        PendingCase{"SubScanWithSubControl",
                    [](ConsoleState& s) {
                        s.scanRunning[1] = 1;
                        s.controlBand = 1;
                    },
                    {"SC0"}, std::nullopt, 1},
        PendingCase{"EntryBeforeRecording",
                    [](ConsoleState& s) {
                        s.entryMode = 1;
                        s.recording = 1;
                    },
                    {}, OperatorMode::Entry, 1},
        PendingCase{"RecordingBeforePlayback",
                    [](ConsoleState& s) {
                        s.recording = 1;
                        s.playback = 1;
                    },
                    {"LM0"}, std::nullopt, 1},
        PendingCase{"Playback", [](ConsoleState& s) { s.playback = 1; }, {"PB0"}, std::nullopt,
                    1},
        PendingCase{"FuncBeforeSatellite",
                    [](ConsoleState& s) {
                        s.funcMode = 1;
                        s.satelliteMode = 1;
                    },
                    {}, OperatorMode::Func, 1},
        PendingCase{"QuickMemory", [](ConsoleState& s) { s.quickMemory = 1; }, {},
                    OperatorMode::QuickMemory, 1},
        PendingCase{"Satellite", [](ConsoleState& s) { s.satelliteMode = 1; }, {"SA"},
                    std::nullopt, 1}),
    [](const testing::TestParamInfo<PendingCase>& row) { return row.param.name; });

TEST_F(ConnectedConsole, OperationGuardLocksTheRadioAndOnlyTheOutermostEndRestoresIt) {
    ConsoleLink& link = *bench->link;
    {
        OperationGuard outer(link);
        EXPECT_TRUE(bench->surface.busy);
        EXPECT_EQ(link.State().savedLock[0], 0);
        {
            // An operation inside another neither locks again nor ends early.
            OperationGuard inner(link);
            inner.End();
            inner.End();
        }
        EXPECT_TRUE(bench->surface.busy);
        EXPECT_EQ(link.State().busy, 1);
        EXPECT_EQ(bench->radio.countOf("LK00"), 0u);
        outer.End();
        EXPECT_FALSE(bench->surface.busy);
        // Ended once: its scope ending later changes nothing.
    }
    EXPECT_FALSE(bench->surface.busy);
    EXPECT_EQ(link.State().busy, 0);
    EXPECT_EQ(SentBeforeMarker(), (std::vector<std::string>{"LK21", "LK00"}));

    // A radio already locked by the operator is left as it is.
    bench->radio.pressKey(qxsim::Key::Lock);
    ASSERT_TRUE(PumpUntil([&] {
        std::uint32_t a = 0, b = 0;
        return link.Link().RcvDataLK(&a, &b) == 1 && a == 1;
    }));
    bench->Drain();
    { const OperationGuard guard(link); }
    EXPECT_EQ(SentBeforeMarker(), (std::vector<std::string>{"LK21", "LK10"}));
    bench->radio.pressKey(qxsim::Key::Lock);
}

TEST_F(ConnectedConsole, RefreshReadsAgainOnlyWhileReady) {
    ConsoleLink& link = *bench->link;
    link.Refresh();
    EXPECT_EQ(bench->settingsReads, 2);
    link.State().consoleReady = 0;
    bench->Drain();
    link.Refresh();
    link.State().consoleReady = 1;
    EXPECT_EQ(bench->settingsReads, 2);
    EXPECT_TRUE(SentBeforeMarker().empty());
}

TEST_F(ConnectedConsole, OtherBandAntennaIsReadOnTheOtherControlBand) {
    bench->link->ReadOtherBandAntenna();
    EXPECT_EQ(bench->SentBeforeMarker(),
              (std::vector<std::string>{"LK21", "DC01", "AN", "DC00", "LK00"}));
    EXPECT_EQ(bench->radio.state().controlBand, 0);
    EXPECT_FALSE(bench->surface.busy);
}

TEST_F(ConnectedConsole, TerminalMenuOffWhileNotInTncModeChangesNothing) {
    const int reads = bench->settingsReads;
    bench->radio.inject("EX05500000;");
    ASSERT_TRUE(PumpUntil([] {
        std::uint32_t m = 0, s = 0, a = 0, b = 0;
        char text[corvan::kNameTextSize] = {};
        return bench->link->Link().RcvDataEX(&m, &s, &a, &b, text) == 1 && m == 55;
    }));
    PumpFor(200ms);
    EXPECT_EQ(bench->link->State().tncMode, 0);
    EXPECT_EQ(bench->link->State().connected, 1);
    EXPECT_EQ(bench->settingsReads, reads);
    EXPECT_TRUE(bench->SentBeforeMarker().empty());
}

// Every reply that has a handler keeps the watchdog quiet; the codes the
// console ignores do not.
struct AliveCase {
    const char* code;
    bool keepsAlive;
};

// Test names and failure messages show the row by its name.
void PrintTo(const AliveCase& row, std::ostream* out) { *out << row.code; }

class ReplyKeepsAlive : public testing::TestWithParam<AliveCase> {};

TEST_P(ReplyKeepsAlive, ClearsTheNoReplyCount) {
    RecordingSurface surface;
    RecordingPeers peers;
    ConsoleState state;
    CCorvan corvan;
    ConsoleLink link(state, corvan, surface, peers);
    const std::uint32_t message = corvan::MessageOf(GetParam().code);
    ASSERT_NE(message, 0u) << GetParam().code;
    link.State().noReplyCount = 3;
    EXPECT_TRUE(link.HandleMessage(message, 0, 0));
    EXPECT_EQ(link.State().noReplyCount, GetParam().keepsAlive ? 0 : 3);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ReplyKeepsAlive,
    testing::Values(AliveCase{"AS", true}, AliveCase{"FD", true}, AliveCase{"MO", true},
                    AliveCase{"FA", true}, AliveCase{"SM", true}, AliveCase{"PS", true},
                    AliveCase{"BD", false}, AliveCase{"BU", false}, AliveCase{"CI", false},
                    AliveCase{"DN", false}, AliveCase{"MW", false}, AliveCase{"RC", false},
                    AliveCase{"SR", false}, AliveCase{"TD", false}, AliveCase{"UP", false},
                    AliveCase{"UR", false}, AliveCase{"UT", false}, AliveCase{"VR", false}),
    [](const testing::TestParamInfo<AliveCase>& row) { return std::string(row.param.code); });

struct PortCase {
    const char* name;
    QString portName;
    QString portNo;
    std::string expected;
};

// Test names and failure messages show the row by its name.
void PrintTo(const PortCase& row, std::ostream* out) { *out << row.name; }

class PortChoice : public testing::TestWithParam<PortCase> {};

TEST_P(PortChoice, NamesTheDevice) {
    const PortCase& c = GetParam();
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("PortName"), c.portName);
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("PortNo"), c.portNo);
    RecordingSurface surface;
    RecordingPeers peers;
    ConsoleState state;
    CCorvan corvan;
    ConsoleLink link(state, corvan, surface, peers);
    EXPECT_EQ(link.PortName(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, PortChoice,
    testing::Values(PortCase{"DefaultFirstPort", "", "", "/dev/ttyS0"},
                    PortCase{"PortNumberThree", "", "3", "/dev/ttyS2"},
                    PortCase{"PortNumberZero", "", "0", "/dev/ttyS0"},
                    PortCase{"PortNumberLetters", "", "x2", "/dev/ttyS0"},
                    PortCase{"DevicePath", "/dev/ttyUSB0", "5", "/dev/ttyUSB0"},
                    PortCase{"DevicePathWithSpaces", "  /dev/ttyUSB1 ", "", "/dev/ttyUSB1"}),
    [](const testing::TestParamInfo<PortCase>& row) { return std::string(row.param.name); });

TEST(PortChoiceSimulator, BuiltInSimulatorStartsInProcess) {
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("PortName"),
                                 QStringLiteral("/dev/ttyUSB7"));
    RecordingSurface surface;
    RecordingPeers peers;
    ConsoleState state;
    CCorvan corvan;
    ConsoleLink link(state, corvan, surface, peers);
    link.SetPortOverride(QString::fromLatin1(kBuiltInSimulatorPort));
    const std::string port = link.PortName();
    EXPECT_TRUE(link.Simulator().Running());
    EXPECT_EQ(port, link.Simulator().DevicePath());
    EXPECT_EQ(port.rfind("/dev/pts/", 0), 0u) << port;
    // The same radio stays on the desk for the next connect.
    EXPECT_EQ(link.PortName(), port);
    link.SetPortOverride(QString());
    EXPECT_EQ(link.PortName(), "/dev/ttyUSB7");
}

// Last of the suite: it closes the link and opens it again.
TEST_F(ConnectedConsole, TheLinkClosingUnderAnOperationGivesTheLockBack) {
    ConsoleLink& link = *bench->link;
    {
        const OperationGuard guard(link);
        link.ControlOff();
        EXPECT_EQ(link.State().connected, 0);
        EXPECT_TRUE(bench->surface.busy);
    }
    EXPECT_FALSE(bench->surface.busy);
    std::vector<std::string> locks;
    for (const std::string& c : Commands(bench->radio))
        if (c.rfind("LK", 0) == 0)
            locks.push_back(c);
    // Locked once, given back before the link closed, nothing after.
    EXPECT_EQ(locks, (std::vector<std::string>{"LK21", "LK00"}));
    EXPECT_EQ(bench->radio.value("LK", 0), 0);
    EXPECT_EQ(bench->radio.value("LK", 1), 0);
    // The suite's other cases run connected.
    ASSERT_TRUE(bench->ConnectReady()) << bench->Describe();
}

} // namespace
} // namespace zephyra::test
