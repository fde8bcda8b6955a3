// SPDX-License-Identifier: GPL-3.0-or-later
// front_panel_test.cpp - the front panel against the simulator as the
// operator meets it: entry and ENT in every digit mode, the transverter
// offset on the keypad, split and transmit on either control band, the
// radio switched off while transmitting, the operation guard around
// operations inside operations, and terminal mode left and closed.
#include "operations_fixture.h"

#include "console_menu.h"

#include <console_link.h>
#include <platform.h>

#include <QComboBox>
#include <QMetaObject>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

using namespace operations_test;

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool SendsAFrequency(const std::vector<std::string>& wire) {
    return std::any_of(wire.begin(), wire.end(), [](const std::string& c) {
        return StartsWith(c, "FA0") || StartsWith(c, "FB0") || StartsWith(c, "FC0");
    });
}

std::string Joined(const std::vector<std::string>& wire) {
    std::string out;
    for (const std::string& c : wire)
        out += c + ";";
    return out;
}

class FrontPanelTest : public display_test::WithScriptedDialogs<OperationsTest> {
public:
    using OperationsTest::Click;
    using OperationsTest::state;

protected:
    void Type(const char* keys) {
        for (const char* k = keys; *k; ++k) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : console.get();
            QTest::keyClick(target, *k == '.' ? Qt::Key_Period : static_cast<Qt::Key>(Qt::Key_0 + (*k - '0')));
        }
    }
    // Waits until the console has handled the radio's report `reply`.
    void Reported(const std::string& reply) { WaitReported(reply); }
    // Every command the radio received since the last Settle(), in order.
    std::vector<std::string> All() {
        std::vector<std::string> out;
        for (const auto& r : radio().received())
            out.push_back(r.text);
        return out;
    }
    // The texts of the three marks of a VFO row (0 A, 1 B, 2 M).
    std::string Marks(int row) {
        std::string out;
        for (int column = 0; column < 3; ++column) {
            const std::string mark = Text(idc::VfoMark0 + row * 3 + column);
            out += mark.empty() ? "_" : mark;
        }
        return out;
    }
    // The main status line (a text line).
    std::string StatusText() { return controls().edit(idc::MainText)->text().toStdString(); }
    bool ShowsOnMain(const char* digits) {
        return PumpUntil([&] { return Shown(false).find(digits) != std::string::npos; },
                         std::chrono::seconds(3));
    }
};

// ------------------------------------------------------------ ENT

// Each digit mode begins with the display still showing the radio's
// frequency; ENT in it must not send that frequency to any VFO.
struct DigitModeCase {
    const char* name;
    std::function<void(FrontPanelTest&)> enter;
    int zephyra::ConsoleState::*flag;
};

class EntInDigitModes : public FrontPanelTest, public testing::WithParamInterface<DigitModeCase> {};

TEST_P(EntInDigitModes, EntLeavesTheModeAndSendsNoFrequency) {
    Ready();
    // VFO B selected and a transverter offset: the display shows neither VFO A
    // nor what the radio holds.
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("TransFreqMain"),
                                 QStringLiteral("116000000"));
    radio().setMenu(25, 0, 0, 0, "1");
    radio().pressKey(qxsim::Key::VfoAB);
    Reported("FR1");
    Settle();
    GetParam().enter(*this);
    ASSERT_EQ(state().*GetParam().flag, 1);
    ASSERT_EQ(state().entryMode, 1);
    Settle();
    Click(idc::Ent);
    PumpFor(std::chrono::milliseconds(200));
    const auto wire = Wire(0);
    EXPECT_FALSE(SendsAFrequency(wire)) << Joined(wire);
    EXPECT_EQ(state().*GetParam().flag, 0);
    EXPECT_EQ(state().entryMode, 0);
    EXPECT_EQ(radio().state().vfoA, 14'195'000);
    EXPECT_EQ(radio().state().vfoB, 7'050'000);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EntInDigitModes,
    testing::Values(
        DigitModeCase{"Voice", [](FrontPanelTest& test) { test.Click(idc::Voice); },
                      &zephyra::ConsoleState::voiceRecallDigits},
        DigitModeCase{"Pm", [](FrontPanelTest& test) { test.Click(idc::Pm); }, &zephyra::ConsoleState::readChannel},
        DigitModeCase{"PmIn", [](FrontPanelTest& test) { test.Click(idc::PmIn); },
                      &zephyra::ConsoleState::writeChannel},
        // DTMF digits are picked while transmitting.
        DigitModeCase{"Dtmf",
                      [](FrontPanelTest& test) {
                          test.Click(idc::Send);
                          ASSERT_TRUE(PumpUntil([&] { return test.state().transmitting[0] == 1; }));
                          test.Click(idc::QuickMr);
                      },
                      &zephyra::ConsoleState::dtmfDigits}),
    [](const testing::TestParamInfo<DigitModeCase>& row) { return row.param.name; });

// ------------------------------------------------------------ transverter

TEST_F(FrontPanelTest, KeypadEntryTypesWhatTheDisplayShowsWithTheTransverter) {
    Ready();
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("TransFreqMain"),
                                 QStringLiteral("116000000"));
    radio().setFrequency(qxsim::Vfo::A, 28'500'000);
    radio().setMenu(25, 0, 0, 0, "1");
    ASSERT_TRUE(ShowsOnMain("144.500.000")) << Shown(false);
    Settle();

    Click(idc::Ent);
    Type("144.3");
    Click(idc::Ent);
    EXPECT_EQ(Wire(), (std::vector<std::string>{"FA00028300000"}));
    EXPECT_TRUE(ShowsOnMain("144.300.000")) << Shown(false);
    EXPECT_TRUE(dialogs->messages.empty());

    // Outside the radio's range once the offset is off: refused, said, not sent.
    for (const char* typed : {"100.", "400."}) {
        Settle();
        Click(idc::Ent);
        Type(typed);
        Click(idc::Ent);
        PumpFor(std::chrono::milliseconds(150));
        EXPECT_FALSE(SendsAFrequency(Filtered())) << typed << ": " << Joined(Filtered());
        ASSERT_FALSE(dialogs->messages.empty()) << typed;
        EXPECT_EQ(dialogs->messages.back().text, QStringLiteral("Invalid Frequency.\nPlease check and try again."));
        EXPECT_EQ(state().entryMode, 0);
        dialogs->messages.clear();
    }
    EXPECT_EQ(radio().state().vfoA, 28'300'000);
}

// ------------------------------------------------------------ the guard

TEST_F(FrontPanelTest, AnOperationInsideAnotherKeepsTheLockUntilTheOuterEnds) {
    Ready();
    // Receive A, transmit B, the sub receiver on: A = B's change of the
    // receive VFO brings an IF without split, whose handling reads the other
    // band's antenna inside A = B's guard.
    Click(idc::SubButton);
    Reported("SB1");
    Click(idc::SplitButton);
    Reported("FT1");
    Settle();
    Click(idc::AEqualsB);
    const bool busyAfter = state().busy != 0;
    const bool enabledAfter = console->isEnabled();
    PumpFor(std::chrono::milliseconds(300));
    const auto wire = All();
    const auto first = [&](const char* prefix) {
        return std::find_if(wire.begin(), wire.end(), [&](const std::string& c) { return StartsWith(c, prefix); });
    };
    const auto lastFt = std::find_if(wire.rbegin(), wire.rend(), [](const std::string& c) {
                            return StartsWith(c, "FT");
                        }).base();
    ASSERT_NE(first("FB0"), wire.end()) << Joined(wire);
    EXPECT_EQ(std::count(wire.begin(), wire.end(), "LK21"), 1) << Joined(wire);
    EXPECT_EQ(std::count(wire.begin(), wire.end(), "LK00"), 1) << Joined(wire);
    EXPECT_LT(first("LK21"), first("FR1")) << Joined(wire);
    // The radio stays locked until A = B has set its last VFO.
    EXPECT_GT(first("LK00"), first("FB0")) << Joined(wire);
    EXPECT_GE(first("LK00"), lastFt) << Joined(wire);
    EXPECT_FALSE(busyAfter);
    EXPECT_TRUE(enabledAfter);
    EXPECT_EQ(radio().state().vfoB, 14'195'000);
}

// ------------------------------------------------------------ split and transmit

TEST_F(FrontPanelTest, SplitTransmitWithTheSubBandControlledShowsTheTransmitSide) {
    Ready();
    Click(idc::SplitButton);
    Reported("FT1");
    Click(idc::CtrlButton);
    Reported("DC01");
    PumpFor(std::chrono::milliseconds(200));
    ASSERT_EQ(Text(idc::Split), "SPLIT");
    Settle();
    Click(idc::Send);
    PumpFor(std::chrono::milliseconds(300));
    ASSERT_TRUE(radio().waitForSent("OI", std::chrono::seconds(2))) << Joined(All()) << " / " << Joined(radio().sent());
    EXPECT_TRUE(ShowsOnMain("7.050.000")) << Shown(false);
    EXPECT_EQ(Text(idc::Split), "SPLIT");
    EXPECT_EQ(state().mainVfo, 0);
    EXPECT_NE(Marks(1), "<B>");

    radio().clearSent();
    Click(idc::Send);
    ASSERT_TRUE(PumpUntil([&] { return state().transmitting[0] == 0; }));
    ASSERT_TRUE(radio().waitForSent("OI", std::chrono::seconds(2)));
    EXPECT_TRUE(ShowsOnMain("14.195.000")) << Shown(false);
    EXPECT_EQ(Text(idc::Split), "SPLIT");
    EXPECT_EQ(state().mainVfo, 0);
    EXPECT_EQ(state().split, 1);
}

TEST_F(FrontPanelTest, SplitTransmitShowsTheTransmitFrequencyTheRadioReports) {
    Ready();
    Click(idc::SplitButton);
    Reported("FT1");
    Settle();
    Click(idc::Send);
    // The radio's IF while it transmits in split carries the transmit VFO.
    ASSERT_TRUE(radio().waitForSent("IF00007050000", std::chrono::seconds(2)));
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_TRUE(ShowsOnMain("7.050.000")) << Shown(false);
    EXPECT_EQ(state().subFrequency, 7'050'000);
    EXPECT_EQ(state().mainFrequency, 14'195'000);
    Click(idc::Send);
    ASSERT_TRUE(PumpUntil([&] { return state().transmitting[0] == 0; }));
    EXPECT_TRUE(ShowsOnMain("14.195.000")) << Shown(false);
}

TEST_F(FrontPanelTest, SwitchingOffWhileTransmittingEndsTheTransmitDisplay) {
    Ready();
    const std::string meterName = Text(idc::MainMeterName);
    Click(idc::SplitButton);
    Reported("FT1");
    const std::string splitA = Marks(0), splitB = Marks(1);
    Click(idc::Send);
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::MainBusy) == "ONAIR"; }));
    ASSERT_EQ(Text(idc::MainMeterName), "PWR");
    ASSERT_NE(Marks(0) + Marks(1), splitA + splitB);

    radio().setPower(false);
    ASSERT_TRUE(PumpUntil([&] { return state().consoleReady == 0; }));
    radio().setPower(true);
    ASSERT_TRUE(PumpUntil([&] { return state().consoleReady == 1; }));
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(Text(idc::MainMeterName), meterName);
    EXPECT_EQ(Marks(0) + Marks(1), splitA + splitB);
    EXPECT_TRUE(ShowsOnMain("14.195.000")) << Shown(false);
    EXPECT_NE(Text(idc::MainBusy), "ONAIR");
    // "PTT" marks the band that transmits, not a transmission: it stays.
    EXPECT_EQ(Text(idc::MainPtt), "PTT");
}

TEST_F(FrontPanelTest, TransmitAndReceiveResetTheBandsMeters) {
    Ready();
    // The sub band's bar: with the sub receiver off no meter reading
    // follows that could hide the reset.
    for (const int id : {idc::SubMeter, idc::SubMeterOver}) {
        CStaticMeterEx* bar = controls().meter(id);
        ASSERT_NE(bar, nullptr);
        for (const bool transmit : {true, false}) {
            bar->ViewMeter(12);
            ASSERT_EQ(bar->level(), 12);
            radio().inject(transmit ? "TX1;" : "RX1;");
            EXPECT_TRUE(PumpUntil([&] { return bar->level() == 0 && bar->peak() == 0; })) << transmit;
        }
    }
}

TEST_F(FrontPanelTest, OnAirGoesToTheBandThatTransmits) {
    Ready();
    // Transmit on sub, control on main.
    radio().modify([](qxsim::State& s) { s.transmitBand = 1; });
    radio().inject("DC10;");
    ASSERT_TRUE(PumpUntil([&] { return state().transmitBand == 1 && state().controlBand == 0; }));
    radio().inject("IF00014195000" "0001" "+00000" "0" "0" " " "00" "1" "2" "0" "0" "0" "0" "08" "0;");
    ASSERT_TRUE(PumpUntil([&] { return state().transmitting[1] == 1; }));
    EXPECT_EQ(state().transmitting[0], 0);
    EXPECT_EQ(Text(idc::SubBusy), "ONAIR");
    EXPECT_NE(Text(idc::MainBusy), "ONAIR");
}

TEST_F(FrontPanelTest, AChannelReportedByIfIsReadAsTheChannelReplyWouldBe) {
    Ready();
    radio().pressKey(qxsim::Key::MemoryVfo);
    Reported("FR2");
    Settle();
    // The radio moves to channel 112 and reports it with IF alone. It must
    // really stand there: once the console has read the channel it asks IF
    // again, and the radio's own answer names the channel it is on (a report
    // the radio did not back would be taken back by that answer, before or
    // after the check as the machine's load would have it).
    radio().modify([](qxsim::State& s) {
        s.bank = 1;
        s.channel = 12;
        s.memory[112].half[0].frequency = 14'195'000;
        s.memory[112].half[0].mode = 2;
    });
    radio().inject("IF00014195000" "0001" "+00000" "0" "0" "1" "12" "0" "2" "2" "0" "0" "0" "08" "0;");
    ASSERT_TRUE(PumpUntil([&] { return radio().countOf("MR0112") > 0; }, std::chrono::seconds(2)))
        << Joined(All());
    EXPECT_EQ(radio().countOf("MR0012"), 0u) << Joined(All());
    EXPECT_TRUE(PumpUntil([&] { return state().memory[0].bank == 1 && state().memory[0].channel == 12; },
                          std::chrono::seconds(2)));
    EXPECT_EQ(state().memory[0].bank, 1);
    EXPECT_EQ(state().memory[0].channel, 12);
}

// ------------------------------------------------------------ terminal mode

TEST_F(FrontPanelTest, LeavingTerminalModeReconnectsOnce) {
    Ready();
    console->connection()->Link().ConnTC("W", 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return state().tncMode == 1; }));
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(StatusText(), "TNC Mode");
    Settle();
    platform::PostMessage(console.get(), platform::kUmLinkRestart, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return radio().countOf("ID") >= 1 && state().consoleReady == 1 &&
                                       !console->connection()->SequenceRunning(); },
                          std::chrono::seconds(15)));
    PumpFor(std::chrono::seconds(2));
    // One connection (the port's probe and Control > ON ask ID), one read.
    EXPECT_EQ(radio().countOf("ID"), 2u) << Joined(All());
    EXPECT_EQ(radio().countOf("TY"), 1u) << Joined(All());
    EXPECT_EQ(radio().countOf("LK21"), 1u) << Joined(All());
    EXPECT_EQ(state().tncMode, 0);
    EXPECT_EQ(state().connected, 1);
    EXPECT_EQ(StatusText(), "");
}

TEST_F(FrontPanelTest, ControlOffInTerminalModeLeavesItAndSwitchesReportsOff) {
    Ready();
    console->connection()->Link().ConnTC("W", 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return state().tncMode == 1; }));
    ASSERT_EQ(radio().state().terminal, 0);
    console->connection()->ControlOff();
    EXPECT_EQ(state().connected, 0);
    EXPECT_EQ(radio().state().terminal, 1);
    EXPECT_EQ(radio().state().ai, 0);
}

TEST_F(FrontPanelTest, ClosingInTerminalModeLeavesItAndSwitchesReportsOff) {
    Ready();
    console->connection()->Link().ConnTC("W", 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return state().tncMode == 1; }));
    qxsim::Radio& r = radio();
    console->DestroyWindow();
    EXPECT_EQ(r.state().terminal, 1);
    EXPECT_EQ(r.state().ai, 0);
}

// ------------------------------------------------------------ digits and steps

TEST_F(FrontPanelTest, ADoubleClickedDigitRepeatsWhileHeld) {
    Ready();
    QWidget* digit = Widget(idc::MainDigit0 + 7); // the 1 kHz digit
    const QPointF at = digit->rect().center();
    QTest::mouseClick(digit, Qt::LeftButton, Qt::NoModifier, at.toPoint());
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, digit->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(digit, &twice);
    EXPECT_TRUE(ops().timers().IsRunning(ConsoleOperations::kDigitRepeatTimer));
    QTest::mouseRelease(digit, Qt::LeftButton, Qt::NoModifier, at.toPoint());
    EXPECT_FALSE(ops().timers().IsRunning(ConsoleOperations::kDigitRepeatTimer));
}

TEST_F(FrontPanelTest, ChoosingTheSelectedStepSendsNothing) {
    Ready();
    QComboBox* list = controls().comboBox(idc::StepList);
    ASSERT_NE(list, nullptr);
    const int selected = list->currentIndex();
    ASSERT_GE(selected, 0);
    QMetaObject::invokeMethod(list, "activated", Q_ARG(int, selected));
    PumpFor(std::chrono::milliseconds(150));
    EXPECT_EQ(radio().countOf("ST"), 0u) << Joined(All());
    const int other = selected == 0 ? 1 : 0;
    QMetaObject::invokeMethod(list, "activated", Q_ARG(int, other));
    char expected[8];
    std::snprintf(expected, sizeof expected, "ST%02d", other);
    EXPECT_EQ(Wire(), (std::vector<std::string>{expected}));
}

TEST_F(FrontPanelTest, TheSubBandStepsByTheListOfItsMode) {
    Ready();
    // The sub band works FM: controlling it brings its mode and its step list.
    Click(idc::CtrlButton);
    Reported("DC01");
    ASSERT_TRUE(PumpUntil([&] { return controls().comboBox(idc::StepList)->count() == 10; }));
    ASSERT_TRUE(radio().waitForSent("ST", std::chrono::seconds(2)));
    PumpFor(std::chrono::milliseconds(150));
    const std::int64_t before = radio().state().subFrequency;
    Settle();
    QWidget* digit = Widget(idc::SubDigit0 + 7); // the 1 kHz digit
    QTest::mousePress(digit, Qt::RightButton, Qt::NoModifier, digit->rect().center());
    QTest::mouseRelease(digit, Qt::RightButton, Qt::NoModifier, digit->rect().center());
    char expected[32];
    std::snprintf(expected, sizeof expected, "FC%011lld", static_cast<long long>(before + 6250));
    EXPECT_EQ(Wire(), (std::vector<std::string>{expected}));
}

TEST_F(FrontPanelTest, TheFixedMinusShiftFollowsTheBandShown) {
    Ready();
    // VFO A on 14 MHz, VFO B (shown) on 1.2 GHz, shift "=" while transmitting.
    radio().setFrequency(qxsim::Vfo::B, 1'295'000'000);
    radio().pressKey(qxsim::Key::VfoAB);
    Reported("FR1");
    radio().inject("OS3;");
    ASSERT_TRUE(PumpUntil([&] { return state().shift[0] == 3; }));
    radio().inject("TX0;");
    ASSERT_TRUE(PumpUntil([&] { return state().transmitting[0] == 1; }));
    EXPECT_TRUE(ShowsOnMain("1.289.000.000")) << Shown(false);
}

// ------------------------------------------------------------ focus

TEST_F(FrontPanelTest, APressThatActivatesTheConsoleCounts) {
    Ready();
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other, 2000));
    ASSERT_FALSE(console->isActiveWindow());
    Settle();
    QWidget* digit = Widget(idc::MainDigit0 + 7); // the 1 kHz digit
    QTest::mousePress(digit, Qt::LeftButton, Qt::NoModifier, digit->rect().center());
    QTest::mouseRelease(digit, Qt::LeftButton, Qt::NoModifier, digit->rect().center());
    EXPECT_EQ(Wire(), (std::vector<std::string>{"FA00014194000"}));
    EXPECT_TRUE(PumpUntil([&] { return console->isActiveWindow(); }, std::chrono::seconds(2)));
}

} // namespace
