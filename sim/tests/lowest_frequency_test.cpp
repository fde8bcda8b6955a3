// SPDX-License-Identifier: GPL-3.0-or-later
// The bottom of the radio's receive range: 30.000 kHz is the lowest
// frequency it takes, on every VFO set from the line, in a memory channel
// of every version, and where the dial stops; 29.999 kHz is refused and
// leaves everything as it was.
#include "wire.h"

#include <qxsim.h>

#include <gtest/gtest.h>

#include <string>

using qxsim_test::Started;

namespace {

// Memory fields after the frequency (mode, lock-out, tone type and number,
// CTCSS, DCS, reverse, shift, offset, step), then the group and a name.
const std::string kFields = "2" "0" "0" "08" "00" "000" "0" "0" "000000000" "00" "0" "LOW";

TEST(LowestFrequency, EachVfoTakesThirtyKilohertzAndRefusesOneHertzLess)
{
    for (const int identity : {19, 18, 15}) {
        SCOPED_TRACE("identity " + std::to_string(identity));
        qxsim::Options o;
        o.identity = identity;
        Started l(o);
        ASSERT_TRUE(l.ok) << l.radio.lastError();
        for (const char* vfo : {"FA", "FB"}) {
            SCOPED_TRACE(vfo);
            const std::string code = vfo;
            const std::string before = l.wire->ask(code + ";");
            // A set is not answered; the refusal is, and the value stays.
            EXPECT_EQ(l.wire->ask(code + "00000029999;" + code + ";"), "?;");
            EXPECT_EQ(l.wire->read(1), before);
            EXPECT_EQ(l.wire->ask(code + "00000030000;" + code + ";"), code + "00000030000;");
            EXPECT_EQ(l.wire->ask(code + "00000029999;" + code + ";"), "?;");
            EXPECT_EQ(l.wire->read(1), code + "00000030000;");
        }
        const qxsim::State s = l.radio.state();
        EXPECT_EQ(s.vfoA, 30'000);
        EXPECT_EQ(s.vfoB, 30'000);
    }
}

// The memory of every version group receives from 30 kHz up.
TEST(LowestFrequency, AMemoryChannelTakesThirtyKilohertzOnEveryVersion)
{
    for (const char* type : {"000", "210", "220", "240", "260", "290", "2A0", "201", "202"}) {
        SCOPED_TRACE(std::string("type ") + type);
        qxsim::Options o;
        o.typeCode = type;
        Started l(o);
        ASSERT_TRUE(l.ok) << l.radio.lastError();
        // Refused: no answer but "?", and channel 005 stays empty.
        EXPECT_EQ(l.wire->ask("MW0005" "00000029999" + kFields + ";"), "?;");
        EXPECT_EQ(l.radio.state().memory[5].half[0].frequency, 0);
        l.wire->send("MW0005" "00000030000" + kFields + ";");
        const std::string channel = l.wire->ask("MR0005;");
        EXPECT_EQ(channel.substr(0, 17), "MR0005" "00000030000") << channel;
        EXPECT_EQ(l.radio.state().memory[5].half[0].frequency, 30'000);
    }
}

// Turned down from the bottom, the dial stays on 30.000 kHz; up, it moves.
TEST(LowestFrequency, TheDialStopsAtThirtyKilohertz)
{
    Started l;
    ASSERT_TRUE(l.ok) << l.radio.lastError();
    EXPECT_EQ(l.wire->ask("FA00000030000;DN;FA;"), "FA00000030000;");
    l.radio.turnDial(-3);
    EXPECT_EQ(l.wire->ask("FA;"), "FA00000030000;");
    EXPECT_EQ(l.radio.state().vfoA, 30'000);
    l.radio.turnDial(1);
    EXPECT_GT(l.radio.state().vfoA, 30'000);
}

} // namespace
