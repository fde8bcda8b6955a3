// SPDX-License-Identifier: GPL-3.0-or-later
// Reading memory channels over a line with a long round trip: every channel
// read is that channel, in one query per half, as on a direct line.
#include <memory_channels.h>

#include <corvan.h>
#include <delay_pty.h>
#include <qxsim.h>

#include <gtest/gtest.h>

#include <chrono>

namespace memory_channels {
namespace {

using namespace std::chrono_literals;

void ReadThrough(std::chrono::milliseconds roundTrip) {
    qxsim::Radio radio;
    ASSERT_TRUE(radio.start()) << radio.lastError();
    constexpr int kChannels = 8;
    radio.modify([](qxsim::State& s) {
        for (int i = 0; i < kChannels; ++i) {
            auto& half = s.memory[static_cast<std::size_t>(i)].half[0];
            half.frequency = 145'000'000 + 25'000LL * i;
            half.mode = 4;
        }
    });
    testsupport::DelayPty relay(radio.devicePath(), roundTrip);
    ASSERT_TRUE(relay.Start()) << relay.Error();
    CCorvan link;
    ASSERT_EQ(link.Conn("QR-7730", relay.Path().c_str(), 9600, "n", 8, 1, 1), 1);
    radio.clearReceived();
    const auto began = std::chrono::steady_clock::now();
    for (int i = 0; i < kChannels; ++i) {
        Channel c;
        ASSERT_EQ(ReadChannel(link, i, c), LinkResult::Ok) << "channel " << i;
        EXPECT_EQ(c.number, i);
        EXPECT_EQ(c.rxFrequency, 145'000'000 + 25'000LL * i) << "channel " << i;
    }
    const auto took = std::chrono::steady_clock::now() - began;
    link.Close();
    // No query asked twice: the wait for each answer outlasts the round trip.
    EXPECT_EQ(radio.countOf("MR0"), static_cast<std::size_t>(kChannels));
    // And no more than the round trips it needs, with room for a loaded machine.
    EXPECT_LT(took, kChannels * 2 * (roundTrip + 150ms));
}

TEST(MemorySlowLine, ChannelsReadAsOnADirectLineAt150And400Ms) {
    ReadThrough(150ms);
    ReadThrough(400ms);
}

} // namespace
} // namespace memory_channels
