// SPDX-License-Identifier: GPL-3.0-or-later
// sweep_engine.h - the worker thread of the visual scan and the control
// block it shares with the window.
//
// Threading contract:
// - The window (UI thread) owns the ScanControl and the SweepEngine. It
//   changes the run state only through beginSweep/pauseSweep/stopSweep/
//   resumeSweep, which take the block's mutex, so a state change of the
//   window is never lost against the thread's own reset of the flags.
// - The sweep thread reads every field lock-free (all of them are atomics),
//   tunes and reads the meter through its own link object, writes the level
//   array and reports through SweepSink, whose calls only queue a message.
// - Every wait of the thread is on a condition variable that the window and
//   shutdown() signal: a stop never waits out a sleep.
// No Qt here: the engine runs headless against any radio the link reaches.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

class CCorvan;

namespace glimra {

inline constexpr int kLevelCount = 181;
inline constexpr std::int32_t kNotMeasured = -1;

struct ScanControl {
    std::atomic<std::uint32_t> selector{0};
    std::atomic<std::int64_t> step{100};
    std::atomic<std::int32_t> span{61};
    std::atomic<std::int32_t> interval{100};
    // What a meter reading's wait adds for a slow line (its round trip);
    // 0 on a local line.
    std::atomic<std::int32_t> replyAllowance{0};
    std::atomic<std::int32_t> repeat{0};
    std::atomic<std::int32_t> alive{0};
    std::atomic<std::int32_t> run{0};
    std::atomic<std::int32_t> scanning{0};
    std::atomic<std::int32_t> paused{0};
    std::atomic<std::int32_t> stopped{1};
    std::atomic<std::int64_t> low{0};
    std::atomic<std::int64_t> centre{0};
    std::atomic<std::int64_t> high{0};
    std::atomic<std::int64_t> current{0};
    // The channel under the slider, read by the thread while paused.
    std::atomic<std::int32_t> sliderPos{0};
    std::array<std::atomic<std::int32_t>, kLevelCount> level{};

    ScanControl();
    void clearLevels();
};

// Where the thread reports. Implementations only queue (any thread).
class SweepSink {
public:
    virtual ~SweepSink() = default;
    // Draw the bar of `channel`; `show` 1 copies it to the screen at once.
    virtual void drawBar(int channel, int show) = 0;
    // A sweep without repeat reached the high edge: the window runs its Stop.
    virtual void sweepEnded() = 0;
};

class SweepEngine {
public:
    using Clock = std::chrono::steady_clock;

    SweepEngine(ScanControl& control, SweepSink& sink);
    ~SweepEngine(); // shuts the thread down
    SweepEngine(const SweepEngine&) = delete;
    SweepEngine& operator=(const SweepEngine&) = delete;

    // Thread start: the block is reset (levels -1, stopped), the thread runs.
    void start();
    // Thread stop: run, scanning and repeat to 0, wake, join. Idempotent.
    void shutdown();
    bool running() const { return m_thread.joinable(); }

    // Run-state changes of the window (UI thread).
    void beginSweep();   // current = low, scanning 1, paused and stopped 0
    void resumeSweep();  // scanning 1, paused and stopped 0, current kept
    void pauseSweep();   // paused 1, scanning and stopped 0
    void stopSweep();    // stopped 1, scanning and paused 0
    // Wakes the thread after the window changed a field it waits on.
    void wake();

    // Waits until the thread has left the channel it was measuring (true),
    // or until `limit` passed (false).
    bool waitIdle(std::chrono::milliseconds limit);

    // Channels measured since start (for measurements).
    std::uint64_t channelsMeasured() const { return m_measured.load(); }

private:
    void body();
    void sweepOnce();
    void measureChannel(int channel);
    void refreshPaused();
    // Waits up to `limit` or until `done` holds or run is 0; true if done.
    template <class Pred>
    bool waitFor(std::chrono::milliseconds limit, Pred done);
    void resetToLow(); // under the lock: current = low, flags idle
    // Under the lock: `raised` (scanning, paused or stopped) to 1, the other
    // two to 0, current to low when `fromLow`; then wakes the thread.
    void enterState(std::atomic<std::int32_t>& raised, bool fromLow);

    ScanControl& m_control;
    SweepSink& m_sink;
    std::unique_ptr<CCorvan> m_link;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::atomic<bool> m_busy{false};
    std::atomic<std::uint64_t> m_measured{0};
};

} // namespace glimra
