// SPDX-License-Identifier: GPL-3.0-or-later
// The sweep thread against the virtual radio over its pseudo-terminal: what
// goes on the wire, what is filed, and how the thread follows its flags.
#include "scan_rules.h"
#include "sim_fixture.h"
#include "sweep_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

namespace glimra {
namespace {

using namespace std::chrono_literals;
using testing::Eventually;
using testing::SimLink;

// Sweeps whose readings are compared take a comfortable interval, so that a
// busy machine still has every meter answer in before it is read.
constexpr int kReadInterval = 60;

class RecordingSink : public SweepSink {
public:
    void drawBar(int channel, int show) override {
        std::lock_guard lock(m_mutex);
        m_draws.emplace_back(channel, show);
    }
    void sweepEnded() override {
        std::lock_guard lock(m_mutex);
        ++m_ended;
    }
    std::vector<std::pair<int, int>> draws() {
        std::lock_guard lock(m_mutex);
        return m_draws;
    }
    void clear() {
        std::lock_guard lock(m_mutex);
        m_draws.clear();
    }
    int ended() {
        std::lock_guard lock(m_mutex);
        return m_ended;
    }

private:
    std::mutex m_mutex;
    std::vector<std::pair<int, int>> m_draws;
    int m_ended = 0;
};

class VscanSweepEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim().connected());
        sim().resetRadio();
        engine.start();
    }
    void TearDown() override {
        engine.shutdown();
        sim().resetRadio();
    }

    static SimLink& sim() { return SimLink::instance(); }

    void configure(std::uint32_t selector, std::int64_t centre, std::int64_t step, int span,
                   int interval, bool repeat) {
        testing::ConfigureSweep(control, selector, centre, step, span, interval, repeat);
    }

    std::int64_t channel(int i) const {
        return ChannelFrequency(control.centre.load(), control.step.load(), control.span.load(), i);
    }

    bool waitEnded(int n = 1) {
        return Eventually([&] { return sink.ended() >= n; }, 20s);
    }

    ScanControl control;
    RecordingSink sink;
    SweepEngine engine{control, sink};
};

TEST_F(VscanSweepEngineTest, MainBandSweepTunesWithFaThenAsksMeterZeroPerChannel) {
    configure(0, 14'195'000, 1'000, 31, 30, false);
    engine.beginSweep();
    ASSERT_TRUE(waitEnded());

    std::vector<std::string> expected;
    for (int i = 0; i < 31; ++i) {
        expected.push_back(SimLink::FrequencyCommand("FA", channel(i)));
        expected.push_back("SM0");
    }
    EXPECT_EQ(sim().commands({"FA", "FB", "FC", "SM"}), expected);
    EXPECT_EQ(control.scanning.load(), 0);
    EXPECT_EQ(control.current.load(), control.low.load());
}

TEST_F(VscanSweepEngineTest, LevelsAreTheBandModelsReadings) {
    configure(0, 14'100'000, 500, 61, kReadInterval, false);
    engine.beginSweep();
    ASSERT_TRUE(waitEnded());
    int stations = 0;
    for (int i = 0; i < 61; ++i) {
        const int expected = sim().radio().sMeterAt(channel(i));
        EXPECT_EQ(control.level[static_cast<std::size_t>(i)].load(), expected) << "channel " << i;
        stations += expected >= 9 ? 1 : 0;
    }
    // Every channel is drawn twice: cleared before tuning, filled after reading.
    const auto draws = sink.draws();
    for (int i = 0; i < 61; ++i) {
        EXPECT_EQ(std::count(draws.begin(), draws.end(), std::make_pair(i, 1)), 2) << i;
    }
    EXPECT_EQ(engine.channelsMeasured(), 61u);
    EXPECT_GT(stations, 0) << "the band model puts stations near 14.1 MHz";
}

TEST_F(VscanSweepEngineTest, SubBandTunesWithFcAndDoublesMeterOne) {
    configure(2, 145'000'000, 12'500, 31, kReadInterval, false);
    engine.beginSweep();
    ASSERT_TRUE(waitEnded());
    const auto wire = sim().commands({"FA", "FB", "FC", "SM"});
    ASSERT_EQ(wire.size(), 62u);
    EXPECT_EQ(wire[0], SimLink::FrequencyCommand("FC", channel(0)));
    EXPECT_EQ(wire[1], "SM1");
    bool sawSignal = false;
    for (int i = 0; i < 31; ++i) {
        const int reading = SimLink::SubMeterReading(sim().radio().sMeterAt(channel(i)));
        EXPECT_EQ(control.level[static_cast<std::size_t>(i)].load(), 2 * reading) << i;
        sawSignal = sawSignal || reading > 0;
    }
    EXPECT_TRUE(sawSignal);
}

TEST_F(VscanSweepEngineTest, ChannelsOutsideEveryBandAreSkippedButKeepTheirPlace) {
    // 58.5 .. 61.5 MHz: the main receiver's band ends with 60 MHz.
    configure(0, 60'000'000, 100'000, 31, kReadInterval, false);
    engine.beginSweep();
    ASSERT_TRUE(waitEnded());
    EXPECT_EQ(sim().count("FA"), 16u);
    EXPECT_EQ(sim().count("SM"), 16u);
    const auto draws = sink.draws();
    for (int i = 0; i < 31; ++i) {
        const bool in = channel(i) <= 60'000'000;
        if (in) {
            EXPECT_EQ(control.level[static_cast<std::size_t>(i)].load(),
                      sim().radio().sMeterAt(channel(i)));
            EXPECT_EQ(std::count(draws.begin(), draws.end(), std::make_pair(i, 1)), 2) << i;
        } else {
            EXPECT_EQ(control.level[static_cast<std::size_t>(i)].load(), kNotMeasured) << i;
            EXPECT_EQ(std::count(draws.begin(), draws.end(), std::make_pair(i, 0)), 1) << i;
            EXPECT_EQ(std::count(draws.begin(), draws.end(), std::make_pair(i, 1)), 0) << i;
        }
    }
}

TEST_F(VscanSweepEngineTest, RepeatStartsAgainAtTheLowEdgeAndOverwritesBars) {
    configure(0, 14'195'000, 1'000, 31, 20, true);
    // Every channel of the first sweep must be measured: on a loaded machine
    // the simulator may answer after the 20 ms interval, so its late answer
    // is awaited as the window awaits one over a slow line.
    control.replyAllowance = 1;
    engine.beginSweep();
    ASSERT_TRUE(sim().waitCount("FA", 33, 20s));
    engine.stopSweep();
    ASSERT_TRUE(engine.waitIdle(2s));
    const auto fa = sim().commands({"FA"});
    EXPECT_EQ(fa[31], fa[0]);
    EXPECT_EQ(fa[32], fa[1]);
    EXPECT_EQ(sink.ended(), 0);
    // Levels of the first sweep stay until their channel is measured again.
    for (int i = 0; i < 31; ++i) {
        EXPECT_NE(control.level[static_cast<std::size_t>(i)].load(), kNotMeasured) << i;
    }
}

TEST_F(VscanSweepEngineTest, StopMidSweepLeavesCurrentAtTheLowEdge) {
    configure(0, 14'195'000, 1'000, 61, 20, false);
    engine.beginSweep();
    ASSERT_TRUE(sim().waitCount("FA", 5, 10s));
    engine.stopSweep();
    ASSERT_TRUE(engine.waitIdle(2s));
    const std::size_t sent = sim().count("FA");
    EXPECT_TRUE(Eventually([&] { return control.current.load() == control.low.load(); }, 2s));
    EXPECT_FALSE(sim().waitCount("FA", sent + 1, 300ms)); // nothing tuned after the stop
    EXPECT_EQ(sink.ended(), 0);

    // The next start begins at the low edge with bar 0.
    sim().radio().clearReceived();
    sink.clear();
    engine.beginSweep();
    ASSERT_TRUE(sim().waitCount("FA", 1, 5s));
    EXPECT_EQ(sim().commands({"FA"}).front(), SimLink::FrequencyCommand("FA", channel(0)));
    ASSERT_TRUE(Eventually([&] { return !sink.draws().empty(); }, 2s));
    EXPECT_EQ(sink.draws().front(), std::make_pair(0, 1));
}

TEST_F(VscanSweepEngineTest, PauseRefreshesTheChannelUnderTheSliderAndResumeGoesOn) {
    configure(0, 14'195'000, 1'000, 61, 20, false);
    engine.beginSweep();
    ASSERT_TRUE(sim().waitCount("FA", 6, 10s));
    engine.pauseSweep();
    ASSERT_TRUE(engine.waitIdle(2s));
    const std::size_t tuned = sim().count("FA");

    // The window tunes the slider's channel; the thread keeps reading it.
    control.sliderPos = 2;
    sink.clear();
    sim().link().ConnFA("W", SimLink::FrequencyCommand("", channel(2)).c_str());
    const int expected = sim().radio().sMeterAt(channel(2));
    control.level[2] = kNotMeasured;
    ASSERT_TRUE(Eventually([&] { return control.level[2].load() == expected; }, 3s));
    ASSERT_TRUE(Eventually([&] {
        const auto d = sink.draws();
        return std::count(d.begin(), d.end(), std::make_pair(2, 1)) >= 2;
    }, 3s));
    EXPECT_EQ(sim().count("FA"), tuned + 1); // only the window's tuning

    engine.resumeSweep();
    ASSERT_TRUE(sim().waitCount("FA", tuned + 2, 5s));
    const auto fa = sim().commands({"FA"});
    EXPECT_EQ(fa[tuned + 1], SimLink::FrequencyCommand("FA", channel(static_cast<int>(tuned))));
    engine.stopSweep();
}

TEST_F(VscanSweepEngineTest, SilentRadioLeavesLevelsNotMeasured) {
    qxsim::Faults silent;
    silent.silent = true;
    sim().radio().setFaults(silent);
    configure(0, 14'195'000, 1'000, 31, 20, false);
    engine.beginSweep();
    ASSERT_TRUE(waitEnded());
    for (int i = 0; i < 31; ++i) {
        EXPECT_EQ(control.level[static_cast<std::size_t>(i)].load(), kNotMeasured) << i;
    }
    EXPECT_EQ(sim().count("FA"), 31u); // it still tuned every channel
}

TEST_F(VscanSweepEngineTest, ShutdownDuringASweepJoinsTheThread) {
    configure(0, 14'195'000, 1'000, 181, 1000, true);
    engine.beginSweep();
    ASSERT_TRUE(sim().waitCount("FA", 1, 5s));
    engine.shutdown(); // wakes the thread out of its 1 s interval
    EXPECT_FALSE(engine.running());
    EXPECT_EQ(control.alive.load(), 0);
    engine.shutdown(); // twice is harmless
}

TEST_F(VscanSweepEngineTest, NoStepEndsTheSweepWithoutTuning) {
    configure(0, 14'195'000, 0, 31, 20, false);
    engine.beginSweep();
    ASSERT_TRUE(waitEnded());
    EXPECT_EQ(sim().count("FA"), 0u);
}

} // namespace
} // namespace glimra
