// SPDX-License-Identifier: GPL-3.0-or-later
// The telnet side and the time limits, against scripted servers on loopback:
// options refused once, the settings the server holds checked, connecting
// that gives up in time and says why, and data taken whole from a stream of
// telnet commands broken anywhere.
#include "net_fixture.h"
#include "net.h"
#include "testing.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <random>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// A scripted server on loopback: accepts one connection, sends `greeting`,
// answers COM-port settings with `baudAnswer` (0: stays silent) and records
// everything it receives.
class ScriptedServer {
public:
    ScriptedServer(std::string greeting, std::uint32_t baudAnswer)
        : m_greeting(std::move(greeting)), m_baud(baudAnswer)
    {
        m_listen = ListenOnLoopback(4, m_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~ScriptedServer()
    {
        m_stop.store(true);
        m_thread.join();
        ::close(m_listen);
    }
    std::string address(const char* scheme) const
    {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(m_port);
    }
    std::string received()
    {
        std::lock_guard lock(m_mu);
        return m_in;
    }

private:
    void serve()
    {
        pollfd p{m_listen, POLLIN, 0};
        int c = -1;
        while (!m_stop.load() && c < 0) {
            if (::poll(&p, 1, 20) > 0)
                c = ::accept(m_listen, nullptr, nullptr);
        }
        if (c < 0)
            return;
        [[maybe_unused]] ssize_t w = ::send(c, m_greeting.data(), m_greeting.size(), MSG_NOSIGNAL);
        bool answered = false;
        while (!m_stop.load()) {
            pollfd q{c, POLLIN, 0};
            if (::poll(&q, 1, 20) <= 0)
                continue;
            char b[512];
            const ssize_t n = ::recv(c, b, sizeof b, 0);
            if (n <= 0)
                break;
            std::string in;
            {
                std::lock_guard lock(m_mu);
                m_in.append(b, static_cast<std::size_t>(n));
                in = m_in;
            }
            if (!answered && m_baud != 0 && in.find("\xFF\xFA\x2C\x04") != std::string::npos) {
                answered = true;
                const std::string reply = std::string("\xFF\xFA\x2C\x65", 4) +
                                          std::string{static_cast<char>(m_baud >> 24), static_cast<char>(m_baud >> 16),
                                                      static_cast<char>(m_baud >> 8), static_cast<char>(m_baud)} +
                                          "\xFF\xF0" + std::string("\xFF\xFA\x2C\x66\x08\xFF\xF0", 7) +
                                          std::string("\xFF\xFA\x2C\x67\x01\xFF\xF0", 7) +
                                          std::string("\xFF\xFA\x2C\x68\x01\xFF\xF0", 7);
                w = ::send(c, reply.data(), reply.size(), MSG_NOSIGNAL);
            }
        }
        ::close(c);
    }
    std::string m_greeting;
    std::uint32_t m_baud;
    int m_listen = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::mutex m_mu;
    std::string m_in;
    std::thread m_thread;
};

TEST_F(LinkTest, TelnetOptionsRefusedOnceAndTheAcceptedSettingsChecked)
{
    // The server asks for terminal type and offers echo: both refused once;
    // it then sets 4800 baud where 9600 was asked, and the open fails, said.
    ScriptedServer server(std::string("\xFF\xFD\x18\xFF\xFB\x01", 6), 4800);
    EXPECT_EQ(Open(server.address("rfc2217")), 0);
    EXPECT_NE(corvan::LastOpenError().find("baud rate to 4800 instead of 9600"), std::string::npos)
        << corvan::LastOpenError();
    EXPECT_TRUE(WaitUntil([&] {
        const std::string in = server.received();
        return in.find("\xFF\xFC\x18") != std::string::npos && in.find("\xFF\xFE\x01") != std::string::npos;
    })); // WONT terminal type, DONT echo
    const std::string in = server.received();
    EXPECT_EQ(in.find("\xFF\xFC\x18", in.find("\xFF\xFC\x18") + 1), std::string::npos);
    EXPECT_NE(in.find(std::string("\xFF\xFA\x2C\x01\x00\x00\x25\x80\xFF\xF0", 10)), std::string::npos); // 9600
    EXPECT_NE(in.find("\xFF\xFA\x2C\x05\x01\xFF\xF0"), std::string::npos); // no flow control
    EXPECT_NE(in.find("\xFF\xFA\x2C\x05\x09\xFF\xF0"), std::string::npos); // DTR off
    EXPECT_NE(in.find("\xFF\xFA\x2C\x05\x0B\xFF\xF0"), std::string::npos); // RTS on
}

TEST_F(LinkTest, TelnetOptionsWithdrawnAreAnsweredOnlyWhereTheyWereOn)
{
    // Binary is agreed and then withdrawn (answered WONT once), the server's
    // suppress-go-ahead still pending is withdrawn (not answered), and then
    // the COM-port option is withdrawn: the open fails and says why.
    ScriptedServer server(std::string("\xFF\xFD\x00\xFF\xFE\x00\xFF\xFC\x03\xFF\xFE\x2C", 12), 0);
    EXPECT_EQ(Open(server.address("rfc2217")), 0);
    EXPECT_NE(corvan::LastOpenError().find("does not take line settings"), std::string::npos)
        << corvan::LastOpenError();
    const std::string wontBinary("\xFF\xFC\x00", 3);
    EXPECT_TRUE(WaitUntil([&] { return server.received().find(wontBinary) != std::string::npos; }));
    const std::string in = server.received();
    EXPECT_EQ(in.find(wontBinary, in.find(wontBinary) + 1), std::string::npos);
    EXPECT_EQ(in.find("\xFF\xFE\x03"), std::string::npos); // no DONT suppress-go-ahead
    EXPECT_EQ(in.find("\xFF\xFC\x2C"), std::string::npos); // no WONT COM-port
}

TEST_F(LinkTest, ConnectingHasATimeLimitAndSaysWhy)
{
    corvan::testing::SetConnectLimit(400);
    {
        ScriptedServer silent("", 0); // accepts, never answers the line settings
        const auto started = Clock::now();
        EXPECT_EQ(Open(silent.address("rfc2217")), 0);
        EXPECT_LT(Clock::now() - started, 3s);
        EXPECT_NE(corvan::LastOpenError().find("No answer to the line settings"), std::string::npos)
            << corvan::LastOpenError();
    }
    {
        ScriptedServer silent("", 0); // a TLS address on a server that says nothing
        const auto started = Clock::now();
        EXPECT_EQ(Open(silent.address("tcp+tls")), 0);
        EXPECT_LT(Clock::now() - started, 3s);
        EXPECT_NE(corvan::LastOpenError().find("No TLS answer"), std::string::npos) << corvan::LastOpenError();
    }
    const std::uint16_t nobody = Ser2netServer::FreePort();
    boxes.shown.clear();
    EXPECT_EQ(Open("tcp://127.0.0.1:" + std::to_string(nobody)), 0);
    EXPECT_EQ(corvan::LastOpenError(), "Connection refused by 127.0.0.1:" + std::to_string(nobody));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], "Error opening COM port");
    EXPECT_EQ(Open("tcp://127.0.0.1"), 0);
    EXPECT_NE(corvan::LastOpenError().find("No port"), std::string::npos);
    EXPECT_EQ(Open("/dev/zephyra-no-such-port"), 0);
    EXPECT_EQ(corvan::LastOpenError(), "No such device /dev/zephyra-no-such-port");
    EXPECT_TRUE(corvan::LinkLossText().empty());
}

// A server that sends `bytes` in the given pieces, a millisecond apart,
// and ignores what it receives.
class PieceServer {
public:
    explicit PieceServer(std::vector<std::string> pieces) : m_pieces(std::move(pieces))
    {
        m_listen = ListenOnLoopback(1, m_port);
        m_thread = std::thread([this] {
            const int c = ::accept(m_listen, nullptr, nullptr);
            if (c < 0)
                return;
            const int one = 1;
            ::setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            for (const auto& piece : m_pieces) {
                [[maybe_unused]] const ssize_t w = ::send(c, piece.data(), piece.size(), MSG_NOSIGNAL);
                std::this_thread::sleep_for(1ms);
            }
            char sink[256];
            pollfd p{c, POLLIN, 0};
            while (!m_stop.load())
                if (::poll(&p, 1, 10) > 0 && ::recv(c, sink, sizeof sink, 0) <= 0)
                    break;
            ::close(c);
        });
    }
    ~PieceServer()
    {
        m_stop.store(true);
        ::shutdown(m_listen, SHUT_RDWR);
        m_thread.join();
        ::close(m_listen);
    }
    std::uint16_t port() const { return m_port; }

private:
    std::vector<std::string> m_pieces;
    int m_listen = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Whatever telnet commands a server mixes into the data, and wherever the
// pieces of the stream break (inside an escaped 0xFF, a negotiation or a
// subnegotiation), exactly the data comes out, in order.
TEST(TelnetStream, DataSurvivesCommandsAndBreaksAnywhere)
{
    // ZEPHYRA_NET_SEEDS runs more (scripts/telnet_soak.sh).
    const char* more = std::getenv("ZEPHYRA_NET_SEEDS");
    const std::uint32_t seeds = more != nullptr ? static_cast<std::uint32_t>(std::strtoul(more, nullptr, 10)) : 20;
    for (std::uint32_t seed = 1; seed <= seeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        std::string wire;
        std::string data;
        for (int i = 0; i < 300; ++i) {
            switch (below(8)) {
            case 0: // an escaped 0xFF
                wire += "\xFF\xFF";
                data += '\xFF';
                break;
            case 1: { // a negotiation of some option
                const char verbs[] = {'\xFB', '\xFC', '\xFD', '\xFE'};
                wire += '\xFF';
                wire += verbs[below(4)];
                wire += static_cast<char>(below(256));
                break;
            }
            case 2: { // a COM-port notification or answer, 0xFF escaped inside
                wire += std::string("\xFF\xFA\x2C", 3);
                wire += static_cast<char>(100 + below(13));
                for (int k = below(5); k > 0; --k) {
                    const char b = static_cast<char>(below(256));
                    wire += b;
                    if (b == '\xFF')
                        wire += '\xFF';
                }
                wire += "\xFF\xF0";
                break;
            }
            case 3: // NOP, go-ahead
                wire += below(2) == 0 ? "\xFF\xF1" : "\xFF\xF9";
                break;
            default: { // plain data, zero bytes and all
                const char b = static_cast<char>(below(255));
                wire += b;
                data += b;
                break;
            }
            }
        }
        std::vector<std::string> pieces;
        for (std::size_t at = 0; at < wire.size();) {
            const std::size_t n = std::min<std::size_t>(1 + static_cast<std::size_t>(below(7)), wire.size() - at);
            pieces.push_back(wire.substr(at, n));
            at += n;
        }
        PieceServer server(pieces);
        corvan::PortAddress address;
        address.kind = corvan::PortAddress::Kind::Rfc2217;
        address.host = "127.0.0.1";
        address.port = server.port();
        std::string why;
        auto stream = corvan::detail::NetStream::Connect(address, {}, Clock::now() + 2s, why);
        ASSERT_TRUE(stream) << why;
        std::string got;
        const auto until = Clock::now() + 5s;
        while (got.size() < data.size() && Clock::now() < until) {
            pollfd p{stream->fd(), POLLIN, 0};
            if (!stream->Pending())
                ::poll(&p, 1, 50);
            char buffer[64];
            corvan::detail::PortError error = corvan::detail::PortError::None;
            const std::size_t n = stream->Read(buffer, sizeof buffer, error);
            got.append(buffer, n);
            ASSERT_NE(error, corvan::detail::PortError::Gone);
        }
        ASSERT_EQ(got.size(), data.size());
        EXPECT_TRUE(got == data);
    }
}

} // namespace
