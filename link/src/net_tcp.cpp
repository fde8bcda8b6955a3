// SPDX-License-Identifier: GPL-3.0-or-later
// Reaching the server: the name looked up on a thread of its own within the
// time limit, a non-blocking connect to each address in turn, keepalive.
#include "net_tcp.h"


#include <arpa/inet.h>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace corvan::detail {

namespace {

using Clock = std::chrono::steady_clock;

// Keepalive: a peer silent this long is probed, and given up after the
// probes go unanswered (about 25 s in all); unacknowledged data is given
// up after 20 s.
constexpr int kKeepIdleS = 10;
constexpr int kKeepIntervalS = 5;
constexpr int kKeepCount = 3;
constexpr unsigned kUserTimeoutMs = 20000;

std::string ErrnoText(int e) { return std::strerror(e); }

// getaddrinfo has no time limit of its own that we control: it runs on a
// thread of its own, and a lookup that outlives the deadline is abandoned
// (the thread finishes on its own and frees what it found).
struct Lookup {
    std::mutex mu;
    std::condition_variable cv;
    bool done = false;
    int status = 0;
    addrinfo* result = nullptr;
    ~Lookup()
    {
        if (result != nullptr)
            ::freeaddrinfo(result);
    }
};

std::shared_ptr<Lookup> Resolve(const std::string& host, std::uint16_t port, Clock::time_point deadline)
{
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, port] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
        addrinfo* found = nullptr;
        const int status = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
        std::lock_guard lock(lookup->mu);
        lookup->status = status;
        lookup->result = found;
        lookup->done = true;
        lookup->cv.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mu);
    if (!lookup->cv.wait_until(lock, deadline, [&] { return lookup->done; }))
        return nullptr;
    return lookup;
}

void SetSocketOptions(int fd)
{
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one); // commands are small and waited for
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepIdleS, sizeof kKeepIdleS);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepIntervalS, sizeof kKeepIntervalS);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &kKeepCount, sizeof kKeepCount);
    ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUserTimeoutMs, sizeof kUserTimeoutMs);
}

} // namespace

int PollMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 60000));
}

bool IsIpLiteral(const std::string& host)
{
    in6_addr a6{};
    in_addr a4{};
    return ::inet_pton(AF_INET6, host.c_str(), &a6) == 1 || ::inet_pton(AF_INET, host.c_str(), &a4) == 1;
}

int ConnectTcp(const PortAddress& a, Clock::time_point deadline, std::string& why)
{
    const std::string where = DescribePort(a);
    const auto lookup = Resolve(a.host, a.port, deadline);
    if (!lookup) {
        why = "The name " + a.host + " could not be looked up in time";
        return -1;
    }
    if (lookup->status != 0) {
        if (lookup->status == EAI_NONAME || lookup->status == EAI_NODATA || lookup->status == EAI_FAIL)
            why = "No such host " + a.host;
        else if (lookup->status == EAI_AGAIN)
            why = "The name " + a.host + " could not be looked up (no answer from the name server)";
        else
            why = "The name " + a.host + " could not be looked up: " + ::gai_strerror(lookup->status);
        return -1;
    }
    int lastError = ETIMEDOUT;
    for (const addrinfo* ai = lookup->result; ai != nullptr; ai = ai->ai_next) {
        const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        int r = ::connect(fd, ai->ai_addr, ai->ai_addrlen);
        if (r != 0 && errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            do {
                r = ::poll(&p, 1, PollMs(deadline));
            } while (r < 0 && errno == EINTR);
            if (r == 0) {
                lastError = ETIMEDOUT;
                ::close(fd);
                break; // the time is up for every address
            }
            int soError = 0;
            socklen_t len = sizeof soError;
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len);
            r = soError == 0 ? 0 : -1;
            errno = soError;
        }
        if (r == 0) {
            SetSocketOptions(fd);
            return fd;
        }
        lastError = errno;
        ::close(fd);
    }
    switch (lastError) {
    case ECONNREFUSED:
        why = "Connection refused by " + where;
        break;
    case ETIMEDOUT:
        why = "No answer from " + where + " (timed out)";
        break;
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EADDRNOTAVAIL:
        why = where + " cannot be reached (" + ErrnoText(lastError) + ")";
        break;
    default:
        why = "Could not connect to " + where + ": " + ErrnoText(lastError);
        break;
    }
    return -1;
}

} // namespace corvan::detail
