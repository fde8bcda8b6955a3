// The radio on its pseudo-terminal: one thread serves the master side with
// poll(), frames commands by ";", hands them to the engine and writes the
// replies back, with faults and pacing applied on the way out.
#include "engine.h"
#include "line.h"

#include <qxsim.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace qxsim {

using detail::Clock;

struct Radio::Impl {
    explicit Impl(const Options& o) : options(o), engine(o), line(o) {}

    Options options;
    mutable std::mutex m;
    mutable std::condition_variable changed;
    std::uint64_t version = 0;  // counts what `changed` signals
    void bump()
    {
        ++version;
        changed.notify_all();
    }
    detail::Engine engine;
    detail::Line line;

    int master = -1;
    int slave = -1;   // held open so the pair lives while the program reconnects
    int wake = -1;
    std::string path;
    std::string error;
    std::thread thread;
    bool stopping = false;
    bool running = false;

    std::string input;          // bytes since the last ";"
    std::string terminalTail;   // the last bytes heard in terminal mode
    std::vector<Received> received;
    std::vector<std::string> sent;

    void serve();
    void onBytes(const char* data, std::size_t n, Clock::time_point now);
    void onCommand(std::string text, Clock::time_point now);
    void send(const std::vector<std::string>& replies, Clock::time_point now);
    bool lineRateMatches() const;
    template <typename Action>
    void panel(Action action)
    {
        std::lock_guard lock(m);
        std::vector<std::string> reports;
        const auto now = Clock::now();
        action(engine, reports, now);
        engine.reportBusyChange(reports);
        send(reports, now);
        wakeUp();
    }
    void closeFds();
    void wakeUp() const
    {
        if (wake >= 0) {
            const std::uint64_t one = 1;
            [[maybe_unused]] auto r = ::write(wake, &one, sizeof one);
        }
    }
};

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
    {
        std::lock_guard lock(d.m);
        if (!d.running)
            return;
        d.stopping = true;
        d.wakeUp();
    }
    if (d.thread.joinable())
        d.thread.join();
    std::lock_guard lock(d.m);
    d.closeFds();
    d.running = false;
}

void Radio::hangUp()
{
    stop();
}

bool Radio::running() const
{
    std::lock_guard lock(impl_->m);
    return impl_->running;
}

std::string Radio::devicePath() const
{
    std::lock_guard lock(impl_->m);
    return impl_->path;
}

std::string Radio::lastError() const
{
    std::lock_guard lock(impl_->m);
    return impl_->error;
}

Options Radio::options() const
{
    std::lock_guard lock(impl_->m);
    return impl_->options;
}

std::vector<Received> Radio::received() const
{
    std::lock_guard lock(impl_->m);
    return impl_->received;
}

void Radio::clearReceived()
{
    std::lock_guard lock(impl_->m);
    impl_->received.clear();
}

std::size_t Radio::countOf(const std::string& prefix) const
{
    std::lock_guard lock(impl_->m);
    return static_cast<std::size_t>(std::count_if(
        impl_->received.begin(), impl_->received.end(),
        [&](const Received& r) { return r.text.compare(0, prefix.size(), prefix) == 0; }));
}

bool Radio::waitFor(const std::string& prefix, std::chrono::milliseconds timeout) const
{
    return waitFor(
        [&](const std::vector<Received>& all) {
            return std::any_of(all.begin(), all.end(), [&](const Received& r) {
                return r.text.compare(0, prefix.size(), prefix) == 0;
            });
        },
        timeout);
}

bool Radio::waitFor(const std::function<bool(const std::vector<Received>&)>& done,
                    std::chrono::milliseconds timeout) const
{
    // `done` sees a copy, outside the lock, so it may call the radio itself.
    const auto deadline = Clock::now() + timeout;
    std::unique_lock lock(impl_->m);
    for (;;) {
        const auto snapshot = impl_->received;
        const auto seen = impl_->version;
        lock.unlock();
        if (done(snapshot))
            return true;
        lock.lock();
        if (!impl_->changed.wait_until(lock, deadline, [&] { return impl_->version != seen; })) {
            const auto last = impl_->received;
            lock.unlock();
            return done(last);
        }
    }
}

bool Radio::waitForBytesIn(std::uint64_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(impl_->m);
    return impl_->changed.wait_for(lock, timeout, [&] { return impl_->line.bytesIn() >= count; });
}

std::vector<std::string> Radio::sent() const
{
    std::lock_guard lock(impl_->m);
    return impl_->sent;
}

void Radio::clearSent()
{
    std::lock_guard lock(impl_->m);
    impl_->sent.clear();
}

bool Radio::waitForSent(const std::string& prefix, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(impl_->m);
    return impl_->changed.wait_for(lock, timeout, [&] {
        return std::any_of(impl_->sent.begin(), impl_->sent.end(), [&](const std::string& s) {
            return s.compare(0, prefix.size(), prefix) == 0;
        });
    });
}

State Radio::state() const
{
    std::lock_guard lock(impl_->m);
    return impl_->engine.state();
}

void Radio::modify(const std::function<void(State&)>& change)
{
    std::lock_guard lock(impl_->m);
    change(impl_->engine.state());
}

long long Radio::value(const std::string& key, std::size_t field) const
{
    std::lock_guard lock(impl_->m);
    const auto& v = impl_->engine.state().values;
    auto it = v.find(key);
    return it == v.end() || field >= it->second.size() ? 0 : it->second[field];
}

std::string Radio::menuValue(int menu, int sub, int a, int b) const
{
    char key[16];
    std::snprintf(key, sizeof key, "%03d%02d%d%d", menu, sub, a, b);
    std::lock_guard lock(impl_->m);
    const auto& mv = impl_->engine.state().menu;
    auto it = mv.find(key);
    return it == mv.end() ? std::string("0") : it->second;
}

// Front-panel actions change the state under the lock and send their reports.
void Radio::setFrequency(Vfo vfo, std::int64_t hz)
{
    impl_->panel([&](auto& e, auto& r, auto) { e.panelFrequency(vfo, hz, r); });
}
void Radio::turnDial(int steps)
{
    impl_->panel([&](auto& e, auto& r, auto) { e.panelDial(steps, r); });
}
void Radio::pressKey(Key key)
{
    impl_->panel([&](auto& e, auto& r, auto) { e.panelKey(key, r); });
}
void Radio::setMode(int mode)
{
    impl_->panel([&](auto& e, auto& r, auto) { e.panelMode(mode, r); });
}
void Radio::setValue(const std::string& key, std::vector<long long> numbers)
{
    impl_->panel([&](auto& e, auto& r, auto) { e.panelValue(key, std::move(numbers), r); });
}
void Radio::setMenu(int menu, int sub, int a, int b, const std::string& text)
{
    impl_->panel([&](auto& e, auto& r, auto) { e.panelMenu(menu, sub, a, b, text, r); });
}
void Radio::setPower(bool on)
{
    impl_->panel([&](auto& e, auto& r, auto) { e.panelPower(on, r); });
}
void Radio::transmit(bool on)
{
    impl_->panel([&](auto& e, auto& r, auto) { e.panelTransmit(on, r); });
}
void Radio::startScan(int kind)
{
    impl_->panel([&](auto& e, auto& r, auto now) { e.panelScan(kind, now, r); });
}
void Radio::stopScan()
{
    impl_->panel([&](auto& e, auto& r, auto now) { e.panelScan(0, now, r); });
}

void Radio::setDialStep(int hz)
{
    std::lock_guard lock(impl_->m);
    impl_->engine.dialStep = std::max(1, hz);
}

void Radio::setIdentity(int identity)
{
    std::lock_guard lock(impl_->m);
    impl_->engine.setIdentity(identity);
    impl_->options.identity = identity;
}

void Radio::setFaults(const Faults& faults)
{
    std::lock_guard lock(impl_->m);
    impl_->line.setFaults(faults);
    impl_->wakeUp();
}

Faults Radio::faults() const
{
    std::lock_guard lock(impl_->m);
    return impl_->line.faults();
}

void Radio::inject(const std::string& bytes)
{
    std::lock_guard lock(impl_->m);
    impl_->line.queueRaw(bytes, Clock::now());
    impl_->wakeUp();
}

int Radio::sMeterAt(std::int64_t hz) const
{
    std::lock_guard lock(impl_->m);
    return impl_->engine.band().level(hz);
}

std::vector<std::int64_t> Radio::stations() const
{
    std::lock_guard lock(impl_->m);
    std::vector<std::int64_t> out;
    for (const auto& s : impl_->engine.band().stations())
        out.push_back(s.hz);
    return out;
}

std::uint64_t Radio::bytesIn() const
{
    std::lock_guard lock(impl_->m);
    return impl_->line.bytesIn();
}

std::uint64_t Radio::bytesOut() const
{
    std::lock_guard lock(impl_->m);
    return impl_->line.bytesOut();
}

}  // namespace qxsim
