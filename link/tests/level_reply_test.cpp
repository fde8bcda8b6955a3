// SPDX-License-Identifier: GPL-3.0-or-later
// Level replies on a noisy line: a gain, a setting with a number or a meter
// reading is taken only at the width the radio writes it. One digit missing
// or one too many must neither store a level nor overwrite the one held.
#include "block.h"
#include "decode_piece.h"

#include <gtest/gtest.h>

#include <string>

using corvan::detail::Block;
using corvan::detail::Rec;

namespace {

struct Level {
    const char* name;
    std::uint32_t model;
    std::string good;   // as the radio writes it, without ";"
    Rec rec;
    std::uint32_t slot; // the numeric field that carries the level
    std::uint32_t value;
};

// clang-format off
const Level kLevels[] = {
    {"AF gain, model 1", 1, "AG123", Rec::AG0, 0, 123},
    {"AF gain, main", 3, "AG0100", Rec::AG0, 0, 100},
    {"AF gain, sub", 3, "AG1045", Rec::AG1, 0, 45},
    {"squelch, model 1", 1, "SQ050", Rec::SQ0, 0, 50},
    {"squelch, main", 3, "SQ0050", Rec::SQ0, 0, 50},
    {"squelch, sub", 3, "SQ1120", Rec::SQ1, 0, 120},
    {"S meter, model 1", 1, "SM0015", Rec::SM0, 0, 15},
    {"S meter, main", 3, "SM00015", Rec::SM0, 0, 15},
    {"S meter, sub", 3, "SM10021", Rec::SM1, 0, 21},
    {"meter, main, transmit side", 3, "SM20012", Rec::SM2, 0, 12},
    {"meter, sub, transmit side", 3, "SM30007", Rec::SM3, 0, 7},
    {"second meter", 3, "RM30015", Rec::RM, 1, 15},
    {"second meter, model 1", 1, "RM10004", Rec::RM, 1, 4},
    {"RF gain", 3, "RG200", Rec::RG, 0, 200},
    {"RF gain, model 2", 2, "RG200", Rec::RG, 0, 200},
    {"power", 3, "PC050", Rec::PC, 0, 50},
    {"mic gain", 3, "MG050", Rec::MG, 0, 50},
    {"compression", 3, "CG050", Rec::CG, 0, 50},
    {"compression, model 2", 2, "CG150", Rec::CG, 0, 150},
    {"monitor level", 3, "ML005", Rec::ML, 0, 5},
    {"VOX gain", 3, "VG005", Rec::VG, 0, 5},
    {"VOX gain, model 1", 1, "VG007", Rec::VG, 0, 7},
    {"VOX delay", 3, "VD1500", Rec::VD, 0, 1500},
    {"break-in delay", 3, "SD0500", Rec::SD, 0, 500},
    {"noise blanker level", 3, "NL100", Rec::NL, 0, 100},
    {"beat position", 3, "BP031", Rec::BP, 0, 31},
    {"AGC time", 3, "GT010", Rec::GT, 0, 10},
    {"keyer speed", 3, "KS030", Rec::KS, 0, 30},
    {"keyer speed, model 1", 1, "KS025", Rec::KS, 0, 25},
    {"auto notch level", 3, "AL003", Rec::AL, 0, 3},
    {"noise reduction level", 3, "RL05", Rec::RL, 0, 5},
};
// clang-format on

// The reply with its last digit dropped, and with one digit more.
std::string Short(const std::string& s) { return s.substr(0, s.size() - 1); }
std::string Long(const std::string& s) { return s + "7"; }

TEST(LevelReplies, TakenAtTheirWidthOnly)
{
    for (const Level& l : kLevels) {
        SCOPED_TRACE(l.name);
        for (const std::string& bad : {Short(l.good), Long(l.good)}) {
            SCOPED_TRACE(bad);
            Block b;
            b.modelType = l.model;
            Decode(b, bad);
            EXPECT_EQ(b.Get(l.rec).valid, 0u) << "a malformed level was stored";
        }
        Block b;
        b.modelType = l.model;
        Decode(b, l.good);
        ASSERT_EQ(b.Get(l.rec).valid, 1u);
        EXPECT_EQ(b.Get(l.rec).num[l.slot], l.value);
    }
}

TEST(LevelReplies, AMalformedReplyLeavesTheLevelHeld)
{
    for (const Level& l : kLevels) {
        SCOPED_TRACE(l.name);
        Block b;
        b.modelType = l.model;
        Decode(b, l.good);
        Decode(b, Short(l.good));
        Decode(b, Long(l.good));
        EXPECT_EQ(b.Get(l.rec).num[l.slot], l.value);
    }
}

TEST(LevelReplies, TheNoisyReplyThatWasOnceTakenForThirteen)
{
    Block b;
    b.modelType = 3;
    Decode(b, "AG0100");
    Decode(b, "AG013");
    EXPECT_EQ(b.Get(Rec::AG0).num[0], 100u);
    Decode(b, "AG013;SQ0;RG2000");
    EXPECT_EQ(b.Get(Rec::SQ0).valid, 0u);
    EXPECT_EQ(b.Get(Rec::RG).valid, 0u);
    Decode(b, "AG0013");
    EXPECT_EQ(b.Get(Rec::AG0).num[0], 13u);
}

} // namespace
