// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's side of the wire: what goes out (with faults and pacing
// applied), what was dropped coming in, and the trace of both directions.
#pragma once

#include "band_model.h"

#include <qxsim.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>

namespace qxsim::detail {

using Clock = std::chrono::steady_clock;

class Line {
public:
    explicit Line(const Options& options);
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    void reset();  // forget pending output (a new pseudo-terminal)
    void setFaults(const Faults& faults) { faults_ = faults; }
    void setBaud(unsigned baud) { options_.baud = baud; }
    const Faults& faults() const { return faults_; }

    // A reply (with its ";"): delay, split, noise, drops and duplicates apply.
    void queue(const std::string& reply, Clock::time_point now);
    // Bytes that go out as they are (echo, injected noise), after what is queued.
    void queueRaw(const std::string& bytes, Clock::time_point now);
    bool dropIncoming();

    // When something is due to be written (max() when nothing is pending).
    Clock::time_point nextDue(Clock::time_point now) const;
    bool ready(Clock::time_point now) const;
    // Writes what is due to the non-blocking `fd`.
    void flush(int fd, Clock::time_point now);

    void traceIn(const std::string& bytes, Clock::time_point now);
    std::uint64_t bytesIn() const { return in_; }
    std::uint64_t bytesOut() const { return out_; }

private:
    struct Chunk {
        std::string bytes;
        Clock::time_point notBefore;
    };
    void trace(char direction, const std::string& bytes, Clock::time_point now);
    Clock::duration byteTime() const;

    Options options_;
    Faults faults_;
    Random rng_;
    std::deque<Chunk> pending_;
    std::size_t pendingBytes_ = 0;
    Clock::time_point nextByte_{};
    std::FILE* trace_ = nullptr;
    Clock::time_point start_;
    std::uint64_t in_ = 0;
    std::uint64_t out_ = 0;
};

}  // namespace qxsim::detail
