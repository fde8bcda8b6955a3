// SPDX-License-Identifier: GPL-3.0-or-later
// accessible_readings_test.cpp - the frequency, signal and power readings
// against values worked out by hand from the display and the printed
// scales, and the announcement gate on an injected clock.
#include "accessibility/accessible_readings.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using accessible::AnnounceThrottle;
using namespace std::chrono_literals;

// ------------------------------------------------------------- frequency

struct FrequencyRow {
    const char* shown; // the eleven digit labels, '_' for an empty label
    const char* reading;
};

std::ostream& operator<<(std::ostream& out, const FrequencyRow& row) { return out << row.shown; }

class FrequencyReadingTest : public ::testing::TestWithParam<FrequencyRow> {};

TEST_P(FrequencyReadingTest, ReadsTheDigitsAsOneValue) {
    const FrequencyRow& row = GetParam();
    QString digits[11];
    for (int i = 0; i < 11; ++i)
        digits[i] = row.shown[i] == '_' ? QString() : QString(QLatin1Char(row.shown[i]));
    EXPECT_EQ(accessible::FrequencyReading(digits).toStdString(), row.reading);
}

INSTANTIATE_TEST_SUITE_P(Displays, FrequencyReadingTest,
                         ::testing::Values(FrequencyRow{"   14195000", "14.195.000 MHz"},
                                           FrequencyRow{" 1296000000", "1296.000.000 MHz"},
                                           FrequencyRow{"    7000000", "7.000.000 MHz"},
                                           FrequencyRow{"      50010", "0.050.010 MHz"},
                                           FrequencyRow{"99999999999", "99999.999.999 MHz"},
                                           // blanked leading zeros may be empty labels
                                           FrequencyRow{"___14195000", "14.195.000 MHz"},
                                           // a blank display (sub frequency 0, or cleared)
                                           FrequencyRow{"           ", ""},
                                           FrequencyRow{"___________", ""},
                                           // the keypad's entry: no dashes, the digits typed
                                           FrequencyRow{"-----------", "frequency entry"},
                                           FrequencyRow{"    7074---", "frequency entry 7 point 0 7 4"},
                                           FrequencyRow{"   14-1----", "frequency entry 1 4 point 1"},
                                           // where the point went: 14.2 and 1.42 MHz read apart,
                                           // and before the point the digits alone
                                           FrequencyRow{"   142-----", "frequency entry 1 4 point 2"},
                                           FrequencyRow{"    142----", "frequency entry 1 point 4 2"},
                                           FrequencyRow{"   14------", "frequency entry 1 4 point"},
                                           FrequencyRow{"14---------", "frequency entry 1 4"},
                                           FrequencyRow{"   141     ", "141"}));

// ------------------------------------------------------------ the meters

struct MeterRow {
    int level;
    bool identification19;
    const char* reading;
};

std::ostream& operator<<(std::ostream& out, const MeterRow& row) {
    return out << "level " << row.level << (row.identification19 ? " id19" : " other");
}

class SignalReadingTest : public ::testing::TestWithParam<MeterRow> {};

// "--1--3--5--7--9---20---40---60dB" (identification 19) puts S1 over level
// 3, S9 over 15 and +20, +40, +60 over 20, 25, 30; "--1---3---5---7---9--20
// --40-60dB" puts S1 over 2, S9 over 18, +20 over 22 and +40 over 26.
TEST_P(SignalReadingTest, ReadsTheScale) {
    const MeterRow& row = GetParam();
    EXPECT_EQ(accessible::SignalReading(row.level, row.identification19).toStdString(), row.reading);
}

INSTANTIATE_TEST_SUITE_P(Scales, SignalReadingTest,
                         ::testing::Values(MeterRow{0, true, "S0"}, MeterRow{3, true, "S1"},
                                           MeterRow{6, true, "S3"}, MeterRow{12, true, "S7"},
                                           MeterRow{15, true, "S9"}, MeterRow{16, true, "S9+4 dB"},
                                           MeterRow{20, true, "S9+20 dB"}, MeterRow{25, true, "S9+40 dB"},
                                           MeterRow{30, true, "S9+60 dB"}, MeterRow{45, true, "S9+60 dB"},
                                           MeterRow{-3, true, "S0"}, MeterRow{2, false, "S1"},
                                           MeterRow{10, false, "S5"}, MeterRow{18, false, "S9"},
                                           MeterRow{22, false, "S9+20 dB"}, MeterRow{26, false, "S9+40 dB"},
                                           MeterRow{30, false, "S9+60 dB"}));

struct PowerRow {
    int level;
    bool percent;
    const char* reading;
};

std::ostream& operator<<(std::ostream& out, const PowerRow& row) { return out << "level " << row.level; }

class PowerReadingTest : public ::testing::TestWithParam<PowerRow> {};

// "----10----25----50-------100W": one character to a level, the figures
// end over levels 5, 11, 17 and 28; between them the reading is linear.
TEST_P(PowerReadingTest, ReadsTheScale) {
    const PowerRow& row = GetParam();
    EXPECT_EQ(accessible::PowerReading(row.level, row.percent).toStdString(), row.reading);
}

INSTANTIATE_TEST_SUITE_P(Scales, PowerReadingTest,
                         ::testing::Values(PowerRow{0, false, "0 W"}, PowerRow{5, false, "10 W"},
                                           PowerRow{8, false, "18 W"}, PowerRow{11, false, "25 W"},
                                           PowerRow{14, false, "38 W"}, PowerRow{17, false, "50 W"},
                                           PowerRow{28, false, "100 W"}, PowerRow{30, false, "100 W"},
                                           PowerRow{17, true, "50 %"}, PowerRow{-1, false, "0 W"}));

// -------------------------------------------------------- announcement gate

TEST(AnnounceThrottleTest, LetsTheFirstChangeGoAndHoldsTheNextUntilTheGapEnds) {
    AnnounceThrottle gate(300ms);
    const auto t0 = AnnounceThrottle::Clock::time_point{} + 10s;
    EXPECT_EQ(gate.WaitAt(t0), 0ms);
    gate.Announced(t0);
    EXPECT_EQ(gate.WaitAt(t0), 300ms);
    EXPECT_EQ(gate.WaitAt(t0 + 100ms), 200ms);
    EXPECT_EQ(gate.WaitAt(t0 + 299ms), 1ms);
    EXPECT_EQ(gate.WaitAt(t0 + 300ms), 0ms);
    EXPECT_EQ(gate.WaitAt(t0 + 5s), 0ms);
    gate.Announced(t0 + 5s);
    EXPECT_EQ(gate.WaitAt(t0 + 5s + 150ms), 150ms);
}

TEST(ModeReadingTest, TheMemoryGroupIsNoPartOfTheMode) {
    EXPECT_EQ(accessible::ModeReading(QStringLiteral("USB Group 0")).toStdString(), "USB");
    EXPECT_EQ(accessible::ModeReading(QStringLiteral(" CW-R  Group 12 ")).toStdString(), "CW-R");
    EXPECT_EQ(accessible::ModeReading(QStringLiteral("Group 3")).toStdString(), "");
    EXPECT_EQ(accessible::ModeReading(QStringLiteral("  FM ")).toStdString(), "FM");
    EXPECT_EQ(accessible::ModeReading(QStringLiteral("")).toStdString(), "");
}

TEST(AnnounceThrottleTest, AChangeEveryTenMillisecondsIsAnnouncedAtMostOncePerGap) {
    // A dial turned for two seconds: a change every 10 ms, each announced
    // as soon as the gate lets it.
    AnnounceThrottle gate(300ms);
    auto now = AnnounceThrottle::Clock::time_point{} + 1s;
    const auto end = now + 2s;
    auto due = now; // when the waiting change goes out
    bool waiting = false;
    int announced = 0;
    for (; now < end; now += 10ms) {
        if (waiting && now >= due) {
            gate.Announced(now);
            ++announced;
            waiting = false;
        }
        if (!waiting) {
            due = now + gate.WaitAt(now);
            waiting = true;
        }
    }
    EXPECT_GE(announced, 6);
    EXPECT_LE(announced, 8); // 2 s / 300 ms, plus the first
}

} // namespace
