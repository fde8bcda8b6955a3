// SPDX-License-Identifier: GPL-3.0-or-later
// frequency_display_test.cpp - the frequency displays, the VFO marks, the
// RIT/XIT offset and the transmit display, on a real console: the rules as
// tables, then the radio's own actions on the simulator.
#include "display_fixture.h"

#include <QImage>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace {

using display_test::DigitsOf;
using display_test::PumpUntil;

// Only PandorFreqChg is of interest here; the other exports do nothing.
class BandRecorder final : public zephyra::SecondaryWindows {
public:
    void PandorFreqChg(u32 band) override { bands.push_back(band); }
    std::vector<u32> bands;
};

class FrequencyDisplayTest : public display_test::DisplayTest {
protected:
    void SetUp() override { StartWithWindows(recorder_); }
    std::string Main() { return DigitsOf(Shown(false)); }
    std::string Sub() { return DigitsOf(Shown(true)); }
    bool Checked(int id) { return controls().button(id)->isChecked(); }
    void Profile(const char* key, const char* value) {
        platform::WriteProfileString(QStringLiteral("Setting"), QString::fromLatin1(key),
                                     QString::fromLatin1(value));
    }
    BandRecorder* recorder_ = nullptr;
};

// ------------------------------------------------ digits, blanks, offsets

struct FormatRow {
    const char* name;
    bool sub = false;
    std::int64_t hz = 0;
    int transverter = 0;
    const char* transFreqMain = "0";
    const char* transFreqSub = "0";
    int controlBand = 0;
    std::array<int, 2> shift{0, 0};
    std::array<std::int64_t, 2> offsetFrequency{0, 0};
    std::array<int, 2> transmitting{0, 0};
    bool reverse = false;
    const char* expected = "";
};

void PrintTo(const FormatRow& row, std::ostream* out) {
    *out << row.name;
}

class FormatTest : public FrequencyDisplayTest, public ::testing::WithParamInterface<FormatRow> {};

TEST_P(FormatTest, ShowsTheDigits) {
    const FormatRow& row = GetParam();
    Profile("TransFreqMain", row.transFreqMain);
    Profile("TransFreqSub", row.transFreqSub);
    auto& s = state();
    s.transverter = row.transverter;
    s.controlBand = s.transmitBand = row.controlBand;
    s.shift = row.shift;
    s.offsetFrequency = row.offsetFrequency;
    s.transmitting = row.transmitting;
    controls().label(row.sub ? idc::SubReverse : idc::MainReverse)->setText(row.reverse ? "R" : "");
    if (row.sub)
        display().ShowSubFrequency(row.hz);
    else
        display().ShowMainFrequency(row.hz);
    EXPECT_EQ(Shown(row.sub), row.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, FormatTest,
    ::testing::Values(
        FormatRow{.name = "MainMegahertz", .hz = 14'195'000, .expected = "    14.195.000 "},
        FormatRow{.name = "MainGigahertz", .hz = 1'296'000'000, .expected = " 1.296.000.000 "},
        FormatRow{.name = "MainKilohertz", .hz = 500'000, .expected = "       500.000 "},
        FormatRow{.name = "MainHertz", .hz = 5, .expected = "             5 "},
        FormatRow{.name = "MainZeroKeepsSeparators", .hz = 0, .expected = "  .   .   .    "},
        FormatRow{.name = "SubZeroAllBlank", .sub = true, .hz = 0, .expected = "               "},
        FormatRow{.name = "Transverter", .hz = 28'000'000, .transverter = 1,
                  .transFreqMain = "116000000", .expected = "   144.000.000 "},
        FormatRow{.name = "TransverterClampedToElevenDigits", .hz = 14'195'000, .transverter = 1,
                  .transFreqMain = "100000000000", .expected = "99.999.999.999 "},
        FormatRow{.name = "TransverterFlagOff", .hz = 28'000'000, .transFreqMain = "116000000",
                  .expected = "    28.000.000 "},
        FormatRow{.name = "TransverterTextNotANumber", .hz = 28'000'000, .transverter = 1,
                  .transFreqMain = "abc", .expected = "    28.000.000 "},
        FormatRow{.name = "TransverterSubOnControlSub", .sub = true, .hz = 30'000'000,
                  .transverter = 1, .transFreqMain = "1", .transFreqSub = "400000000",
                  .controlBand = 1, .expected = "   430.000.000 "},
        FormatRow{.name = "TransverterSubZeroStaysBlank", .sub = true, .hz = 0, .transverter = 1,
                  .transFreqSub = "400000000", .controlBand = 1, .expected = "               "},
        FormatRow{.name = "ShiftPlusWhileTransmitting", .hz = 145'000'000, .shift = {1, 0},
                  .offsetFrequency = {600'000, 0}, .transmitting = {1, 0},
                  .expected = "   145.600.000 "},
        FormatRow{.name = "ShiftPlusNotWhileReceiving", .hz = 145'000'000, .shift = {1, 0},
                  .offsetFrequency = {600'000, 0}, .expected = "   145.000.000 "},
        FormatRow{.name = "ShiftPlusReverseWhileReceiving", .hz = 145'000'000, .shift = {1, 0},
                  .offsetFrequency = {600'000, 0}, .reverse = true, .expected = "   145.600.000 "},
        FormatRow{.name = "ShiftMinus", .hz = 145'000'000, .shift = {2, 0},
                  .offsetFrequency = {600'000, 0}, .transmitting = {1, 0},
                  .expected = "   144.400.000 "},
        FormatRow{.name = "FixedMinus", .hz = 145'000'000, .shift = {3, 0}, .transmitting = {1, 0},
                  .expected = "   137.400.000 "},
        // Both bands on main: the main band's shift with the sub band's offset.
        FormatRow{.name = "SubShiftOfControlBand", .sub = true, .hz = 435'000'000, .shift = {2, 1},
                  .offsetFrequency = {600'000, 5'000'000}, .transmitting = {0, 1},
                  .expected = "   430.000.000 "},
        FormatRow{.name = "ShiftBeyondElevenDigitsClamped", .hz = 99'999'999'999, .shift = {1, 0},
                  .offsetFrequency = {600'000, 0}, .transmitting = {1, 0},
                  .expected = "99.999.999.999 "},
        FormatRow{.name = "ShiftBelowZeroShowsZero", .hz = 100'000, .shift = {2, 0},
                  .offsetFrequency = {600'000, 0}, .transmitting = {1, 0},
                  .expected = "  .   .   .    "}),
    [](const auto& row) { return std::string(row.param.name); });
// clang-format on

// ------------------------------------------------ which display a reply goes to

struct ChoiceRow {
    const char* name;
    char reply = 'A'; // FA, FB or FC
    std::int64_t hz = 7'100'000;
    int controlBand = 0, mainVfo = 0, transmitVfo = 0, split = 0, transmitting = 0, tfSet = 0;
    int rit = 0, xit = 0, zul = 0, subReceiver = 0, subVfo = 0;
    int satellite = 0, satelliteVfoFlag = 0, memoryScroll = 0, erased = 0;
    const char* main = "1111111"; // what the displays show afterwards
    const char* sub = "2222222";
};

void PrintTo(const ChoiceRow& row, std::ostream* out) {
    *out << row.name;
}

class ChoiceTest : public FrequencyDisplayTest, public ::testing::WithParamInterface<ChoiceRow> {};

TEST_P(ChoiceTest, ReplyGoesToItsDisplay) {
    const ChoiceRow& row = GetParam();
    display().ShowMainFrequency(1'111'111);
    display().ShowSubFrequency(2'222'222);
    auto& s = state();
    s.ritXitOffset = 1500;
    s.controlBand = s.transmitBand = row.controlBand;
    s.mainVfo = row.mainVfo;
    s.mainTransmitVfo = row.transmitVfo;
    s.split = row.split;
    s.transmitting[0] = row.transmitting;
    s.tfSetActive = row.tfSet;
    s.ritOn = row.rit;
    s.xitOn = row.xit;
    s.zulState = row.zul;
    s.subReceiver = row.subReceiver;
    s.subVfo = row.subVfo;
    s.satelliteMode = row.satellite;
    s.satelliteVfoFlag = row.satelliteVfoFlag;
    s.memoryScroll = row.memoryScroll;
    s.erasedChannel = row.erased;
    if (row.reply == 'A')
        display().OnFA(row.hz);
    else if (row.reply == 'B')
        display().OnFB(row.hz);
    else
        display().OnFC(row.hz);
    EXPECT_EQ(Main(), row.main);
    EXPECT_EQ(Sub(), row.sub);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, ChoiceTest,
    ::testing::Values(
        ChoiceRow{.name = "VfoAOnMain", .main = "7100000"},
        ChoiceRow{.name = "VfoAPlusRit", .rit = 1, .main = "7101500"},
        ChoiceRow{.name = "XitNotAddedWhileReceiving", .xit = 1, .main = "7100000"},
        ChoiceRow{.name = "XitAddedWhileTransmitting", .transmitting = 1, .xit = 1,
                  .main = "7101500"},
        ChoiceRow{.name = "RitNotAddedInZulCommand", .rit = 1, .zul = 2, .main = "7100000"},
        ChoiceRow{.name = "OtherVfoWithoutSplitIgnored", .reply = 'B'},
        ChoiceRow{.name = "SplitPartnerOnSub", .reply = 'B', .transmitVfo = 1, .split = 1,
                  .sub = "7100000"},
        ChoiceRow{.name = "SplitPartnerOnMainWhileTransmitting", .reply = 'B', .transmitVfo = 1,
                  .split = 1, .transmitting = 1, .xit = 1, .main = "7101500"},
        ChoiceRow{.name = "SplitPartnerTfSetStaysOnSub", .reply = 'B', .transmitVfo = 1, .split = 1,
                  .transmitting = 1, .tfSet = 1, .sub = "7100000"},
        ChoiceRow{.name = "SplitPartnerLeavesRitOffset", .reply = 'B', .transmitVfo = 1,
                  .split = 1, .rit = 1},
        ChoiceRow{.name = "ReceiveVfoToSubInSplitTransmit", .transmitVfo = 1, .split = 1,
                  .transmitting = 1, .sub = "7100000"},
        ChoiceRow{.name = "ReceiveVfoTfSetOnMainInSplitTransmit", .transmitVfo = 1, .split = 1,
                  .transmitting = 1, .tfSet = 1, .main = "7100000"},
        ChoiceRow{.name = "ControlSubVfoAOnMain", .controlBand = 1, .rit = 1, .main = "7101500"},
        ChoiceRow{.name = "ControlSubMainTransmitting", .controlBand = 1, .transmitting = 1},
        ChoiceRow{.name = "SatelliteFlagSetAOnMain", .satellite = 1, .satelliteVfoFlag = 1,
                  .main = "7100000"},
        ChoiceRow{.name = "SatelliteFlagSetBOnSub", .reply = 'B', .satellite = 1,
                  .satelliteVfoFlag = 1, .sub = "7100000"},
        ChoiceRow{.name = "SatelliteFlagClearAOnSub", .satellite = 1, .sub = "7100000"},
        ChoiceRow{.name = "MemoryScrollLeavesMain", .memoryScroll = 1},
        ChoiceRow{.name = "ErasedChannelLeavesMain", .erased = 1},
        ChoiceRow{.name = "FcSubReceiverOn", .reply = 'C', .hz = 145'000'000, .subReceiver = 1,
                  .sub = "145000000"},
        ChoiceRow{.name = "FcSubReceiverOff", .reply = 'C', .hz = 145'000'000},
        ChoiceRow{.name = "FcNotInSplitOnOneBand", .reply = 'C', .hz = 145'000'000,
                  .transmitVfo = 1, .split = 1, .subReceiver = 1},
        ChoiceRow{.name = "FcInZulClient", .reply = 'C', .hz = 145'000'000, .zul = 1,
                  .sub = "145000000"},
        ChoiceRow{.name = "FcControlSub", .reply = 'C', .hz = 145'000'000, .controlBand = 1,
                  .sub = "145000000"},
        ChoiceRow{.name = "FcControlSubOnMemory", .reply = 'C', .hz = 145'000'000, .controlBand = 1,
                  .subVfo = 2},
        ChoiceRow{.name = "AboveElevenDigitsIgnored", .hz = 100'000'000'000}),
    [](const auto& row) { return std::string(row.param.name); });
// clang-format on

// ------------------------------------------------ VFO marks

struct MarksRow {
    const char* name;
    int rx;
    int tx;
    int transmit = 0;
    int tfSet = 0;
    int zul = 0;
    const char* marks;
};

void PrintTo(const MarksRow& row, std::ostream* out) {
    *out << row.name;
}

class MarksTest : public FrequencyDisplayTest, public ::testing::WithParamInterface<MarksRow> {};

TEST_P(MarksTest, MarkReceiveAndTransmitVfo) {
    const MarksRow& row = GetParam();
    state().tfSetActive = row.tfSet;
    state().zulState = row.zul;
    display().OnFR(row.rx);
    display().OnFT(row.tx);
    if (row.transmit)
        display().OnTX(0);
    EXPECT_EQ(Marks(), row.marks);
    EXPECT_EQ(Text(idc::Split), row.rx == row.tx ? "" : "SPLIT");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, MarksTest,
    ::testing::Values(MarksRow{.name = "VfoA", .rx = 0, .tx = 0, .marks = "<A>______"},
                      MarksRow{.name = "SplitAB", .rx = 0, .tx = 1, .marks = "<A__B>___"},
                      MarksRow{.name = "SplitBA", .rx = 1, .tx = 0, .marks = "_A><B____"},
                      MarksRow{.name = "SplitTransmitting", .rx = 0, .tx = 1, .transmit = 1,
                               .marks = "_A_<B>___"},
                      MarksRow{.name = "SplitTransmittingTfSet", .rx = 0, .tx = 1, .transmit = 1,
                               .tfSet = 1, .marks = "<A__B>___"},
                      MarksRow{.name = "SplitInZulClient", .rx = 0, .tx = 1, .zul = 1,
                               .marks = "<A__B____"}),
    [](const auto& row) { return std::string(row.param.name); });
// clang-format on

TEST_F(FrequencyDisplayTest, CallChannelMarksRowMAndShowsC) {
    display().OnFR(3);
    EXPECT_EQ(Marks(), "______<M>");
    EXPECT_EQ(Text(idc::MainChDigit0 + 2), "C");
    EXPECT_EQ(state().nonCallVfo, 0);
    display().OnFR(7); // no such VFO
    EXPECT_EQ(state().mainVfo, 3);
}

// ------------------------------------------------ RIT/XIT offset

struct OffsetRow {
    const char* name;
    int offset;
    const char* shown; // null: out of range, the display stays
};

void PrintTo(const OffsetRow& row, std::ostream* out) {
    *out << row.name;
}

class OffsetTest : public FrequencyDisplayTest, public ::testing::WithParamInterface<OffsetRow> {};

TEST_P(OffsetTest, SubDisplayReadsKilohertz) {
    const OffsetRow& row = GetParam();
    display().ShowSubFrequency(2'222'222);
    display().ShowRitXitOffset(row.offset);
    if (!row.shown) {
        EXPECT_EQ(Sub(), "2222222");
        EXPECT_EQ(state().subShowsOffset, 0);
        return;
    }
    EXPECT_EQ(Shown(true), row.shown);
    EXPECT_EQ(state().subShowsOffset, 1);
    EXPECT_EQ(controls().scrollBar(idc::RitBar)->value(), std::clamp(row.offset, -20000, 20000));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, OffsetTest,
                         ::testing::Values(OffsetRow{"Positive", 1234, "        01.234 "},
                                           OffsetRow{"Negative", -20000, "       -20.000 "},
                                           OffsetRow{"Zero", 0, "        00.000 "},
                                           OffsetRow{"Largest", 99999, "        99.999 "},
                                           OffsetRow{"TooLarge", 100000, nullptr}),
                         [](const auto& row) { return std::string(row.param.name); });
// clang-format on

TEST_F(FrequencyDisplayTest, RitAndXitOffReturnTheSubDisplay) {
    auto& s = state();
    s.subReceiver = 1;
    s.subFrequency = 145'000'000;
    s.mainFrequency = 14'195'000;
    s.ritXitOffset = 500;
    display().OnRT(1);
    EXPECT_TRUE(Checked(idc::Rit));
    EXPECT_EQ(Sub(), "00500");
    EXPECT_EQ(Main(), "14195500");
    display().OnXT(1);
    display().OnRT(0);
    EXPECT_EQ(Sub(), "00500") << "XIT still on keeps the offset";
    EXPECT_EQ(Main(), "14195000");
    display().OnXT(0);
    EXPECT_FALSE(Checked(idc::Xit));
    EXPECT_EQ(Sub(), "145000000");
    display().OnRT(2); // not a state of RIT
    EXPECT_FALSE(Checked(idc::Rit));
}

// ------------------------------------------------ IF, TX and RX

IfReport Report(std::int64_t hz) {
    IfReport r;
    r.frequency = hz;
    return r;
}

TEST_F(FrequencyDisplayTest, IfTransmitFieldStartsAndEndsTheTransmitDisplay) {
    IfReport r = Report(14'195'000);
    r.transmitting = 1;
    display().OnIF(r);
    EXPECT_EQ(state().transmitting[0], 1);
    EXPECT_EQ(Text(idc::MainBusy), "ONAIR");
    EXPECT_EQ(Text(idc::MainMeterName), "PWR");
    r.transmitting = 0;
    display().OnIF(r);
    EXPECT_EQ(state().transmitting[0], 0);
    EXPECT_EQ(Text(idc::MainBusy), "");
    EXPECT_EQ(Text(idc::MainMeterName), "S");
}

TEST_F(FrequencyDisplayTest, IfStoresFrequencyChannelSplitAndRit) {
    IfReport r = Report(14'200'000);
    r.offset = -300;
    r.rit = 1;
    r.bank = 1;
    r.channel = 23;
    r.split = 1;
    display().OnIF(r);
    EXPECT_EQ(state().mainFrequency, 14'200'000);
    EXPECT_EQ(Main(), "14199700");
    EXPECT_EQ(Shown(true), "       -00.300 ");
    EXPECT_TRUE(Checked(idc::Rit));
    EXPECT_EQ(state().memory[0].bank, 1);
    EXPECT_EQ(state().memory[0].channel, 23);
    EXPECT_EQ(Text(idc::Split), "SPLIT");
    r.split = 0;
    r.rit = 0;
    display().OnIF(r);
    EXPECT_EQ(Text(idc::Split), "");
    EXPECT_FALSE(Checked(idc::Rit));
    EXPECT_EQ(Main(), "14200000");
    EXPECT_EQ(Sub(), "") << "sub receiver off: the sub display is dark";
}

TEST_F(FrequencyDisplayTest, IfOutOfRangeChangesNothing) {
    display().ShowMainFrequency(1'111'111);
    IfReport r = Report(100'000'000'000);
    r.transmitting = 1;
    display().OnIF(r);
    r = Report(14'000'000);
    r.offset = 200'000;
    display().OnIF(r);
    EXPECT_EQ(Main(), "1111111");
    EXPECT_EQ(state().transmitting[0], 0);
    EXPECT_EQ(state().mainFrequency, 0);
}

TEST_F(FrequencyDisplayTest, SplitTransmitShowsTheTransmitFrequency) {
    auto& s = state();
    s.mainFrequency = 14'195'000;
    s.subFrequency = 14'250'000;
    s.xitOn = 1;
    s.ritXitOffset = 100;
    display().OnFR(0);
    display().OnFT(1);
    display().OnTX(0);
    EXPECT_EQ(Main(), "14250100");
    display().OnRX(0);
    EXPECT_EQ(Main(), "14195000");
    EXPECT_EQ(Marks(), "<A__B>___");
    EXPECT_EQ(Text(idc::MainBusy), "");
}

// ------------------------------------------------ the radio's own actions

TEST_F(FrequencyDisplayTest, FollowsTheDialAndSplitFromTheRadio) {
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return Main() == "14195000"; })) << Shown(false);
    EXPECT_EQ(Marks(), "<A>______");
    radio().turnDial(10);
    EXPECT_TRUE(PumpUntil([&] { return Main() == "14195100"; })) << Shown(false);
    EXPECT_EQ(state().mainFrequency, 14'195'100);
    radio().pressKey(qxsim::Key::Split);
    EXPECT_TRUE(PumpUntil([&] { return Sub() == "7050000"; })) << Shown(true);
    EXPECT_EQ(Text(idc::Split), "SPLIT");
    EXPECT_EQ(Marks(), "<A__B>___");
    radio().pressKey(qxsim::Key::Split);
    EXPECT_TRUE(PumpUntil([&] { return Text(idc::Split).empty(); }));
    EXPECT_EQ(Marks(), "<A>______");
    EXPECT_EQ(state().split, 0);
}

TEST_F(FrequencyDisplayTest, FollowsRitAndTransmitFromTheRadio) {
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return Main() == "14195000"; }));
    radio().modify([](qxsim::State& s) { s.ritOffset = 1200; });
    radio().pressKey(qxsim::Key::Rit);
    EXPECT_TRUE(PumpUntil([&] { return Main() == "14196200"; })) << Shown(false);
    EXPECT_TRUE(Checked(idc::Rit));
    EXPECT_EQ(Shown(true), "        01.200 ");
    radio().transmit(true);
    EXPECT_TRUE(PumpUntil([&] { return Text(idc::MainBusy) == "ONAIR"; }));
    EXPECT_EQ(state().transmitting[0], 1);
    EXPECT_EQ(Main(), "14195000") << "RIT moves only the receive frequency";
    if (const char* path = std::getenv("ZEPHYRA_DISPLAY_PNG"))
        console->grab().save(QString::fromLocal8Bit(path));
    radio().transmit(false);
    EXPECT_TRUE(PumpUntil([&] { return state().transmitting[0] == 0; }));
    EXPECT_EQ(Text(idc::MainBusy), "");
    EXPECT_TRUE(PumpUntil([&] { return Main() == "14196200"; })) << Shown(false);
    radio().pressKey(qxsim::Key::Rit);
    EXPECT_TRUE(PumpUntil([&] { return Main() == "14195000"; })) << Shown(false);
    EXPECT_FALSE(Checked(idc::Rit));
}

TEST_F(FrequencyDisplayTest, FixedMinusShiftOnTheTwentyThreeCentimetreBand) {
    Connect();
    radio().setFrequency(qxsim::Vfo::A, 1'270'000'000);
    ASSERT_TRUE(PumpUntil([&] { return Main() == "1270000000"; })) << Shown(false);
    EXPECT_NE(std::find(recorder_->bands.begin(), recorder_->bands.end(), 14u),
              recorder_->bands.end());
    auto& s = state();
    s.shift = {3, 3};
    s.transmitting = {1, 1};
    display().ShowMainFrequency(1'270'000'000);
    display().ShowSubFrequency(1'270'000'000);
    EXPECT_EQ(Main(), "1264000000");
    EXPECT_EQ(Sub(), "1262400000");
    // The link's store outlives the console: leave VFO A where it was.
    s.transmitting = {0, 0};
    radio().setFrequency(qxsim::Vfo::A, 14'195'000);
    EXPECT_TRUE(PumpUntil([&] { return state().mainFrequency == 14'195'000; }));
}

} // namespace
