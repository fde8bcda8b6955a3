// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweep_engine.h"

#include "scan_rules.h"

#include <corvan.h>

#include <cstdio>

namespace glimra {

namespace {

// How much longer than the measured round trip a reading is awaited on a
// slow line before the channel is left unmeasured.
constexpr std::chrono::milliseconds kLateAnswer{1000};

} // namespace

ScanControl::ScanControl() {
    clearLevels();
}

void ScanControl::clearLevels() {
    for (auto& v : level) {
        v.store(kNotMeasured);
    }
}

SweepEngine::SweepEngine(ScanControl& control, SweepSink& sink)
    : m_control(control), m_sink(sink), m_link(std::make_unique<CCorvan>()) {}

SweepEngine::~SweepEngine() {
    shutdown();
}

void SweepEngine::start() {
    if (m_thread.joinable()) {
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_control.clearLevels();
        m_control.alive = 0;
        m_control.run = 1;
        m_control.scanning = 0;
        m_control.paused = 0;
        m_control.stopped = 1;
        m_control.repeat = 0;
    }
    m_thread = std::thread([this] { body(); });
}

void SweepEngine::shutdown() {
    {
        std::lock_guard lock(m_mutex);
        m_control.run = 0;
        m_control.scanning = 0;
        m_control.repeat = 0;
    }
    m_cv.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SweepEngine::beginSweep() {
    enterState(m_control.scanning, true);
}

void SweepEngine::resumeSweep() {
    enterState(m_control.scanning, false);
}

void SweepEngine::pauseSweep() {
    enterState(m_control.paused, false);
}

void SweepEngine::stopSweep() {
    enterState(m_control.stopped, false);
}

void SweepEngine::enterState(std::atomic<std::int32_t>& raised, bool fromLow) {
    {
        std::lock_guard lock(m_mutex);
        if (fromLow) {
            m_control.current = m_control.low.load();
        }
        // The new state goes up before the others come down, so the thread,
        // which reads the flags without the lock, never sees all three down.
        raised = 1;
        for (auto* flag : {&m_control.scanning, &m_control.paused, &m_control.stopped}) {
            if (flag != &raised) {
                *flag = 0;
            }
        }
    }
    m_cv.notify_all();
}

void SweepEngine::wake() {
    { std::lock_guard lock(m_mutex); }
    m_cv.notify_all();
}

bool SweepEngine::waitIdle(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    return m_cv.wait_for(lock, limit, [this] { return !m_busy.load(); });
}

template <class Pred>
bool SweepEngine::waitFor(std::chrono::milliseconds limit, Pred done) {
    std::unique_lock lock(m_mutex);
    m_cv.wait_for(lock, limit, [&] { return done() || m_control.run.load() == 0; });
    return done();
}

void SweepEngine::resetToLow() {
    m_control.current = m_control.low.load();
    m_control.scanning = 0;
    m_control.paused = 0;
}

void SweepEngine::body() {
    ScanControl& c = m_control;
    c.alive = 1;
    while (c.run.load() != 0) {
        while (c.scanning.load() != 0 && c.run.load() != 0) {
            sweepOnce();
            if (c.current.load() > c.high.load()) {
                // The high edge: back to the low edge, and on only with repeat.
                c.current = c.low.load();
                if (c.repeat.load() == 0) {
                    bool ended = false;
                    {
                        std::lock_guard lock(m_mutex);
                        if (c.scanning.load() != 0) {
                            c.scanning = 0;
                            ended = true;
                        }
                    }
                    if (ended) {
                        m_sink.sweepEnded();
                    }
                }
            } else {
                std::lock_guard lock(m_mutex);
                if (c.stopped.load() != 0) {
                    resetToLow();
                }
            }
        }
        {
            std::lock_guard lock(m_mutex);
            if (c.stopped.load() != 0) {
                resetToLow();
            }
        }
        if (c.paused.load() != 0) {
            refreshPaused(); // waits up to 100 ms for the meter itself
            continue;
        }
        if (c.scanning.load() == 0) {
            waitFor(std::chrono::milliseconds(100), [&] {
                return c.scanning.load() != 0 || c.paused.load() != 0;
            });
        }
    }
    c.alive = 0;
}

void SweepEngine::sweepOnce() {
    ScanControl& c = m_control;
    const std::int64_t step = c.step.load();
    const int span = c.span.load();
    if (c.current.load() > c.high.load()) {
        return;
    }
    // The channel follows from the frequency, so a sweep restarted at the
    // low edge always begins at bar 0.
    if (step <= 0) {
        // No sensible step: nothing to sweep; end as at the high edge.
        c.current = c.high.load() + 1;
        return;
    }
    int channel = static_cast<int>((c.current.load() - c.low.load()) / step);
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (c.scanning.load() == 0 || c.run.load() == 0) {
                break;
            }
            m_busy = true;
        }
        if (channel < 0 || channel >= span || channel >= kLevelCount) {
            // Bad edges: end the sweep rather than write past the levels.
            c.current = c.high.load() + 1;
        } else {
            measureChannel(channel);
            c.current = c.current.load() + step;
            ++channel;
        }
        {
            std::lock_guard lock(m_mutex);
            m_busy = false;
        }
        m_cv.notify_all();
        if (c.current.load() > c.high.load()) {
            break;
        }
    }
}

void SweepEngine::measureChannel(int channel) {
    ScanControl& c = m_control;
    const std::uint32_t selector = c.selector.load();
    const std::uint32_t meter = MeterFor(selector);
    const std::int64_t frequency = c.current.load();
    c.level[static_cast<std::size_t>(channel)] = kNotMeasured;
    const bool inBand = frequency >= 0 && m_link->GetRcvBand(selector, frequency) != 0;
    if (inBand) {
        m_sink.drawBar(channel, 1);
        char text[24];
        std::snprintf(text, sizeof text, "%011lld", static_cast<long long>(frequency));
        // An answer that came after the last channel was given up belongs to
        // that channel, not to this one.
        std::uint32_t stale = 0;
        m_link->RcvDataSM(meter, &stale);
        switch (selector) {
        case 1:
            m_link->ConnFB("W", text);
            break;
        case 2:
            m_link->ConnFC("W", text);
            break;
        default:
            m_link->ConnFA("W", text);
            break;
        }
        m_link->ConnSM(meter);
        // The full interval even when a stop arrives meanwhile: the channel
        // in hand is finished (only a shutdown cuts it short).
        waitFor(std::chrono::milliseconds(c.interval.load()), [] { return false; });
        std::uint32_t value = 0;
        std::int32_t level = kNotMeasured;
        // Over a slow line the answer is still on its way after the
        // interval: it is awaited for one round trip, and for up to
        // kLateAnswer more when the radio's own reports went first or the
        // line was busy. It is this channel's answer all the same; left
        // for the next query it would be taken for the next channel's.
        bool answered = m_link->RcvDataSM(meter, &value) != 0;
        if (!answered && c.replyAllowance.load() > 0) {
            const auto until = Clock::now() + std::chrono::milliseconds(c.replyAllowance.load()) + kLateAnswer;
            while (!answered && Clock::now() < until) {
                if (waitFor(std::chrono::milliseconds(2), [&] { return c.run.load() == 0; }))
                    break; // shut down
                answered = m_link->RcvDataSM(meter, &value) != 0;
            }
        }
        if (answered) {
            level = static_cast<std::int32_t>(meter == 1 ? value * 2 : value);
        }
        c.level[static_cast<std::size_t>(channel)] = level;
        ++m_measured;
    }
    m_sink.drawBar(channel, inBand ? 1 : 0);
}

void SweepEngine::refreshPaused() {
    ScanControl& c = m_control;
    const std::uint32_t selector = c.selector.load();
    const std::uint32_t meter = MeterFor(selector);
    m_link->ConnSM(meter);
    // Wait for the answer, at most the 100 ms the idle loop would wait.
    std::uint32_t value = 0;
    bool got = false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(100 + c.replyAllowance.load());
    while (!got && Clock::now() < deadline) {
        got = m_link->RcvDataSM(meter, &value) != 0;
        if (!got && waitFor(std::chrono::milliseconds(10), [&] {
                return c.paused.load() == 0;
            })) {
            return; // resumed or stopped meanwhile
        }
    }
    const std::int32_t level = got ? static_cast<std::int32_t>(meter == 1 ? value * 2 : value) : 0;
    const int span = c.span.load();
    const int p = c.sliderPos.load();
    if (p < 0 || p >= span || p >= kLevelCount || c.paused.load() == 0) {
        return;
    }
    const std::int64_t frequency = ChannelFrequency(c.centre.load(), c.step.load(), span, p);
    if (frequency >= 0 && m_link->GetRcvBand(selector, frequency) != 0) {
        c.level[static_cast<std::size_t>(p)] = level;
        m_sink.drawBar(p, 1);
    }
    // Leave the rest of the 100 ms before the next reading.
    waitFor(std::chrono::duration_cast<std::chrono::milliseconds>(
                std::max(deadline - Clock::now(), Clock::duration::zero())),
            [&] { return c.paused.load() == 0; });
}

} // namespace glimra
