// SPDX-License-Identifier: GPL-3.0-or-later
// Waiting on the console thread: fixed pauses, and bounded waits that end as
// soon as the awaited value is stored.
#include "console_link.h"

#include <platform.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <thread>
#include <vector>

namespace zephyra {

namespace {
// How often a wait asks the store while it sleeps.
constexpr auto kPollSlice = std::chrono::microseconds(1000);
} // namespace

int ConsoleLink::Scaled(int milliseconds) const {
    const double scaled = std::max(0.0, m_timing.scale) * milliseconds;
    return static_cast<int>(std::lround(scaled));
}

void ConsoleLink::Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(Scaled(milliseconds)));
}

bool ConsoleLink::SleepUntil(int milliseconds, const std::function<bool()>& ready) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(Scaled(milliseconds));
    for (;;) {
        if (ready())
            return true;
        const auto now = Clock::now();
        if (now >= deadline)
            return false;
        std::this_thread::sleep_for(
            std::min<Clock::duration>(kPollSlice, deadline - now));
    }
}

bool ConsoleLink::SleepUntilHandled(int milliseconds, unsigned message,
                                    const std::function<bool()>& stored) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(Scaled(milliseconds));
    std::optional<std::uint32_t> handledAtStore;
    for (;;) {
        if (!handledAtStore && stored()) {
            if (message == 0)
                return true;
            handledAtStore = HandledCount(message);
        }
        if (handledAtStore && HandledCount(message) > *handledAtStore)
            return true;
        const auto now = Clock::now();
        if (now >= deadline)
            return handledAtStore.has_value();
        Pump();
        std::this_thread::sleep_for(std::min<Clock::duration>(kPollSlice, deadline - now));
    }
}

bool ConsoleLink::WaitForValue(unsigned message, const std::function<bool()>& ready) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (ConnectionLost())
            return false;
        Pump();
        if (SleepUntilHandled(100, message, ready))
            return true;
    }
    // A slow line: one round trip more for an answer still on its way.
    if (const int allowance = ReplyAllowance(); allowance > 0 && !ConnectionLost())
        return SleepUntilHandled(allowance, message, ready);
    return false;
}

int ConsoleLink::ReplyAllowance() const {
    return m_roundTripMs > kLocalRoundTripMs ? m_roundTripMs : 0;
}

void ConsoleLink::NoteRoundTrip(std::chrono::steady_clock::duration taken) {
    constexpr std::size_t kSamples = 5;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(taken).count();
    m_roundTripSamples.push_back(static_cast<int>(std::clamp<long long>(ms, 0, 60000)));
    while (m_roundTripSamples.size() > kSamples)
        m_roundTripSamples.pop_front();
    std::vector<int> sorted(m_roundTripSamples.begin(), m_roundTripSamples.end());
    std::sort(sorted.begin(), sorted.end());
    m_roundTripMs = sorted[sorted.size() / 2];
    platform::SetReplyAllowanceMs(ReplyAllowance());
}

std::uint32_t ConsoleLink::HandledCount(unsigned message) const {
    if (message < 4096 || message - 4096 >= m_handled.size())
        return 0;
    return m_handled[message - 4096];
}

void ConsoleLink::Pump() {
    platform::PumpMessages(100);
}

bool ConsoleLink::ConnectionLost() const {
    return m_state.connected == 0;
}

} // namespace zephyra
