// SPDX-License-Identifier: GPL-3.0-or-later
// display_state_test.cpp - the front-panel indicators on a console connected
// to the simulator: the words, marks, status line and mode label as a table
// driven from the radio's front panel, then the sliders, the tuner and the
// simplex-check blinks, the sub receiver, the band marks and the prompts.
#include "display_fixture.h"

#include "console_menu.h"

#include <QAction>
#include <QScrollBar>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using display_test::PumpUntil;

// A value the radio reports from its front panel; "MD" turns the mode knob.
struct Report {
    const char* code;
    std::vector<long long> values;
};

class DisplayState : public display_test::DisplayTest {
public:
    using DisplayTest::controls;
    using DisplayTest::state;

    // Each report is handled before the next one: the link keeps the last
    // value of a code, so two quick reports of one code would reach the
    // console as the second one twice.
    void Panel(const std::vector<Report>& reports) {
        for (const Report& r : reports) {
            if (std::string(r.code) == "MD")
                radio().setMode(static_cast<int>(r.values.at(0)));
            else
                radio().setValue(r.code, r.values);
            Settle();
        }
    }
    // Waits until every report sent so far has been handled: one more RF
    // GAIN report goes through and moves its slider.
    void Settle() {
        QScrollBar* bar = controls().scrollBar(idc::RfGainBar);
        const int next = bar->value() == 200 ? 201 : 200;
        radio().setValue("RG", {next});
        ASSERT_TRUE(PumpUntil([&] { return bar->value() == next; }));
    }
    // What a label, button or status line shows.
    std::string Line(int id) {
        if (const CEditEx* line = controls().edit(id))
            return line->text().toStdString();
        return Text(id);
    }
    bool Checked(int id) { return controls().button(id)->isChecked(); }
    int Bar(int id) { return controls().scrollBar(id)->value(); }
    // Pumps until the console has sent `command` (since the last clearReceived).
    bool SendsSoon(const std::string& command) {
        return PumpUntil([&] { return Sent(command); }, std::chrono::seconds(2));
    }
    bool Sent(const std::string& command) {
        const std::vector<qxsim::Received> in = radio().received();
        return std::any_of(in.begin(), in.end(),
                           [&](const qxsim::Received& r) { return r.text == command; });
    }
};

// ------------------------------------------------------ the indicator table

// The console's state a row starts from.
const auto Identity18 = [](ConsoleState& s) { s.radioIdentification = 18; };
const auto SubControlled = [](ConsoleState& s) { s.controlBand = 1; };
const auto ProgramScanChannel = [](ConsoleState& s) { s.memory[0] = {2, 95}; };
const auto OrdinaryChannel = [](ConsoleState& s) { s.memory[0] = {0, 95}; };
const auto OnMemory = [](ConsoleState& s) {
    s.mainVfo = 2;
    s.record[0].name = "RPT1";
    s.record[0].group = 3;
};
const auto OnMemoryZulCommand = [](ConsoleState& s) {
    OnMemory(s);
    s.zulState = 2;
};

struct IndicatorRow {
    const char* name;
    std::vector<Report> reports; // in order
    int id;
    std::string shown;
    int button = 0; // a button whose check state follows the reply, or 0
    bool checked = false;
    void (*before)(ConsoleState&) = nullptr; // the console's state first
};

void PrintTo(const IndicatorRow& row, std::ostream* out) {
    *out << row.name;
}

// clang-format off
const IndicatorRow kIndicatorRows[] = {
    {"NB on", {{"NB", {1}}}, idc::Nb, "NB"},
    {"NB off", {{"NB", {1}}, {"NB", {0}}}, idc::Nb, ""},
    {"NB 7 is no NB value and leaves it", {{"NB", {1}}, {"NB", {7}}}, idc::Nb, "NB"},
    {"NT checks A.NOTCH", {{"NT", {1}}}, idc::ANotch, "A.NOTCH", idc::ANotchButton, true},
    {"LK 2 is the all lock", {{"LK", {2, 0}}}, idc::FLock, "A.LOCK"},
    {"PA main", {{"PA", {1, 0}}}, idc::MainPre, "PRE"},
    {"PA sub dark without the sub receiver", {{"SB", {0}}, {"PA", {1, 1}}}, idc::SubPre, ""},
    {"PA sub with the sub receiver", {{"SB", {1}}, {"PA", {0, 1}}}, idc::SubPre, "PRE"},
    {"BC 1 automatic", {{"BC", {1}}}, idc::Mbc, "B.C.", idc::BcAuto, true},
    {"BC 2 manual", {{"BC", {1}}, {"BC", {2}}}, idc::Mbc, "M.B.C.", idc::BcAuto, false},
    {"BC 0 off", {{"BC", {2}}, {"BC", {0}}}, idc::Mbc, "", idc::BeatCancel, false},
    {"GT 2 is AGC on identity 19", {{"GT", {2}}}, idc::Agc, "AGC"},
    {"GT 2 is FAST on identity 18", {{"GT", {2}}}, idc::Agc, "FAST", 0, false, Identity18},
    {"GT 1 is no word on identity 18", {{"GT", {2}}, {"GT", {1}}}, idc::Agc, "", 0, false, Identity18},
    {"AN names the antenna", {{"AN", {2}}}, idc::AntNumber, "2"},
    {"AN 0", {{"AN", {2}}, {"AN", {0}}}, idc::Ant, ""},
    {"NR 1", {{"NR", {1}}}, idc::MainNr, "N.R. 1", idc::Nr1, true},
    {"NR 2 unchecks N.R. 1", {{"NR", {1}}, {"NR", {2}}}, idc::MainNr, "N.R. 2", idc::Nr1, false},
    {"NR on the controlled sub", {{"NR", {2}}}, idc::SubNr, "N.R. 2", 0, false, SubControlled},
    {"CT 0 leaves TONE", {{"TO", {1}}, {"CT", {0}}}, idc::MainTone, "TONE"},
    {"TO 0 clears TONE", {{"TO", {1}}, {"TO", {0}}}, idc::MainTone, ""},
    {"DQ on the controlled sub", {{"DQ", {1}}}, idc::SubTone, "DCS", 0, false, SubControlled},
    {"OS 3 is the fixed minus", {{"OS", {3}}}, idc::MainShift, "="},
    {"TS 1 in FM with a shift is reverse", {{"MD", {4}}, {"TS", {1}}, {"OS", {1}}}, idc::MainReverse, "R"},
    {"OS 0 clears the reverse", {{"MD", {4}}, {"TS", {1}}, {"OS", {1}}, {"OS", {0}}}, idc::MainReverse, ""},
    {"SS on a program-scan channel", {{"SS", {1}}}, idc::MainStar, "*", 0, false, ProgramScanChannel},
    {"SS on an ordinary channel", {{"SS", {1}}}, idc::MainStar, "", 0, false, OrdinaryChannel},
    {"TI data carrier", {{"TI", {1, 0, 1}}}, idc::Dcd, "9.6k"},
    {"TI connected", {{"TI", {1, 0, 1}}}, idc::Con, "CON"},
    {"PM 0", {{"PM", {3}}, {"PM", {0}}}, idc::Pm, "PM"},
    {"PM 7 is no memory and leaves it", {{"PM", {3}}, {"PM", {7}}}, idc::Pm, "PM 3"},
    {"CM P.C.T.", {{"CM", {1}}}, idc::Pct, "P.C.T."},
    {"LM recording", {{"LM", {2}}}, idc::MainText, "REC 2"},
    {"the last reply takes the status line", {{"CA", {1}}, {"PB", {1}}}, idc::MainText, "PLAY 1"},
    {"CA 0 gives the line back to PLAY", {{"PB", {1}}, {"CA", {1}}, {"CA", {0}}}, idc::MainText, "PLAY 1"},
    {"PB 0 brings back the channel name", {{"PB", {2}}, {"PB", {0}}}, idc::MainText, " RPT1", 0, false, OnMemory},
    {"FM with the narrow filter", {{"FW", {0}}, {"MD", {4}}}, idc::MainMode, " FM NAR"},
    {"FM with the wide filter", {{"FW", {1}}, {"MD", {4}}}, idc::MainMode, " FM"},
    {"a memory channel's group", {{"MD", {2}}}, idc::MainMode, " USB Group 3", 0, false, OnMemory},
    {"no group in ZUL command state", {{"MD", {2}}}, idc::MainMode, " USB", 0, false, OnMemoryZulCommand},
};
// clang-format on

class Indicators : public DisplayState, public ::testing::WithParamInterface<IndicatorRow> {};

TEST_P(Indicators, ShowWhatTheRadioReports) {
    const IndicatorRow& row = GetParam();
    Connect();
    if (row.before)
        row.before(state());
    Panel(row.reports);
    PumpUntil([&] { return Line(row.id) == row.shown; }, std::chrono::seconds(1));
    EXPECT_EQ(Line(row.id), row.shown);
    if (row.button) {
        EXPECT_EQ(Checked(row.button), row.checked);
    }
}

INSTANTIATE_TEST_SUITE_P(Panel, Indicators, ::testing::ValuesIn(kIndicatorRows));

// ---------------------------------------------------------------- sliders

TEST_F(DisplayState, SlidersTakeTheRadiosLevelsAndIgnoreLevelsBeyondThem) {
    Connect();
    radio().clearReceived();
    Panel({{"AG0", {120}}, {"SQ1", {40}}, {"BP", {30}}});
    EXPECT_EQ(Bar(idc::AfMainBar), 120);
    EXPECT_EQ(Bar(idc::SqlSubBar), 40);
    EXPECT_EQ(Bar(idc::BcPointBar), 30);
    Panel({{"AG0", {300}}, {"BP", {99}}});
    EXPECT_EQ(Bar(idc::AfMainBar), 120);
    EXPECT_EQ(Bar(idc::BcPointBar), 30);
    // Following the radio sends nothing back.
    EXPECT_FALSE(radio().countOf("AG0") + radio().countOf("SQ1") + radio().countOf("BP0"));
}

// ------------------------------------------------------------------ tuner

// Each blink tick toggles the tuner words that are in line; the radio's
// next AC ends the blink.
TEST_F(DisplayState, TheTunerBlinksWhileItTunesUntilTheNextReport) {
    Connect();
    Panel({{"AC", {1, 0, 1}}});
    ASSERT_TRUE(
        PumpUntil([&] { return display().timers().IsRunning(ConsoleDisplay::kTunerBlinkTimer); }));
    EXPECT_EQ(display().timers().Interval(ConsoleDisplay::kTunerBlinkTimer), 500);
    EXPECT_EQ(Line(idc::TunerAt), "AT");
    EXPECT_EQ(Line(idc::TunerRx), "RX");
    display().OnTimer(ConsoleDisplay::kTunerBlinkTimer);
    EXPECT_EQ(Line(idc::TunerRx), "");
    EXPECT_EQ(display().timers().Interval(ConsoleDisplay::kTunerBlinkTimer), 700);
    display().OnTimer(ConsoleDisplay::kTunerBlinkTimer);
    EXPECT_EQ(Line(idc::TunerRx), "RX");
    EXPECT_EQ(controls().label(idc::TunerRx)->backColor(), 0u);
    Panel({{"AC", {1, 0, 0}}});
    ASSERT_TRUE(
        PumpUntil([&] { return !display().timers().IsRunning(ConsoleDisplay::kTunerBlinkTimer); }));
    EXPECT_EQ(Line(idc::TunerRx), "RX");
}

TEST_F(DisplayState, AFailedTuneIsSaidInABox) {
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    platform::SetDialogProvider(dialogs);
    Connect();
    Panel({{"AC", {0, 1, 2}}});
    EXPECT_TRUE(PumpUntil([&] { return !dialogs->messages.empty(); }));
    platform::SetDialogProvider(nullptr);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("AT TUNE was failed."));
    EXPECT_EQ(dialogs->messages[0].caption, QStringLiteral("Zephyra"));
    EXPECT_EQ(dialogs->messages[0].flags & 0xF0, unsigned(platform::MbIconWarning));
    EXPECT_EQ(Line(idc::TunerTx), "TX");
}

// ---------------------------------------------------------- simplex check

// "[R]" blinks at 250 ms while the check runs; when the check is off the
// mark shows the band's reverse again.
TEST_F(DisplayState, TheSimplexCheckBlinksItsMarkAndGivesItBackToReverse) {
    Connect();
    Panel({{"MD", {4}}, {"TS", {1}}, {"OS", {1}}});
    ASSERT_TRUE(PumpUntil([&] { return Line(idc::MainReverse) == "R"; }));
    Panel({{"AR0", {1, 1}}});
    ASSERT_TRUE(PumpUntil(
        [&] { return display().timers().IsRunning(ConsoleDisplay::kMainReverseBlinkTimer); }));
    EXPECT_EQ(display().timers().Interval(ConsoleDisplay::kMainReverseBlinkTimer), 250);
    EXPECT_EQ(Line(idc::MainReverse), "[R]");
    display().OnTimer(ConsoleDisplay::kMainReverseBlinkTimer);
    EXPECT_EQ(Line(idc::MainReverse), "");
    display().OnTimer(ConsoleDisplay::kMainReverseBlinkTimer);
    EXPECT_EQ(Line(idc::MainReverse), "[R]");
    Panel({{"AR0", {0, 0}}});
    ASSERT_TRUE(PumpUntil(
        [&] { return !display().timers().IsRunning(ConsoleDisplay::kMainReverseBlinkTimer); }));
    EXPECT_EQ(Line(idc::MainReverse), "R");
}

// ---------------------------------------------------------------- TF-SET

TEST_F(DisplayState, TfSetSwapsTheDisplaysInSplitAndBack) {
    Connect();
    state().split = 1;
    state().mainFrequency = 14'195'000;
    state().subFrequency = 14'250'000;
    display().OnTS(1);
    EXPECT_EQ(Line(idc::TfSet), "TF-SET");
    EXPECT_EQ(Shown(false), "    14.250.000 ");
    EXPECT_EQ(Shown(true), "    14.195.000 ");
    display().OnTS(0);
    EXPECT_EQ(Line(idc::TfSet), "");
    EXPECT_EQ(Shown(false), "    14.195.000 ");
    EXPECT_EQ(Shown(true), "    14.250.000 ");
}

// ------------------------------------------------------------- sub receiver

TEST_F(DisplayState, TheSubReceiverOnAsksForItsWordsAndOffClearsItsArea) {
    Connect();
    ASSERT_EQ(state().subReceiver, 0);
    radio().clearReceived();
    radio().pressKey(qxsim::Key::Sub);
    ASSERT_TRUE(PumpUntil([&] { return Checked(idc::SubButton); }));
    EXPECT_EQ(state().subReceiver, 1);
    EXPECT_TRUE(SendsSoon("SM1"));
    EXPECT_TRUE(SendsSoon("PA"));
    EXPECT_TRUE(SendsSoon("RA"));
    EXPECT_EQ(Line(idc::SubMeterName), "S");
    Panel({{"RA", {0, 1}}});
    ASSERT_TRUE(PumpUntil([&] { return Line(idc::SubAtt) == "ATT"; }));

    radio().pressKey(qxsim::Key::Sub);
    ASSERT_TRUE(PumpUntil([&] { return !Checked(idc::SubButton); }));
    EXPECT_EQ(state().subReceiver, 0);
    for (const int id : {idc::SubAtt, idc::SubMode, idc::SubText, idc::SubMeterName, idc::SubScale})
        EXPECT_EQ(Line(id), "") << id;
    EXPECT_EQ(Shown(true), std::string(15, ' '));
}

// ------------------------------------------------------------- band marks

TEST_F(DisplayState, ControllingTheSubBandMovesTheMarkAndRefreshesItsWords) {
    Connect();
    EXPECT_EQ(Line(idc::MainCtrl), "CTRL");
    radio().clearReceived();
    radio().pressKey(qxsim::Key::ControlBand);
    ASSERT_TRUE(PumpUntil([&] { return Line(idc::SubCtrl) == "CTRL"; }));
    EXPECT_EQ(Line(idc::MainCtrl), "");
    EXPECT_EQ(Line(idc::MainPtt), "PTT");
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(Line(idc::VfoMark0 + i), "") << i;
    for (const char* query : {"AR1", "FR", "MD", "OS", "CT", "DQ", "TO", "BY", "NR", "SC"})
        EXPECT_TRUE(SendsSoon(query)) << query;
}

// ------------------------------------------------------- N.R. in ZUL state

// In ZUL command state only the control for the next step of off, N.R. 1,
// N.R. 2, off stays available.
TEST_F(DisplayState, InZulCommandStateOnlyTheNextNoiseReductionStepIsAvailable) {
    Connect();
    state().zulState = 2;
    // Enabled: the N.R. 1 and N.R. 2 buttons, the N.R. 1, N.R. 2 and OFF commands.
    const char* const kEnabled[] = {"10100", "01010", "01001"};
    for (int value = 0; value < 3; ++value) {
        display().OnNR(value);
        std::string enabled;
        for (const int id : {idc::Nr1, idc::Nr2})
            enabled += controls().widget(id)->isEnabled() ? '1' : '0';
        for (const int id : {cmd::NoiseReduction1, cmd::NoiseReduction2, cmd::NoiseReductionOff})
            enabled += console->menuAction(id)->isEnabled() ? '1' : '0';
        EXPECT_EQ(enabled, kEnabled[value]) << value;
    }
}

// ------------------------------------------------------------ odds and ends

TEST_F(DisplayState, AutoInformationOtherThanTwoIsSetBack) {
    Connect();
    radio().clearReceived();
    radio().inject("AI0;");
    EXPECT_TRUE(SendsSoon("AI2"));
}

TEST_F(DisplayState, TheMemoryLampFollowsTheControlBandsMemoryChannel) {
    Connect();
    CStaticLEDEx* lamp = controls().lamp(idc::MemoryLamp);
    EXPECT_FALSE(lamp->isOn());
    radio().pressKey(qxsim::Key::MemoryVfo);
    EXPECT_TRUE(PumpUntil([&] { return lamp->isOn(); }));
    radio().pressKey(qxsim::Key::MemoryVfo);
    EXPECT_TRUE(PumpUntil([&] { return !lamp->isOn(); }));
}

// The prompts of the operator modes come and go; other texts stay.
TEST_F(DisplayState, TheSubStatusLinePromptsForTheOperatorModes) {
    Connect();
    state().tncMode = 1;
    display().ShowSubStatus();
    EXPECT_EQ(Line(idc::SubText), "TNC Mode");
    state().tncMode = 0;
    display().ShowSubStatus();
    EXPECT_EQ(Line(idc::SubText), "");
    controls().edit(idc::SubText)->setText(QStringLiteral("SCAN"));
    display().ShowSubStatus();
    EXPECT_EQ(Line(idc::SubText), "SCAN");
}

} // namespace
