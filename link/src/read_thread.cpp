// SPDX-License-Identifier: GPL-3.0-or-later
// The read thread: waits on the port and on a wake-up descriptor, reads what
// arrived and hands it to the accumulator.
#include "accumulator.h"
#include "link.h"
#include "testing.h"
#include "trace.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace corvan::detail {

namespace {

// Back-off after a hang-up or I/O error: a vanished device must not make the
// thread spin. Doubles from 50 ms up to 800 ms; any good read resets it.
constexpr int kBackoffFirstMs = 50;
constexpr int kBackoffMaxMs = 800;
// Pause after handing text to the direct path, as the radio's terminal
// output comes in bursts.
constexpr int kDirectPauseMs = 100;

std::atomic<std::uint64_t> g_bytesRead{0};
std::atomic<std::uint64_t> g_readFailures{0};
std::atomic<std::uint64_t> g_wakeups{0};

// Waits on the wake-up descriptor alone; true when it was signalled.
bool WaitWake(int wakeFd, int ms)
{
    pollfd pfd{wakeFd, POLLIN, 0};
    const int r = ::poll(&pfd, 1, ms);
    return r > 0 && (pfd.revents & POLLIN) != 0;
}

void ReadLoop(Link& link, Block& block)
{
    Accumulator acc;
    acc.Reset(NowSeconds());
    char buffer[kAccumulatorMax + 1];
    int backoff = 0;
    int lastBackoff = 0;
    const int fd = link.port.fd();
    while (link.run.load() != 0) {
        g_wakeups.fetch_add(1, std::memory_order_relaxed);
        if (backoff > 0) {
            WaitWake(link.wakeFd, backoff);
            backoff = 0;
            continue;
        }
        pollfd fds[2] = {{fd, POLLIN, 0}, {link.wakeFd, POLLIN, 0}};
        // Bytes already decrypted or held back by the network layer do not
        // show on the descriptor.
        const bool pending = link.port.Pending();
        const int r = ::poll(fds, 2, pending ? 0 : -1);
        if (pending && r >= 0)
            fds[0].revents |= POLLIN;
        if (r < 0) {
            if (errno != EINTR) {
                TraceNote("wait failed: %s", PortErrorText(MapErrno(errno)));
                backoff = kBackoffMaxMs;
            }
            continue;
        }
        if ((fds[1].revents & POLLIN) != 0)
            continue; // Close: the loop condition ends the thread
        if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) == 0)
            continue;
        PortError error = PortError::None;
        const std::size_t n = link.port.Read(buffer, kAccumulatorMax, error);
        if (n == 0) {
            if (error == PortError::Again && (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) == 0)
                continue;
            g_readFailures.fetch_add(1, std::memory_order_relaxed);
            lastBackoff = lastBackoff == 0 ? kBackoffFirstMs : std::min(lastBackoff * 2, kBackoffMaxMs);
            if (lastBackoff == kBackoffFirstMs)
                TraceNote("read failed: %s", PortErrorText(error));
            backoff = lastBackoff;
            continue;
        }
        lastBackoff = 0;
        buffer[n] = '\0';
        TraceBytes('<', buffer, n);
        const auto result = acc.Feed(buffer, n, NowSeconds(), block);
        // Counted once decoded: whoever sees the count reach a byte knows the
        // store already holds what that byte ended.
        g_bytesRead.fetch_add(n);
        if (result == Accumulator::Result::Direct)
            WaitWake(link.wakeFd, kDirectPauseMs);
    }
}

} // namespace

bool StartReader(Link& link, Block& block)
{
    link.wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (link.wakeFd < 0)
        return false;
    link.run.store(1);
    link.reader = std::thread([&link, &block] {
        link.alive.store(1);
        ReadLoop(link, block);
        link.port.PurgeInput();
        link.alive.store(0);
    });
    return true;
}

void StopReader(Link& link)
{
    link.run.store(0);
    if (link.wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t w = ::write(link.wakeFd, &one, sizeof one);
    }
    if (link.reader.joinable())
        link.reader.join();
    if (link.wakeFd >= 0) {
        ::close(link.wakeFd);
        link.wakeFd = -1;
    }
}

} // namespace corvan::detail

namespace corvan::testing {

std::uint64_t BytesRead() { return detail::g_bytesRead.load(); }
std::uint64_t ReadFailures() { return detail::g_readFailures.load(); }
std::uint64_t ReadWakeups() { return detail::g_wakeups.load(); }

} // namespace corvan::testing
