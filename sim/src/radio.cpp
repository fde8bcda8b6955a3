// SPDX-License-Identifier: GPL-3.0-or-later
// The radio on its pseudo-terminal: one thread serves the master side with
// poll(), frames commands by ";", hands them to the engine and writes the
// replies back, with faults and pacing applied on the way out.
#include "radio_impl.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

namespace qxsim {

namespace {

speed_t speedOf(unsigned baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

}  // namespace

bool Radio::Impl::lineRateMatches() const
{
    if (!options.checkLineRate || slave < 0)
        return true;
    termios t{};
    if (::tcgetattr(slave, &t) != 0)
        return true;
    return cfgetispeed(&t) == speedOf(engine.state().baud) ||
           cfgetospeed(&t) == speedOf(engine.state().baud);
}

void Radio::Impl::send(const std::vector<std::string>& replies, Clock::time_point now)
{
    for (const auto& r : replies) {
        sent.push_back(r);
        line.queue(r + ";", now);
    }
    if (!replies.empty())
        bump();
}

void Radio::Impl::onCommand(std::string text, Clock::time_point now)
{
    // A command code may follow line noise: control bytes before it are skipped.
    std::size_t start = 0;
    while (start < text.size()) {
        const auto u = static_cast<unsigned char>(text[start]);
        if (u >= 0x20 && u < 0x7F && text[start] != ' ')
            break;
        ++start;
    }
    text.erase(0, start);
    if (text.empty())
        return;
    received.push_back({now, text});
    bump();
    if (line.faults().silent)
        return;
    std::vector<std::string> replies;
    engine.handle(text, now, replies);
    engine.reportBusyChange(replies);
    line.setBaud(engine.state().baud);  // SR 2 returns the radio to 9600
    send(replies, now);
}

void Radio::Impl::onBytes(const char* data, std::size_t n, Clock::time_point now)
{
    line.traceIn(std::string(data, n), now);
    bump();
    if (!lineRateMatches())
        return;  // at another rate the radio hears only garbage
    for (std::size_t i = 0; i < n; ++i) {
        const char ch = data[i];
        if (line.dropIncoming())
            continue;
        if (engine.terminalMode()) {
            // The packet terminal echoes what it is sent; "TC 1;" ends it.
            line.queueRaw(std::string(1, ch), now);
            terminalTail += ch;
            if (terminalTail.size() > 8)
                terminalTail.erase(0, terminalTail.size() - 8);
            if (terminalTail.size() >= 5 && terminalTail.compare(terminalTail.size() - 5, 5, "TC 1;") == 0) {
                received.push_back({now, "TC 1"});
                engine.state().terminal = 1;
                engine.state().menu["0550000"] = "0";
                terminalTail.clear();
                input.clear();
                if (engine.state().ai == 2 && options.echoSets)
                    send({"TC01"}, now);
                bump();
            }
            continue;
        }
        if (ch == ';') {
            std::string text;
            text.swap(input);
            onCommand(std::move(text), now);
            continue;
        }
        input += ch;
        if (input.size() > 512)
            input.clear();  // no command is this long: resynchronise on the next ";"
    }
}

void Radio::Impl::serve()
{
    char buf[4096];
    for (;;) {
        int timeout;
        short events = POLLIN;
        {
            std::lock_guard lock(m);
            if (stopping)
                break;
            const auto now = Clock::now();
            auto due = std::min(engine.nextTick(), line.nextDue(now));
            if (line.ready(now))
                events |= POLLOUT;
            if (due == Clock::time_point::max())
                timeout = -1;
            else
                timeout = static_cast<int>(std::clamp<long long>(
                    std::chrono::ceil<std::chrono::milliseconds>(due - now).count(), 0, 1000));
        }
        pollfd fds[2] = {{master, events, 0}, {wake, POLLIN, 0}};
        const int r = ::poll(fds, 2, timeout);
        if (r < 0 && errno != EINTR)
            break;
        if (fds[1].revents & POLLIN) {
            std::uint64_t v;
            [[maybe_unused]] auto n = ::read(wake, &v, sizeof v);
        }
        std::lock_guard lock(m);
        if (stopping)
            break;
        const auto now = Clock::now();
        if (fds[0].revents & POLLIN) {
            const auto n = ::read(master, buf, sizeof buf);
            if (n > 0)
                onBytes(buf, static_cast<std::size_t>(n), now);
        }
        if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Nobody holds the program's side: nothing to serve until one does.
            // (We keep our own slave open, so this is rare; do not spin.)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::vector<std::string> reports;
        engine.tick(now, reports);
        engine.reportBusyChange(reports);
        send(reports, now);
        line.flush(master, now);
    }
}

void Radio::Impl::closeFds()
{
    for (int* fd : {&master, &slave, &wake})
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
}

// ------------------------------------------------------------ Radio

Radio::Radio(Options options) : impl_(std::make_unique<Impl>(options)) {}

Radio::~Radio()
{
    stop();
}

bool Radio::start()
{
    std::lock_guard lock(impl_->m);
    Impl& d = *impl_;
    if (d.running)
        return true;
    char name[128] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&d.master, &d.slave, name, &raw, nullptr) != 0) {
        d.error = std::string("no pseudo-terminal: ") + std::strerror(errno);
        d.master = d.slave = -1;
        return false;
    }
    ::fcntl(d.master, F_SETFD, FD_CLOEXEC);
    ::fcntl(d.slave, F_SETFD, FD_CLOEXEC);
    ::fcntl(d.master, F_SETFL, ::fcntl(d.master, F_GETFL) | O_NONBLOCK);
    d.wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (d.wake < 0) {
        d.error = std::string("no eventfd: ") + std::strerror(errno);
        d.closeFds();
        return false;
    }
    d.path = name;
    d.input.clear();
    d.terminalTail.clear();
    d.line.reset();
    d.stopping = false;
    d.running = true;
    d.thread = std::thread([&d] { d.serve(); });
    return true;
}

void Radio::stop()
{
    Impl& d = *impl_;
    // The thread exists exactly while the radio runs (start and stop are the
    // owner's to call). It is told to stop before the lock is taken: under a
    // flood of commands it would hold the lock almost without a break.
    if (!d.thread.joinable())
        return;
    d.stopping = true;
    d.wakeUp();
    d.thread.join();
    std::lock_guard lock(d.m);
    d.closeFds();
    d.running = false;
}

void Radio::hangUp()
{
    stop();
}

}  // namespace qxsim
