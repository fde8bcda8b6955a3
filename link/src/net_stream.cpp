// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's line over the network: the stream's reads and writes through
// the socket or TLS, losses put in the operator's words, and the connect that
// stacks TCP, TLS and telnet.
#include "net_stream.h"

#include "net.h"
#include "net_tcp.h"
#include "telnet_codes.h"
#include "tls_support.h"
#include "status.h"
#include "trace.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

namespace corvan::detail {

namespace {

using Clock = std::chrono::steady_clock;

} // namespace

void Stream::Lost(std::string text)
{
    if (!m_gone) {
        TraceNote("%s", text.c_str());
        m_lossText = text;
    }
    m_gone = true;
    SetLossText(std::move(text));
}

void Stream::Dropped()
{
    if (m_ssl != nullptr && ERR_peek_error() != 0) {
        Lost(TlsFailureText(m_where));
    } else if (m_ssl != nullptr && m_connecting) {
        // A server that checks client certificates may just close the
        // connection after the handshake when it does not take ours.
        Lost(m_presented ? "The server refused our certificate (it closed the connection after TLS)"
                         : "The server closed the connection after TLS (it may want a client certificate)");
    } else {
        Lost("The connection to " + m_where + " has gone");
    }
}

void Stream::SettleTls(Clock::time_point deadline)
{
    // With TLS 1.3 a server that does not take our certificate says so only
    // after the handshake: wait a round trip or two for that alert.
    const auto until = std::min(deadline, Clock::now() + std::chrono::milliseconds(2 * m_rttMs + 150));
    std::unique_lock lock(m_io);
    while (!m_gone && m_hold.empty()) {
        lock.unlock();
        pollfd pfd{m_fd, POLLIN, 0};
        const int ms = PollMs(until);
        const int pr = ms == 0 ? 0 : ::poll(&pfd, 1, ms);
        lock.lock();
        if (pr <= 0)
            return;
        PortError e = PortError::None;
        Pump(e);
    }
}

Stream::Io Stream::Receive(unsigned char* data, std::size_t capacity, std::size_t& got)
{
    got = 0;
    if (m_ssl == nullptr) {
        for (;;) {
            const ssize_t n = ::recv(m_fd, data, capacity, 0);
            if (n > 0) {
                got = static_cast<std::size_t>(n);
                return Io::Done;
            }
            if (n == 0)
                return Io::Closed;
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return Io::WantRead;
            return Io::Failed;
        }
    }
    ERR_clear_error();
    const NoSigpipe guard;
    const int n = SSL_read(m_ssl, data, static_cast<int>(std::min<std::size_t>(capacity, 1 << 20)));
    if (n > 0) {
        got = static_cast<std::size_t>(n);
        return Io::Done;
    }
    switch (SSL_get_error(m_ssl, n)) {
    case SSL_ERROR_WANT_READ:
        return Io::WantRead;
    case SSL_ERROR_WANT_WRITE:
        return Io::WantWrite;
    case SSL_ERROR_ZERO_RETURN:
        return Io::Closed;
    case SSL_ERROR_SYSCALL:
        if (ERR_peek_error() == 0)
            return Io::Closed; // end of file without close_notify: the peer went
        return Io::Failed;
    default:
        return Io::Failed;
    }
}

Stream::Io Stream::Flush()
{
    while (!m_out.empty()) {
        if (m_ssl == nullptr) {
            const ssize_t n = ::send(m_fd, m_out.data(), m_out.size(), MSG_NOSIGNAL);
            if (n > 0) {
                m_out.erase(m_out.begin(), m_out.begin() + n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return Io::WantWrite;
            return Io::Failed;
        }
        ERR_clear_error();
        const NoSigpipe guard;
        const int n = SSL_write(m_ssl, m_out.data(), static_cast<int>(std::min<std::size_t>(m_out.size(), 1 << 20)));
        if (n > 0) {
            m_out.erase(m_out.begin(), m_out.begin() + n);
            continue;
        }
        switch (SSL_get_error(m_ssl, n)) {
        case SSL_ERROR_WANT_READ:
            return Io::WantRead;
        case SSL_ERROR_WANT_WRITE:
            return Io::WantWrite;
        default:
            return Io::Failed;
        }
    }
    return Io::Done;
}

Stream::Io Stream::Queue(const unsigned char* data, std::size_t length)
{
    m_out.insert(m_out.end(), data, data + length);
    return Flush();
}

bool Stream::Pump(PortError& error)
{
    error = PortError::None;
    if (m_gone) {
        error = PortError::Gone;
        return false;
    }
    if (!m_out.empty() && Flush() == Io::Failed) {
        Dropped();
        error = PortError::Gone;
        return false;
    }
    unsigned char buffer[2048];
    for (int round = 0; round < 8; ++round) {
        std::size_t got = 0;
        const Io r = Receive(buffer, sizeof buffer, got);
        if (r == Io::WantRead || r == Io::WantWrite) {
            if (round == 0)
                error = PortError::Again;
            return true;
        }
        if (r == Io::Closed || r == Io::Failed) {
            Dropped();
            error = PortError::Gone;
            return false;
        }
        if (m_telnet) {
            for (std::size_t i = 0; i < got; ++i)
                Telnet(buffer[i]);
        } else {
            m_hold.insert(m_hold.end(), buffer, buffer + got);
        }
        if (got < sizeof buffer && (m_ssl == nullptr || SSL_pending(m_ssl) == 0))
            return true;
    }
    return true;
}

std::size_t Stream::Read(void* data, std::size_t capacity, PortError& error)
{
    std::lock_guard lock(m_io);
    error = PortError::None;
    if (m_hold.empty()) {
        if (!Pump(error))
            return 0;
        if (m_hold.empty()) {
            error = PortError::Again;
            return 0;
        }
    }
    const std::size_t n = std::min(capacity, m_hold.size());
    std::memcpy(data, m_hold.data(), n);
    m_hold.erase(m_hold.begin(), m_hold.begin() + static_cast<std::ptrdiff_t>(n));
    error = PortError::None;
    return n;
}

PortError Stream::WriteAll(const void* data, std::size_t length, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    const auto* p = static_cast<const unsigned char*>(data);
    std::unique_lock lock(m_io);
    if (m_gone)
        return PortError::Gone;
    if (m_telnet) {
        // 0xFF in the data goes out doubled, so that it is not a command.
        for (std::size_t i = 0; i < length; ++i) {
            m_out.push_back(p[i]);
            if (p[i] == kIac)
                m_out.push_back(kIac);
        }
    } else {
        m_out.insert(m_out.end(), p, p + length);
    }
    for (;;) {
        const Io r = Flush();
        if (r == Io::Done)
            return PortError::None;
        if (r == Io::Failed) {
            Dropped();
            return PortError::Gone;
        }
        lock.unlock();
        pollfd pfd{m_fd, static_cast<short>(r == Io::WantRead ? POLLIN : POLLOUT), 0};
        const int ms = PollMs(deadline);
        if (ms == 0) {
            lock.lock();
            return PortError::Again;
        }
        const int pr = ::poll(&pfd, 1, ms);
        lock.lock();
        if (pr < 0 && errno != EINTR)
            return MapErrno(errno);
        if (r == Io::WantRead && pr > 0) {
            // The TLS layer needs to read before it can write on: keep what
            // it reads for the read thread.
            PortError e = PortError::None;
            if (!Pump(e))
                return PortError::Gone;
        }
    }
}

void Stream::Purge()
{
    std::lock_guard lock(m_io);
    if (m_telnet && !m_gone) {
        const unsigned char both = 3;
        SendComPort(kPurgeData, &both, 1);
    }
    m_hold.clear();
    PortError e = PortError::None;
    Pump(e);
    m_hold.clear();
}

void Stream::PurgeInput()
{
    std::lock_guard lock(m_io);
    m_hold.clear();
    PortError e = PortError::None;
    Pump(e);
    m_hold.clear();
}

void Stream::MeasureKernelRoundTrip()
{
    tcp_info info{};
    socklen_t len = sizeof info;
    if (::getsockopt(m_fd, IPPROTO_TCP, TCP_INFO, &info, &len) == 0 && info.tcpi_rtt > 0)
        m_rttMs.store((info.tcpi_rtt + 999) / 1000);
}

std::unique_ptr<NetStream> NetStream::Connect(const PortAddress& address, const TlsOptions& tls,
                                              Clock::time_point deadline, std::string& why)
{
    const int fd = ConnectTcp(address, deadline, why);
    if (fd < 0)
        return nullptr;
    auto stream = std::make_unique<Stream>(address, fd);
    if (address.tls && !stream->StartTls(tls, deadline, why))
        return nullptr;
    if (!address.tls && address.kind == PortAddress::Kind::Tcp)
        stream->MeasureKernelRoundTrip(); // RFC 2217 measures its own, on the first answer
    if (address.tls && address.kind == PortAddress::Kind::Tcp) {
        stream->SettleTls(deadline);
        const std::string lost = stream->lossText();
        if (!lost.empty()) {
            why = lost;
            return nullptr;
        }
        stream->Settled();
    }
    if (address.kind == PortAddress::Kind::Rfc2217 && !stream->StartTelnet(deadline, why))
        return nullptr;
    return stream;
}

} // namespace corvan::detail
