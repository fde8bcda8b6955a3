// SPDX-License-Identifier: GPL-3.0-or-later
// The channel writer against the virtual transceiver: a write is made only
// over what the operator was shown, carries exactly the operator's change on
// top of a fresh read, leaves no old transmit half behind, and says Written
// only when the read-back holds it.
#include "memory_fixture.h"

#include <chrono>
#include <ostream>
#include <thread>

namespace memory_channels {
namespace {

using namespace std::chrono_literals;

Channel Simplex(int number, std::int64_t hz, int mode, const std::string& name) {
    Channel c;
    c.number = number;
    c.rxFrequency = hz;
    c.rxMode = mode;
    c.toneNumber = 1;
    c.ctcssNumber = 1;
    c.name = name;
    return Normalised(c);
}

// ---------------------------------------------------------------- without a radio

TEST(ChannelChange, OnlyTheFieldsTheOperatorChangedGoOnTopOfTheRadiosChannel) {
    const Channel shown = Simplex(7, 145'600'000, 4, "ABCDEFGH");
    Channel wanted = shown;
    wanted.lockout = 1;
    wanted.name = "MINE";
    Channel now = Simplex(7, 145'700'000, 4, "RADIO");
    now.group = 3;
    now.txFrequency = 146'300'000;
    const Channel result = ApplyChange(shown, wanted, now);
    EXPECT_EQ(result.rxFrequency, 145'700'000) << "not changed by the operator: the radio's";
    EXPECT_EQ(result.group, 3);
    EXPECT_EQ(result.txFrequency, 146'300'000);
    EXPECT_EQ(result.lockout, 1);
    EXPECT_EQ(result.name, "MINE");

    // Clearing, or filling an empty channel, is the whole channel.
    Channel cleared;
    cleared.number = 7;
    EXPECT_TRUE(ApplyChange(shown, cleared, now).empty());
    Channel empty;
    empty.number = 7;
    EXPECT_EQ(ApplyChange(empty, wanted, empty), wanted);
}

TEST(ChannelChange, WhatWasShownComparesTheHalvesTheOperatorSaw) {
    const Channel shown = Simplex(10, 145'000'000, 4, "SPLITCH");
    Channel now = shown;
    now.txFrequency = 145'600'000;
    EXPECT_FALSE(HoldsWhatWasShown(now, shown, Seen::WholeChannel));
    EXPECT_TRUE(HoldsWhatWasShown(now, shown, Seen::ReceiveHalf)) << "a recall below 290 shows no transmit half";
    // A transmit half that repeats the receive half is none.
    Channel repeated = shown;
    repeated.txFrequency = repeated.rxFrequency;
    EXPECT_TRUE(HoldsWhatWasShown(repeated, shown, Seen::WholeChannel));
    Channel renamed = now;
    renamed.name = "OTHER";
    EXPECT_FALSE(HoldsWhatWasShown(renamed, shown, Seen::ReceiveHalf));
}

// ---------------------------------------------------------------- on the radio

class WriterOnTheRadio : public memory_test::FamilyTest {
protected:
    // A channel stored from the radio's own panel (no report reaches the link).
    void Store(int number, std::int64_t rx, int mode, const std::string& name, std::int64_t tx = 0, int group = 0) {
        qxsim::MemoryChannel ch = memory_test::PanelChannel(Older(), rx, mode, name, group);
        if (tx != 0)
            memory_test::AddTransmitHalf(ch, tx);
        memory_test::Put(*radio, number, ch);
    }
    std::size_t Writes() const { return radio->countOf("MW"); }
};

// The radio stored another channel over the one shown: nothing is written,
// and the writer hands back what the radio holds now.
TEST_P(WriterOnTheRadio, AChannelChangedSinceItWasShownIsNotWritten) {
    Store(7, 145'600'000, 4, "ABCDEFGH");
    const Channel shown = Read(7);
    Store(7, 145'700'000, 4, "RADIO", 0, 3);
    Channel wanted = shown;
    wanted.lockout = 1;
    radio->clearReceived();
    const WriteResult result = WriteChange(link, shown, Seen::ReceiveHalf, wanted);
    EXPECT_EQ(result.status, WriteStatus::Changed);
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(result.before.rxFrequency, 145'700'000);
    EXPECT_EQ(radio->state().memory[7].half[0].frequency, 145'700'000);
    EXPECT_EQ(radio->state().memory[7].half[0].lockout, 0);
}

// A simplex channel written over one with a transmit half leaves none
// behind, below 290 and on a program-scan channel alike.
TEST_P(WriterOnTheRadio, ASimplexWriteLeavesNoTransmitHalf) {
    for (const int number : {10, Older() ? 95 : 295}) {
        Store(number, 145'000'000, 4, "SPLITCH", 145'600'000);
        const Channel shown = Read(number);
        ASSERT_EQ(shown.txFrequency, 145'600'000);
        const Channel wanted = Simplex(number, 14'195'000, 2, Older() ? "" : "DX");
        const WriteResult result = WriteChange(link, shown, Seen::WholeChannel, wanted);
        EXPECT_EQ(result.status, WriteStatus::Written) << number;
        const Channel back = Read(number);
        EXPECT_EQ(back.rxFrequency, 14'195'000) << number;
        EXPECT_EQ(back.txFrequency, 0) << number << ": the old transmit half stayed";
        // Once more: the radio keeps the transmit half the last write made
        // equal to the receive half; a new receive half must not leave it
        // behind as a transmit half of its own.
        const Channel again = Simplex(number, 7'050'000, 1, Older() ? "" : "SEVEN");
        EXPECT_EQ(WriteChange(link, back, Seen::WholeChannel, again).status, WriteStatus::Written) << number;
        EXPECT_EQ(Read(number).txFrequency, 0) << number << ": the former receive half came back as a transmit half";
    }
}

// Only the operator's change goes on top of the fresh read: a lock-out
// toggled on a channel whose transmit half was never shown keeps that half.
TEST_P(WriterOnTheRadio, AChangeOfTheReceiveHalfKeepsATransmitHalfNotShown) {
    Store(12, 145'000'000, 4, "KEEP", 145'600'000);
    Channel shown = Read(12);
    shown.txFrequency = 0; // a recall below 290 does not ask for it
    shown = Normalised(shown);
    Channel wanted = shown;
    wanted.lockout = 1;
    const WriteResult result = WriteChange(link, shown, Seen::ReceiveHalf, wanted);
    EXPECT_EQ(result.status, WriteStatus::Written);
    const Channel back = Read(12);
    EXPECT_EQ(back.lockout, 1);
    EXPECT_EQ(back.txFrequency, 145'600'000);
}

// What the read-back shows decides: a write the radio did not keep is not
// reported as written.
TEST_P(WriterOnTheRadio, AWriteTheRadioDidNotKeepIsNotConfirmed) {
    Store(20, 145'000'000, 4, "OLD", 145'600'000);
    const Channel shown = Read(20);
    Channel wanted = shown;
    wanted.rxFrequency = 145'500'000;
    // Between the two halves the radio's own panel puts the old receive
    // half back, once the MW of the new one has been taken.
    WriteOptions options;
    options.betweenHalves = [this] {
        ASSERT_TRUE(radio->waitFor("MW0", 2s));
        for (int i = 0; i < 400 && radio->state().memory[20].half[0].frequency != 145'500'000; ++i)
            std::this_thread::sleep_for(5ms);
        radio->modify([](qxsim::State& s) { s.memory[20].half[0].frequency = 145'000'000; });
    };
    radio->clearReceived();
    const WriteResult result = WriteChange(link, shown, Seen::WholeChannel, wanted, options);
    EXPECT_EQ(result.status, WriteStatus::NotConfirmed);
    EXPECT_TRUE(result.readBack);
    EXPECT_EQ(result.after.rxFrequency, 145'000'000);
}

INSTANTIATE_TEST_SUITE_P(Families, WriterOnTheRadio, ::testing::ValuesIn(memory_test::kFamilies),
                         memory_test::FamilyName);

} // namespace
} // namespace memory_channels
