// SPDX-License-Identifier: GPL-3.0-or-later
// What the sweep tests share: a wait for a condition on the test's thread, a
// sink that counts ended sweeps, the scan's settings for one sweep, and one
// sweep run to its end.
#pragma once

#include "scan_rules.h"
#include "sweep_engine.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

namespace glimra::testing {

// Polls `done` until it holds or `limit` passes (the link and the radio run
// on threads of their own).
inline bool Eventually(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Draws nothing; counts the sweeps that ended.
class EndCountingSink : public SweepSink {
public:
    void drawBar(int, int) override {}
    void sweepEnded() override { ++ended; }
    std::atomic<int> ended{0};
};

// `span` channels of `step` around `centre` on the receiver `selector`,
// starting at the lowest.
inline void ConfigureSweep(ScanControl& control, std::uint32_t selector, std::int64_t centre, std::int64_t step,
                           int span, int interval, bool repeat) {
    control.selector = selector;
    control.centre = centre;
    control.step = step;
    control.span = span;
    control.interval = interval;
    control.repeat = repeat ? 1 : 0;
    const Edges e = EdgesAround(centre, step, span);
    control.low = e.low;
    control.high = e.high;
    control.current = e.low;
}

// Starts the thread, runs one sweep and shuts the thread down; true when
// the sweep ended within `limit`.
inline bool SweepOnce(SweepEngine& engine, const EndCountingSink& sink, std::chrono::milliseconds limit) {
    engine.start();
    engine.beginSweep();
    const bool ended = Eventually([&] { return sink.ended.load() >= 1; }, limit);
    engine.shutdown();
    return ended;
}

} // namespace glimra::testing
