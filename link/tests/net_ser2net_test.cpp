// SPDX-License-Identifier: GPL-3.0-or-later
// The link over the network against the system's ser2net serving a scripted
// radio's pseudo-terminal: RFC 2217 with the line settings seen at the
// device, raw TCP, a server restarted under the link, keepalive, and a
// delaying proxy in the path.
#include "net_fixture.h"
#include "link.h"
#include "testing.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

std::uint64_t SettledBytesRead()
{
    auto last = corvan::testing::BytesRead();
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(20ms);
        const auto now = corvan::testing::BytesRead();
        if (now == last)
            break;
        last = now;
    }
    return last;
}

TEST_F(Ser2netTest, Rfc2217SetsTheLineAtTheServersDevice)
{
    const TempFile trace("/tmp/zephyra-net-trace-XXXXXX");
    ASSERT_TRUE(trace.made());
    ASSERT_TRUE(CCorvan::SetTrace(trace.path()));
    ASSERT_EQ(Open(Rfc(), 19200, "e", 7, 2), 1) << corvan::LastOpenError() << server.log();
    CCorvan::SetTrace(nullptr);
    EXPECT_TRUE(corvan::LastOpenError().empty());
    // A pseudo-terminal keeps the rate and the stop bits but always reads as
    // 8 bits without parity: those two are checked in the server's own
    // report of what it holds, read back after it confirmed them.
    const std::string text = trace.text();
    EXPECT_NE(text.find(":" + std::to_string(server.port(rfc)) + " holds baud=19200 data=7 parity=3 stop=2"),
              std::string::npos)
        << text;
    // The server confirms each setting; it may set the device a moment later.
    EXPECT_TRUE(WaitUntil([&] {
        const termios t = TermiosOf(radio.path());
        return cfgetospeed(&t) == B19200 && (t.c_cflag & CSTOPB) != 0 && (t.c_cflag & CRTSCTS) == 0;
    })) << std::oct << TermiosOf(radio.path()).c_cflag;
    // The radio identified itself through the server.
    EXPECT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
    EXPECT_TRUE(corvan::LinkLossText().empty());

    // New settings on the open link reach the device too.
    ASSERT_EQ(Open(Rfc(), 4800, "n", 8, 1), 1);
    EXPECT_TRUE(WaitUntil([&] {
        const termios u = TermiosOf(radio.path());
        return cfgetospeed(&u) == B4800 && (u.c_cflag & CSTOPB) == 0;
    })) << std::oct << TermiosOf(radio.path()).c_cflag;
}

TEST_F(Ser2netTest, CommandsAndRepliesCrossBothKindsWithByteFFIntact)
{
    for (const bool telnet : {true, false}) {
        SCOPED_TRACE(telnet ? "rfc2217" : "raw");
        PtyRadio& line = telnet ? radio : rawRadio;
        line.answer("FA;", "FA00014074000;");
        ASSERT_EQ(Open(telnet ? Rfc() : Raw()), 1) << corvan::LastOpenError();
        EXPECT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
        ASSERT_TRUE(line.waitFor("ID;"));
        line.take();
        RecordingTarget target;
        link.WinMsgSendReg(&target);
        ASSERT_EQ(link.ConnFA("R", ""), 1);
        ASSERT_TRUE(target.waitFor(corvan::MessageOf("FA"), 2s));
        char frequency[corvan::kFrequencyTextSize] = {};
        EXPECT_EQ(link.RcvDataFA(frequency), 1);
        EXPECT_STREQ(frequency, "00014074000");

        // 0xFF is the telnet escape: it must reach the radio once, and come
        // back from the radio once, whatever the server does with it.
        line.take();
        ASSERT_EQ(link.ConnDirect("X\xFF\xFFY;"), 1);
        EXPECT_EQ(line.takeAtLeast(5), "X\xFF\xFFY;");
        // The FA reply was heard of as it was decoded; its bytes are counted
        // just after, so wait for the count to settle before taking it.
        const auto before = SettledBytesRead();
        line.send("\xFF\xFF;PS1;");
        ASSERT_TRUE(WaitUntil([&] { return corvan::testing::BytesRead() >= before + 7; }));
        std::this_thread::sleep_for(50ms); // a doubled byte would show up as extra bytes read
        EXPECT_EQ(corvan::testing::BytesRead(), before + 7);

        // A burst longer than one read of the link: nothing may stay behind
        // in the network layer waiting for more to arrive.
        const auto burstStart = corvan::testing::BytesRead();
        std::string burst;
        while (burst.size() < 3000)
            burst += "SM00015;";
        line.send(burst);
        EXPECT_TRUE(WaitUntil([&] { return corvan::testing::BytesRead() >= burstStart + burst.size(); }, 3s))
            << corvan::testing::BytesRead() - burstStart;
        link.WinMsgSendReg(nullptr);
        link.Close();
        line.take();
    }
}

TEST_F(Ser2netTest, ServerRestartedUnderTheLinkIsReportedAndFoundAgain)
{
    ASSERT_EQ(Open(Rfc()), 1) << corvan::LastOpenError();
    server.stop();
    const std::string expected = "The connection to 127.0.0.1:" + std::to_string(server.port(rfc)) + " has gone";
    EXPECT_TRUE(WaitUntil([&] { return corvan::LinkLossText() == expected; })) << corvan::LinkLossText();
    EXPECT_TRUE(WaitUntil([&] { return link.ConnID() == 0; })); // writes fail, they do not hang
    EXPECT_TRUE(CCorvan::IsOpen()); // as for a vanished device: the console closes and reopens

    std::string error;
    ASSERT_TRUE(server.start(&error)) << error;
    link.Close();
    corvan::testing::SetModelType(0);
    ASSERT_EQ(Open(Rfc()), 1) << corvan::LastOpenError();
    EXPECT_TRUE(corvan::LinkLossText().empty());
    EXPECT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
}

TEST_F(Ser2netTest, KeepaliveIsOnSoAHalfOpenConnectionEnds)
{
    ASSERT_EQ(Open(Raw()), 1);
    const int fd = corvan::detail::TheLink().port.fd();
    int on = 0;
    int idle = 0;
    socklen_t len = sizeof on;
    ASSERT_EQ(::getsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, &len), 0);
    EXPECT_EQ(on, 1);
    len = sizeof idle;
    ASSERT_EQ(::getsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, &len), 0);
    EXPECT_LE(idle, 30);
}

// The round-trip cases time the FA reply itself: a notice that comes first
// (a late identity reply, say) must not end the wait.
TEST(RecordingTargetWait, EndsOnTheNamedMessageNotOnTheFirstToCome)
{
    RecordingTarget target;
    const std::uint32_t fa = corvan::MessageOf("FA");
    target.post(corvan::MessageOf("ID"), 0, 0);
    EXPECT_FALSE(target.waitFor(fa, 50ms));
    target.post(fa, 0, 0);
    EXPECT_TRUE(target.waitFor(fa, 50ms));
}

TEST_F(Ser2netTest, RoundTripAddedByADelayingProxy)
{
    // The upper bounds catch a measurement or a reply that took two round
    // trips; the delay is long so that a loaded machine's own lag, which can
    // reach several hundred milliseconds under the sanitizers, stays inside.
    constexpr auto kRoundTrip = 1000ms;
    DelayProxy proxy("127.0.0.1", server.port(rfc), kRoundTrip);
    ASSERT_TRUE(proxy.start());
    ASSERT_EQ(Open("rfc2217://" + proxy.hostPort()), 1) << corvan::LastOpenError();
    EXPECT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
    EXPECT_GE(corvan::NetworkRoundTripMs(), std::uint32_t(kRoundTrip.count()));
    EXPECT_LT(corvan::NetworkRoundTripMs(), std::uint32_t(2 * kRoundTrip.count()));

    radio.answer("FA;", "FA00007030000;");
    RecordingTarget target;
    link.WinMsgSendReg(&target);
    const auto sent = Clock::now();
    ASSERT_EQ(link.ConnFA("R", ""), 1);
    ASSERT_TRUE(target.waitFor(corvan::MessageOf("FA"), 4 * kRoundTrip));
    const auto took = Clock::now() - sent;
    EXPECT_GE(took, kRoundTrip);
    EXPECT_LT(took, 2 * kRoundTrip);
    link.WinMsgSendReg(nullptr);
}

TEST_F(Ser2netTest, BurstArrivingInOnePieceIsReadWhole)
{
    for (const bool telnet : {true, false}) {
        SCOPED_TRACE(telnet ? "rfc2217" : "raw");
        DelayProxy proxy("127.0.0.1", server.port(telnet ? rfc : raw), 0ms);
        ASSERT_TRUE(proxy.start());
        ASSERT_EQ(Open((telnet ? "rfc2217://" : "tcp://") + proxy.hostPort()), 1) << corvan::LastOpenError();
        BurstThroughAHeldPath(telnet ? radio : rawRadio, proxy);
        link.Close();
    }
}

TEST_F(Ser2netTest, IdentityFoundOverALongRoundTrip)
{
    // The identity probe waits a round trip longer than on a local line.
    DelayProxy proxy("127.0.0.1", server.port(rfc), 600ms);
    ASSERT_TRUE(proxy.start());
    ASSERT_EQ(link.Conn("QX-620", ("rfc2217://" + proxy.hostPort()).c_str(), 9600, "n", 8, 1, 1), 1)
        << corvan::LastOpenError();
    EXPECT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
}

} // namespace
