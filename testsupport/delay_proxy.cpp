// SPDX-License-Identifier: GPL-3.0-or-later
// The delaying proxy: one thread, poll over the listening socket and every
// connection pair; bytes wait in a queue with the time they may go on.
#include "delay_proxy.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Chunk {
    Clock::time_point due;
    std::vector<unsigned char> bytes;
};

struct Pair {
    int fd[2] = {-1, -1};          // 0: the client, 1: the target
    std::deque<Chunk> queue[2];    // queue[i]: bytes read from fd[i], bound for fd[1 - i]
    bool eof[2] = {false, false};  // fd[i] reached its end
    ~Pair()
    {
        for (int f : fd)
            if (f >= 0)
                ::close(f);
    }
};

int ConnectTo(const std::string& host, std::uint16_t port)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return -1;
    int fd = -1;
    for (addrinfo* ai = found; ai != nullptr && fd < 0; ai = ai->ai_next) {
        fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd >= 0 && ::connect(fd, ai->ai_addr, ai->ai_addrlen) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ::freeaddrinfo(found);
    if (fd >= 0) {
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    return fd;
}

} // namespace

DelayProxy::DelayProxy(std::string targetHost, std::uint16_t targetPort, std::chrono::milliseconds roundTrip)
    : m_host(std::move(targetHost)), m_targetPort(targetPort), m_halfUs(roundTrip.count() * 500)
{
}

DelayProxy::~DelayProxy() { stop(); }

std::string DelayProxy::hostPort() const { return "127.0.0.1:" + std::to_string(m_port); }

void DelayProxy::setRoundTrip(std::chrono::milliseconds roundTrip) { m_halfUs.store(roundTrip.count() * 500); }

void DelayProxy::setFrozen(bool frozen)
{
    m_frozen.store(frozen);
    const char b = 'w';
    [[maybe_unused]] const ssize_t w = ::write(m_wake[1], &b, 1);
}

void DelayProxy::dropAll()
{
    m_drop.store(true);
    const char b = 'w';
    [[maybe_unused]] const ssize_t w = ::write(m_wake[1], &b, 1);
}

bool DelayProxy::start()
{
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listen < 0)
        return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(m_listen, 8) != 0 ||
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len) != 0 || ::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        ::close(m_listen);
        m_listen = -1;
        return false;
    }
    m_port = ntohs(a.sin_port);
    m_thread = std::thread([this] { run(); });
    return true;
}

void DelayProxy::stop()
{
    if (m_thread.joinable()) {
        const char b = 'q';
        [[maybe_unused]] const ssize_t w = ::write(m_wake[1], &b, 1);
        m_thread.join();
    }
    for (int* f : {&m_listen, &m_wake[0], &m_wake[1]}) {
        if (*f >= 0)
            ::close(*f);
        *f = -1;
    }
}

void DelayProxy::run()
{
    std::vector<std::unique_ptr<Pair>> pairs;
    for (;;) {
        const auto now = Clock::now();
        const bool frozen = m_frozen.load();
        if (m_drop.exchange(false))
            pairs.clear();
        // Forward what is due; note the next time something falls due.
        auto next = now + std::chrono::hours(1);
        for (auto& p : pairs) {
            for (int i = 0; i < 2 && !frozen; ++i) {
                auto& q = p->queue[i];
                while (!q.empty() && q.front().due <= now) {
                    auto& c = q.front();
                    const ssize_t n = ::send(p->fd[1 - i], c.bytes.data(), c.bytes.size(), MSG_NOSIGNAL);
                    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                        break;
                    if (n <= 0) {
                        p->eof[0] = p->eof[1] = true;
                        q.clear();
                        break;
                    }
                    c.bytes.erase(c.bytes.begin(), c.bytes.begin() + n);
                    if (!c.bytes.empty())
                        break;
                    q.pop_front();
                }
                if (!q.empty())
                    next = std::min(next, std::max(q.front().due, now + std::chrono::milliseconds(1)));
                else if (p->eof[i])
                    ::shutdown(p->fd[1 - i], SHUT_WR); // the end reached the far side
            }
        }
        // A pair is done when both ends closed and nothing is left to send.
        std::erase_if(pairs, [](const std::unique_ptr<Pair>& p) {
            return p->eof[0] && p->eof[1] && p->queue[0].empty() && p->queue[1].empty();
        });

        std::vector<pollfd> fds;
        fds.push_back({m_wake[0], POLLIN, 0});
        fds.push_back({m_listen, POLLIN, 0});
        for (auto& p : pairs)
            for (int i = 0; i < 2; ++i)
                fds.push_back({p->fd[i], static_cast<short>(p->eof[i] || frozen ? 0 : POLLIN), 0});
        const auto waitMs = std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count();
        const int r = ::poll(fds.data(), fds.size(), static_cast<int>(std::clamp<long long>(waitMs, 1, 1000)));
        if (r < 0 && errno != EINTR)
            return;
        if ((fds[0].revents & POLLIN) != 0) {
            char b[16];
            const ssize_t n = ::read(m_wake[0], b, sizeof b);
            for (ssize_t k = 0; k < n; ++k)
                if (b[k] == 'q')
                    return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            const int c = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (c >= 0) {
                const int t = ConnectTo(m_host, m_targetPort);
                if (t < 0) {
                    ::close(c);
                } else {
                    const int one = 1;
                    ::setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                    auto p = std::make_unique<Pair>();
                    p->fd[0] = c;
                    p->fd[1] = t;
                    pairs.push_back(std::move(p));
                    m_accepted.fetch_add(1);
                }
            }
        }
        const auto arrived = Clock::now();
        const auto half = std::chrono::microseconds(m_halfUs.load());
        std::size_t k = 2;
        for (auto& p : pairs) {
            for (int i = 0; i < 2; ++i, ++k) {
                if (k >= fds.size() || fds[k].fd != p->fd[i] || (fds[k].revents & (POLLIN | POLLHUP | POLLERR)) == 0)
                    continue;
                unsigned char buffer[4096];
                const ssize_t n = ::recv(p->fd[i], buffer, sizeof buffer, 0);
                if (n > 0)
                    p->queue[i].push_back({arrived + half, std::vector<unsigned char>(buffer, buffer + n)});
                else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                    p->eof[i] = true;
            }
        }
    }
}
