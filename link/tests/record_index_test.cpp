// SPDX-License-Identifier: GPL-3.0-or-later
// Replies that name one of several records (AG, AR, MR, SM, SQ carry a
// receiver, meter or half index): an index past the last record is a line
// the radio never writes, so the reply is dropped whole. Whatever the line
// brought, every record of the store must read afterwards exactly as before:
// a noisy line must not reach the record that happens to follow (AI after
// AG, AS after AR, MU after MR, SQ after SM, SS after SQ).
#include "block.h"
#include "decode_piece.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using corvan::detail::Block;
using corvan::detail::kRecordCount;
using corvan::detail::Rec;
using corvan::detail::Record;

namespace {

// A memory reply of the 19 family (41 + 8 characters) with index `index`.
std::string MemoryReply3(char index)
{
    return std::string("MR") + index + "1" + "12" + "00145000000" + "310" + "05" + "12" + "103" + "10" +
           "000600000" + "07" + "2" + "MYCALL  ";
}

// The older layout (18 family): no bank digit, no name.
std::string MemoryReply1(char index) { return std::string("MR") + index + " " + "05" + "00014200000" + "201" + "08"; }

// Every record valid and holding a value of its own, so that any write,
// also one of the same kind of value, shows.
void FillEveryRecord(Block& b)
{
    for (std::size_t r = 0; r < kRecordCount; ++r) {
        Record& x = b.rec[r];
        x.valid = 1;
        for (std::size_t i = 0; i < x.num.size(); ++i)
            x.num[i] = static_cast<std::uint32_t>(7000 + r * 31 + i);
        for (std::size_t t = 0; t < x.text.size(); ++t) {
            const std::string mark = "rec" + std::to_string(r) + "." + std::to_string(t);
            x.text[t].fill('\0');
            std::memcpy(x.text[t].data(), mark.c_str(), mark.size());
        }
    }
}

// Every record that differs between two stores, by number.
std::vector<std::size_t> Changed(const Block& before, const Block& after)
{
    std::vector<std::size_t> out;
    for (std::size_t r = 0; r < kRecordCount; ++r) {
        const Record& a = before.rec[r];
        const Record& b = after.rec[r];
        if (a.valid != b.valid || a.num != b.num || a.text != b.text)
            out.push_back(r);
    }
    return out;
}

struct IndexedCode {
    const char* name;
    std::uint32_t model;
    Rec first;       // record of index 0
    int records;     // how many the code has
    std::string (*reply)(char index);
};

std::string Gain(char index) { return std::string("AG") + index + "045"; }
std::string Antenna(char index) { return std::string("AR") + index + "11"; }
std::string Meter(char index) { return std::string("SM") + index + "0012"; }
std::string Squelch(char index) { return std::string("SQ") + index + "100"; }

void PrintTo(const IndexedCode& c, std::ostream* os) { *os << c.name; }

const IndexedCode kCodes[] = {
    {"AG", 3, Rec::AG0, 2, Gain},
    {"AR", 3, Rec::AR0, 2, Antenna},
    {"MR", 3, Rec::MR0, 2, MemoryReply3},
    {"MR_older_radio", 1, Rec::MR0, 2, MemoryReply1},
    {"SM", 3, Rec::SM0, 4, Meter},
    {"SQ", 3, Rec::SQ0, 2, Squelch},
};

class RecordIndex : public ::testing::TestWithParam<IndexedCode> {};

// One past the last, and every other index the line could bring: a digit
// beyond, a colon (ten), a letter, a sign. Each leaves the whole store as it
// was, with every record full and with every record empty.
TEST_P(RecordIndex, AnIndexPastTheLastRecordIsDroppedWhole)
{
    const IndexedCode& c = GetParam();
    std::string indices;
    for (char d = static_cast<char>('0' + c.records); d <= '9'; ++d)
        indices += d;
    indices += ":A-";
    for (const char index : indices) {
        SCOPED_TRACE(std::string("index '") + index + "'");
        for (const bool full : {true, false}) {
            SCOPED_TRACE(full ? "every record full" : "every record empty");
            Block before;
            before.modelType = c.model;
            if (full)
                FillEveryRecord(before);
            Block after;
            after.modelType = c.model;
            after.rec = before.rec;
            Decode(after, c.reply(index));
            EXPECT_EQ(Changed(before, after), std::vector<std::size_t>{});
        }
    }
}

// The indices that exist: the reply reaches its own record and no other.
TEST_P(RecordIndex, AnIndexInRangeChangesOnlyItsOwnRecord)
{
    const IndexedCode& c = GetParam();
    for (int i = 0; i < c.records; ++i) {
        SCOPED_TRACE("index " + std::to_string(i));
        Block before;
        before.modelType = c.model;
        FillEveryRecord(before);
        Block after;
        after.modelType = c.model;
        after.rec = before.rec;
        Decode(after, c.reply(static_cast<char>('0' + i)));
        const auto own = static_cast<std::size_t>(c.first) + static_cast<std::size_t>(i);
        EXPECT_EQ(Changed(before, after), std::vector<std::size_t>{own});
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, RecordIndex, ::testing::ValuesIn(kCodes),
                         [](const ::testing::TestParamInfo<IndexedCode>& i) { return std::string(i.param.name); });

// The values themselves, read the way the console reads them: the second
// receiver's gain lands in record 1, the fourth meter in record 3, and a
// following out-of-range reply takes none of them back.
TEST(RecordIndexValues, TheLastRecordKeepsItsValueWhenAReplyOnePastItArrives)
{
    Block b;
    b.modelType = 3;
    Decode(b, "AI2");
    Decode(b, "AG1045");
    Decode(b, "SM30012");
    Decode(b, "SQ0000");
    Decode(b, "SQ1077");
    Decode(b, "SS0");
    Decode(b, "MU1010101010");
    Decode(b, "AG2200");
    Decode(b, "SM40025");
    Decode(b, "SQ2099");
    Decode(b, MemoryReply3('2'));
    EXPECT_EQ(b.Get(Rec::AI).num[0], 2u);
    EXPECT_EQ(b.Get(Rec::AG1).num[0], 45u);
    EXPECT_EQ(b.Get(Rec::SM3).num[0], 12u);
    EXPECT_EQ(b.Get(Rec::SQ0).num[0], 0u);
    EXPECT_EQ(b.Get(Rec::SQ1).num[0], 77u);
    EXPECT_EQ(b.Get(Rec::SS).num[0], 0u);
    const Record multi = b.Get(Rec::MU);
    const std::vector<std::uint32_t> mu(multi.num.begin(), multi.num.begin() + 10);
    EXPECT_EQ(mu, (std::vector<std::uint32_t>{1, 0, 1, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(b.Get(Rec::MR0).valid, 0u);
    EXPECT_EQ(b.Get(Rec::MR1).valid, 0u);
}

} // namespace
