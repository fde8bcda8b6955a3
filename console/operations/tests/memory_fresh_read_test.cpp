// SPDX-License-Identifier: GPL-3.0-or-later
// memory_fresh_read_test.cpp - the front panel's memory writes over a radio
// whose channel changed from its own side between the console's read and the
// operator's key: CLR's lock-out, "M. IN" and Clear Memory each read the
// channel afresh, write nothing over a channel the operator was not shown,
// and leave no old transmit half behind. Real clicks on a console connected
// to the simulator, on both identities; the radio's memory is checked after.
#include "../../memory_table/tests/memory_console_fixture.h"

#include "console_menu.h"

#include <platform.h>

#include <ostream>

namespace {

using namespace operations_test;

class FreshRead : public memory_test::MemoryConsoleTest, public ::testing::WithParamInterface<memory_test::Family> {
protected:
    void SetUp() override {
        MemoryConsoleTest::SetUp();
        Identity(GetParam().identity);
    }
    bool Older() const { return GetParam().identity == 18; }
    // A channel as the radio's own panel stores it (the older radio keeps
    // no name or group).
    void Store(int number, std::int64_t rx, int mode, const std::string& name, int group = 0, std::int64_t tx = 0) {
        qxsim::MemoryChannel ch = memory_test::PanelChannel(Older(), rx, mode, name, group);
        if (!Older()) {
            ch.half[0].toneType = 2;
            ch.half[0].ctcss = 8;
        }
        if (tx != 0)
            memory_test::AddTransmitHalf(ch, tx);
        memory_test::Put(radio(), number, ch);
    }
    qxsim::MemoryChannel Held(int number) { return memory_test::Held(radio(), number); }
    // The channel has a transmit half of its own (MR 1 answers another frequency or mode).
    bool TransmitHalf(int number) {
        const qxsim::MemoryChannel ch = Held(number);
        return ch.hasTransmitHalf &&
               (ch.half[1].frequency != ch.half[0].frequency || ch.half[1].mode != ch.half[0].mode);
    }
    // "M. IN", the channel typed, until both its halves are on the display.
    void Browse(int number) {
        Click(idc::MemoryIn);
        ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
        PumpFor(std::chrono::milliseconds(200));
        Type(Older() ? QString::asprintf("%02d", number).toStdString()
                     : QString::asprintf("%03d", number).toStdString());
        ASSERT_TRUE(PumpUntil([&] {
            return state().scrollShown.bank * 100 + state().scrollShown.channel == number &&
                   state().scrollTransmitShown == 1;
        }));
    }
    // The band recalls the channel: VFO / M with the radio's channel there.
    void Recall(int number) {
        radio().modify([=](qxsim::State& s) {
            s.bank = number / 100;
            s.channel = number % 100;
        });
        Ready();
        Click(idc::VfoMemory);
        ASSERT_TRUE(PumpUntil([&] {
            return state().mainVfo == 2 && !state().record[0].rxFrequency.empty() &&
                   state().memory[0].bank * 100 + state().memory[0].channel == number;
        }));
        PumpFor(std::chrono::milliseconds(300));
    }
    QString LastSaid() { return dialogs->messages.empty() ? QString() : dialogs->messages.back().text; }
};

// Fault 1: CLR's lock-out over a channel the radio stored anew from its own
// panel writes nothing and says so; the display takes the radio's channel,
// and CLR then toggles the lock-out of that, and only the lock-out.
TEST_P(FreshRead, LockOutOverAChannelChangedFromTheRadioWritesNothing) {
    Store(7, 145'600'000, 4, "ABCDEFGH");
    Recall(7);
    Store(7, 145'700'000, 4, "RADIO", 3);
    Settle();
    Click(idc::Clear);
    PumpFor(std::chrono::milliseconds(500));
    EXPECT_EQ(Writes(), 0u) << "the channel was rewritten from the console's old copy";
    EXPECT_TRUE(LastSaid().contains(QStringLiteral("changed in the radio"))) << LastSaid().toStdString();
    EXPECT_EQ(Held(7).half[0].frequency, 145'700'000);
    EXPECT_EQ(Held(7).half[0].lockout, 0);
    ASSERT_TRUE(PumpUntil([&] { return state().record[0].rxFrequency == "00145700000"; }));

    Click(idc::Clear);
    ASSERT_TRUE(PumpUntil([&] { return Held(7).half[0].lockout == 1; }, std::chrono::seconds(4)));
    const qxsim::MemoryHalf held = Held(7).half[0];
    EXPECT_EQ(held.frequency, 145'700'000);
    EXPECT_EQ(held.name, Older() ? "" : "RADIO");
    EXPECT_EQ(held.group, Older() ? 0 : 3);
    EXPECT_EQ(held.toneType, Older() ? 0 : 2);
    EXPECT_EQ(held.ctcss, Older() ? 0 : 8);
}

// Fault 2: "M. IN" of a simplex VFO over a channel with a transmit half of
// its own leaves none behind, below 290 and on a program-scan channel.
TEST_P(FreshRead, MemoryInOfASimplexVfoLeavesNoOldTransmitHalf) {
    const int scan = Older() ? 95 : 295;
    for (const int number : {10, scan})
        Store(number, 145'000'000, 4, "SPLITCH", 0, 145'600'000);
    Ready();
    for (const int number : {10, scan}) {
        Browse(number);
        Settle();
        Click(idc::MemoryIn);
        ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 0; }, std::chrono::seconds(6)))
            << LastSaid().toStdString();
        const qxsim::MemoryChannel held = Held(number);
        EXPECT_EQ(held.half[0].frequency, 14'195'000) << number;
        EXPECT_EQ(held.half[0].mode, 2) << number;
        EXPECT_FALSE(TransmitHalf(number)) << number << ": transmits on " << held.half[1].frequency;
        PumpFor(std::chrono::milliseconds(300));
    }
}

// "M. IN" over a channel that the radio changed after the console showed
// it: nothing is written, it is said, and the display shows the radio's
// channel; "M. IN" again writes over what is shown now.
TEST_P(FreshRead, MemoryInOverAChannelChangedSinceShownWritesNothing) {
    Store(20, 145'600'000, 4, "SHOWN");
    Ready();
    Browse(20);
    Store(20, 433'500'000, 4, "RADIO", 2);
    Settle();
    Click(idc::MemoryIn);
    PumpFor(std::chrono::milliseconds(800));
    EXPECT_EQ(Writes(), 0u);
    EXPECT_TRUE(LastSaid().contains(QStringLiteral("changed in the radio"))) << LastSaid().toStdString();
    EXPECT_EQ(Held(20).half[0].frequency, 433'500'000);
    EXPECT_EQ(state().memoryScroll, 1) << "still browsing the channel";
    ASSERT_TRUE(PumpUntil([&] { return Shown(false).find("433.500") != std::string::npos; })) << Shown(false);

    Click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 0; }, std::chrono::seconds(6)));
    EXPECT_EQ(Held(20).half[0].frequency, 14'195'000);
}

// Clear Memory on a channel the radio stored anew after it was shown:
// nothing is cleared, and it is said.
TEST_P(FreshRead, ClearMemoryOverAChannelChangedSinceShownClearsNothing) {
    Store(5, 145'600'000, 4, "FIVE");
    Recall(5);
    Store(5, 145'625'000, 4, "RADIO");
    Settle();
    console->OnCommand(cmd::ClearMemory);
    PumpFor(std::chrono::milliseconds(800));
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(Held(5).half[0].frequency, 145'625'000);
    EXPECT_TRUE(LastSaid().contains(QStringLiteral("was not cleared"))) << LastSaid().toStdString();
    EXPECT_EQ(state().erasedChannel, 0);
}

// The radio's channel changes while "Clear this Memory?" is open, and the
// display follows it before the clear: the operator answered for the channel
// the question showed, so nothing is cleared.
TEST_P(FreshRead, ClearMemoryClearsOnlyTheChannelTheQuestionShowed) {
    Store(5, 145'600'000, 4, "FIVE");
    Recall(5);
    Settle();
    auto changing = std::make_shared<memory_test::DialogsActingOnce>();
    changing->during = [this] {
        Store(5, 433'500'000, 4, "RADIO");
        // The console asks for the channel again: its answer arrives while
        // the clear waits, and the display shows the radio's new channel.
        console->link()->ConnMR(0, 0, 5);
    };
    platform::SetDialogProvider(changing);
    console->OnCommand(cmd::ClearMemory);
    PumpFor(std::chrono::milliseconds(500));
    platform::SetDialogProvider(dialogs);
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(Held(5).half[0].frequency, 433'500'000);
    ASSERT_EQ(changing->texts.size(), 2u);
    EXPECT_TRUE(changing->texts[1].contains(QStringLiteral("was not cleared"))) << changing->texts[1].toStdString();
}

// A record holding only the frequency an IF report gave (the channel's MR
// answer not in yet) is no channel the operator has seen: CLR and Clear
// Memory read it first and write nothing, never a record without a mode.
TEST_P(FreshRead, ARecordNotReadYetIsReadFirstNeverWritten) {
    Store(7, 145'600'000, 4, "SEVEN");
    Recall(7);
    const auto onlyTheIfFrequency = [this] {
        state().record[0] = zephyra::MemoryRecord{};
        state().record[0].rxFrequency = "00145600000";
    };
    onlyTheIfFrequency();
    Settle();
    Click(idc::Clear);
    EXPECT_EQ(Wire(1), (std::vector<std::string>{Older() ? "MR0 07" : "MR0007"}));
    Settle(); // its answer is in, and fills the record
    onlyTheIfFrequency();
    console->OnCommand(cmd::ClearMemory);
    PumpFor(std::chrono::milliseconds(500));
    EXPECT_EQ(Writes(), 0u);
    EXPECT_TRUE(LastSaid().contains(QStringLiteral("not been read"))) << LastSaid().toStdString();
    const qxsim::MemoryHalf held = Held(7).half[0];
    EXPECT_EQ(held.frequency, 145'600'000);
    EXPECT_EQ(held.mode, 4);
    EXPECT_EQ(held.lockout, 0);
}

INSTANTIATE_TEST_SUITE_P(Identities, FreshRead, ::testing::ValuesIn(memory_test::kFamilies), memory_test::FamilyName);

} // namespace
