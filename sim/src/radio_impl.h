// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's insides, shared by the files that serve the line and the
// members that tests call. Private to the library.
#pragma once

#include "engine.h"
#include "line.h"

#include <qxsim.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

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
    // Set without the lock: a client that writes without pause keeps the
    // thread taking the lock again at once, and stop() must not wait for a gap.
    std::atomic<bool> stopping{false};
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

}  // namespace qxsim
