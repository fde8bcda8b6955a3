// display_state_test.cpp - the indicators of the front-panel display: the
// status words each reply sets and keeps, the mode label, the status line,
// the tuner and its failure box.
#include "display_fixture.h"

#include <QAbstractButton>

#include <functional>
#include <string>

namespace {

using display_test::PumpUntil;
using DisplayState = display_test::DisplayTest;

struct IndicatorRow {
    const char* name;
    std::function<void(ConsoleDisplay&)> replies; // in order
    int label;
    std::string shown;
};

void PrintTo(const IndicatorRow& row, std::ostream* out) { *out << row.name; }

class Indicators : public display_test::DisplayTest, public ::testing::WithParamInterface<IndicatorRow> {};

TEST_P(Indicators, ShowWhatTheRepliesLeave) {
    Connect();
    state().radioIdentification = 19;
    GetParam().replies(display());
    const CEditEx* line = controls().edit(GetParam().label);
    EXPECT_EQ(line ? line->text().toStdString() : Text(GetParam().label), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, Indicators,
    ::testing::Values(
        IndicatorRow{"NB on", [](ConsoleDisplay& d) { d.OnNB(1); }, idc::Nb, "NB"},
        IndicatorRow{"NB off", [](ConsoleDisplay& d) { d.OnNB(1), d.OnNB(0); }, idc::Nb, ""},
        IndicatorRow{"NB out of range keeps", [](ConsoleDisplay& d) { d.OnNB(1), d.OnNB(7); }, idc::Nb, "NB"},
        IndicatorRow{"LK 2 is the all lock", [](ConsoleDisplay& d) { d.OnLK(2, 0); }, idc::FLock, "A.LOCK"},
        IndicatorRow{"CT 0 leaves TONE", [](ConsoleDisplay& d) { d.OnTO(1), d.OnCT(0); }, idc::MainTone, "TONE"},
        IndicatorRow{"TO 0 clears TONE", [](ConsoleDisplay& d) { d.OnTO(1), d.OnTO(0); }, idc::MainTone, ""},
        IndicatorRow{"OS 3 is the fixed minus", [](ConsoleDisplay& d) { d.OnOS(3); }, idc::MainShift, "="},
        IndicatorRow{"BC 2 manual", [](ConsoleDisplay& d) { d.OnBC(2); }, idc::Mbc, "M.B.C."},
        IndicatorRow{"GT 2 is AGC on identity 19", [](ConsoleDisplay& d) { d.OnGT(2); }, idc::Agc, "AGC"},
        IndicatorRow{"GT 2 is FAST on identity 18",
                     [](ConsoleDisplay& d) {
                         d.state.radioIdentification = 18;
                         d.OnGT(2);
                     },
                     idc::Agc, "FAST"},
        IndicatorRow{"GT 1 on identity 18 is empty",
                     [](ConsoleDisplay& d) {
                         d.state.radioIdentification = 18;
                         d.OnGT(1);
                     },
                     idc::Agc, ""},
        IndicatorRow{"AN 2 names the antenna", [](ConsoleDisplay& d) { d.OnAN(2); }, idc::AntNumber, "2"},
        IndicatorRow{"NR 2 on the sub band when it is controlled",
                     [](ConsoleDisplay& d) {
                         d.state.controlBand = 1;
                         d.OnNR(2);
                     },
                     idc::SubNr, "N.R. 2"},
        IndicatorRow{"TI packet status", [](ConsoleDisplay& d) { d.OnTI(1, 0, 1); }, idc::Dcd, "9.6k"},
        IndicatorRow{"PRE on the sub only with the sub receiver",
                     [](ConsoleDisplay& d) {
                         d.state.subReceiver = 0;
                         d.OnPA(1, 1);
                     },
                     idc::SubPre, ""},
        IndicatorRow{"CW TUNE on the status line", [](ConsoleDisplay& d) { d.OnCA(1); }, idc::MainText, "CW TUNE"},
        IndicatorRow{"PB 0 brings back the channel name",
                     [](ConsoleDisplay& d) {
                         d.state.mainVfo = 2;
                         d.state.record[0].name = "RPT1";
                         d.OnPB(2);
                         d.OnPB(0);
                     },
                     idc::MainText, " RPT1"},
        IndicatorRow{"FM with the narrow filter",
                     [](ConsoleDisplay& d) {
                         d.state.controlBand = 0;
                         d.state.mainVfo = 0;
                         d.state.filterWidth[0] = 0;
                         d.state.mode[0] = 4;
                         d.ShowModeLabel(0);
                     },
                     idc::MainMode, " FM NAR"},
        IndicatorRow{"a memory channel's group",
                     [](ConsoleDisplay& d) {
                         d.state.mainVfo = 2;
                         d.state.record[0].group = 3;
                         d.state.mode[0] = 2;
                         d.ShowModeLabel(0);
                     },
                     idc::MainMode, " USB Group 3"},
        IndicatorRow{"DC marks the transmit band", [](ConsoleDisplay& d) { d.OnDC(1, 0); }, idc::SubPtt, "PTT"},
        IndicatorRow{"P.C.T.", [](ConsoleDisplay& d) { d.OnCM(1); }, idc::Pct, "P.C.T."}));

// The radio's mode reaches the mode label.
TEST_F(DisplayState, TheRadiosModeShowsOnTheModeLabel) {
    Connect();
    radio().setMode(3);
    EXPECT_TRUE(PumpUntil([&] { return Text(idc::MainMode) == " CW"; })) << Text(idc::MainMode);
    radio().setMode(1);
    EXPECT_TRUE(PumpUntil([&] { return Text(idc::MainMode) == " LSB"; })) << Text(idc::MainMode);
}

// A failed tune is said in a box; tuning blinks until a second AC ends it.
TEST_F(DisplayState, TheTunerBlinksAndATuneFailureIsSaid) {
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    platform::SetDialogProvider(dialogs);
    Connect();
    display().OnAC(1, 0, 1);
    EXPECT_EQ(Text(idc::TunerAt), "AT");
    EXPECT_TRUE(display().timers().IsRunning(ConsoleDisplay::kTunerBlinkTimer));
    display().OnAC(1, 0, 0);
    EXPECT_FALSE(display().timers().IsRunning(ConsoleDisplay::kTunerBlinkTimer));
    EXPECT_EQ(Text(idc::TunerRx), "RX");
    display().OnAC(1, 0, 2);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("AT TUNE was failed."));
    EXPECT_EQ(dialogs->messages[0].caption, QStringLiteral("Zephyra"));
    EXPECT_EQ(dialogs->messages[0].flags & 0xF0, unsigned(platform::MbIconWarning));
    platform::SetDialogProvider(nullptr);
}

// The automatic simplex check blinks "[R]" at 250 ms and stops with it.
TEST_F(DisplayState, TheSimplexCheckBlinksItsMark) {
    Connect();
    display().OnAR(0, 1, 1);
    EXPECT_EQ(display().timers().Interval(ConsoleDisplay::kMainReverseBlinkTimer), 250);
    display().OnTimer(ConsoleDisplay::kMainReverseBlinkTimer);
    const std::string first = Text(idc::MainReverse);
    display().OnTimer(ConsoleDisplay::kMainReverseBlinkTimer);
    EXPECT_NE(Text(idc::MainReverse), first);
    display().OnAR(0, 0, 0);
    EXPECT_FALSE(display().timers().IsRunning(ConsoleDisplay::kMainReverseBlinkTimer));
}

} // namespace
