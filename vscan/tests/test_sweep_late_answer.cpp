// SPDX-License-Identifier: GPL-3.0-or-later
// A reading that comes back later than the sweep's measured wait (the
// radio's own reports ahead of it, a busy line) is still the channel's own:
// neither that channel nor the ones after it take a neighbour's level.
#include "delayed_line.h"
#include "scan_rules.h"
#include "sweep_engine.h"
#include "sweep_fixture.h"

#include <gtest/gtest.h>

#include <chrono>

namespace glimra {
namespace {

using namespace std::chrono_literals;

TEST(VscanLateAnswer, AnAnswerLaterThanTheMeasuredWaitIsStillItsChannels) {
    testing::DelayedLine line;
    // 150 ms there and back, while the sweep was told the line needs only
    // 20 ms more than the interval: every answer is late.
    ASSERT_NO_FATAL_FAILURE(line.Open(150ms));
    qxsim::Radio& radio = line.radio;

    constexpr std::int64_t kCentre = 14'074'000;
    constexpr std::int64_t kStep = 500;
    constexpr int kSpan = 9;
    // A shifted reading must be visible: neighbours differ somewhere.
    int changes = 0;
    for (int i = 1; i < kSpan; ++i)
        changes += radio.sMeterAt(ChannelFrequency(kCentre, kStep, kSpan, i)) !=
                   radio.sMeterAt(ChannelFrequency(kCentre, kStep, kSpan, i - 1));
    ASSERT_GE(changes, 2) << "the band model is flat here; choose another centre";

    ScanControl control;
    testing::EndCountingSink sink;
    SweepEngine engine{control, sink};
    testing::ConfigureSweep(control, 0, kCentre, kStep, kSpan, 60, false);
    control.replyAllowance = 20;
    const bool ended = testing::SweepOnce(engine, sink, 60s);
    line.link.Close();
    ASSERT_TRUE(ended);
    for (int i = 0; i < kSpan; ++i) {
        const std::int64_t hz = ChannelFrequency(kCentre, kStep, kSpan, i);
        EXPECT_EQ(control.level[static_cast<std::size_t>(i)].load(), radio.sMeterAt(hz)) << "channel " << i;
    }
}

} // namespace
} // namespace glimra
