// SPDX-License-Identifier: GPL-3.0-or-later
// The link over a real pseudo-terminal: connecting, identifying, reading
// split and joined replies, staleness, direct mode, closing while the radio
// streams, a device that vanishes, and hostile input.
#include "block.h"
#include "link_support.h"
#include "port_termios.h"
#include "pty_radio.h"
#include "testing.h"

#include <corvan.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using corvan::detail::Global;
using corvan::detail::Rec;
using Message = RecordingTarget::Message;

namespace {

// Waits until the read thread has consumed `count` more bytes than `before`.
bool WaitBytes(std::uint64_t before, std::size_t count)
{
    for (int i = 0; i < 2000; ++i) {
        if (corvan::testing::BytesRead() >= before + count)
            return true;
        std::this_thread::sleep_for(1ms);
    }
    return false;
}

// Sends as the radio and waits until the link has read it all.
void Deliver(PtyRadio& radio, const std::string& bytes)
{
    const auto before = corvan::testing::BytesRead();
    radio.send(bytes);
    ASSERT_TRUE(WaitBytes(before, bytes.size()));
}

TEST(Connect, IdentifiesTheRadioAfterEndingAnyHalfCommand)
{
    corvan::testing::SetConnPauses(0, 200);
    PtyRadio radio;
    radio.setIdentity(19);
    CCorvan c;
    ASSERT_EQ(c.Conn("QX-410", radio.path().c_str(), 9600, "n", 8, 1, 1), 1);
    EXPECT_TRUE(CCorvan::IsOpen());
    EXPECT_EQ(CCorvan::GetModelType(), 3u); // the identity wins over the name
    EXPECT_EQ(radio.takeAtLeast(4), ";ID;");
    std::uint32_t id = 0;
    EXPECT_EQ(c.RcvDataID(&id), 1);
    EXPECT_EQ(id, 19u);
    c.Close();
    EXPECT_FALSE(CCorvan::IsOpen());
}

struct SilentCase {
    const char* name;
    int identity;
    std::uint32_t model;
};

void PrintTo(const SilentCase& c, std::ostream* os) { *os << c.name << " identity " << c.identity; }

class SilentRadio : public ::testing::TestWithParam<SilentCase> {};

TEST_P(SilentRadio, ModelTypeComesFromTheName)
{
    LinkOnPty pty(GetParam().identity, GetParam().name);
    EXPECT_EQ(pty.connected, 1);
    // As the connect chose it: a reply that came too late must not count.
    EXPECT_EQ(pty.modelAtConnect, GetParam().model);
}

INSTANTIATE_TEST_SUITE_P(Names, SilentRadio,
                         ::testing::Values(SilentCase{"QX-410", -1, 1}, SilentCase{"QX-620", -1, 2},
                                           SilentCase{"QR-7730", -1, 3}, SilentCase{"QR-7731", -1, 0},
                                           SilentCase{"QX-620", 5, 2}, SilentCase{"QR-7730", 15, 2},
                                           SilentCase{"QR-7730", 18, 1}));

TEST(Connect, MissingDeviceShowsTheMessageAndStaysClosed)
{
    MessageBoxes boxes;
    CCorvan c;
    EXPECT_EQ(c.Conn("QR-7730", "/dev/no-such-radio", 9600, "n", 8, 1, 1), 0);
    EXPECT_FALSE(CCorvan::IsOpen());
    EXPECT_EQ(boxes.shown, (std::vector<std::string>{"Error opening COM port"}));
    EXPECT_EQ(c.ConnDirect(";"), 0);
    c.Close(); // nothing to do, nothing breaks
}

TEST(Connect, PathThatIsNoTerminalIsRefused)
{
    MessageBoxes boxes;
    const TempFile file("/tmp/corvan-not-a-tty-XXXXXX");
    ASSERT_TRUE(file.made());
    CCorvan c;
    EXPECT_EQ(c.Conn("QR-7730", file.path(), 9600, "n", 8, 1, 1), 0);
    EXPECT_EQ(c.Conn("QR-7730", "/dev/null", 9600, "n", 8, 1, 1), 0);
    EXPECT_EQ(c.Conn("QR-7730", nullptr, 9600, "n", 8, 1, 1), 0);
    EXPECT_FALSE(CCorvan::IsOpen());
    EXPECT_EQ(boxes.shown.size(), 3u);
}

TEST(Connect, UnsupportedLineSettingsAreRefusedLikeAMissingPort)
{
    MessageBoxes boxes;
    PtyRadio radio;
    CCorvan c;
    EXPECT_EQ(c.Conn("QR-7730", radio.path().c_str(), 1234, "n", 8, 1, 1), 0);
    EXPECT_EQ(c.Conn("QR-7730", radio.path().c_str(), 9600, "n", 9, 1, 1), 0);
    EXPECT_FALSE(CCorvan::IsOpen());
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(radio.take(), "");
}

TEST(Connect, LineSettingsFollowTheArguments)
{
    corvan::testing::SetConnPauses(0, 100);
    PtyRadio radio;
    CCorvan c;
    ASSERT_EQ(c.Conn("QR-7730", radio.path().c_str(), 4800, "E", 8, 2, 1), 1);
    termios t = TermiosOf(radio.path());
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B4800));
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(t.c_lflag & ICANON, 0u);
    radio.take();

    // Already open: only the settings change; no second probe on the wire.
    ASSERT_EQ(c.Conn("QR-7730", radio.path().c_str(), 57600, "o", 7, 1, 0), 1);
    t = TermiosOf(radio.path());
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B57600));
    EXPECT_EQ(t.c_cflag & CSTOPB, 0u);
    c.ConnDirect("#");
    EXPECT_EQ(radio.takeAtLeast(1), "#");
    c.Close();
}

struct ParityCase {
    const char* parity;
    tcflag_t bits;
};

void PrintTo(const ParityCase& c, std::ostream* os) { *os << '"' << c.parity << '"'; }

class Parity : public ::testing::TestWithParam<ParityCase> {};

// A pseudo-terminal ignores parity and character size, so these are checked
// on the settings themselves.
TEST_P(Parity, FirstCharacterChoosesIt)
{
    termios t{};
    t.c_cflag = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    t.c_iflag = IXON | IXOFF;
    corvan::detail::FillTermios(t, {9600, GetParam().parity[0], 7, 1});
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), GetParam().bits);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
    EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(cfgetispeed(&t), static_cast<speed_t>(B9600));
}

INSTANTIATE_TEST_SUITE_P(Texts, Parity,
                         ::testing::Values(ParityCase{"n", 0}, ParityCase{"none", 0}, ParityCase{"x", 0},
                                           ParityCase{"E", PARENB}, ParityCase{"even", PARENB},
                                           ParityCase{"O", PARENB | PARODD}, ParityCase{"o", PARENB | PARODD},
                                           ParityCase{"M", PARENB | PARODD | CMSPAR},
                                           ParityCase{"m", PARENB | PARODD | CMSPAR},
                                           ParityCase{"S", PARENB | CMSPAR}, ParityCase{"s", PARENB | CMSPAR}));

TEST(Connect, CloseRestoresTheSettingsTheDeviceHad)
{
    corvan::testing::SetConnPauses(0, 50);
    PtyRadio radio;
    {
        const int fd = ::open(radio.path().c_str(), O_RDWR | O_NOCTTY);
        termios t{};
        ::tcgetattr(fd, &t);
        t.c_lflag |= ICANON | ECHO;
        cfsetospeed(&t, B2400);
        cfsetispeed(&t, B2400);
        ::tcsetattr(fd, TCSANOW, &t);
        ::close(fd);
    }
    CCorvan c;
    ASSERT_EQ(c.Conn("QR-7730", radio.path().c_str(), 19200, "n", 8, 1, 1), 1);
    EXPECT_EQ(TermiosOf(radio.path()).c_lflag & ICANON, 0u);
    CCorvan other; // any object may close the shared link
    other.Close();
    const termios after = TermiosOf(radio.path());
    EXPECT_NE(after.c_lflag & ICANON, 0u);
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B2400));
}

TEST(Connect, ClearingConnectEmptiesTheStoreAndKeepingOneDoesNot)
{
    corvan::testing::SetModelType(3);
    corvan::testing::Decode("MD3;", 4);
    {
        LinkOnPty pty; // connects with clear
        std::uint32_t v = 9;
        EXPECT_EQ(pty.link.RcvDataMD(&v), 0);
        EXPECT_EQ(pty.link.RcvDataUL(&v), 1);
        EXPECT_EQ(v, 0u);
        corvan::testing::Decode("MD3;PS1;", 8);
        pty.link.Close();
        EXPECT_EQ(pty.link.RcvDataMD(&v), 1); // values outlive Close
        EXPECT_EQ(v, 3u);
        EXPECT_EQ(pty.link.RcvDataPS(&v), 1);
        EXPECT_EQ(v, 0u); // Close sets the power status to 0
        ASSERT_EQ(pty.link.Conn("QR-7730", pty.radio.path().c_str(), 9600, "n", 8, 1, 0), 1);
        EXPECT_EQ(pty.link.RcvDataMD(&v), 1);
        EXPECT_EQ(v, 3u);
    }
}

class Streaming : public ::testing::Test {
protected:
    void SetUp() override
    {
        corvan::testing::SetClockSeconds(1000);
        ASSERT_EQ(pty.connected, 1);
        pty.link.WinMsgSendReg(&target);
    }
    // Delivers `head`, sets the clock to `seconds` (the fixture starts at
    // 1000), then delivers `tail`.
    void DeliverAcross(const std::string& head, std::int64_t seconds, const std::string& tail)
    {
        Deliver(pty.radio, head);
        corvan::testing::SetClockSeconds(seconds);
        Deliver(pty.radio, tail);
    }
    LinkOnPty pty;
    RecordingTarget target;
};

TEST_F(Streaming, ReplySplitAcrossReadsIsDecodedOnce)
{
    Deliver(pty.radio, "FA000142");
    EXPECT_TRUE(target.take().empty());
    Deliver(pty.radio, "00000;");
    ASSERT_TRUE(target.waitCount(1));
    EXPECT_EQ(target.take(), (std::vector<Message>{{4116, 0, 0}}));
    char f[20];
    EXPECT_EQ(pty.link.RcvDataFA(f), 1);
    EXPECT_STREQ(f, "00014200000");
}

TEST_F(Streaming, TwoRepliesInOneReadAreStoredAndNotifiedInOrder)
{
    Deliver(pty.radio, "AC110;AG0200;");
    ASSERT_TRUE(target.waitCount(2));
    EXPECT_EQ(target.take(), (std::vector<Message>{{4096, 0, 0}, {4097, 0, 0}}));
    std::uint32_t a, b, cc, g;
    EXPECT_EQ(pty.link.RcvDataAC(&a, &b, &cc), 1);
    EXPECT_EQ(pty.link.RcvDataAG(0, &g), 1);
    EXPECT_EQ(g, 200u);
}

TEST_F(Streaming, FragmentOlderThanASecondIsLost)
{
    DeliverAcross("MD1;FA000142", 1002, "00000;MD2;");
    char f[20];
    EXPECT_EQ(pty.link.RcvDataFA(f), 0);
    std::uint32_t md = 0;
    EXPECT_EQ(pty.link.RcvDataMD(&md), 1);
    EXPECT_EQ(md, 2u);
}

TEST_F(Streaming, FragmentOneSecondOldIsKept)
{
    DeliverAcross("FA000142", 1001, "00000;");
    char f[20];
    EXPECT_EQ(pty.link.RcvDataFA(f), 1);
}

TEST_F(Streaming, FrequencyStreamPostsOneMessageUntilRead)
{
    Deliver(pty.radio, "FA00014200000;FA00014200100;");
    Deliver(pty.radio, "FA00014200200;");
    EXPECT_EQ(target.take().size(), 1u);
    char f[20];
    EXPECT_EQ(pty.link.RcvDataFA(f), 1);
    EXPECT_STREQ(f, "00014200200");
    Deliver(pty.radio, "FA00014200300;");
    EXPECT_EQ(target.take().size(), 1u);
}

TEST_F(Streaming, UnregisteredTargetReceivesNothing)
{
    pty.link.WinMsgSendReg(nullptr);
    Deliver(pty.radio, "MD1;");
    EXPECT_TRUE(target.take().empty());
    std::uint32_t md;
    EXPECT_EQ(pty.link.RcvDataMD(&md), 1);
}

TEST_F(Streaming, DirectModeCollectsTextUntilTerminalModeEnds)
{
    Deliver(pty.radio, "EX05500001;");
    EXPECT_TRUE(CCorvan::IsDirectMode());
    target.take();
    Deliver(pty.radio, "RYRYRY\r\n");
    Deliver(pty.radio, "MD1;");
    EXPECT_EQ(target.take(), (std::vector<Message>{{4240, 0, 0}}));
    char text[corvan::kDirectTextSize];
    EXPECT_EQ(pty.link.RcvDataDirect(text), 1);
    EXPECT_STREQ(text, "RYRYRY\r\nMD1;");
    std::uint32_t md;
    EXPECT_EQ(pty.link.RcvDataMD(&md), 0); // not decoded while in direct mode
    EXPECT_EQ(pty.link.ConnMD("W", 1), 0);
    EXPECT_EQ(pty.link.ConnTC("W", 0, 1), 1);
    EXPECT_FALSE(CCorvan::IsDirectMode());
    Deliver(pty.radio, "MD2;");
    EXPECT_EQ(pty.link.RcvDataMD(&md), 1);
    EXPECT_EQ(md, 2u);
}

TEST_F(Streaming, NoiseLeavesTheStoreConsistentAndLaterRepliesDecoded)
{
    std::string noise;
    for (int i = 0x80; i <= 0xFF; ++i)
        noise += static_cast<char>(i);
    noise += "MD\xF0;";                       // an 8-bit byte inside a reply
    noise += "\r\nMD7;";                      // a line end before the code
    noise += std::string("\x00\x01\x02MD6;", 7); // control bytes
    noise += std::string(300, 'N') + "MD5;"; // a piece longer than 255
    Deliver(pty.radio, noise);
    std::string endless(5000, 'K');
    endless.replace(4000, 3, "MD4");
    for (std::size_t i = 0; i < endless.size(); i += 1000)
        Deliver(pty.radio, endless.substr(i, 1000));
    std::uint32_t md = 99;
    EXPECT_EQ(pty.link.RcvDataMD(&md), 0);
    EXPECT_TRUE(target.take().empty());
    Deliver(pty.radio, ";MD3;FA00014200000;");
    EXPECT_EQ(pty.link.RcvDataMD(&md), 1);
    EXPECT_EQ(md, 3u);
    char f[20];
    EXPECT_EQ(pty.link.RcvDataFA(f), 1);
    EXPECT_EQ(target.take(), (std::vector<Message>{{4134, 0, 0}, {4116, 0, 0}}));
}

TEST(Closing, WhileTheRadioStreamsTheThreadEnds)
{
    LinkOnPty pty;
    RecordingTarget target;
    pty.link.WinMsgSendReg(&target);
    std::atomic<bool> stop{false};
    std::thread streamer([&] {
        while (!stop.load())
            pty.radio.send("SM00010;RM10005;FA00014200000;");
    });
    const auto before = corvan::testing::BytesRead();
    while (corvan::testing::BytesRead() < before + 3000)
        std::this_thread::sleep_for(1ms);
    pty.link.Close();
    EXPECT_FALSE(CCorvan::IsOpen());
    const auto after = corvan::testing::BytesRead();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(corvan::testing::BytesRead(), after); // nothing reads any more
    EXPECT_EQ(pty.link.ConnMD("W", 1), 0);
    stop = true;
    streamer.join();
}

TEST(Closing, VanishedDeviceMakesTheThreadBackOffNotSpin)
{
    LinkOnPty pty;
    const auto failures = corvan::testing::ReadFailures();
    pty.radio.hangUp();
    for (int i = 0; i < 2000 && corvan::testing::ReadFailures() == failures; ++i)
        std::this_thread::sleep_for(1ms);
    ASSERT_GT(corvan::testing::ReadFailures(), failures);
    const auto wakeups = corvan::testing::ReadWakeups();
    std::this_thread::sleep_for(400ms);
    // Backing off from 50 ms and doubling: a handful of wake-ups, never thousands.
    EXPECT_LT(corvan::testing::ReadWakeups() - wakeups, 20u);
    EXPECT_EQ(pty.link.ConnMD("W", 1), 0); // the write fails and says so
    pty.link.Close();
    EXPECT_FALSE(CCorvan::IsOpen());
}

TEST(Trace, RecordsBothDirectionsWithControlBytesVisible)
{
    const TempFile file("/tmp/corvan-trace-XXXXXX");
    ASSERT_TRUE(file.made());
    ASSERT_TRUE(CCorvan::SetTrace(file.path()));
    {
        LinkOnPty pty;
        corvan::testing::SetModelType(3);
        pty.link.ConnTC("W", 0, 0);
        Deliver(pty.radio, "MD1;\x85");
    }
    CCorvan::SetTrace(nullptr);
    const std::string text = file.text();
    EXPECT_NE(text.find(" > ID;\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" < ID019;\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" > <0D>TC 0;\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" < MD1;<85>\n"), std::string::npos) << text;
    EXPECT_FALSE(CCorvan::SetTrace("/no/such/folder/trace.txt"));
}

} // namespace
