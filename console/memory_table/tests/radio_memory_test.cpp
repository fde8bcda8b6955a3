// SPDX-License-Identifier: GPL-3.0-or-later
// Single channels through the link against the virtual transceiver: what MR
// reads into a channel and what MW leaves in the radio's memory.
#include "memory_fixture.h"

#include <chrono>
#include <thread>

namespace memory_channels {
namespace {

using namespace std::chrono_literals;

class ChannelsOnTheRadio : public memory_test::RadioTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(RadioTest::SetUp());
        ASSERT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
    }
    void Store(int index, const qxsim::MemoryChannel& channel) { memory_test::Put(radio, index, channel); }
    qxsim::MemoryChannel Stored(int index) const { return memory_test::Held(radio, index); }
    // Commands reach the radio in order: once it answered a later ID, every
    // MW before it has been taken.
    void Flush() {
        ASSERT_EQ(link.ConnID(), 1);
        std::uint32_t id = 0;
        for (int i = 0; i < 200 && link.RcvDataID(&id) == 0; ++i) {
            std::this_thread::sleep_for(5ms);
        }
    }

    // Through the writer, over what the radio holds now.
    WriteStatus Write(const Channel& wanted) {
        Channel now;
        if (ReadChannel(link, wanted.number, now) != LinkResult::Ok) {
            return WriteStatus::NotRead;
        }
        return WriteChange(link, now, Seen::WholeChannel, wanted).status;
    }
};

qxsim::MemoryHalf Half(std::int64_t hz, int mode, const std::string& name = "") {
    return {.frequency = hz, .mode = mode, .lockout = 1, .toneType = 2, .toneNumber = 12, .ctcss = 13, .dcs = 14,
            .shift = 2, .offset = 600'000, .step = 3, .group = 4, .name = name};
}

TEST_F(ChannelsOnTheRadio, ReceiveOnlyChannelReadsAllItsFields) {
    qxsim::MemoryChannel stored;
    stored.half[0] = Half(145'500'000, 4, "RPT");
    Store(123, stored);
    Channel c;
    ASSERT_EQ(ReadChannel(link, 123, c), LinkResult::Ok);
    EXPECT_EQ(c.number, 123);
    EXPECT_EQ(c.rxFrequency, 145'500'000);
    EXPECT_EQ(c.txFrequency, 0) << "a transmit half equal to the receive half is none";
    EXPECT_EQ(c.rxMode, 4);
    EXPECT_EQ(c.toneType, 2);
    EXPECT_EQ(c.toneNumber, 12);
    EXPECT_EQ(c.ctcssNumber, 13);
    EXPECT_EQ(c.dcsCode, 14);
    EXPECT_EQ(c.shift, 2);
    EXPECT_EQ(c.offset, 600'000);
    EXPECT_EQ(c.rxStep, 3);
    EXPECT_EQ(c.group, 4);
    EXPECT_EQ(c.lockout, 1);
    EXPECT_EQ(c.name, "RPT");
}

TEST_F(ChannelsOnTheRadio, ProgramScanChannelReadsBothHalvesAndEmptyOneNeedsOneQuery) {
    qxsim::MemoryChannel stored;
    stored.half[0] = Half(144'000'000, 4);
    stored.half[1] = Half(146'000'000, 5);
    stored.half[1].step = 7;
    stored.hasTransmitHalf = true;
    Store(295, stored);
    Channel c;
    ASSERT_EQ(ReadChannel(link, 295, c), LinkResult::Ok);
    EXPECT_EQ(c.rxFrequency, 144'000'000);
    EXPECT_EQ(c.txFrequency, 146'000'000);
    EXPECT_EQ(c.txMode, 5);
    EXPECT_EQ(c.txStep, 7);

    radio.clearReceived();
    ASSERT_EQ(ReadChannel(link, 17, c), LinkResult::Ok);
    EXPECT_TRUE(c.empty());
    EXPECT_EQ(c.number, 17);
    EXPECT_EQ(radio.countOf("MR"), 1u) << "no transmit half is asked for an empty channel";
}

TEST_F(ChannelsOnTheRadio, CallChannelIsBankThree) {
    qxsim::MemoryChannel stored;
    stored.half[0] = Half(433'000'000, 4, "CALL");
    Store(qxsim::kCallChannel, stored);
    Channel c;
    ASSERT_EQ(ReadChannel(link, kCallChannel, c), LinkResult::Ok);
    EXPECT_EQ(c.rxFrequency, 433'000'000);
    EXPECT_EQ(radio.countOf("MR0300"), 1u);
    c.name = "HOME";
    ASSERT_EQ(Write(c), WriteStatus::Written);
    Flush();
    EXPECT_EQ(Stored(qxsim::kCallChannel).half[0].name, "HOME");
}

TEST_F(ChannelsOnTheRadio, WriteLeavesEveryFieldInTheRadio) {
    const Channel c{.number = 201, .rxFrequency = 50'125'000, .rxMode = 2, .rxStep = 1, .txFrequency = 50'225'000,
                    .txMode = 3, .txStep = 2, .toneType = 3, .toneNumber = 39, .ctcssNumber = 38, .dcsCode = 103,
                    .reverse = 1, .shift = 1, .offset = 59'950'000, .group = 9, .name = "SIX M"};
    ASSERT_EQ(Write(c), WriteStatus::Written);
    Channel back;
    ASSERT_EQ(ReadChannel(link, 201, back), LinkResult::Ok);
    EXPECT_EQ(back, c);
    const qxsim::MemoryChannel stored = Stored(201);
    EXPECT_TRUE(stored.hasTransmitHalf);
    EXPECT_EQ(stored.half[1].frequency, 50'225'000);
    EXPECT_EQ(stored.half[1].offset, 59'950'000);
}

TEST_F(ChannelsOnTheRadio, TransmitHalfRemovedAndChannelClearedStayThatWay) {
    qxsim::MemoryChannel stored;
    stored.half[0] = Half(144'000'000, 4, "OLD");
    stored.half[1] = Half(146'000'000, 4);
    stored.hasTransmitHalf = true;
    Store(50, stored);
    Channel c;
    ASSERT_EQ(ReadChannel(link, 50, c), LinkResult::Ok);
    c.txFrequency = 0;
    ASSERT_EQ(Write(Normalised(c)), WriteStatus::Written);
    Channel back;
    ASSERT_EQ(ReadChannel(link, 50, back), LinkResult::Ok);
    EXPECT_EQ(back.txFrequency, 0);
    EXPECT_EQ(back.name, "OLD");

    Channel cleared;
    cleared.number = 50;
    radio.clearReceived();
    ASSERT_EQ(Write(cleared), WriteStatus::Written);
    ASSERT_EQ(ReadChannel(link, 50, back), LinkResult::Ok);
    EXPECT_TRUE(back.empty());
    EXPECT_EQ(radio.countOf("MW1"), 0u) << "a cleared channel is one MW";
}

TEST_F(ChannelsOnTheRadio, ValuesOutsideMwRangesAreRefusedWithoutAWrite) {
    Channel c;
    c.number = 5;
    c.rxFrequency = 145'000'000;
    c.name = "NINECHARS";
    radio.clearReceived();
    EXPECT_EQ(Write(c), WriteStatus::Refused);
    Flush();
    EXPECT_EQ(radio.countOf("MW"), 0u);
}

TEST_F(ChannelsOnTheRadio, SilentRadioEndsTheReadAndAClosedLinkSaysSo) {
    qxsim::Faults silent;
    silent.silent = true;
    radio.setFaults(silent);
    Channel c;
    EXPECT_EQ(ReadChannel(link, 3, c, LinkTimes{.reply = 100ms, .closedForGoneDevice = {}}), LinkResult::NoReply);
    link.Close();
    EXPECT_EQ(ReadChannel(link, 3, c, LinkTimes{.reply = 100ms, .closedForGoneDevice = {}}), LinkResult::LinkClosed);
    EXPECT_EQ(WriteChange(link, c, Seen::WholeChannel, c).status, WriteStatus::LinkClosed);
}

TEST_F(ChannelsOnTheRadio, AnotherChannelsAnswerIsNotTakenForTheOneAskedFor) {
    qxsim::MemoryChannel first;
    first.half[0] = Half(145'100'000, 4, "FIRST");
    Store(1, first);
    qxsim::MemoryChannel second;
    second.half[0] = Half(145'200'000, 4, "SECOND");
    Store(2, second);
    // Someone else's MR for channel 1 is still on its way when channel 2 is read.
    AnswerLate(30ms);
    ASSERT_EQ(link.ConnMR(0, 0, 1), 1);
    std::this_thread::sleep_for(15ms); // its answer comes 15 ms before the one asked for
    Channel c;
    ASSERT_EQ(ReadChannel(link, 2, c), LinkResult::Ok);
    EXPECT_EQ(c.name, "SECOND");
    EXPECT_EQ(c.rxFrequency, 145'200'000);
}

// The smaller family's MW takes no tone number 0: a channel cleared on it
// is cleared all the same.
TEST(ChannelsOnTheSmallerFamily, ClearedChannelIsCleared) {
    qxsim::Options options;
    options.identity = 18;
    qxsim::Radio radio(options);
    ASSERT_TRUE(radio.start()) << radio.lastError();
    radio.modify([](qxsim::State& s) {
        s.memory[42].half[0].frequency = 14'074'000;
        s.memory[42].half[0].mode = 2;
        s.memory[42].half[0].toneNumber = 1;
    });
    CCorvan link;
    ASSERT_EQ(link.Conn("QR-7730", radio.devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
    ASSERT_EQ(CCorvan::GetModelType(), corvan::kModelQX410);
    Channel cleared;
    cleared.number = 42;
    Channel held;
    ASSERT_EQ(ReadChannel(link, 42, held), LinkResult::Ok);
    EXPECT_EQ(WriteChange(link, held, Seen::WholeChannel, cleared).status, WriteStatus::Written);
    Channel back;
    ASSERT_EQ(ReadChannel(link, 42, back), LinkResult::Ok);
    EXPECT_TRUE(back.empty());
    EXPECT_EQ(radio.state().memory[42].half[0].frequency, 0);
    link.Close();
}

} // namespace
} // namespace memory_channels
