// SPDX-License-Identifier: GPL-3.0-or-later
// The top of each receive range of a memory channel: the upper bound of a
// band is not a frequency of that band (one hertz below it is), except for
// the 30 to 60 MHz range, which takes 60.000 MHz itself. A refused channel
// is answered "?" and stays empty.
#include "wire.h"

#include <qxsim.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

using qxsim_test::Wire;

namespace {

// Memory fields after the frequency (mode, lock-out, tone type and number,
// CTCSS, DCS, reverse, shift, offset, step), then the group and a name.
const std::string kFields = "4" "0" "0" "08" "00" "000" "0" "0" "000000000" "00" "0" "EDGE";

std::string Write(int channel, long long hz)
{
    char head[48];
    std::snprintf(head, sizeof head, "MW00%02d%011lld", channel, hz);
    return head + kFields + ";";
}

struct Edge {
    long long hz;
    bool taken;
};

void CheckEdges(const char* type, std::initializer_list<Edge> edges)
{
    SCOPED_TRACE(std::string("type ") + type);
    qxsim::Options o;
    o.typeCode = type;
    qxsim::Radio radio(o);
    ASSERT_TRUE(radio.start()) << radio.lastError();
    Wire wire(radio.devicePath());
    int channel = 10;
    for (const Edge& e : edges) {
        SCOPED_TRACE(std::to_string(e.hz) + " Hz");
        char read[24];
        std::snprintf(read, sizeof read, "MR00%02d;", channel);
        char stored[48];
        std::snprintf(stored, sizeof stored, "MR00%02d%011lld", channel, e.hz);
        if (e.taken) {
            // A set is not answered; the channel read back holds it.
            wire.send(Write(channel, e.hz));
            const std::string reply = wire.ask(read);
            EXPECT_EQ(reply.substr(0, 17), stored) << reply;
            EXPECT_EQ(radio.state().memory[static_cast<std::size_t>(channel)].half[0].frequency, e.hz);
        } else {
            EXPECT_EQ(wire.ask(Write(channel, e.hz)), "?;");
            EXPECT_EQ(radio.state().memory[static_cast<std::size_t>(channel)].half[0].frequency, 0)
                << "a refused channel was stored";
        }
        ++channel;
    }
}

TEST(BandEdges, TheUpperBoundOfEachNarrowBandIsRefusedOneHertzBelowIsTaken)
{
    // Version 6: 30 kHz..60 MHz (60 included), 144..146, 430..440, 1240..1300 MHz.
    CheckEdges("210", {{60'000'000, true},
                       {60'000'001, false},
                       {145'999'999, true},
                       {146'000'000, false},
                       {439'999'999, true},
                       {440'000'000, false},
                       {1'299'999'999, true},
                       {1'300'000'000, false}});
}

TEST(BandEdges, TheWideBandsAndTheSubReceiverRangesEndBelowTheirUpperBound)
{
    // Versions 1 to 4: the main ranges and the sub receiver's 118..174 and
    // 220..512 MHz.
    CheckEdges("000", {{173'999'999, true},
                       {174'000'000, false},
                       {511'999'999, true},
                       {512'000'000, false}});
}

TEST(BandEdges, TheNarrowSeventyCentimetreBandOfVersionNineEndsAt438MHz)
{
    CheckEdges("290", {{437'999'999, true},
                       {438'000'000, false}});
}

}  // namespace
