// SPDX-License-Identifier: GPL-3.0-or-later
#include "wire.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace qxsim_test {

using Clock = std::chrono::steady_clock;

Wire::Wire(const std::string& path, speed_t speed)
{
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ >= 0)
        setSpeed(speed);
}

Wire::~Wire()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void Wire::setSpeed(speed_t speed)
{
    termios t{};
    ::tcgetattr(fd_, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    ::tcsetattr(fd_, TCSANOW, &t);
}

void Wire::send(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        else {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 100);
        }
    }
}

bool Wire::readable(std::chrono::steady_clock::time_point end) const
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0)
        return false;
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, static_cast<int>(left)) > 0 && (p.revents & POLLIN);
}

std::string Wire::read(int count, std::chrono::milliseconds timeout)
{
    std::string got;
    const auto end = Clock::now() + timeout;
    int seen = 0;
    while (seen < count) {
        if (!readable(end))
            break;
        // One byte at a time so nothing after the last awaited ";" is taken.
        char c;
        if (::read(fd_, &c, 1) != 1)
            break;
        got += c;
        if (c == ';')
            ++seen;
    }
    return got;
}

std::string Wire::readBytes(std::size_t bytes, std::chrono::milliseconds timeout)
{
    std::string got;
    const auto end = Clock::now() + timeout;
    char buf[256];
    while (got.size() < bytes) {
        if (!readable(end))
            break;
        const auto want = std::min(sizeof buf, bytes - got.size());
        const auto n = ::read(fd_, buf, want);
        if (n <= 0)
            break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

bool Wire::hungUp(std::chrono::milliseconds timeout)
{
    const auto end = Clock::now() + timeout;
    while (Clock::now() < end) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 50) > 0) {
            if (p.revents & (POLLHUP | POLLERR))
                return true;
            char c;
            const auto n = ::read(fd_, &c, 1);
            if (n == 0 || (n < 0 && errno == EIO))
                return true;
        }
    }
    return false;
}

Started::Started(qxsim::Options o) : radio(o)
{
    ok = radio.start();
    if (ok)
        wire = std::make_unique<Wire>(radio.devicePath());
}

}  // namespace qxsim_test
