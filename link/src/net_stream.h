// SPDX-License-Identifier: GPL-3.0-or-later
// The network stream behind NetStream: one socket, optionally inside TLS,
// optionally speaking telnet with the COM-port option. Its I/O is in
// net_stream.cpp, the TLS handshake in net_tls.cpp, the telnet side in
// net_telnet.cpp.
#pragma once

#include "net.h"
#include "tls_support.h"

#include <openssl/ssl.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace corvan::detail {

// One connection to the server; m_io guards what the connecting thread and
// the read thread share.
class Stream final : public NetStream {
public:
    using Clock = std::chrono::steady_clock;

    Stream(const PortAddress& a, int fd) : m_address(a), m_where(DescribePort(a)), m_fd(fd) {}
    ~Stream() override
    {
        if (m_ssl != nullptr) {
            const NoSigpipe guard;
            SSL_shutdown(m_ssl); // one try: the close_notify, if the socket takes it
            SSL_free(m_ssl);
        }
        if (m_ctx != nullptr)
            SSL_CTX_free(m_ctx);
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool StartTls(const TlsOptions& options, Clock::time_point deadline, std::string& why);
    bool StartTelnet(Clock::time_point deadline, std::string& why);
    void SettleTls(Clock::time_point deadline);
    void Settled()
    {
        std::lock_guard lock(m_io);
        m_connecting = false;
    }
    std::string lossText() override
    {
        std::lock_guard lock(m_io);
        return m_lossText;
    }
    void MeasureKernelRoundTrip();

    PortError Apply(const PortSettings& s, bool wait, Clock::time_point deadline, std::string& why) override;
    PortError WriteAll(const void* data, std::size_t length, std::chrono::milliseconds limit) override;
    std::size_t Read(void* data, std::size_t capacity, PortError& error) override;
    bool Pending() override
    {
        std::lock_guard lock(m_io);
        return !m_hold.empty() || (m_ssl != nullptr && SSL_pending(m_ssl) > 0);
    }
    void Purge() override;
    void PurgeInput() override;
    int fd() const override { return m_fd; }
    std::uint32_t roundTripMs() const override { return m_rttMs; }

private:
    enum class Io { Done, WantRead, WantWrite, Closed, Failed };
    // One receive from the socket or TLS (caller holds m_io).
    Io Receive(unsigned char* data, std::size_t capacity, std::size_t& got);
    // Sends as much of m_out as the socket takes now (caller holds m_io).
    Io Flush();
    // Queues bytes for the server and sends what the socket takes.
    Io Queue(const unsigned char* data, std::size_t length);
    // Reads what arrived, answers telnet commands, appends data to m_hold.
    // Returns false when the connection is gone.
    bool Pump(PortError& error);
    void Telnet(unsigned char byte);
    void Negotiate(unsigned char verb, unsigned char option);
    void Subnegotiation();
    void SendCommand(unsigned char verb, unsigned char option);
    void SendComPort(unsigned char command, const unsigned char* value, std::size_t length);
    void Lost(std::string text);
    // The connection failed or closed: says why in the operator's words.
    void Dropped();

    PortAddress m_address;
    std::string m_where;
    int m_fd = -1;
    SSL_CTX* m_ctx = nullptr;
    SSL* m_ssl = nullptr;
    bool m_telnet = false;
    std::atomic<std::uint32_t> m_rttMs{0};
    bool m_presented = false;  // a client certificate was offered
    bool m_connecting = true;  // until the server has answered once after TLS

    std::mutex m_io;                    // the socket, the TLS object, m_out, m_hold
    std::vector<unsigned char> m_out;   // bytes queued for the server
    std::vector<unsigned char> m_hold;  // data bytes read but not yet handed out
    bool m_gone = false;
    std::string m_lossText;

    // Telnet state (used by whichever thread reads: Conn before the read
    // thread runs, the read thread after).
    enum class Tn { Data, Iac, Verb, Sb, SbIac } m_tn = Tn::Data;
    unsigned char m_verb = 0;
    std::vector<unsigned char> m_sb;
    enum class Q { No, Yes, WantYes };
    void Agree(Q& state, bool takesPart, unsigned char option, unsigned char yes, unsigned char no);
    void Withdraw(Q& state, unsigned char option, unsigned char no);
    Q m_us[256] = {};  // options on this side (WILL)
    Q m_him[256] = {}; // options on the server's side (DO)
    bool m_comRefused = false;

    // What the server confirmed of the last settings sent (guarded by m_io).
    std::uint32_t m_gotBaud = 0;
    int m_gotSize = -1;
    int m_gotParity = -1;
    int m_gotStop = -1;
    Clock::time_point m_sentAt{};
    bool m_timing = false;
    bool m_measured = false;
};

} // namespace corvan::detail
