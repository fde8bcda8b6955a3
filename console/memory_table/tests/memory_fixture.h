// SPDX-License-Identifier: GPL-3.0-or-later
// memory_fixture.h - the memory tests' virtual transceiver: a link connected
// to it, channels stored into its memory as its own panel stores them, what
// it holds, and the two radio families the memory tests run on. No Qt here:
// the window's tests add memory_table_fixture.h on top.
#pragma once

#include <memory_channels.h>

#include <corvan.h>
#include <qxsim.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

namespace memory_test {

// The radio families whose memories differ: identity 19 (300 channels and
// the call channel, names and groups) and the older identity 18 (100).
struct Family {
    const char* name;
    int identity;
};
inline std::ostream& operator<<(std::ostream& out, const Family& f) { return out << f.name; }
inline constexpr Family kFamilies[] = {{"Identity19", 19}, {"Identity18", 18}};
// The family's name as the test's name.
inline std::string FamilyName(const ::testing::TestParamInfo<Family>& info) { return info.param.name; }

// Starts the radio and opens the link on its device.
inline void StartAndConnect(qxsim::Radio& radio, CCorvan& link) {
    ASSERT_TRUE(radio.start()) << radio.lastError();
    ASSERT_EQ(link.Conn("QR-7730", radio.devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
}

// Gives a channel a transmit half: its receive half at `hz`.
inline void AddTransmitHalf(qxsim::MemoryChannel& ch, std::int64_t hz) {
    ch.half[1] = ch.half[0];
    ch.half[1].frequency = hz;
    ch.hasTransmitHalf = true;
}

// A channel with a receive half only and every other field as the radio
// reports it before anything was chosen (tone numbers 0).
inline qxsim::MemoryChannel Recorded(std::int64_t hz, int mode, const std::string& name = "") {
    qxsim::MemoryChannel ch;
    ch.half[0].frequency = hz;
    ch.half[0].mode = mode;
    ch.half[0].name = name;
    return ch;
}

// A channel as the radio's own panel stores it: the receive half with the
// first tone number, and the name and group where the radio keeps them
// (the older family keeps neither).
inline qxsim::MemoryChannel PanelChannel(bool older, std::int64_t hz, int mode, const std::string& name = "",
                                         int group = 0) {
    qxsim::MemoryChannel ch;
    ch.half[0].frequency = hz;
    ch.half[0].mode = mode;
    ch.half[0].toneNumber = 1;
    if (!older) {
        ch.half[0].name = name;
        ch.half[0].group = group;
    }
    return ch;
}

// Stores a channel into the radio's memory from its own side (no report
// reaches the link), and what the radio holds in one.
inline void Put(qxsim::Radio& radio, int number, const qxsim::MemoryChannel& ch) {
    radio.modify([&](qxsim::State& s) { s.memory[static_cast<std::size_t>(number)] = ch; });
}
// Stores a receive half into a channel from the radio's side; its transmit
// half stays.
inline void PutReceiveHalf(qxsim::Radio& radio, int number, const qxsim::MemoryHalf& half) {
    radio.modify([&](qxsim::State& s) { s.memory[static_cast<std::size_t>(number)].half[0] = half; });
}
inline qxsim::MemoryChannel Held(const qxsim::Radio& radio, int number) {
    return radio.state().memory[static_cast<std::size_t>(number)];
}

// The virtual transceiver of identity 19 with a link connected to it.
class RadioTest : public ::testing::Test {
protected:
    void SetUp() override { StartAndConnect(radio, link); }
    void TearDown() override {
        link.Close();
        radio.stop();
    }
    // The radio answers every command `delay` late.
    void AnswerLate(std::chrono::milliseconds delay) {
        qxsim::Faults slow;
        slow.delay = delay;
        radio.setFaults(slow);
    }

    qxsim::Radio radio;
    CCorvan link;
};

// The virtual transceiver of each family in turn with a link connected to it.
class FamilyTest : public ::testing::TestWithParam<Family> {
protected:
    void SetUp() override {
        qxsim::Options options;
        options.identity = GetParam().identity;
        radio = std::make_unique<qxsim::Radio>(options);
        StartAndConnect(*radio, link);
    }
    void TearDown() override {
        link.Close();
        radio->stop();
    }
    bool Older() const { return GetParam().identity == 18; }
    // The channel as a read through the link shows it.
    memory_channels::Channel Read(int number) {
        memory_channels::Channel c;
        EXPECT_EQ(memory_channels::ReadChannel(link, number, c), memory_channels::LinkResult::Ok);
        return memory_channels::Normalised(c);
    }

    std::unique_ptr<qxsim::Radio> radio;
    CCorvan link;
};

} // namespace memory_test
