// SPDX-License-Identifier: GPL-3.0-or-later
// The sweep over a line with a long round trip: every channel's reading is
// its own (not missing, not the previous channel's answer arriving late).
#include "delayed_line.h"
#include "scan_rules.h"
#include "sweep_engine.h"
#include "sweep_fixture.h"

#include <gtest/gtest.h>

#include <chrono>

namespace glimra {
namespace {

using namespace std::chrono_literals;

using testing::ConfigureSweep;
using testing::DelayedLine;
using testing::EndCountingSink;
using testing::SweepOnce;

// One sweep of `span` channels around 14.1 MHz with the radio behind a
// relay of `roundTrip`; the sweep's reading wait gets `allowance`.
void SweepAndCompare(std::chrono::milliseconds roundTrip, int allowance) {
    DelayedLine line;
    ASSERT_NO_FATAL_FAILURE(line.Open(roundTrip));
    qxsim::Radio& radio = line.radio;

    ScanControl control;
    EndCountingSink sink;
    SweepEngine engine{control, sink};
    constexpr int kSpan = 11;
    ConfigureSweep(control, 0, 14'100'000, 500, kSpan, 60, false);
    control.replyAllowance = allowance;
    const bool ended = SweepOnce(engine, sink, 60s);
    line.link.Close();
    ASSERT_TRUE(ended);
    for (int i = 0; i < kSpan; ++i) {
        const std::int64_t hz = ChannelFrequency(14'100'000, 500, kSpan, i);
        EXPECT_EQ(control.level[static_cast<std::size_t>(i)].load(), radio.sMeterAt(hz))
            << "channel " << i << " at " << roundTrip.count() << " ms round trip";
    }
}

TEST(VscanSlowLine, EveryChannelReadsItsOwnLevelAt150And400Ms) {
    // The allowance is what the console measures: the round trip and the
    // wire time of the exchange on top.
    SweepAndCompare(150ms, 150 + 40);
    SweepAndCompare(400ms, 400 + 40);
}

} // namespace
} // namespace glimra
