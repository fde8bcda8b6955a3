// SPDX-License-Identifier: GPL-3.0-or-later
// Joining reads into replies: fragments, staleness and the overflow rule.
#include "accumulator.h"
#include "block.h"

#include <gtest/gtest.h>

#include <string>

using corvan::detail::Accumulator;
using corvan::detail::Block;
using corvan::detail::Rec;

namespace {

class Joining : public ::testing::Test {
protected:
    Joining()
    {
        block.modelType = 3;
        acc.Reset(100);
    }
    void feed(const std::string& s, std::int64_t now = 100) { acc.Feed(s.data(), s.size(), now, block); }
    std::string fa() const { return block.Get(Rec::FA).valid == 1 ? block.Get(Rec::FA).text[0].data() : "-"; }
    std::uint32_t md() const { return block.Get(Rec::MD).valid == 1 ? block.Get(Rec::MD).num[0] : 99; }
    Block block;
    Accumulator acc;
};

TEST_F(Joining, ReplySplitOverTwoReadsIsDecodedWhole)
{
    feed("FA000142");
    EXPECT_EQ(fa(), "-");
    feed("00000;");
    EXPECT_EQ(fa(), "00014200000");
}

TEST_F(Joining, ReplySplitOverManyReads)
{
    for (char c : std::string("FA00014200000;"))
        feed(std::string(1, c));
    EXPECT_EQ(fa(), "00014200000");
}

TEST_F(Joining, TextAfterTheLastSemicolonWaitsForTheNextRead)
{
    feed("MD1;FA0001");
    EXPECT_EQ(md(), 1u);
    EXPECT_EQ(acc.Pending(), 6u);
    feed("4200000;MD2;MD");
    EXPECT_EQ(fa(), "00014200000");
    EXPECT_EQ(md(), 2u);
    feed("3;");
    EXPECT_EQ(md(), 3u);
}

TEST_F(Joining, FragmentOneSecondOldIsStillJoined)
{
    feed("FA000142", 100);
    feed("00000;", 101);
    EXPECT_EQ(fa(), "00014200000");
}

TEST_F(Joining, FragmentTwoSecondsOldIsDropped)
{
    feed("FA000142", 100);
    feed("00000;MD4;", 102);
    EXPECT_EQ(fa(), "-");
    EXPECT_EQ(md(), 4u); // later replies of the same read are decoded
}

TEST_F(Joining, EveryReadRenewsTheFragmentsAge)
{
    feed("FA0", 100);
    feed("0014", 101);
    feed("2000", 102);
    feed("00;", 103);
    EXPECT_EQ(fa(), "00014200000");
}

TEST_F(Joining, OverflowDropsTheOverlongTextUpToTheNextSemicolon)
{
    // 5000 bytes without ";" (with a code inside) can only end in a piece far
    // over 255 characters: it is dropped, the accumulator stays bounded, and
    // the replies after the next ";" are decoded.
    std::string junk(5000, 'X');
    junk.replace(2500, 3, "MD5");
    for (std::size_t i = 0; i < junk.size(); i += 700)
        feed(junk.substr(i, 700));
    EXPECT_LE(acc.Pending(), corvan::detail::kAccumulatorMax);
    EXPECT_TRUE(acc.Discarding());
    feed("MD6;MD7;");
    EXPECT_EQ(md(), 7u);
    EXPECT_FALSE(acc.Discarding());
}

TEST_F(Joining, OverflowInsideOneReadStillDecodesWhatFollows)
{
    feed(std::string(1000, 'Y'));
    feed(std::string(100, 'Y') + "MD1;MD2;FA0001");
    EXPECT_EQ(md(), 2u);
    feed("4200000;");
    EXPECT_EQ(fa(), "00014200000");
}

TEST_F(Joining, StaleOverflowIsForgottenWithTheFragment)
{
    feed(std::string(1100, 'Z'), 100);
    EXPECT_TRUE(acc.Discarding());
    feed("MD3;", 105); // the overlong text is stale: this is a fresh reply
    EXPECT_EQ(md(), 3u);
}

TEST_F(Joining, FragmentCompletedPastTheAccumulatorIsDropped)
{
    feed(std::string(900, 'W'));
    feed(std::string(200, 'W') + ";MD8;");
    EXPECT_EQ(md(), 8u);
}

TEST_F(Joining, DirectModeSendsEverythingToTheDirectText)
{
    feed("EX05500001;READY");
    EXPECT_EQ(block.directMode.load(), 1u);
    feed("\r\nMD1;");
    EXPECT_EQ(md(), 99u); // nothing decoded in direct mode
    char text[corvan::kDirectTextSize];
    block.TakeDirect(text);
    EXPECT_STREQ(text, "READY\r\nMD1;");
}

} // namespace
