// SPDX-License-Identifier: GPL-3.0-or-later
// The clock of the staleness rule, replaceable by tests.
#include "link.h"
#include "testing.h"

#include <atomic>
#include <chrono>

namespace corvan::detail {

namespace {
std::atomic<bool> g_fake{false};
std::atomic<std::int64_t> g_fakeSeconds{0};
} // namespace

std::int64_t NowSeconds()
{
    if (g_fake.load())
        return g_fakeSeconds.load();
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace corvan::detail

namespace corvan::testing {

void SetClockSeconds(std::int64_t seconds)
{
    detail::g_fakeSeconds.store(seconds);
    detail::g_fake.store(true);
}

void UseRealClock() { detail::g_fake.store(false); }

} // namespace corvan::testing
