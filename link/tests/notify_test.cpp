// SPDX-License-Identifier: GPL-3.0-or-later
// Notifications: the message of every code, its parameters and conditions,
// and the pending flags that throttle the streaming codes.
#include "block.h"
#include "decoder.h"
#include "pty_radio.h"

#include <corvan.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

using corvan::detail::Block;
using corvan::detail::ConstituteData;
using corvan::detail::Pending;
using Message = RecordingTarget::Message;

namespace {

void Decode(Block& b, const std::string& text) { ConstituteData(text.data(), text.size(), b); }

struct NoticeRow {
    const char* piece;
    std::uint32_t model;
    std::uint32_t message; // 0: nothing posted
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

void PrintTo(const NoticeRow& r, std::ostream* os) { *os << r.piece << " model " << r.model; }

// clang-format off
// Codes without conditions: one message each.
const NoticeRow kPlainCodes[] = {
    {"AC000", 3, 4096, 0, 0}, {"AI0", 3, 4098, 0, 0}, {"AL000", 3, 4099, 0, 0},
    {"AM0", 3, 4195, 0, 0}, {"AN1", 3, 4100, 0, 0}, {"AS0000000000000000", 3, 4186, 0, 0},
    {"BC0", 3, 4101, 0, 0}, {"BD", 3, 4102, 0, 0}, {"BP000", 3, 4103, 0, 0},
    {"BU", 3, 4104, 0, 0}, {"CA0", 3, 4106, 0, 0}, {"CG000", 3, 4107, 0, 0},
    {"CI", 3, 4108, 0, 0}, {"CM0", 3, 4109, 0, 0}, {"CN01", 3, 4110, 0, 0},
    {"CT0", 3, 4111, 0, 0}, {"DC00", 3, 4112, 0, 0}, {"DN", 3, 4113, 0, 0},
    {"DQ0", 3, 4114, 0, 0}, {"EX0000000", 3, 4115, 0, 0}, {"FA00014200000", 3, 4116, 0, 0},
    {"FB00014200000", 3, 4117, 0, 0}, {"FC00014200000", 3, 4118, 0, 0}, {"FD0000", 3, 4119, 0, 0},
    {"FR0", 3, 4120, 0, 0}, {"FS0", 3, 4121, 0, 0}, {"FT0", 3, 4122, 0, 0},
    {"FW0000", 3, 4123, 0, 0}, {"GT000", 3, 4124, 0, 0}, {"ID019", 3, 4125, 0, 0},
    {"IF", 3, 4126, 0, 0}, {"IS 0000", 3, 4127, 0, 0}, {"KS010", 3, 4128, 0, 0},
    {"KY0", 3, 4129, 0, 0}, {"LK00", 3, 4130, 0, 0}, {"LM0", 3, 4131, 0, 0},
    {"LT0", 3, 4132, 0, 0}, {"MC000", 3, 4133, 0, 0}, {"MD1", 3, 4134, 0, 0},
    {"MF0", 3, 4188, 0, 0}, {"MG000", 3, 4135, 0, 0}, {"ML000", 3, 4136, 0, 0},
    {"MO0", 3, 4137, 0, 0}, {"MU0000000000", 3, 4189, 0, 0}, {"MW", 3, 4139, 0, 0},
    {"NB0", 3, 4140, 0, 0}, {"NL000", 3, 4141, 0, 0}, {"NR0", 3, 4142, 0, 0},
    {"NT0", 3, 4143, 0, 0}, {"OF000000000", 3, 4144, 0, 0}, {"OI", 3, 4200, 0, 0},
    {"OS0", 3, 4145, 0, 0}, {"PA00", 3, 4147, 0, 0}, {"PB0", 3, 4148, 0, 0},
    {"PC005", 3, 4149, 0, 0}, {"PK", 3, 4198, 0, 0}, {"PL000000", 3, 4150, 0, 0},
    {"PM0", 3, 4194, 0, 0}, {"PR0", 3, 4151, 0, 0}, {"PS1", 3, 4152, 0, 0},
    {"QC000", 3, 4146, 0, 0}, {"QR00", 3, 4190, 0, 0}, {"RA0000", 3, 4153, 0, 0},
    {"RC", 3, 4154, 0, 0}, {"RD00000", 3, 4155, 0, 0}, {"RG000", 3, 4159, 0, 0},
    {"RL00", 3, 4160, 0, 0}, {"RM10000", 3, 4161, 0, 0}, {"RT0", 3, 4157, 0, 0},
    {"RU00000", 3, 4156, 0, 0}, {"RX0", 3, 4162, 0, 0}, {"SA0000000", 3, 4164, 0, 0},
    {"SB0", 3, 4165, 0, 0}, {"SC0", 3, 4166, 0, 0}, {"SD0000", 3, 4167, 0, 0},
    {"SH00", 3, 4168, 0, 0}, {"SL00", 3, 4169, 0, 0}, {"SR", 3, 4172, 0, 0},
    {"SS0", 3, 4191, 0, 0}, {"ST00", 3, 4173, 0, 0}, {"SU00000000000", 3, 4192, 0, 0},
    {"TC01", 3, 4174, 0, 0}, {"TD", 3, 4175, 0, 0}, {"TI000", 3, 4197, 0, 0},
    {"TN01", 3, 4176, 0, 0}, {"TO0", 3, 4177, 0, 0}, {"TS0", 3, 4196, 0, 0},
    {"TX0", 3, 4163, 0, 0}, {"TY000", 3, 4199, 0, 0}, {"UL0", 3, 4193, 0, 0},
    {"UP", 3, 4178, 0, 0}, {"UR", 3, 4179, 0, 0}, {"UT", 3, 4180, 0, 0},
    {"VD0000", 3, 4181, 0, 0}, {"VG000", 3, 4182, 0, 0}, {"VR", 3, 4183, 0, 0},
    {"VX0", 3, 4184, 0, 0}, {"XT0", 3, 4158, 0, 0},
};

const NoticeRow kNotices[] = {
    // Posted whether or not the model type stores the reply.
    {"AM0", 0, 4195, 0, 0}, {"FC00014200000", 1, 4118, 0, 0}, {"FA0001420000", 3, 4116, 0, 0},
    // Codes with conditions.
    {"AG0100", 1, 4097, 0, 0}, {"AG1100", 3, 4097, 1, 0}, {"AG0100", 3, 4097, 0, 0},
    {"AG2100", 3, 0, 0, 0}, {"AG0100", 0, 0, 0, 0}, {"AG0100", 2, 0, 0, 0},
    {"AR100", 3, 4185, 1, 0}, {"AR200", 3, 0, 0, 0}, {"AR000", 0, 4185, 0, 0},
    {"BY10", 3, 4105, 1, 0}, {"BY01", 1, 4105, 0, 1}, {"BY20", 3, 0, 0, 0},
    {"MR1", 3, 4138, 1, 0}, {"MR0", 1, 4138, 0, 0}, {"MR5", 3, 0, 0, 0},
    {"SM0005", 1, 4170, 0, 0}, {"SM30005", 1, 4170, 0, 0}, {"SM20005", 3, 4170, 2, 0},
    {"SM40005", 3, 0, 0, 0}, {"SM00005", 2, 0, 0, 0}, {"SM00005", 0, 0, 0, 0},
    {"SQ0100", 1, 4171, 0, 0}, {"SQ1100", 3, 4171, 1, 0}, {"SQ2100", 3, 0, 0, 0},
    {"SQ0100", 2, 0, 0, 0},
    // A blank index is the radio's blanked 0, as the decoder stores it; an
    // index below 0 posts nothing.
    {"AG 100", 3, 4097, 0, 0}, {"AG/100", 3, 0, 0, 0}, {"AR 00", 3, 4185, 0, 0},
    {"MR  12", 3, 4138, 0, 0}, {"SQ 100", 3, 4171, 0, 0}, {"SM 0005", 3, 4170, 0, 0},
    {"BY1 ", 3, 4105, 1, 0}, {"BY 1", 3, 4105, 0, 1}, {"TC 0", 3, 4174, 0, 0},
    // Nothing for unknown codes, rejected pieces and empty pieces.
    {"?", 3, 0, 0, 0}, {"ZZ1", 3, 0, 0, 0}, {"\rMD1", 3, 0, 0, 0}, {"", 3, 0, 0, 0},
    {"md1", 3, 0, 0, 0},
};
// clang-format on

void ExpectNotice(const NoticeRow& row)
{
    Block b;
    RecordingTarget target;
    b.SetTarget(&target);
    b.modelType = row.model;
    Decode(b, std::string(row.piece) + ";");
    const auto posted = target.take();
    if (row.message == 0) {
        EXPECT_TRUE(posted.empty());
        return;
    }
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0], (Message{row.message, row.wParam, row.lParam}));
}

// A fresh block for each test; Watch() gives it the recording target.
class Notifications : public ::testing::Test {
protected:
    void Watch(std::uint32_t model)
    {
        b.SetTarget(&target);
        b.modelType = model;
    }
    Block b;
    RecordingTarget target;
};

TEST_F(Notifications, EveryCodeHasItsMessage)
{
    for (const NoticeRow& row : kPlainCodes) {
        SCOPED_TRACE(row.piece);
        ExpectNotice(row);
    }
}

class NotificationTable : public ::testing::TestWithParam<NoticeRow> {};

TEST_P(NotificationTable, PostsTheCodesMessage) { ExpectNotice(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Codes, NotificationTable, ::testing::ValuesIn(kNotices));

TEST_F(Notifications, MessageNumbersMapBothWays)
{
    EXPECT_STREQ(corvan::MessageCode(4116), "FA");
    EXPECT_STREQ(corvan::MessageCode(4240), "direct");
    EXPECT_EQ(corvan::MessageCode(4187), nullptr);
    EXPECT_EQ(corvan::MessageCode(4201), nullptr);
    EXPECT_EQ(corvan::MessageOf("XT"), 4158u);
    EXPECT_EQ(corvan::MessageOf("F"), 0u);
    EXPECT_EQ(corvan::MessageOf(nullptr), 0u);
}

TEST_F(Notifications, NothingPostedWithoutATargetButTheStoreFills)
{
    b.modelType = 3;
    Decode(b, "FA00014200000;");
    EXPECT_EQ(b.Get(corvan::detail::Rec::FA).valid, 1u);
    EXPECT_FALSE(b.IsPending(Pending::FA)); // no post, so no pending flag either
}

TEST_F(Notifications, PendingFlagThrottlesFrequencyReplies)
{
    Watch(3);
    Decode(b, "FA00014200000;FA00014210000;");
    EXPECT_EQ(target.take().size(), 1u);
    EXPECT_STREQ(b.Get(corvan::detail::Rec::FA).text[0].data(), "00014210000");
    b.ClearPending(Pending::FA);
    Decode(b, "FA00014220000;");
    EXPECT_EQ(target.take().size(), 1u);
}

TEST_F(Notifications, EachMeterIndexHasItsOwnPendingFlag)
{
    Watch(3);
    Decode(b, "SM00001;SM20002;SM20003;SM00004;");
    const auto first = target.take();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].wParam, 0u);
    EXPECT_EQ(first[1].wParam, 2u);
    b.ClearPending(Pending::SM2);
    Decode(b, "SM00005;SM20006;");
    const auto second = target.take();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].wParam, 2u);
}

TEST_F(Notifications, ModelOneMeterRepliesAreNeverThrottled)
{
    Watch(1);
    Decode(b, "SM0001;SM0002;SM0003;");
    EXPECT_EQ(target.take().size(), 3u);
}

TEST_F(Notifications, TwoRepliesInOneReadAreNotifiedInOrder)
{
    Watch(3);
    Decode(b, "AC110;AG0200;");
    const auto posted = target.take();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, 4096u);
    EXPECT_EQ(posted[1].message, 4097u);
}

TEST_F(Notifications, DirectTextIsNotifiedOnceUntilTaken)
{
    b.SetTarget(&target);
    corvan::detail::DirectDataIO("hello ", 6, b);
    corvan::detail::DirectDataIO("world", 5, b);
    EXPECT_EQ(target.take(), (std::vector<Message>{{4240, 0, 0}}));
    char text[corvan::kDirectTextSize];
    b.TakeDirect(text);
    EXPECT_STREQ(text, "hello world");
    corvan::detail::DirectDataIO("again", 5, b);
    EXPECT_EQ(target.take().size(), 1u);
}

TEST_F(Notifications, DirectTextKeepsTheNewest1023Bytes)
{
    std::string a(1000, 'a');
    std::string z(100, 'z');
    corvan::detail::DirectDataIO(a.data(), a.size(), b);
    corvan::detail::DirectDataIO(z.data(), z.size(), b);
    char text[corvan::kDirectTextSize];
    b.TakeDirect(text);
    EXPECT_EQ(std::string(text), std::string(923, 'a') + z);
    std::string big(3000, 'q');
    big[2999] = 'E';
    corvan::detail::DirectDataIO(big.data(), big.size(), b);
    b.TakeDirect(text);
    EXPECT_EQ(std::strlen(text), 1023u);
    EXPECT_EQ(text[1022], 'E');
}

TEST_F(Notifications, ClearingTheBlockUnregistersTheTarget)
{
    Watch(3);
    b.Clear();
    Decode(b, "MD1;");
    EXPECT_TRUE(target.take().empty());
    EXPECT_EQ(b.modelType.load(), 3u); // the model type survives
}

} // namespace
