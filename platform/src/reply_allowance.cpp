// SPDX-License-Identifier: GPL-3.0-or-later
// The allowance the waits for the radio's answer make for the line.
#include <platform.h>

#include <algorithm>
#include <atomic>

namespace platform {

namespace {
std::atomic<int> g_replyAllowanceMs{0};
} // namespace

int ReplyAllowanceMs() { return g_replyAllowanceMs.load(std::memory_order_relaxed); }

void SetReplyAllowanceMs(int milliseconds) {
    // Never negative, and never longer than a minute (a wait stays bounded).
    g_replyAllowanceMs.store(std::clamp(milliseconds, 0, 60000), std::memory_order_relaxed);
}

} // namespace platform
