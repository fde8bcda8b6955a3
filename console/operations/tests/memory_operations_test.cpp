// SPDX-License-Identifier: GPL-3.0-or-later
// memory_operations_test.cpp - the memory channels from the front panel on
// a console connected to the simulator: "M. IN" browsing and writing, the
// lock-out on CLR, the channel the radio reports, the quick memory and the
// programmable memories. The simulator keeps every channel, so each write
// is checked where it lands.
#include "../../memory_table/tests/memory_console_fixture.h"

#include "console_menu.h"

#include <platform.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <cstdlib>
#include <ostream>

namespace {

using namespace operations_test;

class MemoryOperationsTest : public OperationsTest {
protected:
    // The radio on memory channel `bank`/`channel` holding `hz` before the
    // console connects.
    void OnChannel(int bank, int channel, std::int64_t hz, int mode = 4) {
        radio().modify([=](qxsim::State& s) {
            s.rxVfo = s.txVfo = 2;
            s.bank = bank;
            s.channel = channel;
            auto& half = s.memory[static_cast<std::size_t>(bank * 100 + channel)].half[0];
            half.frequency = hz;
            half.mode = mode;
            half.name = "HOME";
        });
    }
    std::string ChannelShown(int band = 0) {
        const int digit0 = band == 0 ? idc::MainChDigit0 : idc::SubChDigit0;
        return Text(digit0) + Text(digit0 + 1) + Text(digit0 + 2);
    }
    void Type(const std::string& digits) {
        for (const char c : digits)
            Click(memory_test::KeypadKey(c - '0'));
    }
    // A status line's text.
    std::string Line(int id) {
        if (const CEditEx* line = controls().edit(id))
            return line->text().toStdString();
        return Text(id);
    }
    bool CommandEnabled(int id) {
        QAction* action = console->menuAction(id);
        return action != nullptr && action->isEnabled();
    }
    qxsim::MemoryHalf Stored(int number, int half = 0) {
        return radio().state().memory[static_cast<std::size_t>(number)].half[static_cast<std::size_t>(half)];
    }
    std::vector<std::string> WriteCommands() {
        std::vector<std::string> out;
        for (const auto& r : radio().received())
            if (r.text.rfind("MW", 0) == 0)
                out.push_back(r.text.substr(0, 6));
        return out;
    }
};

// Two presses of "M. IN" on VFO A: the first browses, the digits choose
// channel 123, the second writes the VFO there. Without split only the
// receive half goes out, and the console ends up where it was.
TEST_F(MemoryOperationsTest, MemoryInTwiceWritesTheVfoIntoTheTypedChannel) {
    Ready();
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
    EXPECT_EQ(Line(idc::SubText), "M.SCR MODE");
    EXPECT_FALSE(Widget(idc::Ent)->isEnabled());
    EXPECT_TRUE(CommandEnabled(cmd::MemoryName));
    Type("123");
    ASSERT_TRUE(radio().waitFor("MR1123", std::chrono::seconds(2)));
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(ChannelShown(), "123");
    radio().clearReceived();

    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 0; }, std::chrono::seconds(5)));
    EXPECT_EQ(WriteCommands(), (std::vector<std::string>{"MW0123"}));
    const qxsim::MemoryHalf written = Stored(123);
    EXPECT_EQ(written.frequency, 14'195'000);
    EXPECT_EQ(written.mode, 2);
    EXPECT_EQ(written.lockout, 0);
    // Back on VFO A: no channel shown, the radio's own channel kept.
    EXPECT_EQ(state().memory[0].bank * 100 + state().memory[0].channel, 0);
    EXPECT_EQ(ChannelShown(), "");
    EXPECT_EQ(Line(idc::SubText), "");
    EXPECT_TRUE(Widget(idc::Ent)->isEnabled());
    EXPECT_FALSE(CommandEnabled(cmd::MemoryName));
}

// A program-scan channel in split: the VFOs are swapped for a moment to
// learn the transmit VFO's mode, then both halves are written.
TEST_F(MemoryOperationsTest, AProgramScanChannelGetsBothHalvesInSplit) {
    radio().modify([](qxsim::State& s) {
        s.rxVfo = 0;
        s.txVfo = 1;
    });
    Ready();
    ASSERT_EQ(state().split, 1);
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }, std::chrono::seconds(5)));
    Type("295");
    ASSERT_TRUE(radio().waitFor("MR1295", std::chrono::seconds(2)));
    PumpFor(std::chrono::milliseconds(200));
    radio().clearReceived();
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 0; }, std::chrono::seconds(5)));
    EXPECT_EQ(WriteCommands(), (std::vector<std::string>{"MW0295", "MW1295"}));
    EXPECT_EQ(Stored(295, 0).frequency, 14'195'000);
    EXPECT_EQ(Stored(295, 0).mode, 2);
    EXPECT_EQ(Stored(295, 1).frequency, 7'050'000);
    EXPECT_EQ(Stored(295, 1).mode, 1);
    EXPECT_TRUE(radio().state().memory[295].hasTransmitHalf);
    // The swap was put back.
    EXPECT_EQ(radio().state().rxVfo, 0);
    EXPECT_EQ(radio().state().txVfo, 1);
}

// Browsing never moves the radio: digits typed and CLR pressed leave the
// console on the channel the radio stands on, with its record.
TEST_F(MemoryOperationsTest, BrowsingShowsAChannelWithoutSelectingIt) {
    OnChannel(0, 5, 145'500'000);
    radio().modify([](qxsim::State& s) {
        auto& browsed = s.memory[212].half[0];
        browsed.frequency = 433'500'000;
        browsed.mode = 4;
        browsed.group = 3;
    });
    Ready();
    ASSERT_TRUE(PumpUntil([&] { return ChannelShown() == "005"; }));
    EXPECT_EQ(state().record[0].name, "HOME");
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
    Type("212");
    ASSERT_TRUE(PumpUntil([&] { return Shown(false).find("433.500") != std::string::npos; }));
    EXPECT_EQ(Text(idc::MainMode), " FM Group 3");
    // Nothing of the browsed channel was stored: the record is still the
    // channel the radio stands on, the one a second press would copy.
    EXPECT_EQ(state().record[0].rxFrequency, "00145500000");
    EXPECT_EQ(radio().state().channel, 5);

    Click(idc::Clear);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 0 && ChannelShown() == "005"; }));
    EXPECT_EQ(state().memory[0].channel, 5);
    ASSERT_TRUE(PumpUntil([&] { return state().record[0].name == "HOME"; }));
    EXPECT_EQ(state().record[0].rxFrequency, "00145500000");
}

// CLR on a memory channel marks it locked out (and back), rewriting it.
TEST_F(MemoryOperationsTest, ClearTogglesTheLockOutOfTheChannel) {
    OnChannel(0, 7, 145'600'000);
    Ready();
    ASSERT_TRUE(PumpUntil([&] { return state().record[0].rxFrequency == "00145600000"; }));
    EXPECT_EQ(Text(idc::MainLockOut), "");
    Click(idc::Clear);
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::MainLockOut) == "L .OUT"; }));
    EXPECT_EQ(Stored(7).lockout, 1);
    EXPECT_EQ(Stored(7).frequency, 145'600'000);
    Settle();
    Click(idc::Clear);
    ASSERT_TRUE(PumpUntil([&] { return Text(idc::MainLockOut).empty(); }));
    EXPECT_EQ(Stored(7).lockout, 0);

    // Pressed before the channel was read back (memory scroll mode just
    // ended): the channel is read, never overwritten with an empty record.
    Settle();
    state().record[0] = zephyra::MemoryRecord{};
    Click(idc::Clear);
    EXPECT_EQ(Wire(1), (std::vector<std::string>{"MR0007"}));
    EXPECT_EQ(Stored(7).frequency, 145'600'000);
}

// VFO / M from a channel back to the VFO: its number, lock-out mark and
// name leave the display with it.
TEST_F(MemoryOperationsTest, BackOnTheVfoNothingOfTheChannelStays) {
    OnChannel(0, 7, 145'600'000);
    radio().modify([](qxsim::State& s) { s.memory[7].half[0].lockout = 1; });
    Ready();
    ASSERT_TRUE(PumpUntil([&] { return Line(idc::MainText) == " HOME"; }));
    EXPECT_EQ(ChannelShown(), "007");
    EXPECT_EQ(Text(idc::MainLockOut), "L .OUT");
    Click(idc::VfoMemory);
    ASSERT_TRUE(PumpUntil([&] { return state().mainVfo == 0 && Shown(false).find("14.195") != std::string::npos; }));
    EXPECT_EQ(ChannelShown(), "");
    EXPECT_EQ(Text(idc::MainMch), "");
    EXPECT_EQ(Text(idc::MainLockOut), "");
    EXPECT_EQ(Line(idc::MainText), "");
}

// MULTI in memory scroll mode steps the browsed channel around the banks
// the radio has.
struct StepRow {
    const char* name;
    int identification;
    int from;
    int control;
    std::vector<std::string> wire;
};
std::ostream& operator<<(std::ostream& out, const StepRow& row) { return out << row.name; }

class ChannelStepTest : public MemoryOperationsTest, public ::testing::WithParamInterface<StepRow> {};

TEST_P(ChannelStepTest, BrowsesToTheNextChannel) {
    const StepRow& row = GetParam();
    Ready();
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
    state().radioIdentification = row.identification;
    state().memory[0] = zephyra::MemoryPosition{row.from / 100, row.from % 100};
    Settle();
    Click(row.control);
    EXPECT_EQ(Wire(2), row.wire);
}

const StepRow kSteps[] = {
    {"DownFromTheFirstChannel", 19, 0, idc::MultiDown, {"MR0299", "MR1299"}},
    // The link writes the form of the radio it talks to (the simulator is a
    // 19 here): the older radio's one bank shows as bank 0.
    {"DownFromTheFirstChannelOfTheOlderRadio", 18, 0, idc::MultiDown, {"MR0099", "MR1099"}},
    {"DownAcrossABank", 19, 100, idc::MultiDown, {"MR0099", "MR1099"}},
    {"UpFromTheLastChannel", 19, 299, idc::MultiUp, {"MR0000", "MR1000"}},
    {"UpAcrossABank", 19, 199, idc::MultiUp, {"MR0200", "MR1200"}},
};
INSTANTIATE_TEST_SUITE_P(Steps, ChannelStepTest, ::testing::ValuesIn(kSteps),
                         [](const ::testing::TestParamInfo<StepRow>& row) { return std::string(row.param.name); });

// The channel the radio reports: stored for the control band, and the
// slow-scan frequency only offered on the program-scan channels.
struct ChannelRow {
    const char* name;
    int identification;
    const char* report;
    int number;
    bool slowScan;
};
std::ostream& operator<<(std::ostream& out, const ChannelRow& row) { return out << row.name; }

class ChannelReportTest : public MemoryOperationsTest, public ::testing::WithParamInterface<ChannelRow> {};

TEST_P(ChannelReportTest, StoresTheChannelAndOffersTheSlowScanFrequency) {
    const ChannelRow& row = GetParam();
    OnChannel(0, 1, 145'000'000);
    Ready();
    state().radioIdentification = row.identification;
    // The radio stands on the channel it reports (its IF says so too).
    const int reported = std::atoi(row.report + 2);
    radio().modify([=](qxsim::State& s) {
        s.bank = reported / 100;
        s.channel = reported % 100;
    });
    radio().inject(std::string(row.report) + ";");
    ASSERT_TRUE(PumpUntil([&] {
        return state().memory[0].bank * 100 + state().memory[0].channel == row.number;
    }));
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(CommandEnabled(cmd::SlowScanFreq), row.slowScan);
}

const ChannelRow kChannels[] = {
    {"Channel103", 19, "MC103", 103, false},
    {"Channel295", 19, "MC295", 295, true},
    {"OlderRadioHasOneBank", 18, "MC205", 5, false},
};
INSTANTIATE_TEST_SUITE_P(Reports, ChannelReportTest, ::testing::ValuesIn(kChannels),
                         [](const ::testing::TestParamInfo<ChannelRow>& row) { return std::string(row.param.name); });

// Memory > Clear Memory asks first; only OK clears the channel the band
// stands on.
struct ClearRow {
    const char* name;
    int answer;
    std::int64_t left; // what the channel holds afterwards
};
std::ostream& operator<<(std::ostream& out, const ClearRow& row) { return out << row.name; }

class ClearMemoryTest : public MemoryOperationsTest, public ::testing::WithParamInterface<ClearRow> {
protected:
    void TearDown() override {
        platform::SetDialogProvider(nullptr);
        MemoryOperationsTest::TearDown();
    }
};

TEST_P(ClearMemoryTest, AsksAndClearsOnlyOnOk) {
    const ClearRow& row = GetParam();
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    dialogs->defaultAnswer = row.answer;
    platform::SetDialogProvider(dialogs);
    OnChannel(0, 7, 145'600'000);
    Ready();
    ASSERT_TRUE(PumpUntil([&] { return state().record[0].rxFrequency == "00145600000"; }));
    Settle();
    console->menuAction(cmd::ClearMemory)->trigger();
    PumpFor(std::chrono::milliseconds(300));
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text.toStdString(), "Clear this Memory?");
    EXPECT_EQ(dialogs->messages[0].flags,
              unsigned(platform::MbOkCancel | platform::MbIconQuestion | platform::MbDefButton2));
    EXPECT_EQ(Stored(7).frequency, row.left);
    EXPECT_EQ(WriteCommands().size(), row.answer == platform::IdOk ? 1u : 0u);
}

const ClearRow kClears[] = {
    {"Cancel", platform::IdCancel, 145'600'000},
    {"Ok", platform::IdOk, 0},
};
INSTANTIATE_TEST_SUITE_P(Answers, ClearMemoryTest, ::testing::ValuesIn(kClears),
                         [](const ::testing::TestParamInfo<ClearRow>& row) { return std::string(row.param.name); });

// The quick memory's MR: the stored state turned over; its reply shows the
// quick channel and greys the channel stepping.
TEST_F(MemoryOperationsTest, QuickMemoryTurnsOnAndShowsItsChannel) {
    radio().modify([](qxsim::State& s) {
        s.quickChannel = 4;
        s.quick[4].frequency = 7'100'000;
        s.quick[4].mode = 1;
    });
    Ready();
    console->link()->ConnQR("R", 0, 0);
    ASSERT_TRUE(radio().waitForSent("QR04", std::chrono::seconds(2)));
    PumpFor(std::chrono::milliseconds(100));
    Settle();
    Click(idc::QuickMr);
    EXPECT_EQ(Wire(1), (std::vector<std::string>{"QR14"}));
    ASSERT_TRUE(PumpUntil([&] { return state().quickMemory == 1; }));
    EXPECT_EQ(ChannelShown(), " 4_");
    EXPECT_FALSE(CommandEnabled(cmd::MemoryChannelUp));
    EXPECT_EQ(state().quickChannel, 4);
    // CLR ends the quick memory, on the radio as on the console.
    Settle();
    Click(idc::Clear);
    EXPECT_EQ(Wire(1), (std::vector<std::string>{"QR04"}));
    ASSERT_TRUE(PumpUntil([&] { return state().quickMemory == 0 && radio().state().quickOn == 0; }));
    EXPECT_EQ(ChannelShown(), "");
    EXPECT_TRUE(CommandEnabled(cmd::MemoryChannelUp));
    EXPECT_EQ(state().quickChannel, 10);
}

// "M. IN" of the quick memory stores the VFO; on a program-scan channel a
// long press sends SS 2 and its release nothing more.
TEST_F(MemoryOperationsTest, QuickMemoryInStoresTheVfoAndALongPressSetsTheSlowScan) {
    Ready();
    Click(idc::QuickMemoryIn);
    EXPECT_EQ(Wire(1), (std::vector<std::string>{"QI"}));
    EXPECT_EQ(radio().state().quick[0].frequency, 14'195'000);

    console->link()->ConnMC("W", 2, 95);
    console->link()->ConnFR("W", 2);
    ASSERT_TRUE(PumpUntil([&] { return state().mainVfo == 2 && state().memory[0].channel == 95; }));
    Settle();
    QTest::mousePress(Widget(idc::QuickMemoryIn), Qt::LeftButton);
    ops().OnTimer(ConsoleOperations::kQuickMemoryHoldTimer);
    QTest::mouseRelease(Widget(idc::QuickMemoryIn), Qt::LeftButton);
    EXPECT_EQ(Wire(1), (std::vector<std::string>{"SS2"}));
}

// PM and PM IN: the key lights, the prompt shows, one digit is sent; PM IN
// refuses 0.
TEST_F(MemoryOperationsTest, ProgrammableMemoriesTakeOneDigit) {
    Ready();
    Click(idc::Pm);
    EXPECT_EQ(state().readChannel, 1);
    EXPECT_EQ(Line(idc::SubText), "Enter Read CH");
    Type("3");
    EXPECT_EQ(Wire(1), (std::vector<std::string>{"PM3"}));
    EXPECT_EQ(state().readChannel, 0);
    EXPECT_EQ(state().entryMode, 0);
    EXPECT_EQ(Line(idc::SubText), "");

    Settle();
    Click(idc::PmIn);
    EXPECT_EQ(Line(idc::SubText), "Enter Write CH");
    Type("0");
    EXPECT_EQ(state().writeChannel, 1);
    Type("2");
    EXPECT_EQ(Wire(1), (std::vector<std::string>{"PI2"}));
    EXPECT_EQ(state().writeChannel, 0);
    // A second press of the key ends its mode without a digit.
    Settle();
    Click(idc::Pm);
    Click(idc::Pm);
    EXPECT_EQ(state().readChannel, 0);
    EXPECT_EQ(Wire(0), std::vector<std::string>{});
}

// The channel editor on the real windows: DISP in memory scroll mode opens
// it with the record, OK hands the edited record back, and the next
// "M. IN" writes what the operator edited.
class ChannelEditorTest : public display_test::DisplayTest {
protected:
    void Click(int id) { QTest::mouseClick(controls().widget(id), Qt::LeftButton); }
};

TEST_F(ChannelEditorTest, TheEditedRecordIsWhatMemoryInWrites) {
    Connect();
    console->show();
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
    for (const int key : {idc::Shift, idc::Tone, idc::Meter}) // 0, 4, 5
        Click(key);
    ASSERT_TRUE(PumpUntil([&] { return state().memory[0].channel == 45; }));

    Click(idc::Disp);
    ASSERT_TRUE(PumpUntil([&] { return memory_test::ChannelEditor() != nullptr; }));
    EXPECT_EQ(state().panelOpen, 1);
    QWidget* editor = memory_test::ChannelEditor();
    auto* name = editor->findChild<QLineEdit*>();
    ASSERT_NE(name, nullptr);
    name->clear();
    QTest::keyClicks(name, "RPT2");
    QAbstractButton* ok = memory_test::ButtonLabelled(editor, QStringLiteral("OK"));
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);
    ASSERT_TRUE(PumpUntil([&] { return state().panelOpen == 0 && memory_test::ChannelEditor() == nullptr; }));
    EXPECT_EQ(state().record[0].name, "RPT2");
    // The editor closed, memory scroll mode goes on.
    EXPECT_EQ(state().memoryScroll, 1);

    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 0; }));
    const qxsim::MemoryHalf written = radio().state().memory[45].half[0];
    EXPECT_EQ(written.name, "RPT2");
    EXPECT_EQ(written.frequency, 14'195'000);
}

} // namespace
