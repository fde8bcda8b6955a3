// SPDX-License-Identifier: GPL-3.0-or-later
#include "delay_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <vector>

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

struct Held {
    Clock::time_point due;
    unsigned char byte;
};

// Bytes on their way in one direction, written out once due.
class Direction {
public:
    void Take(const unsigned char* data, std::size_t size, Clock::time_point due) {
        for (std::size_t i = 0; i < size; ++i)
            m_held.push_back({due, data[i]});
    }
    // Writes what is due to `fd`; the number of bytes written.
    std::size_t Flush(int fd, Clock::time_point now) {
        std::vector<unsigned char> out;
        for (const Held& h : m_held) {
            if (h.due > now)
                break;
            out.push_back(h.byte);
        }
        if (out.empty())
            return 0;
        const ssize_t written = ::write(fd, out.data(), out.size());
        if (written <= 0)
            return 0;
        m_held.erase(m_held.begin(), m_held.begin() + written);
        return static_cast<std::size_t>(written);
    }
    // Milliseconds until the next byte is due (-1: nothing held).
    int Timeout(Clock::time_point now) const {
        if (m_held.empty())
            return -1;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_held.front().due - now);
        return static_cast<int>(std::max<long long>(0, left.count()));
    }

private:
    std::deque<Held> m_held;
};

void MakeRaw(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return;
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    ::tcsetattr(fd, TCSANOW, &t);
}

int Earliest(int a, int b) {
    if (a < 0)
        return b;
    if (b < 0)
        return a;
    return std::min(a, b);
}

} // namespace

DelayPty::DelayPty(std::string device, std::chrono::milliseconds roundTrip)
    : m_device(std::move(device)), m_roundTripMs(roundTrip.count()) {}

DelayPty::~DelayPty() { Stop(); }

void DelayPty::SetRoundTrip(std::chrono::milliseconds roundTrip) { m_roundTripMs = roundTrip.count(); }

std::chrono::milliseconds DelayPty::RoundTrip() const { return std::chrono::milliseconds(m_roundTripMs.load()); }

bool DelayPty::Start() {
    if (Running())
        return true;
    m_deviceFd = ::open(m_device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_deviceFd < 0) {
        m_error = "cannot open " + m_device + ": " + std::strerror(errno);
        return false;
    }
    MakeRaw(m_deviceFd);
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        m_error = std::string("no pseudo-terminal: ") + std::strerror(errno);
        Stop();
        return false;
    }
    const char* name = ::ptsname(m_master);
    m_path = name ? name : "";
    // Holding the program's side open keeps the relay alive across the
    // program's closes and opens; the line starts raw, as a serial line.
    m_slaveHold = ::open(m_path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveHold >= 0)
        MakeRaw(m_slaveHold);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_error = std::string("no pipe: ") + std::strerror(errno);
        Stop();
        return false;
    }
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void DelayPty::Stop() {
    if (m_thread.joinable()) {
        m_stop = true;
        const char one = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(m_wake[1], &one, 1);
        m_thread.join();
    }
    for (int* fd : {&m_deviceFd, &m_master, &m_slaveHold, &m_wake[0], &m_wake[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void DelayPty::Run() {
    Direction toDevice, toProgram;
    speed_t carried = B0;
    unsigned char buffer[512];
    while (!m_stop) {
        // The program's line rate, carried to the device.
        termios programSide{};
        if (::tcgetattr(m_master, &programSide) == 0) {
            const speed_t speed = ::cfgetospeed(&programSide);
            if (speed != carried && speed != B0) {
                termios deviceSide{};
                if (::tcgetattr(m_deviceFd, &deviceSide) == 0) {
                    ::cfsetispeed(&deviceSide, speed);
                    ::cfsetospeed(&deviceSide, speed);
                    ::tcsetattr(m_deviceFd, TCSANOW, &deviceSide);
                }
                carried = speed;
            }
        }
        const auto now = Clock::now();
        // Rate changes are looked at a few times a second even when idle.
        const int timeout = Earliest(Earliest(toDevice.Timeout(now), toProgram.Timeout(now)), 50);
        pollfd fds[3] = {{m_master, POLLIN, 0}, {m_deviceFd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        ::poll(fds, 3, timeout);
        const auto arrived = Clock::now();
        const auto half = std::chrono::microseconds(m_roundTripMs.load() * 500);
        if (fds[0].revents & POLLIN) {
            const ssize_t got = ::read(m_master, buffer, sizeof buffer);
            if (got > 0)
                toDevice.Take(buffer, static_cast<std::size_t>(got), arrived + half);
        }
        if (fds[1].revents & POLLIN) {
            const ssize_t got = ::read(m_deviceFd, buffer, sizeof buffer);
            if (got > 0)
                toProgram.Take(buffer, static_cast<std::size_t>(got), arrived + half);
        }
        // A far end that hung up (the radio stopped) is not read in a spin.
        const short gone = POLLHUP | POLLERR;
        if (((fds[0].revents & gone) && !(fds[0].revents & POLLIN)) ||
            ((fds[1].revents & gone) && !(fds[1].revents & POLLIN)))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const auto later = Clock::now();
        m_toDevice += toDevice.Flush(m_deviceFd, later);
        m_toProgram += toProgram.Flush(m_master, later);
    }
}

} // namespace testsupport
