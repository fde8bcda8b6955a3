// SPDX-License-Identifier: GPL-3.0-or-later
// memory_writes_test.cpp - no stored channel is lost or changed unseen: the
// console writes a channel only with what the operator saw, to the channel
// on the display, and says when a write did not happen. Real clicks and
// menu commands on a console connected to the simulator; every case checks
// what the simulator's memory holds afterwards.
#include "../../memory_table/tests/memory_console_fixture.h"

#include "console_menu.h"
#include "display/display_controls.h"

#include <platform.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>

#include <kestrin.h>

#include <algorithm>

#include <ostream>

// The link's hook for its own tests: direct mode as the radio's replies set it.
namespace corvan::testing {
void SetDirectMode(bool on);
}

namespace {

using namespace operations_test;

class MemoryWritesTest : public memory_test::MemoryConsoleTest {
protected:
    void Put(int number, std::int64_t hz, int mode, const std::string& name, int lockout = 0) {
        radio().modify([=](qxsim::State& s) {
            auto& half = s.memory[static_cast<std::size_t>(number)].half[0];
            half = memory_test::PanelChannel(false, hz, mode, name).half[0];
            half.lockout = lockout;
        });
    }
    // VFO A on `hz` in FM before the console connects.
    void VfoA(std::int64_t hz) {
        radio().modify([=](qxsim::State& s) {
            s.vfoA = hz;
            s.modeA = 4;
        });
    }
    void OnChannel(int number) {
        radio().modify([=](qxsim::State& s) {
            s.rxVfo = s.txVfo = 2;
            s.bank = number / 100;
            s.channel = number % 100;
        });
    }
    qxsim::MemoryHalf Stored(int number) {
        return radio().state().memory[static_cast<std::size_t>(number)].half[0];
    }
    // The radio on channel `number`, and the console connected and showing
    // that channel's record.
    bool ShowingChannel(int number) {
        OnChannel(number);
        Ready();
        char hz[16];
        std::snprintf(hz, sizeof hz, "%011lld", static_cast<long long>(Stored(number).frequency));
        return PumpUntil([&] { return state().record[0].rxFrequency == hz; });
    }
    // "M. IN", then the channel typed, until the display shows `frequency`.
    void Browse(const std::string& digits, const std::string& frequency) {
        Click(idc::MemoryIn);
        ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
        Type(digits);
        ASSERT_TRUE(PumpUntil([&] { return Shown(false).find(frequency) != std::string::npos; }));
    }
    std::string ChannelShown() {
        return Text(idc::MainChDigit0) + Text(idc::MainChDigit0 + 1) + Text(idc::MainChDigit0 + 2);
    }
    // Memory > Clear Memory as the operator opens it: the menu shown, then the item.
    bool ClearMemoryOffered() {
        QAction* clear = console->menuAction(cmd::ClearMemory);
        if (QMenu* menu = console->menuHolding(cmd::ClearMemory))
            emit menu->aboutToShow();
        return clear->isEnabled();
    }
    void ClearMemory() {
        console->OnCommand(cmd::ClearMemory);
        PumpFor(std::chrono::milliseconds(300));
    }
};

class MemoryWritesByIdentity : public MemoryWritesTest, public ::testing::WithParamInterface<memory_test::Family> {};

// On VFO A no channel is shown: Clear Memory is greyed and does nothing,
// and the channel the radio last reported keeps what it holds. Neither does
// the clearing hold of CLR reach it.
TEST_P(MemoryWritesByIdentity, ClearMemoryOnAVfoClearsNoChannel) {
    Identity(GetParam().identity);
    Put(0, 145'600'000, 4, "HOME");
    Ready();
    ASSERT_EQ(state().mainVfo, 0);
    ASSERT_EQ(state().memory[0].bank * 100 + state().memory[0].channel, 0);
    EXPECT_FALSE(ClearMemoryOffered());
    ClearMemory();
    EXPECT_TRUE(dialogs->messages.empty()) << "nothing to ask about";
    ops().OnTimer(ConsoleOperations::kMemoryClearTimer);
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(Stored(0).frequency, 145'600'000);
    EXPECT_EQ(Stored(0).name, "HOME");
    EXPECT_EQ(state().erasedChannel, 0);
}

// On a channel the item is offered and OK clears the channel shown, on
// either radio (the older one's MW takes tone numbers from 1 only).
TEST_P(MemoryWritesByIdentity, ClearMemoryOnAChannelClearsIt) {
    Identity(GetParam().identity);
    Put(5, 145'600'000, 4, "RPT");
    ASSERT_TRUE(ShowingChannel(5));
    EXPECT_TRUE(ClearMemoryOffered());
    Settle();
    ClearMemory();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text.toStdString(), "Clear this Memory?");
    ASSERT_TRUE(PumpUntil([&] { return Stored(5).frequency == 0; })) << "the channel stays";
    EXPECT_EQ(Writes(), 1u);
}

// "M. IN" after one or two digits of a channel: no channel is chosen yet,
// nothing is written and the browsing goes on; after the third the channel
// typed is written.
TEST_P(MemoryWritesByIdentity, MemoryInWritesOnlyAChannelTypedToTheEnd) {
    Identity(GetParam().identity);
    const bool older = GetParam().identity == 18;
    Put(0, 145'600'000, 4, "HOME");
    Ready();
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
    Settle();
    // The digits typed one by one; "M. IN" after each but the last.
    const std::vector<std::string> shown =
        older ? std::vector<std::string>{"01-"} : std::vector<std::string>{"1--", "12-"};
    const std::string digits = older ? "12" : "123";
    for (std::size_t i = 0; i < shown.size(); ++i) {
        Type(digits.substr(i, 1));
        EXPECT_EQ(ChannelShown(), shown[i]);
        Click(idc::MemoryIn);
        PumpFor(std::chrono::milliseconds(200));
        EXPECT_EQ(Writes(), 0u) << "after " << shown[i];
        EXPECT_EQ(state().memoryScroll, 1);
    }
    Type(digits.substr(shown.size()));
    const int typed = older ? 12 : 123;
    ASSERT_TRUE(PumpUntil([&] { return state().memory[0].bank * 100 + state().memory[0].channel == typed; }));
    PumpFor(std::chrono::milliseconds(200));
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 0; }, std::chrono::seconds(5)))
        << (dialogs->messages.empty() ? std::string() : dialogs->messages.back().text.toStdString());
    EXPECT_EQ(Writes(), 1u);
    EXPECT_EQ(Stored(typed).frequency, 14'195'000);
    EXPECT_EQ(Stored(typed).mode, 2) << "the VFO's USB, asked for when not stored";
    EXPECT_EQ(Stored(0).frequency, 145'600'000) << "the channel shown before the digits is untouched";
    EXPECT_EQ(Stored(0).name, "HOME");
}

INSTANTIATE_TEST_SUITE_P(Identities, MemoryWritesByIdentity, ::testing::ValuesIn(memory_test::kFamilies),
                         memory_test::FamilyName);

// A clear the link refuses is said, and the display does not show a
// cleared channel.
TEST_F(MemoryWritesTest, AClearTheLinkRefusesIsSaidNotShown) {
    Put(5, 145'600'000, 4, "RPT");
    ASSERT_TRUE(ShowingChannel(5));
    const std::string before = Shown(false);
    Settle();
    // The radio's terminal mode: the link refuses every command meanwhile.
    corvan::testing::SetDirectMode(true);
    ClearMemory();
    corvan::testing::SetDirectMode(false);
    // The clear, and CLR's lock-out after it, each said.
    ASSERT_GE(dialogs->messages.size(), 2u);
    EXPECT_TRUE(dialogs->messages[1].text.contains(QStringLiteral("was not cleared")))
        << dialogs->messages[1].text.toStdString();
    EXPECT_EQ(state().erasedChannel, 0);
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(Stored(5).frequency, 145'600'000);
    EXPECT_EQ(Shown(false), before);
}

// Browsing shows each channel's own lock-out, from the radio's answer.
TEST_F(MemoryWritesTest, BrowsingShowsTheLockOutOfTheChannelShown) {
    Put(7, 145'600'000, 4, "LOCKED", 1);
    Put(8, 145'625'000, 4, "OPEN", 0);
    Ready();
    ASSERT_NO_FATAL_FAILURE(Browse("007", "145.600"));
    EXPECT_EQ(Text(idc::MainLockOut), "L .OUT");
    Click(idc::MultiUp);
    ASSERT_TRUE(PumpUntil([&] { return Shown(false).find("145.625") != std::string::npos; }));
    EXPECT_EQ(Text(idc::MainLockOut), "");
    // Nothing of it reached a channel.
    EXPECT_EQ(Writes(), 0u);
}

// The VFO on a frequency the radio has no band for: the radio would answer
// the MW with "?" and keep the channel. The write is refused before it is
// sent, and said; the channel keeps what it held.
TEST_F(MemoryWritesTest, MemoryInAtAFrequencyWithoutABandIsRefusedAndSaid) {
    Put(5, 145'600'000, 4, "RPT");
    VfoA(100'000'000);
    Ready();
    ASSERT_NO_FATAL_FAILURE(Browse("005", "145.600"));
    Settle();
    Click(idc::MemoryIn);
    PumpFor(std::chrono::milliseconds(800));
    EXPECT_EQ(Writes(), 0u);
    ASSERT_FALSE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->messages.back().text.contains(QStringLiteral("Channel 005 was not written")))
        << dialogs->messages.back().text.toStdString();
    EXPECT_EQ(Stored(5).frequency, 145'600'000);
    EXPECT_EQ(Stored(5).name, "RPT");
}

// A lock-out toggled from the menu while browsing goes with the channel it
// showed on: stepped to a channel without the mark, the write carries that
// channel's own mark, as the display shows it.
TEST_F(MemoryWritesTest, ALockOutToggledWhileBrowsingStaysWithTheChannelItShowedOn) {
    VfoA(145'500'000);
    Put(5, 145'600'000, 4, "FIVE");
    Ready();
    ASSERT_NO_FATAL_FAILURE(Browse("005", "145.600"));
    PumpFor(std::chrono::milliseconds(200));
    console->OnCommand(cmd::LockOut);
    EXPECT_EQ(Text(idc::MainLockOut), "L .OUT");
    Click(idc::MultiUp);
    Click(idc::MultiUp);
    ASSERT_TRUE(PumpUntil([&] { return ChannelShown() == "007" && state().scrollShown.channel == 7; }));
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(Text(idc::MainLockOut), "");
    Settle();
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return Stored(7).frequency == 145'500'000; }, std::chrono::seconds(5)));
    EXPECT_EQ(Stored(7).lockout, 0) << "no \"L .OUT\" was on the display";
    EXPECT_EQ(Stored(5).lockout, 0);
}

// "M. IN" pressed twice quickly on a slow radio: the second press comes
// before the target channel's record is on the display, and writes nothing.
TEST_F(MemoryWritesTest, ASecondMemoryInBeforeTheChannelIsShownWritesNothing) {
    Put(0, 145'600'000, 4, "HOME");
    VfoA(145'500'000);
    Ready();
    qxsim::Faults slow;
    ASSERT_TRUE(qxsim::faultProfile("slow", slow));
    radio().setFaults(slow);
    Settle();
    Click(idc::MemoryIn);
    QTest::qWait(60);
    Click(idc::MemoryIn);
    PumpFor(std::chrono::milliseconds(2500));
    radio().setFaults(qxsim::Faults{});
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(Stored(0).frequency, 145'600'000);
    EXPECT_EQ(Stored(0).name, "HOME");
}

// The radio moves to another channel while "Clear this Memory?" is open:
// OK clears nothing (the channel asked about is no longer shown), and says so.
TEST_F(MemoryWritesTest, ClearMemoryStopsWhenTheRadioMovedDuringTheQuestion) {
    Put(5, 145'600'000, 4, "FIVE");
    Put(6, 433'500'000, 4, "SIX");
    ASSERT_TRUE(ShowingChannel(5));
    Settle();
    // The radio moves while the question is open.
    auto moving = std::make_shared<memory_test::DialogsActingOnce>();
    moving->during = [this] {
        radio().modify([](qxsim::State& s) { s.channel = 6; });
        radio().inject("MC006;");
        PumpUntil([&] { return state().memory[0].channel == 6; });
        PumpFor(std::chrono::milliseconds(200));
    };
    platform::SetDialogProvider(moving);
    ClearMemory();
    platform::SetDialogProvider(dialogs);
    PumpFor(std::chrono::milliseconds(300));
    ASSERT_EQ(moving->texts.size(), 2u);
    EXPECT_EQ(moving->texts[0].toStdString(), "Clear this Memory?");
    EXPECT_TRUE(moving->texts[1].contains(QStringLiteral("Channel 005 was not cleared")))
        << moving->texts[1].toStdString();
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(Stored(6).frequency, 433'500'000);
    EXPECT_EQ(Stored(6).name, "SIX");
    EXPECT_EQ(Stored(6).lockout, 0);
    EXPECT_EQ(Stored(5).frequency, 145'600'000);
}

// The console with the real secondary windows.
class MemoryWritesWithWindows : public MemoryWritesTest {
protected:
    void SetUp() override {
        MemoryWritesTest::SetUp();
        console->DestroyWindow();
        console = std::make_unique<ConsoleDialog>(ConsoleOptions::Simulated());
    }
    // "M. IN", then DISP once the channel is shown: the channel editor.
    void OpenEditor(QWidget*& editor) {
        Click(idc::MemoryIn);
        ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
        PumpFor(std::chrono::milliseconds(300));
        Click(idc::Disp);
        ASSERT_TRUE(PumpUntil([&] { return memory_test::ChannelEditor() != nullptr; }));
        editor = memory_test::ChannelEditor();
    }
};

// The editor on an empty channel shows LSB, and LSB is what it hands back
// and what "M. IN" writes.
TEST_F(MemoryWritesWithWindows, TheEditorHandsBackTheModeItShows) {
    OnChannel(0);
    Ready();
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
    Click(idc::Disp);
    ASSERT_TRUE(PumpUntil([&] { return memory_test::ChannelEditor() != nullptr; }));
    QWidget* editor = memory_test::ChannelEditor();
    auto* mode = editor->findChild<QComboBox*>(QStringLiteral("list24057"));
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->currentText().trimmed(), QStringLiteral("LSB"));
    // 14 MHz typed with the digits: the 10 MHz digit once, the 1 MHz digit four times.
    // The receive row's eleven digit cells, from the left.
    std::vector<CStaticEx*> row;
    for (CStaticEx* label : editor->findChildren<CStaticEx*>())
        if (label->geometry().top() == 26 && label->width() == 17 && label->height() == 28)
            row.push_back(label);
    ASSERT_EQ(row.size(), 11u);
    std::sort(row.begin(), row.end(), [](CStaticEx* a, CStaticEx* b) { return a->x() < b->x(); });
    const auto up = [&](int exponent) {
        QTest::mousePress(row[static_cast<std::size_t>(10 - exponent)], Qt::RightButton);
        QTest::mouseRelease(row[static_cast<std::size_t>(10 - exponent)], Qt::RightButton);
    };
    up(7);
    for (int i = 0; i < 4; ++i)
        up(6);
    QAbstractButton* ok = memory_test::ButtonLabelled(editor, QStringLiteral("OK"));
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);
    ASSERT_TRUE(PumpUntil([&] { return state().panelOpen == 0 && memory_test::ChannelEditor() == nullptr; }));
    EXPECT_EQ(state().record[0].rxMode, 1);
    Settle();
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 0; }, std::chrono::seconds(5)));
    EXPECT_EQ(Stored(0).frequency, 14'000'000);
    EXPECT_EQ(Stored(0).mode, 1);
}

// CLR's lock-out on a program-scan channel whose transmit half was not read
// (yet): the receive half is rewritten, the transmit half is left as the
// radio holds it, not written as eleven zeros.
TEST_F(MemoryWritesTest, LockOutKeepsATransmitHalfNotRead) {
    radio().modify([](qxsim::State& s) {
        auto& channel = s.memory[295];
        channel.half[0] = qxsim::MemoryHalf{};
        channel.half[0].frequency = 144'000'000;
        channel.half[0].mode = 4;
        channel.half[0].toneNumber = 1;
        channel.half[1] = channel.half[0];
        channel.half[1].frequency = 146'000'000;
        channel.hasTransmitHalf = true;
    });
    ASSERT_TRUE(ShowingChannel(295));
    PumpFor(std::chrono::milliseconds(200));
    state().record[0].txFrequency.clear(); // its MR reply not handled yet
    Settle();
    Click(idc::Clear);
    ASSERT_TRUE(PumpUntil([&] { return Stored(295).lockout == 1; }));
    PumpFor(std::chrono::milliseconds(200));
    // The writer read both halves afresh: the transmit half goes back as the
    // radio holds it, never as eleven zeros.
    EXPECT_EQ(radio().countOf("MW1295000000000000"), 0u);
    const qxsim::MemoryChannel channel = radio().state().memory[295];
    EXPECT_TRUE(channel.hasTransmitHalf);
    EXPECT_EQ(channel.half[1].frequency, 146'000'000);
}

// The radio reports another channel; CLR pressed before that channel's
// record arrived reads it first and writes nothing, never the former
// channel's record over it.
TEST_F(MemoryWritesTest, LockOutBeforeTheNewChannelsRecordWritesNothing) {
    Put(5, 145'600'000, 4, "HOME");
    Put(6, 433'500'000, 4, "UHF");
    ASSERT_TRUE(ShowingChannel(5));
    qxsim::Faults slow;
    slow.delay = std::chrono::milliseconds(400);
    radio().setFaults(slow);
    Settle();
    radio().inject("MC006;");
    ASSERT_TRUE(PumpUntil([&] { return state().memory[0].channel == 6; }));
    Click(idc::Clear);
    PumpFor(std::chrono::milliseconds(1500));
    radio().setFaults(qxsim::Faults{});
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(Stored(6).frequency, 433'500'000);
    EXPECT_EQ(Stored(6).name, "UHF");
    EXPECT_EQ(Stored(6).lockout, 0);
}

// In satellite mode "M. IN" writes the satellite name into the satellite
// channel typed, and says so when none was typed.
TEST_F(MemoryWritesTest, SatelliteNameGoesOnlyToTheChannelTyped) {
    Ready();
    Click(idc::Satellite);
    ASSERT_TRUE(PumpUntil([&] { return state().satelliteMode == 1; }));
    PumpFor(std::chrono::milliseconds(200));
    state().satelliteName = "AO91"; // as the satellite name window hands it back
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
    display_controls::SetText(controls(), idc::MainChDigit0 + 2, QString()); // nothing typed yet
    Settle();
    Click(idc::MemoryIn);
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(radio().countOf("SI"), 0u);
    ASSERT_FALSE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->messages.back().text.contains(QStringLiteral("was not written")));

    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
    PumpFor(std::chrono::milliseconds(200));
    state().satelliteName = "AO91";
    Type("3");
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return radio().countOf("SI") == 1; }));
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(radio().countOf("SI3AO91"), 1u);
    EXPECT_EQ(radio().state().satelliteNames[3], "AO91");
}

// A record with no mode known is not written as mode 0.
TEST_F(MemoryWritesTest, ARecordWithoutAModeIsNotWritten) {
    Put(45, 145'600'000, 4, "KEEP");
    Ready();
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
    Type("045");
    ASSERT_TRUE(PumpUntil([&] { return state().memory[0].channel == 45; }));
    PumpFor(std::chrono::milliseconds(200));
    state().record[0].rxMode = 0; // the mode read failed
    Settle();
    Click(idc::MemoryIn);
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(Writes(), 0u);
    ASSERT_FALSE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->messages.back().text.contains(QStringLiteral("not written")));
    EXPECT_EQ(Stored(45).frequency, 145'600'000);
    EXPECT_EQ(Stored(45).name, "KEEP");
}

// Clicks a button of the editor by its text.
void ClickEditorButton(QWidget* editor, const char* text) {
    for (QAbstractButton* button : editor->findChildren<QAbstractButton*>())
        if (button->text() == QLatin1String(text)) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    ADD_FAILURE() << "no button " << text;
}

// An offset between two entries of the editor's list: the list shows none
// (not the entry below it), and OK asks for one instead of handing back a
// value the operator never saw.
TEST_F(MemoryWritesWithWindows, TheEditorShowsNoOffsetItsListLacksAndAsksForOne) {
    Put(5, 145'600'000, 4, "RPT");
    radio().modify([](qxsim::State& s) {
        auto& half = s.memory[5].half[0];
        half.offset = 625'000;
        half.shift = 1;
    });
    ASSERT_TRUE(ShowingChannel(5));
    ASSERT_EQ(state().record[0].offset, 625'000);
    QWidget* editor = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenEditor(editor));
    auto* offset = editor->findChild<QComboBox*>(QStringLiteral("list24028"));
    ASSERT_NE(offset, nullptr);
    EXPECT_EQ(offset->currentIndex(), -1) << offset->currentText().toStdString();
    ClickEditorButton(editor, "OK");
    PumpFor(std::chrono::milliseconds(200));
    ASSERT_NE(memory_test::ChannelEditor(), nullptr) << "OK handed back an offset the list did not show";
    ASSERT_FALSE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->messages.back().text.contains(QStringLiteral("Offset")));
    // The operator chooses 650000 Hz: that is what is written.
    offset->setCurrentIndex(13);
    ClickEditorButton(editor, "OK");
    ASSERT_TRUE(PumpUntil([&] { return state().panelOpen == 0 && memory_test::ChannelEditor() == nullptr; }));
    Settle();
    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return Stored(5).offset == 650'000; }, std::chrono::seconds(5)));
}

// On the sub band the editor's USB cannot be stored: it is said, and the
// record (mode and step) stays as it was, never the old mode with the new step.
TEST_F(MemoryWritesWithWindows, TheSubBandKeepsNoModeItCannotWork) {
    Put(5, 145'600'000, 4, "SUB");
    radio().modify([](qxsim::State& s) {
        s.memory[5].half[0].step = 0;
        s.controlBand = 1;
        s.subVfo = 2;
        s.subBank = 0;
        s.subChannel = 5;
    });
    Ready();
    ASSERT_TRUE(PumpUntil([&] { return state().controlBand == 1 && state().record[1].name == "SUB"; }))
        << state().controlBand << " " << state().record[1].name;
    QWidget* editor = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenEditor(editor));
    auto* mode = editor->findChild<QComboBox*>(QStringLiteral("list24057"));
    auto* step = editor->findChild<QComboBox*>(QStringLiteral("list24059"));
    ASSERT_NE(mode, nullptr);
    ASSERT_NE(step, nullptr);
    mode->setCurrentIndex(1); // USB
    step->setCurrentIndex(1); // 2.50
    ClickEditorButton(editor, "OK");
    ASSERT_TRUE(PumpUntil([&] { return state().panelOpen == 0 && memory_test::ChannelEditor() == nullptr; }));
    ASSERT_FALSE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->messages.back().text.contains(QStringLiteral("not kept")));
    EXPECT_EQ(state().record[1].rxMode, 4);
    EXPECT_EQ(state().record[1].rxStep, 0);
    Settle();
    Click(idc::MemoryIn);
    PumpFor(std::chrono::milliseconds(1500));
    EXPECT_EQ(Stored(5).mode, 4);
    EXPECT_EQ(Stored(5).step, 0);
}

} // namespace
