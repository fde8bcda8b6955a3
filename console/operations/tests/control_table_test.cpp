// SPDX-License-Identifier: GPL-3.0-or-later
// control_table_test.cpp - every front-panel control, clicked for real on
// a console connected to the simulator: the state it starts from, the
// control, and exactly the commands the radio receives.
#include "operations_fixture.h"

#include "console_menu.h"

#include <glimra.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <functional>
#include <ostream>

namespace {

using namespace operations_test;

class ControlTableTest : public OperationsTest {
public:
    using OperationsTest::Click;
    // A value the radio reports from its front panel, seen by the console.
    void Report(const std::string& key, std::vector<long long> numbers, const std::string& reply) {
        radio().clearSent();
        radio().setValue(key, std::move(numbers));
        WaitReported(reply);
    }
    void Mode(int mode, const std::string& reply) {
        radio().clearSent();
        radio().setMode(mode);
        WaitReported(reply);
    }
    void Tune(std::int64_t hz, const std::string& reply) {
        radio().clearSent();
        radio().setFrequency(qxsim::Vfo::A, hz);
        WaitReported(reply);
    }
    void SetMeter(int kind, const std::string& reply) {
        radio().clearSent();
        console->link()->ConnRM("W", static_cast<std::uint32_t>(kind));
        WaitReported(reply);
    }
    void Press(qxsim::Key key, const std::string& reply) {
        radio().clearSent();
        radio().pressKey(key);
        WaitReported(reply);
    }
};

using Setup = std::function<void(ControlTableTest&)>;

struct Row {
    const char* name;
    Setup setup;
    int control;
    std::vector<std::string> wire;
};

std::ostream& operator<<(std::ostream& out, const Row& row) { return out << row.name; }

void Func(ControlTableTest& t) { t.Click(idc::Func); }
Setup Value(const char* key, std::vector<long long> numbers, const char* reply) {
    return [=](ControlTableTest& t) { t.Report(key, numbers, reply); };
}
Setup Then(Setup first, Setup second) {
    return [=](ControlTableTest& t) {
        first(t);
        second(t);
    };
}
Setup InMode(int mode, const char* reply) {
    return [=](ControlTableTest& t) { t.Mode(mode, reply); };
}
void Nothing(ControlTableTest&) {}
// The second meter switched by the program (the radio keeps its meter apart).
Setup Meter(int kind, const char* reply) {
    return [=](ControlTableTest& t) { t.SetMeter(kind, reply); };
}
void OnTwoMetres(ControlTableTest& t) { t.Tune(145'000'000, "FA00145000000"); }
void ProcessorOn(ControlTableTest& t) { t.Press(qxsim::Key::Proc, "PR1"); }
void RitOn(ControlTableTest& t) { t.Press(qxsim::Key::Rit, "RT1"); }

const Row kRows[] = {
    // Read-toggles: 0 becomes 1.
    {"RitOn", Nothing, idc::Rit, {"RT1"}},
    {"XitOn", Nothing, idc::Xit, {"XT1"}},
    {"SubOn", Nothing, idc::SubButton, {"SB1"}},
    {"AutoNotchOn", Value("NT", {0}, "NT0"), idc::ANotchButton, {"NT1"}},
    {"PctOn", Nothing, idc::PctButton, {"CM1"}},
    // Noise reduction cycles by button.
    {"Nr1FromOff", Value("NR", {0}, "NR0"), idc::Nr1, {"NR1"}},
    {"Nr2FromOff", Value("NR", {0}, "NR0"), idc::Nr2, {"NR2"}},
    {"Nr2FromNr1", Value("NR", {1}, "NR1"), idc::Nr2, {"NR2"}},
    {"Nr1FromNr2", Value("NR", {2}, "NR2"), idc::Nr1, {"NR1"}},
    {"Nr1FromNr1", Value("NR", {1}, "NR1"), idc::Nr1, {"NR0"}},
    // SHIFT steps 0, 1, 2, 3; from 2 it passes simplex first.
    {"ShiftFromSimplex", Value("OS", {0}, "OS0"), idc::Shift, {"OS1"}},
    {"ShiftFromMinus", Value("OS", {2}, "OS2"), idc::Shift, {"OS0", "OS3"}},
    {"ShiftFromFixed", Value("OS", {3}, "OS3"), idc::Shift, {"OS0"}},
    // The FUNC layer.
    {"FrequencyLockFromAll", Then(Value("LK", {2, 1}, "LK21"), Func), idc::AttButton, {"LK11"}},
    {"FrequencyLockFromOff", Then(Value("LK", {0, 0}, "LK00"), Func), idc::AttButton, {"LK10"}},
    {"AllLockFromOff", Then(Value("LK", {0, 1}, "LK01"), Func), idc::PreButton, {"LK21"}},
    {"AllLockFromAll", Then(Value("LK", {2, 0}, "LK20"), Func), idc::PreButton, {"LK00"}},
    {"CwReverse", Then(InMode(3, "MD3"), Func), idc::CwFsk, {"MD7"}},
    {"FskReverse", Then(InMode(9, "MD9"), Func), idc::CwFsk, {"MD6"}},
    {"UsbHasNoReverse", Func, idc::CwFsk, {}},
    {"AlternateTone", Func, idc::TfSetButton, {"LT1"}},
    {"CwAutoTune", Func, idc::Disp, {"CA1"}},
    {"RecordTwo", Func, idc::Ch2, {"LM2"}},
    {"CallIn", Func, idc::Call, {"CI"}},
    // Modes.
    {"SidebandFromUsb", Nothing, idc::LsbUsb, {"MD1"}},
    {"SidebandFromFm", InMode(4, "MD4"), idc::LsbUsb, {"MD1"}},
    {"CwFromUsb", Nothing, idc::CwFsk, {"MD3"}},
    {"FskFromCw", InMode(3, "MD3"), idc::CwFsk, {"MD6"}},
    {"FmFromUsb", Nothing, idc::FmAm, {"MD4"}},
    {"AmFromFm", InMode(4, "MD4"), idc::FmAm, {"MD5"}},
    // Tuning keys of the 19 radio.
    {"TuneUp", Nothing, idc::TuneUp, {"UP01"}},
    {"TuneDown", Nothing, idc::TuneDown, {"DN01"}},
    {"BandUp", Nothing, idc::BandUp, {"BU"}},
    {"BandDown", Nothing, idc::BandDown, {"BD"}},
    {"ClickEncoderUp", Nothing, idc::MultiUp, {"CH0"}},
    {"ClickEncoderDown", Nothing, idc::MultiDown, {"CH1"}},
    // The RIT arrows: the dial without RIT, the offset with it.
    {"ArrowDownPlain", Nothing, idc::RitDown, {"RD"}},
    {"ArrowDownFastPlain", Nothing, idc::RitDownFast, {"RD", "RD", "RD", "RD"}},
    {"ArrowUpPlain", Nothing, idc::RitUp, {"RU"}},
    {"ArrowDownRit", RitOn, idc::RitDown, {"RD00010"}},
    {"ArrowDownFastRit", RitOn, idc::RitDownFast, {"RD00100"}},
    {"ArrowUpFastRit", RitOn, idc::RitUpFast, {"RU00100"}},
    {"ArrowUpFineRit", Then(RitOn, Value("FS", {1}, "FS1")), idc::RitUp, {"RU00001"}},
    {"RitClearWithRit", RitOn, idc::RitClear, {"RC"}},
    {"RitClearWithoutRit", Nothing, idc::RitClear, {}},
    // Lamps and labels decide.
    {"VoxOn", Nothing, idc::Vox, {"VX1"}},
    {"ProcessorOn", Nothing, idc::Proc, {"PR1"}},
    {"NoiseBlankerOn", Nothing, idc::NbButton, {"NB1"}},
    {"FineOn", Nothing, idc::FineButton, {"FS1"}},
    {"FineOff", Value("FS", {1}, "FS1"), idc::FineButton, {"FS0"}},
    {"Send", Nothing, idc::Send, {"TX"}},
    {"AntennaTwo", Value("AN", {1}, "AN1"), idc::AntButton, {"AN2"}},
    {"AntennaOne", Value("AN", {2}, "AN2"), idc::AntButton, {"AN1"}},
    {"TunerIn", Value("AC", {0, 0, 0}, "AC000"), idc::AtIn, {"AC010"}},
    {"TunerTune", Value("AC", {1, 0, 0}, "AC100"), idc::AtTune, {"AC111"}},
    // Bands.
    {"MainSubToSub", Nothing, idc::MainSub, {"DC11"}},
    {"ControlToSub", Nothing, idc::CtrlButton, {"DC01"}},
    // VFOs.
    {"SplitOn", Nothing, idc::SplitButton, {"FT1"}},
    {"SwapVfos", Nothing, idc::ASlashB, {"FR1"}},
    // FM only.
    {"ToneInFm", Then(InMode(4, "MD4"), Value("TN", {8}, "TN")), idc::Tone, {"TO1"}},
    {"CtcssInFm", InMode(4, "MD4"), idc::Ctcss, {"CT1"}},
    {"DcsInFm", InMode(4, "MD4"), idc::Dcs, {"DQ1"}},
    {"CtcssInUsb", Nothing, idc::Ctcss, {}},
    {"DcsInUsb", Nothing, idc::Dcs, {}},
    // Voice memories.
    {"PlayTwo", Nothing, idc::Ch2, {"PB2"}},
    // Scan.
    {"ScanStart", Nothing, idc::Scan, {"SC1"}},
    // The second meter: SWR only up to 60 MHz, COMP only with the processor.
    {"MeterFromSwr", Meter(1, "RM1"), idc::Meter, {"RM3"}},
    {"MeterFromAlcProcessorOff", Meter(3, "RM3"),
     idc::Meter, {"RM1"}},
    {"MeterFromAlcOnTwoMetres", Then(OnTwoMetres, Meter(3, "RM3")), idc::Meter, {"RM3"}},
    {"MeterFromAlcProcessorOn", Then(ProcessorOn, Meter(3, "RM3")),
     idc::Meter, {"RM2"}},
    // Beat cancel.
    // Off keeps the choice of AUTO or MANUAL, which BEAT CANCEL turns on again.
    {"BeatCancelAutoFromOff", Then(Value("BC", {1}, "BC1"), Value("BC", {0}, "BC0")), idc::BeatCancel, {"BC1"}},
    {"BeatCancelManualFromOff", Then(Value("BC", {2}, "BC2"), Value("BC", {0}, "BC0")), idc::BeatCancel, {"BC2"}},
    {"BeatCancelOffFromAuto", Value("BC", {1}, "BC1"), idc::BeatCancel, {"BC0"}},
    {"BeatCancelAutoFromManual", Value("BC", {2}, "BC2"), idc::BcAuto, {"BC1"}},
    {"BeatCancelAutoFromAuto", Value("BC", {1}, "BC1"), idc::BcAuto, {}},
    {"BeatCancelManualFromAuto", Value("BC", {1}, "BC1"), idc::BcManual, {"BC2"}},
    // Satellite mode from the VFO.
    {"SatelliteOn", Nothing, idc::Satellite, {"SA1000000"}},
    // Keys that do nothing outside their modes.
    {"SatelliteTraceOutsideSatellite", Nothing, idc::SatTrace, {}},
};

class ControlRowTest : public ControlTableTest, public ::testing::WithParamInterface<Row> {};

TEST_P(ControlRowTest, SendsExactlyItsCommands) {
    const Row& row = GetParam();
    Ready();
    row.setup(*this);
    Settle();
    Click(row.control);
    EXPECT_EQ(Wire(row.wire.empty() ? 1 : row.wire.size()), row.wire);
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlRowTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& row) { return std::string(row.param.name); });

// A toggle whose value the radio never reported sends only the request;
// the reply arrives, and the next press toggles.
TEST_F(ControlTableTest, AnUnknownValueIsAskedForFirst) {
    Ready();
    qxsim::Faults silent;
    silent.silent = true;
    radio().setFaults(silent);
    console->link()->ConnNT("R", 0); // clears the stored NT, and no answer comes
    ASSERT_TRUE(radio().waitFor("NT", std::chrono::seconds(2)));
    radio().clearReceived();
    Click(idc::ANotchButton);
    EXPECT_EQ(Wire(), std::vector<std::string>{"NT"});
    radio().setFaults({});
}

// The check of a toggle button follows the radio, not the click.
TEST_F(ControlTableTest, ACheckButtonFollowsTheRadio) {
    Ready();
    auto* rit = controls().button(idc::Rit);
    Click(idc::Rit);
    EXPECT_FALSE(rit->isChecked()); // the click alone does not check it
    EXPECT_TRUE(PumpUntil([&] { return rit->isChecked(); }));
    Click(idc::Rit);
    EXPECT_TRUE(rit->isChecked());
    EXPECT_TRUE(PumpUntil([&] { return !rit->isChecked(); }));
}

// FUNC lights the thirteen second captions and is left by any second function.
TEST_F(ControlTableTest, FuncLayerCaptionsComeAndGo) {
    Ready();
    Click(idc::Func);
    EXPECT_EQ(Text(idc::AttButton), "F.LK");
    EXPECT_EQ(Text(idc::Ch3), "REC 3");
    EXPECT_EQ(Text(idc::Scan), "SG.SEL");
    EXPECT_FALSE(Widget(idc::Ent)->isEnabled());
    Click(idc::Disp); // CW TN
    EXPECT_EQ(Text(idc::AttButton), "ATT");
    EXPECT_EQ(Text(idc::Disp), "DISP");
    EXPECT_TRUE(Widget(idc::Ent)->isEnabled());
    EXPECT_EQ(state().funcMode, 0);
}

// FUNC + MG.SEL, SG.SEL and AGC open their windows.
TEST_F(ControlTableTest, WindowKeysOpenTheirWindows) {
    Ready();
    Click(idc::Func);
    Click(idc::VfoMemory);
    Click(idc::Func);
    Click(idc::Scan);
    Click(idc::AgcButton);
    EXPECT_EQ(views->calls, (std::vector<std::string>{"RadioMgrView", "RadioSgrView", "RadioAgcView"}));
    EXPECT_EQ(Wire(), std::vector<std::string>{"SU0"});
}

// SATELLITE switched on stops a visual scan.
TEST_F(ControlTableTest, SatelliteModeStopsTheVisualScan) {
    Ready();
    Click(idc::Satellite);
    EXPECT_EQ(views->calls, std::vector<std::string>{"GlimraScanStop"});
    EXPECT_TRUE(PumpUntil([&] { return radio().state().satellite[0] == 1; }));
}

// The operator's choice of step goes to the radio; the radio's ST report
// selects the entry without sending anything back.
TEST_F(ControlTableTest, StepListSendsTheChosenStep) {
    Ready();
    auto* list = controls().comboBox(idc::StepList);
    ASSERT_EQ(list->count(), 4); // USB: the four SSB steps
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    PumpFor(std::chrono::milliseconds(50));
    const int chosen = list->currentIndex();
    ASSERT_GE(chosen, 0);
    char expected[8];
    std::snprintf(expected, sizeof expected, "ST%02d", chosen);
    EXPECT_EQ(Wire(), std::vector<std::string>{expected});
    radio().clearReceived();
    radio().setValue("ST", {3});
    ASSERT_TRUE(PumpUntil([&] { return list->currentIndex() == 3; }));
    EXPECT_EQ(Wire(), std::vector<std::string>{});
}

// FM brings the ten FM steps; the sub band steps by at least its channel
// step (12.5 kHz for the 1 kHz digit).
TEST_F(ControlTableTest, SubDigitStepsByTheChannelStep) {
    Ready();
    radio().pressKey(qxsim::Key::ControlBand);
    WaitReported("DC01");
    radio().setMode(4);
    WaitReported("MD4");
    radio().setValue("ST", {3});
    auto* list = controls().comboBox(idc::StepList);
    ASSERT_TRUE(PumpUntil([&] { return list->count() == 10 && list->currentIndex() == 3; }));
    EXPECT_EQ(list->currentText().toStdString(), "   12.50 ");
    const auto before = state().subFrequency;
    Settle();
    ops().StepFrequencyDigit(1, 4, 1);
    char expected[32];
    std::snprintf(expected, sizeof expected, "FC%011lld", static_cast<long long>(before + 12'500));
    EXPECT_EQ(Wire(), std::vector<std::string>{expected});
}

// AM on the broadcast band with the 9 kHz flag steps by 9 kHz.
TEST_F(ControlTableTest, BroadcastAmStepsByNineKilohertz) {
    Ready();
    radio().setFrequency(qxsim::Vfo::A, 1'000'000);
    WaitReported("FA00001000000");
    radio().setMode(5);
    WaitReported("MD5");
    state().amBroadcastStep = 1;
    EXPECT_EQ(display().ChannelStep(), 9000);
    state().amBroadcastStep = 0;
    EXPECT_NE(display().ChannelStep(), 9000);
}

// The operator in AUTO turns beat cancel off and on again: it comes back in
// AUTO, as the AUTO button still shows.
TEST_F(ControlTableTest, BeatCancelComesBackInTheChosenMode) {
    Ready();
    auto click = [&](int id, const char* sent, const char* reported) {
        radio().clearSent();
        Settle();
        Click(id);
        EXPECT_EQ(Wire(), std::vector<std::string>{sent}) << sent;
        WaitReported(reported);
    };
    click(idc::BeatCancel, "BC2", "BC2");
    click(idc::BcAuto, "BC1", "BC1");
    click(idc::BeatCancel, "BC0", "BC0");
    EXPECT_TRUE(controls().button(idc::BcAuto)->isChecked());
    EXPECT_FALSE(controls().button(idc::BeatCancel)->isChecked());
    EXPECT_EQ(Text(idc::Mbc), "");
    click(idc::BeatCancel, "BC1", "BC1");
    EXPECT_EQ(Text(idc::Mbc), "B.C.");
}

// The picture beside the second meter: the standing wave for SWR, the
// needle for the others.
TEST_F(ControlTableTest, SecondMeterPictureFollowsTheMeter) {
    Ready();
    CStaticEx* label = controls().label(idc::SecondMeterIcon);
    const auto shown = [&] { return label->grab().toImage(); };
    SetMeter(3, "RM3");
    PumpFor(std::chrono::milliseconds(100));
    const QImage needle = shown();
    SetMeter(1, "RM1");
    EXPECT_TRUE(PumpUntil([&] { return shown() != needle; })) << "no SWR picture";
    const QImage swr = shown();
    SetMeter(2, "RM2");
    EXPECT_TRUE(PumpUntil([&] { return shown() == needle; }));
    SetMeter(1, "RM1");
    EXPECT_TRUE(PumpUntil([&] { return shown() == swr; }));
}

// "Slow Scan Freq." only while the receive VFO stands on a program-scan
// channel: 290..299, or 90..99 of the older radio's single bank.
TEST_F(ControlTableTest, SlowScanFrequencyOnlyOnAProgramScanChannel) {
    radio().modify([](qxsim::State& s) {
        s.rxVfo = s.txVfo = 2;
        s.bank = 2;
        s.channel = 95;
    });
    Ready();
    QAction* slow = console->menuAction(cmd::SlowScanFreq);
    EXPECT_TRUE(PumpUntil([&] { return slow->isEnabled(); })); // after the initial read
    radio().inject("MC295;"); // and reported again
    ASSERT_TRUE(PumpUntil([&] { return slow->isEnabled(); }));
    // The radio goes back to VFO A: the command goes grey and does nothing.
    console->link()->ConnFR("W", 0);
    ASSERT_TRUE(PumpUntil([&] { return state().mainVfo == 0; }));
    EXPECT_FALSE(slow->isEnabled());
    Settle();
    ops().SlowScanFrequency();
    EXPECT_EQ(Wire(), std::vector<std::string>{});

    // The older radio: channel 95 of its one bank is a program-scan channel.
    console->link()->ConnFR("W", 2);
    ASSERT_TRUE(PumpUntil([&] { return state().mainVfo == 2; }));
    radio().clearReceived();
    state().radioIdentification = 18;
    radio().inject("MC095;");
    ASSERT_TRUE(PumpUntil([&] { return state().memory[0].channel == 95 && state().memory[0].bank == 0; }));
    EXPECT_TRUE(PumpUntil([&] { return slow->isEnabled(); }));
    // Its slow-scan mark is asked for, with the channel (MR0095 and SS);
    // once the channel's answer is in, the console asks IF and SS again. The
    // radio's IF (bank 2, read as the older radio's one bank) names the same
    // channel, so nothing more follows: only after that second SS is the
    // line quiet, however late the answers to the reads that FR2 began
    // arrive (some handled before the change of radio, some after).
    EXPECT_TRUE(PumpUntil(
        [&] {
            const auto got = radio().received();
            const auto last = std::find_if(got.rbegin(), got.rend(),
                                           [](const qxsim::Received& r) { return r.text == "MR0095"; });
            if (last == got.rend())
                return false;
            const auto count = [&](const char* code) {
                return std::count_if(last.base(), got.end(), [&](const qxsim::Received& r) { return r.text == code; });
            };
            return count("IF") >= 1 && count("SS") >= 2;
        },
        std::chrono::seconds(5)))
        << [&] {
               std::string all;
               for (const auto& r : radio().received())
                   all += r.text + ";";
               return all;
           }();
    // ... and the quick memory's long press sets its slow scan.
    Settle();
    QTest::mousePress(Widget(idc::QuickMemoryIn), Qt::LeftButton);
    ops().OnTimer(ConsoleOperations::kQuickMemoryHoldTimer);
    QTest::mouseRelease(Widget(idc::QuickMemoryIn), Qt::LeftButton);
    EXPECT_EQ(Wire(), std::vector<std::string>{"SS2"});
}

// Holding TONE on tone 39 searches the tones: the tone-scan flag holds the
// values the search runs through until the key is let go.
TEST_F(ControlTableTest, HoldingToneRunsTheToneSearch) {
    Ready();
    Mode(4, "MD4");
    Report("TN", {39}, "TN39");
    Settle();
    QTest::mousePress(Widget(idc::Tone), Qt::LeftButton);
    EXPECT_EQ(Wire(), std::vector<std::string>{"TO2"});
    EXPECT_EQ(state().toneScan, 1);
    // Menu 42 is not taken while the search runs.
    const int menu42 = state().menu42;
    radio().setMenu(42, 0, 0, 0, menu42 == 1 ? "0" : "1");
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(state().menu42, menu42);
    Settle();
    QTest::mouseRelease(Widget(idc::Tone), Qt::LeftButton);
    EXPECT_EQ(Wire(), std::vector<std::string>{"TO3"});
    EXPECT_EQ(state().toneScan, 0);
}

// The menu's Visual Scan moves the focus to V.SCAN and opens the window.
TEST_F(ControlTableTest, VisualScanFromTheMenuFocusesVScan) {
    Ready();
    Widget(idc::Scan)->setFocus();
    console->menuAction(cmd::VisualScan)->trigger();
    EXPECT_EQ(QApplication::focusWidget(), Widget(idc::VScan));
    EXPECT_EQ(views->calls, std::vector<std::string>{"GlimraView"});
}

// Every word the console shows reads against its background: black on the
// display colour, white on black (ANT, PTT in and out of satellite mode).
double Luminance(std::uint32_t colorref) {
    const auto channel = [](std::uint32_t v) {
        const double c = v / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colorref & 0xFF) + 0.7152 * channel((colorref >> 8) & 0xFF) +
           0.0722 * channel((colorref >> 16) & 0xFF);
}

std::vector<std::string> Unreadable(const ConsoleControls& controls) {
    std::vector<std::string> out;
    for (const int id : controls.ids()) {
        const CStaticEx* label = controls.label(id);
        if (!label || !label->isVisible() || !label->isEnabled() || label->text().trimmed().isEmpty())
            continue;
        const double a = Luminance(label->foreColor()) + 0.05;
        const double b = Luminance(label->backColor()) + 0.05;
        if (std::max(a, b) / std::min(a, b) < 3.0)
            out.push_back(label->text().toStdString());
    }
    return out;
}

TEST_F(ControlTableTest, EveryIndicatorReads) {
    Ready();
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::Ant) == "ANT" && Text(idc::MainPtt) == "PTT"; }));
    EXPECT_EQ(Unreadable(controls()), std::vector<std::string>{});
    radio().setValue("AR0", {1, 0}); // the simplex check's "[R]"
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::MainReverse) == "[R]"; }));
    EXPECT_EQ(Unreadable(controls()), std::vector<std::string>{});
    radio().setValue("AR0", {0, 0});
    Click(idc::Satellite);
    ASSERT_TRUE(PumpUntil([&] { return state().satelliteMode == 1; }));
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(Unreadable(controls()), std::vector<std::string>{});
    Click(idc::Satellite);
    ASSERT_TRUE(PumpUntil([&] { return state().satelliteMode == 0 && Text(idc::MainPtt) == "PTT"; }));
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(Unreadable(controls()), std::vector<std::string>{});
}

// A console with the visual scan's own window: Control > OFF in the middle
// of a sweep tunes the radio back to the centre before the line closes.
class VisualScanOnTheConsole : public display_test::DisplayTest {
protected:
    // Opens the visual scan from the menu and starts a sweep; the centre.
    std::int64_t StartSweep() {
        Connect();
        console->show();
        const std::int64_t centre = radio().state().vfoA;
        console->menuAction(cmd::VisualScan)->trigger();
        QWidget* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowTitle() == QStringLiteral("Visual Scan") && w->isVisible())
                window = w;
        EXPECT_NE(window, nullptr);
        QPushButton* start = nullptr;
        for (QPushButton* b : window ? window->findChildren<QPushButton*>() : QList<QPushButton*>{})
            if (b->text() == QStringLiteral("Start"))
                start = b;
        EXPECT_NE(start, nullptr);
        radio().clearReceived();
        if (start)
            QTest::mouseClick(start, Qt::LeftButton);
        EXPECT_TRUE(radio().waitFor(
            [&](const std::vector<qxsim::Received>&) { return radio().state().vfoA != centre; },
            std::chrono::seconds(5)));
        return centre;
    }
    // The radio received the tuning back to `centre` as the last tuning, and
    // before auto-information went off as the link closed.
    void TunedBackBeforeTheLineClosed(std::int64_t centre) {
        char text[24];
        std::snprintf(text, sizeof text, "FA%011lld", static_cast<long long>(centre));
        const auto received = radio().received();
        std::size_t back = received.size(), last = received.size(), off = received.size();
        for (std::size_t i = 0; i < received.size(); ++i) {
            if (received[i].text == text)
                back = i;
            if (received[i].text.size() == 13 && received[i].text.rfind("FA", 0) == 0)
                last = i;
            if (received[i].text == "AI0" && off == received.size())
                off = i;
        }
        EXPECT_EQ(back, last) << "the sweep's last tuning stays";
        EXPECT_LT(back, off) << "tuned back after the line closed";
    }
    void TearDown() override {
        GlimraDestroy();
        DisplayTest::TearDown();
    }
};

TEST_F(VisualScanOnTheConsole, ControlOffMidSweepLeavesTheRadioOnTheCentre) {
    const std::int64_t centre = StartSweep();
    console->menuAction(cmd::ControlOffCmd)->trigger();
    ASSERT_TRUE(PumpUntil([&] { return !state().connected; }));
    EXPECT_EQ(radio().state().vfoA, centre);
    TunedBackBeforeTheLineClosed(centre);
}

// POWER off mid-sweep: the sweep stops and tunes back before PS 0, since a
// radio switched off takes no frequency.
TEST_F(VisualScanOnTheConsole, PowerOffMidSweepTunesBackFirst) {
    const std::int64_t centre = StartSweep();
    QWidget* power = controls().widget(idc::Power);
    ASSERT_NE(power, nullptr);
    QTest::mouseClick(power, Qt::LeftButton);
    ASSERT_TRUE(PumpUntil([&] { return !radio().state().power; }));
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(radio().state().vfoA, centre);
    char text[24];
    std::snprintf(text, sizeof text, "FA%011lld", static_cast<long long>(centre));
    const auto received = radio().received();
    std::size_t back = received.size(), off = received.size();
    for (std::size_t i = 0; i < received.size(); ++i) {
        if (received[i].text == text)
            back = i;
        if (received[i].text == "PS0" && off == received.size())
            off = i;
    }
    EXPECT_LT(back, off) << "tuned back after the radio was switched off";
}

// The radio falls silent mid-sweep: the watchdog's disconnect stops the
// sweep and tunes back while the line is still open.
TEST_F(VisualScanOnTheConsole, TheWatchdogsDisconnectTunesBackFirst) {
    const std::int64_t centre = StartSweep();
    qxsim::Faults silent;
    silent.silent = true;
    radio().setFaults(silent);
    ASSERT_TRUE(PumpUntil([&] { return !state().connected; }, std::chrono::seconds(10)));
    radio().setFaults({});
    TunedBackBeforeTheLineClosed(centre);
}

} // namespace
