// SPDX-License-Identifier: GPL-3.0-or-later
// What the network tests share: the link fixture, ser2net in front of two
// scripted radios, test certificates, a listening socket on loopback, and a
// burst sent through a held proxy.
#pragma once

#include "delay_proxy.h"
#include "link_support.h"
#include "pty_radio.h"
#include "ser2net_server.h"
#include "testing.h"

#include <corvan.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// Sends a burst of 3,000 bytes from the radio while the proxy holds the
// path, then lets it go at once: the link receives more than one read of it
// in one piece, and must still hand on every byte without waiting for more.
void BurstThroughAHeldPath(PtyRadio& radio, DelayProxy& proxy);

// Listens on 127.0.0.1 on a free port (set in `port`); the socket, or -1.
int ListenOnLoopback(int backlog, std::uint16_t& port);

// Certificates made with the openssl program: a CA, a server certificate for
// 127.0.0.1 and localhost, a client certificate; the same from another CA.
class Certificates {
public:
    Certificates();
    ~Certificates();
    bool ok() const { return m_ok; }
    std::string file(const std::string& name) const { return m_dir + "/" + name; }

private:
    std::string m_dir;
    bool m_ok = false;
};

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        corvan::testing::SetConnPauses(0, 300);
        corvan::testing::SetConnectLimit(5000);
        corvan::testing::ClearStore();
        corvan::testing::SetModelType(0);
        corvan::SetTlsOptions({});
    }
    void TearDown() override
    {
        link.WinMsgSendReg(nullptr);
        link.Close();
        corvan::testing::ClearStore();
        corvan::SetTlsOptions({});
        corvan::testing::SetConnectLimit(5000);
    }
    std::int32_t Open(const std::string& address, std::uint32_t baud = 9600, const char* parity = "n",
                      std::uint32_t data = 8, std::uint32_t stop = 1)
    {
        return link.Conn("QR-7730", address.c_str(), baud, parity, data, stop, 1);
    }
    CCorvan link;
    MessageBoxes boxes;
};

// A radio's pseudo-terminal served by ser2net: RFC 2217 and raw.
class Ser2netTest : public LinkTest {
protected:
    void SetUp() override
    {
        if (Ser2netServer::Program().empty())
            GTEST_SKIP() << "ser2net is not installed (scripts/deps.sh installs it)";
        LinkTest::SetUp();
        rfc = server.add({"telnet(rfc2217)", radio.path(), 0, ""});
        raw = server.add({"", rawRadio.path(), 0, ""});
        std::string error;
        ASSERT_TRUE(server.start(&error)) << error;
    }
    std::string Rfc() const { return "rfc2217://127.0.0.1:" + std::to_string(server.port(rfc)); }
    std::string Raw() const { return "tcp://127.0.0.1:" + std::to_string(server.port(raw)); }

    PtyRadio radio;
    PtyRadio rawRadio; // a line of its own: the server opens a device for one connection at a time
    Ser2netServer server;
    std::size_t rfc = 0;
    std::size_t raw = 0;
};
