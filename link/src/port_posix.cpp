// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port through termios.
#include "port.h"

#include "net.h"

#include "port_termios.h"
#include "trace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace corvan::detail {

static_assert(sizeof(termios) <= 128, "termios must fit the saved settings");

PortError MapErrno(int error)
{
    switch (error) {
    case 0:
        return PortError::None;
    case ENOENT:
    case ENODEV:
        return PortError::NotFound;
    case EACCES:
    case EPERM:
        return PortError::Permission;
    case EBUSY:
        return PortError::Busy;
    case ENOTTY:
        return PortError::NotTerminal;
    case EIO:
    case ENXIO:
    case EBADF:
        return PortError::Gone;
    case EINVAL:
        return PortError::BadSettings;
    case EAGAIN:
        return PortError::Again;
    default:
        return PortError::Other;
    }
}

const char* PortErrorText(PortError error)
{
    switch (error) {
    case PortError::None:
        return "no error";
    case PortError::NotFound:
        return "no such device";
    case PortError::Permission:
        return "permission denied";
    case PortError::Busy:
        return "device busy";
    case PortError::NotTerminal:
        return "not a terminal";
    case PortError::Gone:
        return "device gone";
    case PortError::BadSettings:
        return "settings not supported";
    case PortError::Again:
        return "timed out";
    case PortError::Other:
        break;
    }
    return "input/output error";
}

namespace {

speed_t SpeedOf(std::uint32_t baud)
{
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B0;
    }
}

tcflag_t SizeOf(std::uint32_t bits)
{
    switch (bits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

} // namespace

void FillTermios(termios& t, const PortSettings& s)
{
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= SizeOf(s.dataBits) | CLOCAL | CREAD;
    switch (s.parity) {
    case 'E':
    case 'e':
        t.c_cflag |= PARENB;
        break;
    case 'O':
    case 'o':
        t.c_cflag |= PARENB | PARODD;
        break;
    case 'M':
    case 'm':
        t.c_cflag |= PARENB | PARODD | CMSPAR;
        break;
    case 'S':
    case 's':
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    if (s.stopBits == 2)
        t.c_cflag |= CSTOPB;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    const speed_t speed = SpeedOf(s.baud);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
}

bool ValidSettings(const PortSettings& s)
{
    return SpeedOf(s.baud) != B0 && s.dataBits >= 5 && s.dataBits <= 8 &&
           (s.stopBits == 1 || s.stopBits == 2);
}

Port::Port() = default;
Port::~Port() { Close(); }

int Port::fd() const { return m_net ? m_net->fd() : m_fd; }

std::uint32_t Port::roundTripMs() const { return m_net ? m_net->roundTripMs() : 0; }

bool Port::Pending() { return m_net && m_net->Pending(); }

PortError Port::OpenNetwork(const PortAddress& address, const TlsOptions& tls,
                            std::chrono::steady_clock::time_point deadline, std::string& why)
{
    if (isOpen())
        return PortError::None;
    m_net = NetStream::Connect(address, tls, deadline, why);
    return m_net ? PortError::None : PortError::NotFound;
}

PortError Port::Apply(const PortSettings& s, bool wait, std::chrono::steady_clock::time_point deadline,
                      std::string& why)
{
    if (!m_net)
        return Apply(s);
    if (!ValidSettings(s))
        return PortError::BadSettings;
    return m_net->Apply(s, wait, deadline, why);
}

PortError Port::Open(const char* path)
{
    if (m_fd >= 0)
        return PortError::None;
    if (path == nullptr || path[0] == '\0')
        return PortError::NotFound;
    const int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return MapErrno(errno);
    if (!::isatty(fd)) {
        ::close(fd);
        return PortError::NotTerminal;
    }
    termios saved{};
    if (::tcgetattr(fd, &saved) != 0) {
        const PortError e = MapErrno(errno);
        ::close(fd);
        return e;
    }
    // Exclusive use: a second program opening the radio's line would steal replies.
    if (::ioctl(fd, TIOCEXCL) != 0)
        TraceNote("exclusive use not available: %s", PortErrorText(MapErrno(errno)));
    std::memcpy(m_saved, &saved, sizeof saved);
    m_haveSaved = true;
    m_fd = fd;
    return PortError::None;
}

PortError Port::Apply(const PortSettings& s)
{
    if (m_net) {
        std::string why;
        return Apply(s, false, std::chrono::steady_clock::now(), why);
    }
    if (m_fd < 0)
        return PortError::Gone;
    if (!ValidSettings(s))
        return PortError::BadSettings;
    termios t{};
    if (::tcgetattr(m_fd, &t) != 0)
        return MapErrno(errno);
    FillTermios(t, s);
    if (::tcsetattr(m_fd, TCSANOW, &t) != 0)
        return MapErrno(errno);

    // The radio answers nothing without RTS. A pseudo-terminal has no modem
    // lines and refuses these calls; that is expected and only traced.
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    if (::ioctl(m_fd, TIOCMBIC, &dtr) != 0 || ::ioctl(m_fd, TIOCMBIS, &rts) != 0)
        TraceNote("modem lines not set (%s)", PortErrorText(MapErrno(errno)));
    return PortError::None;
}

void Port::Purge()
{
    if (m_net) {
        m_net->Purge();
        return;
    }
    if (m_fd < 0)
        return;
    ::tcflush(m_fd, TCOFLUSH);
    ::tcflush(m_fd, TCIFLUSH);
}

void Port::PurgeInput()
{
    if (m_net)
        m_net->PurgeInput();
    else if (m_fd >= 0)
        ::tcflush(m_fd, TCIFLUSH);
}

PortError Port::WriteAll(const void* data, std::size_t length, std::chrono::milliseconds limit)
{
    if (m_net)
        return m_net->WriteAll(data, length, limit);
    if (m_fd < 0)
        return PortError::Gone;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    const auto* p = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(m_fd, p + done, length - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return MapErrno(errno);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return PortError::Again;
        pollfd pfd{m_fd, POLLOUT, 0};
        const int r = ::poll(&pfd, 1, static_cast<int>(left.count()));
        if (r < 0 && errno != EINTR)
            return MapErrno(errno);
        if (r > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 && (pfd.revents & POLLOUT) == 0)
            return PortError::Gone;
    }
    return PortError::None;
}

std::size_t Port::Read(void* data, std::size_t capacity, PortError& error)
{
    error = PortError::None;
    if (m_net)
        return m_net->Read(data, capacity, error);
    if (m_fd < 0) {
        error = PortError::Gone;
        return 0;
    }
    for (;;) {
        const ssize_t n = ::read(m_fd, data, capacity);
        if (n > 0)
            return static_cast<std::size_t>(n);
        if (n == 0) {
            error = PortError::Gone; // hang-up: end of file on a terminal
            return 0;
        }
        if (errno == EINTR)
            continue;
        error = MapErrno(errno);
        return 0;
    }
}

void Port::Close()
{
    m_net.reset();
    if (m_fd < 0)
        return;
    if (m_haveSaved) {
        termios saved{};
        std::memcpy(&saved, m_saved, sizeof saved);
        ::tcsetattr(m_fd, TCSANOW, &saved);
    }
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_haveSaved = false;
}

} // namespace corvan::detail
