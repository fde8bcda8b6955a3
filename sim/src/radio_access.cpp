// SPDX-License-Identifier: GPL-3.0-or-later
// What tests and programs ask of a running radio: the record of the line,
// the state, the front panel, faults and the band model.
#include "radio_impl.h"

#include <algorithm>
#include <cstdio>

namespace qxsim {

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
