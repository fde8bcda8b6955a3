// SPDX-License-Identifier: GPL-3.0-or-later
#include "line.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace qxsim::detail {

namespace {
// The program may stop reading; past this the oldest output is dropped.
constexpr std::size_t kMaxPending = 64 * 1024;
}

Line::Line(const Options& options)
    : options_(options), faults_(options.faults), rng_(options.seed * 7919 + 17),
      start_(Clock::now())
{
    if (!options.tracePath.empty())
        trace_ = std::fopen(options.tracePath.c_str(), "a");
}

Line::~Line()
{
    if (trace_)
        std::fclose(trace_);
}

void Line::reset()
{
    pending_.clear();
    pendingBytes_ = 0;
    nextByte_ = {};
}

Clock::duration Line::byteTime() const
{
    // Ten bits a byte: start, eight data bits, stop.
    const unsigned baud = std::max(300u, options_.baud);
    return std::chrono::duration_cast<Clock::duration>(std::chrono::microseconds(10'000'000 / baud));
}

void Line::queue(const std::string& reply, Clock::time_point now)
{
    std::string bytes;
    for (char c : reply) {
        if (faults_.noise > 0 && rng_.uniform() < faults_.noise)
            bytes += static_cast<char>(rng_.between(0, 255));
        if (faults_.drop > 0 && rng_.uniform() < faults_.drop)
            continue;
        bytes += c;
        if (faults_.duplicate > 0 && rng_.uniform() < faults_.duplicate)
            bytes += c;
    }
    if (bytes.empty())
        return;  // every byte was lost
    const auto at = now + faults_.delay;
    if (faults_.splitAt >= 0 && static_cast<std::size_t>(faults_.splitAt) < bytes.size()) {
        const auto cut = static_cast<std::size_t>(faults_.splitAt);
        pending_.push_back({bytes.substr(0, cut), at});
        pending_.push_back({bytes.substr(cut), at + faults_.splitPause});
    } else {
        pending_.push_back({bytes, at});
    }
    pendingBytes_ += bytes.size();
    while (pendingBytes_ > kMaxPending && !pending_.empty()) {
        pendingBytes_ -= pending_.front().bytes.size();
        pending_.pop_front();
    }
}

void Line::queueRaw(const std::string& bytes, Clock::time_point now)
{
    if (bytes.empty())
        return;
    pending_.push_back({bytes, now});
    pendingBytes_ += bytes.size();
}

bool Line::dropIncoming()
{
    return faults_.dropReceived > 0 && rng_.uniform() < faults_.dropReceived;
}

Clock::time_point Line::nextDue(Clock::time_point) const
{
    if (pending_.empty())
        return Clock::time_point::max();
    auto due = pending_.front().notBefore;
    if (options_.pace)
        due = std::max(due, nextByte_);
    return due;
}

bool Line::ready(Clock::time_point now) const
{
    return !pending_.empty() && nextDue(now) <= now;
}

void Line::flush(int fd, Clock::time_point now)
{
    while (!pending_.empty() && pending_.front().notBefore <= now) {
        Chunk& c = pending_.front();
        std::size_t allowed = c.bytes.size();
        Clock::time_point base = now;
        if (options_.pace) {
            if (nextByte_ > now)
                return;
            // Catch up with the bytes due since the last one went out, unless
            // the line has been idle (then start afresh).
            if (now - nextByte_ < std::chrono::milliseconds(20))
                base = nextByte_;
            allowed = std::min<std::size_t>(allowed, 1 + static_cast<std::size_t>((now - base) / byteTime()));
        }
        const auto n = ::write(fd, c.bytes.data(), allowed);
        if (n <= 0)
            return;  // EAGAIN: the program is not reading; try again later
        const auto written = static_cast<std::size_t>(n);
        trace('>', c.bytes.substr(0, written), now);
        out_ += written;
        pendingBytes_ -= written;
        if (options_.pace)
            nextByte_ = base + byteTime() * static_cast<int>(written);
        c.bytes.erase(0, written);
        if (c.bytes.empty())
            pending_.pop_front();
    }
}

void Line::traceIn(const std::string& bytes, Clock::time_point now)
{
    in_ += bytes.size();
    trace('<', bytes, now);
}

void Line::trace(char direction, const std::string& bytes, Clock::time_point now)
{
    if (!trace_)
        return;
    const double t = std::chrono::duration<double>(now - start_).count();
    std::fprintf(trace_, "%12.6f %c ", t, direction);
    for (char ch : bytes) {
        const auto u = static_cast<unsigned char>(ch);
        if (u < 0x20 || u > 0x7E)
            std::fprintf(trace_, "<%02X>", u);
        else
            std::fputc(ch, trace_);
    }
    std::fputc('\n', trace_);
    std::fflush(trace_);
}

}  // namespace qxsim::detail
