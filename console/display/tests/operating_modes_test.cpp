// SPDX-License-Identifier: GPL-3.0-or-later
// operating_modes_test.cpp - power, PLL lock, terminal mode, satellite mode,
// the extended-menu settings and the ZUL line on a real console: the menu
// rows as a table driven from the radio's front panel, the meters as a
// table, then the radio's own actions on the simulator.
#include "display_fixture.h"

#include "console_menu.h"

#include <QAction>
#include <QComboBox>
#include <QScrollBar>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

using display_test::PumpFor;
using display_test::PumpUntil;
using u32 = std::uint32_t;

// The exports these operations call, by name and number.
class Recorder final : public zephyra::SecondaryWindows {
public:
    void DunmarMsgPFil(u32 filter) override { calls.push_back("DunmarMsgPFil " + std::to_string(filter)); }
    void DunmarDestroy() override { calls.push_back("DunmarDestroy"); }
    void GlimraScanStop() override { calls.push_back("GlimraScanStop"); }
    void SolvikView(u32) override { calls.push_back("SolvikView"); }
    void SolvikDestroy() override { calls.push_back("SolvikDestroy"); }
    // Every EX reply the console handled, as "menu sub third fourth text".
    void OrlintMsgEX(u32 m, u32 s, u32 a, u32 b, const char* t) override {
        menus.push_back(std::to_string(m) + " " + std::to_string(s) + " " + std::to_string(a) + " " +
                        std::to_string(b) + " " + t);
    }
    std::vector<std::string> calls;
    std::vector<std::string> menus;
};

class OperatingModesTest : public display_test::DisplayTest {
public:
    // The table rows below reach the console through these.
    using DisplayTest::controls;
    using DisplayTest::state;
    using DisplayTest::Text;

    void SetUp() override { StartWithWindows(recorder_); }

    // A menu value set on the radio's front panel (reported with AI 2).
    void Menu(int menu, int sub, const char* text, int third = 0) {
        radio().setMenu(menu, sub, third, 0, text);
    }
    // A menu value set on the radio, waited for until the console has
    // handled its report.
    void MenuHandled(int menu, int sub, const char* text, int third = 0) {
        const std::string entry = std::to_string(menu) + " " + std::to_string(sub) + " " +
                                  std::to_string(third) + " 0 " + text;
        auto handled = [&] {
            return std::count(recorder_->menus.begin(), recorder_->menus.end(), entry);
        };
        const auto before = handled();
        Menu(menu, sub, text, third);
        ASSERT_TRUE(PumpUntil([&] { return handled() > before; })) << entry;
    }
    // Waits until what the console sent so far has reached the radio: one
    // more menu report goes there and back.
    void Settle() { MenuHandled(44, 0, state().menu44 == 1 ? "0" : "1"); }
    int Calls(const std::string& call) const {
        return static_cast<int>(std::count(recorder_->calls.begin(), recorder_->calls.end(), call));
    }
    // The commands the radio received since the last clearReceived.
    std::vector<std::string> Wire() {
        std::vector<std::string> out;
        for (const qxsim::Received& r : radio().received())
            out.push_back(r.text);
        return out;
    }
    // True when `expected` was received in this order (others in between).
    bool WireHasInOrder(const std::vector<std::string>& expected) {
        const std::vector<std::string> wire = Wire();
        auto at = wire.begin();
        for (const std::string& e : expected) {
            at = std::find(at, wire.end(), e);
            if (at == wire.end())
                return false;
            ++at;
        }
        return true;
    }
    bool Enabled(int id) { return controls().widget(id)->isEnabled(); }
    bool CommandEnabled(int id) { return console->menuAction(id)->isEnabled(); }
    std::string StatusLine() { return controls().edit(idc::MainText)->text().toStdString(); }
    CStaticMeterEx* Meter(int id) { return controls().meter(id); }
    void Inject(const std::string& reply) { radio().inject(reply); }

    Recorder* recorder_ = nullptr;
};

// ---------------------------------------------------------------- the menu table

struct MenuRow {
    const char* name;
    int menu;
    int sub;
    const char* text;
    bool (*shows)(OperatingModesTest& t);
};

std::ostream& operator<<(std::ostream& out, const MenuRow& row) { return out << row.name; }

const MenuRow kMenuRows[] = {
    {"Menu4", 4, 0, "1", [](OperatingModesTest& t) { return t.state().menu4 == 1; }},
    {"AmBroadcastStep", 5, 0, "1", [](OperatingModesTest& t) { return t.state().amBroadcastStep == 1; }},
    {"MemoryTransmitOption", 6, 1, "1",
     [](OperatingModesTest& t) { return t.state().memoryTransmitOption == 1 && t.state().menu6Second == 0; }},
    {"Menu6Second", 6, 2, "1",
     [](OperatingModesTest& t) { return t.state().menu6Second == 1 && t.state().memoryTransmitOption == 0; }},
    // 14.195 MHz lies below 30 MHz.
    {"AntennaShowsExt", 18, 0, "1",
     [](OperatingModesTest& t) { return t.state().antennaFlag == 1 && t.Text(idc::Ext) == "EXT"; }},
    {"ReceiveEqualizer", 20, 0, "1",
     [](OperatingModesTest& t) {
         return t.Text(idc::RxEq) == "R" && t.controls().label(idc::RxEq)->backColor() == 0 &&
                t.Text(idc::Eq) == "EQ" && t.Text(idc::TxEq).empty();
     }},
    {"TransmitEqualizer", 21, 0, "1",
     [](OperatingModesTest& t) {
         return t.Text(idc::TxEq) == "T" && t.Text(idc::Eq) == "EQ" && t.Text(idc::RxEq).empty();
     }},
    {"Transverter", 25, 0, "1",
     [](OperatingModesTest& t) { return t.state().transverter == 1 && t.Text(idc::Trans) == "TRANS"; }},
    {"Menu42", 42, 0, "1", [](OperatingModesTest& t) { return t.state().menu42 == 1; }},
    {"TncOnMain", 46, 0, "0",
     [](OperatingModesTest& t) { return t.Text(idc::MainTnc) == "TNC" && t.Text(idc::SubTnc).empty(); }},
    // The sub receiver is off: neither mark shows.
    {"TncOnSubWithoutSubReceiver", 46, 0, "1",
     [](OperatingModesTest& t) {
         return t.state().tncBand == 1 && t.Text(idc::MainTnc).empty() && t.Text(idc::SubTnc).empty();
     }},
    {"FilterPreset", 50, 1, "3", [](OperatingModesTest& t) { return t.Calls("DunmarMsgPFil 3") == 1; }},
    {"RepeaterLocked", 61, 1, "1",
     [](OperatingModesTest& t) { return t.Text(idc::ZulLine) == " REPEATER : LOCKED "; }},
    {"RepeaterCross", 61, 1, "2",
     [](OperatingModesTest& t) { return t.Text(idc::ZulLine) == " REPEATER : CROSS "; }},
    {"RemoteControl", 61, 5, "1",
     [](OperatingModesTest& t) { return t.Text(idc::ZulLine) == " REMOTE CONTROL "; }},
    {"ZulClient", 62, 5, "1",
     [](OperatingModesTest& t) {
         return t.Text(idc::ZulLine) == " ZUL : CLIENT " && !t.Enabled(idc::StepList) &&
                t.Text(idc::MainSub) == "M / S" && t.Calls("DunmarDestroy") == 0;
     }},
    {"ZulCommand", 62, 5, "2",
     [](OperatingModesTest& t) {
         const QScrollBar* rit = t.controls().scrollBar(idc::RitBar);
         return t.Text(idc::ZulLine) == " ZUL : COMMAND " && t.Text(idc::MainSub) == "HF M." &&
                t.Text(idc::CtrlButton) == "SYNC" && rit->minimum() == -9990 &&
                rit->maximum() == 9990 && t.Calls("DunmarDestroy") == 1;
     }},
    {"ZulTransporter", 62, 5, "3",
     [](OperatingModesTest& t) {
         return t.Text(idc::ZulLine) == " ZUL : T-PORTER " && t.Text(idc::CtrlButton) == "CTRL" &&
                t.controls().scrollBar(idc::RitBar)->maximum() == 20000;
     }},
    // SM 2 at once, SM 3 after it.
    {"MeterSquelch", 19, 1, "1",
     [](OperatingModesTest& t) {
         return t.state().meterSquelch == 1 && t.WireHasInOrder({"SM2", "SM3"});
     }},
};

class MenuRows : public OperatingModesTest, public ::testing::WithParamInterface<MenuRow> {};

TEST_P(MenuRows, RadioSettingReachesTheConsole) {
    Connect();
    const MenuRow& row = GetParam();
    radio().clearReceived();
    Menu(row.menu, row.sub, row.text);
    EXPECT_TRUE(PumpUntil([&] { return row.shows(*this); })) << row.name;
}

INSTANTIATE_TEST_SUITE_P(ExtendedMenu, MenuRows, ::testing::ValuesIn(kMenuRows),
                         [](const auto& p) { return std::string(p.param.name); });

// Values the menus do not name, and items with other third numbers, leave
// the console as it was.
struct IgnoredRow {
    const char* name;
    int menu;
    int sub;
    const char* text;
    int third;
};

std::ostream& operator<<(std::ostream& out, const IgnoredRow& row) { return out << row.name; }

const IgnoredRow kIgnoredRows[] = {
    {"TransverterTwo", 25, 0, "2", 0},     {"ZulStateFour", 62, 5, "4", 0},
    {"RepeaterThree", 61, 1, "3", 0},      {"RemoteTwo", 61, 5, "2", 0},
    {"TncBandTwo", 46, 0, "2", 0},         {"AntennaText", 18, 0, "x", 0},
    {"EqualizerNegative", 20, 0, "-1", 0}, {"SquelchFive", 19, 1, "5", 0},
    {"Menu4Empty", 4, 0, "", 0},           {"ZulOtherItem", 62, 5, "2", 1},
    {"FilterText", 50, 1, "3a", 0},
};

class IgnoredRows : public OperatingModesTest, public ::testing::WithParamInterface<IgnoredRow> {
public:
    std::vector<std::string> Snapshot() {
        std::vector<std::string> out;
        for (const int id : std::initializer_list<int>{idc::ZulLine, idc::Trans, idc::MainTnc, idc::SubTnc, idc::Ext, idc::RxEq,
                             idc::Eq, idc::MainSub, idc::CtrlButton, idc::MainDigit0 + 3})
            out.push_back(Text(id));
        const zephyra::ConsoleState& s = state();
        for (const int v : {s.transverter, s.tncBand, s.antennaFlag, s.rxEqualizer, s.meterSquelch,
                            s.menu4, s.zulApplied, s.zulState, s.repeaterValue, s.remoteValue,
                            s.filterNumber, Enabled(idc::StepList) ? 1 : 0})
            out.push_back(std::to_string(v));
        return out;
    }
};

TEST_P(IgnoredRows, LeaveTheConsoleAsItWas) {
    Connect();
    const IgnoredRow& row = GetParam();
    const std::vector<std::string> before = Snapshot();
    const std::size_t exportsBefore = recorder_->calls.size();
    MenuHandled(row.menu, row.sub, row.text, row.third);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(recorder_->calls.size(), exportsBefore);
}

INSTANTIATE_TEST_SUITE_P(ExtendedMenu, IgnoredRows, ::testing::ValuesIn(kIgnoredRows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(OperatingModesTest, FilterPresetReachesTheFilterWindowOnlyWhenItChanges) {
    Connect();
    MenuHandled(50, 1, "3");
    EXPECT_EQ(Calls("DunmarMsgPFil 3"), 1);
    MenuHandled(50, 1, "3");
    EXPECT_EQ(Calls("DunmarMsgPFil 3"), 1);
    MenuHandled(50, 1, "4");
    EXPECT_EQ(Calls("DunmarMsgPFil 4"), 1);
}

TEST_F(OperatingModesTest, TransverterRedrawsTheMainDisplayWithItsOffset) {
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("TransFreqMain"),
                                 QStringLiteral("1000000000"));
    Connect();
    ASSERT_EQ(Shown(false), "    14.195.000 ");
    Menu(25, 0, "1");
    EXPECT_TRUE(PumpUntil([&] { return Shown(false) == " 1.014.195.000 "; })) << Shown(false);
    Menu(25, 0, "0");
    EXPECT_TRUE(PumpUntil([&] { return Shown(false) == "    14.195.000 "; })) << Shown(false);
    EXPECT_EQ(Text(idc::Trans), "");
}

TEST_F(OperatingModesTest, EqualizerMarkGoesOutOnlyWhenBothAreOff) {
    Connect();
    MenuHandled(20, 0, "1");
    MenuHandled(21, 0, "1");
    EXPECT_EQ(Text(idc::RxEq), "R");
    EXPECT_EQ(Text(idc::TxEq), "T");
    MenuHandled(20, 0, "0");
    EXPECT_EQ(Text(idc::RxEq), "");
    EXPECT_EQ(controls().label(idc::RxEq)->backColor(), ConsoleDisplay::kDisplayColour);
    EXPECT_EQ(Text(idc::Eq), "EQ");
    MenuHandled(21, 0, "0");
    EXPECT_EQ(Text(idc::Eq), "");
}

// Entering a ZUL state and leaving it again: the captions, the slider
// range, the step list and the noise-reduction controls come back, and the
// receive VFO is read again.
TEST_F(OperatingModesTest, LeavingZulCommandStateRestoresTheSubReceiverGroup) {
    Connect();
    Menu(62, 5, "2");
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::MainSub) == "HF M."; }));
    EXPECT_FALSE(Enabled(idc::StepList));
    // The noise-reduction cycle of command state greys some of these.
    controls().widget(idc::Nr2)->setEnabled(false);
    console->menuAction(cmd::NoiseReductionOff)->setEnabled(false);
    radio().clearReceived();
    Menu(62, 5, "0");
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::MainSub) == "M / S"; }));
    EXPECT_EQ(Text(idc::CtrlButton), "CTRL");
    EXPECT_EQ(Text(idc::ZulLine), "");
    EXPECT_EQ(controls().scrollBar(idc::RitBar)->minimum(), -20000);
    EXPECT_TRUE(Enabled(idc::StepList));
    EXPECT_TRUE(Enabled(idc::Nr1));
    EXPECT_TRUE(Enabled(idc::Nr2));
    for (const int id : {cmd::NoiseReduction1, cmd::NoiseReduction2, cmd::NoiseReductionOff})
        EXPECT_TRUE(CommandEnabled(id));
    EXPECT_TRUE(PumpUntil([&] { return radio().countOf("FR") > 0; }));
}

// ---------------------------------------------------------------- the ZUL line

struct ZulRow {
    int pll, zul, remote, repeater;
    const char* shown;
};

std::ostream& operator<<(std::ostream& out, const ZulRow& r) {
    return out << r.pll << r.zul << r.remote << r.repeater;
}

class ZulLine : public OperatingModesTest, public ::testing::WithParamInterface<ZulRow> {};

TEST_P(ZulLine, ShowsTheHighestState) {
    const ZulRow& row = GetParam();
    state().pllUnlocked = row.pll;
    state().zulState = row.zul;
    state().remoteValue = row.remote;
    state().repeaterValue = row.repeater;
    display().ShowZulLine();
    EXPECT_EQ(Text(idc::ZulLine), row.shown);
}

INSTANTIATE_TEST_SUITE_P(Priority, ZulLine,
                         ::testing::Values(ZulRow{1, 2, 1, 1, " PLL UNLOCKED."},
                                           ZulRow{0, 2, 1, 1, " ZUL : COMMAND "},
                                           ZulRow{0, 3, 1, 0, " ZUL : T-PORTER "},
                                           ZulRow{0, 0, 1, 2, " REMOTE CONTROL "},
                                           ZulRow{0, 0, 0, 2, " REPEATER : CROSS "},
                                           ZulRow{0, 0, 0, 1, " REPEATER : LOCKED "},
                                           ZulRow{0, 0, 0, 0, ""}));

// ---------------------------------------------------------------- PLL lock

TEST_F(OperatingModesTest, PllUnlockBlanksBothDisplaysAndRelockReadsTheVfoAgain) {
    Connect();
    ASSERT_EQ(Shown(false), "    14.195.000 ");
    Inject("UL1;");
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::ZulLine) == " PLL UNLOCKED."; }));
    EXPECT_EQ(Shown(false), "  .   .   .    ");
    EXPECT_EQ(Shown(true), "  .   .   .    ");
    radio().clearReceived();
    Inject("UL0;");
    EXPECT_TRUE(PumpUntil([&] { return Shown(false) == "    14.195.000 "; })) << Shown(false);
    EXPECT_TRUE(WireHasInOrder({"FR", "SB"}));
    EXPECT_EQ(Text(idc::ZulLine), "");
}

TEST_F(OperatingModesTest, PllRelockInZulStateRestoresItsLine) {
    Connect();
    Menu(62, 5, "1");
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::ZulLine) == " ZUL : CLIENT "; }));
    Inject("UL1;");
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::ZulLine) == " PLL UNLOCKED."; }));
    radio().clearReceived();
    Inject("UL0;");
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::ZulLine) == " ZUL : CLIENT "; }));
    EXPECT_EQ(Shown(false), "    14.195.000 ");
    Settle();
    EXPECT_EQ(radio().countOf("FR"), 0u);
}

// ---------------------------------------------------------------- power

TEST_F(OperatingModesTest, PowerCycleRefreshesWithoutReadingEverythingAgain) {
    Connect();
    // Powered on: the signal meter carries its receive scale.
    EXPECT_EQ(Text(idc::MainMeterName), "S");
    EXPECT_EQ(Text(idc::MainScale), "--1--3--5--7--9---20---40---60dB");
    display().OnSM(0, 20);
    display().OnRM(3, 12);
    ASSERT_EQ(Meter(idc::MainMeter)->level(), 15);
    ASSERT_EQ(Meter(idc::MainMeterOver)->level(), 5);
    radio().setPower(false);
    ASSERT_TRUE(PumpUntil([&] { return state().consoleReady == 0; }));
    EXPECT_EQ(Meter(idc::MainMeter)->level(), 0);
    EXPECT_EQ(Meter(idc::MainMeterOver)->level(), 0);
    EXPECT_EQ(Meter(idc::SecondMeter)->level(), 0);
    EXPECT_EQ(state().secondMeterKind, 0);
    EXPECT_EQ(Calls("GlimraScanStop"), 1);

    radio().clearReceived();
    radio().setPower(true);
    ASSERT_TRUE(PumpUntil([&] { return state().consoleReady == 1 && radio().countOf("BY") > 0; }));
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(radio().countOf("KY"), 1u);
    EXPECT_EQ(radio().countOf("RM"), 1u);
    EXPECT_EQ(radio().countOf("BY"), 1u);
    // The settings read (its type, filter and scan reads) does not run again.
    EXPECT_EQ(radio().countOf("TY"), 0u);
    EXPECT_EQ(radio().countOf("FW"), 0u);
    EXPECT_EQ(radio().countOf("SC"), 0u);
    // The radio's meter kind is drawn again after the reset.
    EXPECT_TRUE(PumpUntil([&] { return state().secondMeterKind != 0; }));
}

// ---------------------------------------------------------------- terminal mode

TEST_F(OperatingModesTest, TerminalModeOnAndOffAgain) {
    Connect();
    Menu(55, 0, "1");
    ASSERT_TRUE(PumpUntil([&] { return state().tncMode == 1; }));
    EXPECT_EQ(Calls("SolvikView"), 1);
    EXPECT_FALSE(CommandEnabled(cmd::Refresh));
    // The terminal window gives the line back and asks the radio: the
    // console connects afresh.
    ASSERT_EQ(display().link.ConnTC("W", 0, 1), 1);
    ASSERT_EQ(display().link.ConnTC("R", 0, 0), 1);
    ASSERT_TRUE(PumpUntil([&] { return state().tncMode == 0 && state().consoleReady == 1; },
                          std::chrono::seconds(20)));
    EXPECT_EQ(state().connected, 1);
    EXPECT_TRUE(CommandEnabled(cmd::Refresh));
    // The terminal window closes with the mode.
    EXPECT_EQ(Calls("SolvikDestroy"), 1);
}

// ---------------------------------------------------------------- satellite

TEST_F(OperatingModesTest, SatelliteOnRunsTheSetUpAndOffReadsTheBandsAgain) {
    Connect();
    radio().modify([](qxsim::State& s) {
        s.satelliteNames[3] = "AO-7";
        s.satellite = {1, 3, 0, 0, 0, 0, 0};
        s.satelliteName = "AO-7";
    });
    radio().clearReceived();
    display().link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
    ASSERT_TRUE(PumpUntil([&] { return Calls("GlimraScanStop") == 1; }));
    // The control band toggled and back, the offsets and modes read on the
    // way, then both VFOs.
    EXPECT_TRUE(WireHasInOrder({"SA", "SA1301000", "OS", "MD", "SA1300000", "FA", "FB", "MD"}));
    EXPECT_EQ(state().satelliteMode, 1);
    EXPECT_EQ(Text(idc::MainChDigit0 + 2), "3");
    EXPECT_EQ(Text(idc::MainChDigit0), "");
    EXPECT_EQ(StatusLine(), "AO-7");
    EXPECT_EQ(Text(idc::MainPtt), "PTT");
    EXPECT_EQ(Text(idc::SubPtt), "");
    EXPECT_EQ(Text(idc::MainCtrl), "CTRL");
    EXPECT_EQ(Marks(), "_A><B____");
    EXPECT_TRUE(CommandEnabled(cmd::SatTrace));
    EXPECT_TRUE(CommandEnabled(cmd::SatClickEncFunction));

    // The VFOs change places: no second set-up, both frequencies read.
    EXPECT_EQ(state().mainFrequency, 7'050'000);
    EXPECT_EQ(state().subFrequency, 14'195'000);
    radio().modify([](qxsim::State& s) { s.satellite = {1, 3, 1, 0, 1, 1, 0}; });
    radio().clearReceived();
    display().link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::SubPtt) == "PTT"; }));
    EXPECT_EQ(state().satelliteVfoFlag, 1);
    EXPECT_EQ(Marks(), "<A__B>___");
    EXPECT_EQ(Text(idc::Trace), "TRACE");
    EXPECT_EQ(Text(idc::MainReverse), "R");
    EXPECT_TRUE(PumpUntil([&] { return radio().countOf("FA") > 0 && radio().countOf("FB") > 0; }));
    EXPECT_EQ(radio().countOf("SA1"), 0u);
    EXPECT_EQ(state().mainFrequency, 14'195'000);
    EXPECT_EQ(state().subFrequency, 7'050'000);

    // Off: the bands and VFOs are read again, the satellite commands grey.
    radio().modify([](qxsim::State& s) { s.satellite = {0, 3, 1, 0, 1, 1, 0}; });
    radio().clearReceived();
    display().link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
    ASSERT_TRUE(PumpUntil([&] { return state().satelliteMode == 0; }));
    EXPECT_TRUE(PumpUntil([&] { return WireHasInOrder({"DC", "FR", "FT"}); }));
    EXPECT_EQ(Text(idc::MainChDigit0 + 2), "");
    EXPECT_EQ(StatusLine(), "");
    EXPECT_EQ(Text(idc::Trace), "");
    EXPECT_EQ(Text(idc::MainReverse), "");
    EXPECT_FALSE(CommandEnabled(cmd::SatTrace));
}

TEST_F(OperatingModesTest, SatelliteReportOutOfRangeChangesNothing) {
    Connect();
    radio().clearReceived();
    SatelliteReport report;
    report.on = 1;
    report.channel = 12;
    display().OnSA(report);
    report.channel = 1;
    report.swap = 2;
    display().OnSA(report);
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(state().satelliteMode, 0);
    EXPECT_EQ(radio().countOf("SA"), 0u);
    EXPECT_EQ(Calls("GlimraScanStop"), 0);
}

// ---------------------------------------------------------------- meters

struct MeterRow {
    const char* name;
    int meter;
    int level;
    int subReceiver;
    int squelch;
    // main first, main over, sub first, sub over: bar levels, or squelch
    // marks for the squelch rows
    int shown[4];
};

std::ostream& operator<<(std::ostream& out, const MeterRow& row) { return out << row.name; }

class Meters : public OperatingModesTest, public ::testing::WithParamInterface<MeterRow> {};

TEST_P(Meters, SignalBarsSplitAtFifteen) {
    const MeterRow& row = GetParam();
    state().consoleReady = 1;
    state().subReceiver = row.subReceiver;
    state().meterSquelch = row.squelch;
    display().OnSM(row.meter, row.level);
    const int ids[4] = {idc::MainMeter, idc::MainMeterOver, idc::SubMeter, idc::SubMeterOver};
    for (int i = 0; i < 4; ++i) {
        CStaticMeterEx* m = Meter(ids[i]);
        const int shown = row.squelch ? m->squelchLevel() : m->level();
        EXPECT_EQ(shown, row.shown[i]) << "part " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    SignalMeter, Meters,
    ::testing::Values(MeterRow{"MainBelowSplit", 0, 10, 0, 0, {10, 0, 0, 0}},
                      MeterRow{"MainAboveSplit", 0, 20, 0, 0, {15, 5, 0, 0}},
                      MeterRow{"MainAtSplit", 0, 15, 0, 0, {15, 0, 0, 0}},
                      MeterRow{"MainJustAboveSplit", 0, 16, 0, 0, {15, 1, 0, 0}},
                      MeterRow{"MainClampedAtTop", 0, 40, 0, 0, {15, 15, 0, 0}},
                      MeterRow{"SubWhileSubReceiverOff", 1, 20, 0, 0, {0, 0, 0, 0}},
                      MeterRow{"SubWhileSubReceiverOn", 1, 20, 1, 0, {0, 0, 15, 5}},
                      MeterRow{"MainSquelchMark", 2, 20, 0, 1, {15, 5, 0, 0}},
                      MeterRow{"MainSquelchWithoutMarks", 2, 8, 0, 0, {8, 0, 0, 0}},
                      MeterRow{"SubSquelchMark", 3, 12, 1, 1, {0, 0, 12, 0}},
                      MeterRow{"OtherMeter", 4, 20, 1, 0, {0, 0, 0, 0}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(OperatingModesTest, SecondMeterKeepsItsBarForANewLevelOfTheSameKind) {
    display().OnRM(3, 10);
    EXPECT_EQ(Text(idc::SecondScale), "----   ----   ----");
    EXPECT_EQ(Text(idc::SecondMeterName), "ALC");
    ASSERT_EQ(Meter(idc::SecondMeter)->level(), 10);
    display().OnRM(3, 4);
    EXPECT_EQ(Meter(idc::SecondMeter)->level(), 4);
    EXPECT_EQ(Meter(idc::SecondMeter)->peak(), 10); // held, not reset
    display().OnRM(1, 4);
    EXPECT_EQ(Text(idc::SecondMeterName), "SWR");
    EXPECT_EQ(Meter(idc::SecondMeter)->peak(), 4); // a new kind starts afresh
    EXPECT_EQ(Meter(idc::SecondMeter)->level(), 4);
    display().OnRM(2, 99);
    EXPECT_EQ(Text(idc::SecondMeterName), "SWR");
    EXPECT_EQ(Meter(idc::SecondMeter)->level(), 4);
}

TEST_F(OperatingModesTest, SquelchDisplayOffRemovesTheMarks) {
    for (const int id : {idc::MainMeter, idc::MainMeterOver, idc::SubMeter, idc::SubMeterOver})
        Meter(id)->ViewSMeterSql(1, 5);
    state().meterSquelch = 1;
    display().OnEX(19, 1, 0, 0, "0");
    EXPECT_EQ(state().meterSquelch, 0);
    for (const int id : {idc::MainMeter, idc::MainMeterOver, idc::SubMeter, idc::SubMeterOver})
        EXPECT_FALSE(Meter(id)->squelchDisplay()) << id;
}

} // namespace
