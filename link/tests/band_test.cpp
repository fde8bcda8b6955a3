// SPDX-License-Identifier: GPL-3.0-or-later
// Version type and band lookup at the edges of every table.
#include "block.h"
#include "row_groups.h"
#include "testing.h"

#include <corvan.h>
#include <gtest/gtest.h>

#include <string>

namespace {

struct BandRow {
    const char* ty; // TY reply (without ";"), or "" for none received
    std::uint32_t selector;
    std::int64_t hz;
    std::uint32_t band;
};

// TY bytes: bit 5 (0x20) set plus low four bits choosing the version type:
// 2x with x=0 -> 1, 8 -> 2, 4 -> 3, C -> 4, 2 -> 5, 1 -> 6, A -> 7, 6 -> 8, 9 -> 9;
// the final digit 1 gives 10 and 2 gives 11.
// clang-format off
const BandRow kRows[] = {
    // No TY reply: tables A and V.
    {"", 0, 29999, 0}, {"", 0, 30000, 1}, {"", 0, 14200000, 1}, {"", 0, 29999999, 1},
    {"", 0, 30000000, 11}, {"", 0, 50000000, 11}, {"", 0, 60000000, 11}, {"", 0, 60000001, 0},
    {"", 0, 141999999, 0}, {"", 0, 142000000, 12}, {"", 1, 145000000, 12}, {"", 1, 151000000, 12},
    {"", 1, 152000000, 0}, {"", 0, 420000000, 13}, {"", 0, 449999999, 13}, {"", 0, 450000000, 0},
    {"", 0, 1240000000, 14}, {"", 0, 1299999999, 14}, {"", 0, 1300000000, 0},
    {"", 0, -5, 0}, {"", 3, 14200000, 0},
    {"", 2, 117999999, 0}, {"", 2, 118000000, 15}, {"", 2, 150000000, 15}, {"", 2, 173999999, 15},
    {"", 2, 174000000, 0}, {"", 2, 220000000, 15}, {"", 2, 299999999, 15}, {"", 2, 300000000, 16},
    {"", 2, 435000000, 16}, {"", 2, 511999999, 16}, {"", 2, 512000000, 0}, {"", 2, 14200000, 0},
    // Bit 5 clear with a TY reply: still A and V.
    {"0A0", 0, 1900000, 1}, {"0A0", 2, 150000000, 15},
    // Version type 1..4 with bit 5: A and V.
    {"200", 0, 142000000, 12}, {"2C0", 2, 300000000, 16},
    // Version types 5, 6, 8: table B and W.
    {"220", 0, 143999999, 0}, {"220", 0, 144000000, 12}, {"210", 1, 145999999, 12}, {"260", 0, 146000000, 0},
    {"220", 0, 430000000, 13}, {"220", 0, 439999999, 13}, {"220", 0, 440000000, 0}, {"220", 0, 1240000000, 14},
    {"220", 2, 144000000, 15}, {"220", 2, 150000000, 0}, {"260", 2, 430000000, 16}, {"210", 2, 440000000, 0},
    // Version type 7: band 2 below 2 MHz on selector 0 only; selector 2 uses table B.
    {"2A0", 0, 1900000, 2}, {"2A0", 1, 1900000, 1}, {"2A0", 0, 1999999, 2}, {"2A0", 0, 2000000, 1},
    {"2A0", 0, -1, 2}, {"2A0", 0, 145000000, 12}, {"2A0", 2, 145000000, 12}, {"2A0", 2, 435000000, 13},
    // Version type 9: B9 and W9.
    {"290", 0, 435000000, 13}, {"290", 0, 431999999, 0}, {"290", 0, 432000000, 13}, {"290", 0, 438000000, 0},
    {"290", 0, 440000000, 0}, {"290", 2, 432000000, 16}, {"290", 2, 437999999, 16}, {"290", 2, 431000000, 0},
    {"290", 2, 145000000, 15},
    // Version types 10 and 11: B10 and W.
    {"201", 0, 1250000000, 0}, {"201", 0, 1260000000, 14}, {"202", 1, 1299999999, 14}, {"202", 0, 435000000, 13},
    {"201", 2, 435000000, 16}, {"202", 2, 145000000, 15},
    // Bit 5 set but version type 0 (digit 3): no band at all.
    {"203", 0, 14200000, 0}, {"203", 2, 150000000, 0},
};
// clang-format on

class BandLookup : public ::testing::TestWithParam<RowGroup<BandRow>> {
protected:
    void SetUp() override
    {
        corvan::testing::ClearStore();
        corvan::testing::SetModelType(3);
    }
    void TearDown() override
    {
        corvan::testing::ClearStore();
        corvan::testing::SetModelType(0);
    }
};

// The rows of one type reply run together.
TEST_P(BandLookup, FindsTheBandOfTheFrequency)
{
    const auto& group = GetParam();
    if (!group.key.empty()) {
        const std::string reply = "TY" + group.key + ";";
        corvan::testing::Decode(reply.data(), reply.size());
    }
    CCorvan c;
    for (const BandRow& row : group.rows)
        EXPECT_EQ(c.GetRcvBand(row.selector, row.hz), row.band) << "selector " << row.selector << ", " << row.hz << " Hz";
}

INSTANTIATE_TEST_SUITE_P(Tables, BandLookup,
                         ::testing::ValuesIn(GroupRows<BandRow>(kRows, [](const BandRow& r) { return std::string(r.ty); })),
                         GroupName<BandRow>);

struct TypeRow {
    const char* ty;
    std::uint32_t type;
};

TEST_F(BandLookup, VersionTypeOfEveryTypeReply)
{
    const TypeRow rows[] = {{"00", 1}, {"10", 6}, {"20", 5}, {"30", 1}, {"40", 3}, {"50", 1}, {"60", 8},
                            {"70", 1}, {"80", 2}, {"90", 9}, {"A0", 7}, {"B0", 1}, {"C0", 4}, {"D0", 1},
                            {"E0", 1}, {"F0", 1}, {"01", 10}, {"F1", 10}, {"02", 11}, {"03", 0}, {"09", 0}};
    CCorvan c;
    EXPECT_EQ(c.GetType(), 0u); // nothing received
    for (const auto& r : rows) {
        // The low four bits are the second character; the first sets the upper bits.
        const std::string reply = std::string("TY") + "3" + r.ty + ";";
        corvan::testing::Decode(reply.data(), reply.size());
        EXPECT_EQ(c.GetType(), r.type) << reply;
    }
}

TEST_F(BandLookup, ZeroFrequencyUsesTheStoredOne)
{
    corvan::testing::Decode("FA00050000000;FB00145000000;FC00435000000;", 42);
    CCorvan c;
    EXPECT_EQ(c.GetRcvBand(0, 0), 11u);
    EXPECT_EQ(c.GetRcvBand(1, 0), 12u);
    EXPECT_EQ(c.GetRcvBand(2, 0), 16u);
    corvan::detail::Global().Reset(corvan::detail::Rec::FA); // as a read query does
    EXPECT_EQ(c.GetRcvBand(0, 0), 0u);
}

} // namespace
