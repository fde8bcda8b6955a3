// SPDX-License-Identifier: GPL-3.0-or-later
// The samples' table and the response their taps have, checked against a
// copy of the texts typed out apart and against responses computed here in
// another way (the real cosine sums of symmetric filters).
#include "samples.h"
#include "samples_expected.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace {

using testing_tonwell::ExpectedSample;
using testing_tonwell::kExpectedSamples;

// The taps read here with the standard library, apart from the library's decoder.
std::vector<double> Taps(std::string_view text) {
    std::vector<double> taps;
    for (std::size_t i = 0; i + 4 <= text.size(); i += 4) {
        int v = std::stoi(std::string(text.substr(i, 4)), nullptr, 16);
        if (v >= 32768) v -= 65536;
        taps.push_back(v / 32768.0);
    }
    return taps;
}

bool SymmetricAbout15(const std::vector<double>& t) {
    for (int k = 1; k <= 15; ++k) {
        if (t[15 - k] != t[15 + k]) return false;
    }
    return t[31] == 0.0;
}
bool SymmetricAbout15Half(const std::vector<double>& t) {
    for (int k = 0; k < 16; ++k) {
        if (t[k] != t[31 - k]) return false;
    }
    return true;
}

// |H(f)| of a symmetric filter as a real cosine sum about its centre.
double SymmetricMagnitude(const std::vector<double>& t, bool centredOn15, double hz) {
    const double w = 2.0 * std::numbers::pi * hz / 12000.0;
    double sum = 0.0;
    if (centredOn15) {
        sum = t[15];
        for (int k = 1; k <= 15; ++k) sum += 2.0 * t[15 + k] * std::cos(w * k);
    } else {
        for (int k = 0; k < 16; ++k) sum += 2.0 * t[16 + k] * std::cos(w * (k + 0.5));
    }
    return std::abs(sum);
}

class EverySample : public testing::TestWithParam<ExpectedSample> {};

TEST_P(EverySample, TextIsTheOneOfTheTable) {
    const ExpectedSample& e = GetParam();
    EXPECT_EQ(tonwell::SampleTapText(e.type, e.sample), e.taps);
}

// A set ending in "0000" is a 31-tap filter centred on tap 15, or a 32-tap
// one whose two end taps are 0; any other set is a symmetric 32-tap filter.
TEST_P(EverySample, TapsAreSymmetric) {
    const auto t = Taps(GetParam().taps);
    ASSERT_EQ(t.size(), 32u);
    if (GetParam().taps.substr(124) == "0000") {
        EXPECT_TRUE(SymmetricAbout15(t) || (SymmetricAbout15Half(t) && t[0] == 0.0));
    } else {
        EXPECT_TRUE(SymmetricAbout15Half(t));
    }
}

TEST_P(EverySample, DecodedTapsAreTheSignedGroups) {
    const auto decoded = tonwell::DecodeTapText(GetParam().taps);
    ASSERT_TRUE(decoded.has_value());
    const auto t = Taps(GetParam().taps);
    for (std::size_t k = 0; k < 32; ++k) EXPECT_EQ((*decoded)[k], std::lround(t[k] * 32768.0)) << k;
}

TEST_P(EverySample, ResponseIsTheCosineSum) {
    const auto t = Taps(GetParam().taps);
    const auto taps = *tonwell::DecodeTapText(GetParam().taps);
    for (double hz : {0.0, 50.0, 317.0, 1000.0, 2250.0, 3999.0, 5000.0}) {
        const double magnitude = SymmetricMagnitude(t, SymmetricAbout15(t), hz);
        if (magnitude < 1e-6) continue;
        EXPECT_NEAR(tonwell::TapResponseDb(taps, hz), 20.0 * std::log10(magnitude), 1e-9) << hz << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EverySample, testing::ValuesIn(kExpectedSamples),
                         [](const auto& p) {
                             return "Type" + std::to_string(p.param.type) + "Sample" + std::to_string(p.param.sample);
                         });

TEST(SampleTable, PictureIdsAreTheirTable) {
    std::set<int> ids;
    for (int type = 1; type <= 7; ++type) {
        for (int sample = 1; sample <= 5; ++sample) ids.insert(tonwell::SamplePictureId(type, sample));
    }
    EXPECT_EQ(ids.size(), 35u);
    EXPECT_EQ(*ids.begin(), 3070);
    EXPECT_EQ(*ids.rbegin(), 3104);
    const int expected[7][5] = {{3104, 3101, 3102, 3103, 3100}, {3079, 3071, 3072, 3073, 3074},
                                {3075, 3076, 3077, 3078, 3070}, {3084, 3081, 3082, 3083, 3080},
                                {3094, 3086, 3087, 3088, 3089}, {3090, 3091, 3092, 3093, 3085},
                                {3099, 3096, 3097, 3098, 3095}};
    for (int type = 1; type <= 7; ++type) {
        for (int sample = 1; sample <= 5; ++sample) {
            EXPECT_EQ(tonwell::SamplePictureId(type, sample), expected[type - 1][sample - 1]) << type << "/" << sample;
        }
    }
}

TEST(SampleTable, OutsideTheTableThereIsNothing) {
    for (auto [type, sample] : {std::pair{0, 1}, {8, 1}, {1, 0}, {1, 6}, {-1, -1}}) {
        EXPECT_TRUE(tonwell::SampleTapText(type, sample).empty()) << type << "/" << sample;
        EXPECT_EQ(tonwell::SamplePictureId(type, sample), 0);
    }
    EXPECT_EQ(tonwell::kSampleTypeNames.front(), "  High Boost");
    EXPECT_EQ(tonwell::kSampleTypeNames.back(), "  Flat");
}

TEST(SampleTable, DecoderTakesOnlyTapTexts) {
    const std::string good(kExpectedSamples[0].taps);
    EXPECT_FALSE(tonwell::DecodeTapText(good.substr(0, 127)).has_value());
    EXPECT_FALSE(tonwell::DecodeTapText(good + "0").has_value());
    EXPECT_FALSE(tonwell::DecodeTapText("").has_value());
    std::string bad = good;
    bad[60] = 'G';
    EXPECT_FALSE(tonwell::DecodeTapText(bad).has_value());
    bad[60] = ';';
    EXPECT_FALSE(tonwell::DecodeTapText(bad).has_value());
    std::string lower = good;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_EQ(tonwell::DecodeTapText(lower), tonwell::DecodeTapText(good));
    // "8000" is the most negative tap, "7FFF" the largest.
    const auto extremes = tonwell::DecodeTapText("80007FFF" + std::string(120, '0'));
    ASSERT_TRUE(extremes.has_value());
    EXPECT_EQ((*extremes)[0], -32768);
    EXPECT_EQ((*extremes)[1], 32767);
}

// What the names promise, read off the responses: a swapped row of the
// table would break these.
double Db(int type, int sample, double hz) {
    return tonwell::TapResponseDb(*tonwell::DecodeTapText(tonwell::SampleTapText(type, sample)), hz);
}

TEST(SampleResponses, HighBoostsRaiseTheHighsAndBassBoostsTheLows) {
    for (int sample = 1; sample <= 5; ++sample) {
        EXPECT_GT(Db(tonwell::kHighBoost, sample, 2500) - Db(tonwell::kHighBoost, sample, 200), 8.0) << sample;
        EXPECT_GT(Db(tonwell::kBassBoost1, sample, 200) - Db(tonwell::kBassBoost1, sample, 3000), 12.0) << sample;
        EXPECT_GT(Db(tonwell::kBassBoost2, sample, 200) - Db(tonwell::kBassBoost2, sample, 3000), 15.0) << sample;
    }
}

TEST(SampleResponses, BandStopsHaveANotchBetweenPassBands) {
    for (int sample = 1; sample <= 5; ++sample) {
        double deepest = 0;
        for (double hz = 500; hz <= 2500; hz += 5) deepest = std::min(deepest, Db(tonwell::kBandStop, sample, hz));
        EXPECT_LT(deepest, -4.0) << sample;
        EXPECT_GT(Db(tonwell::kBandStop, sample, 200), -2.5) << sample;
        EXPECT_GT(Db(tonwell::kBandStop, sample, 3000), -1.0) << sample;
    }
}

TEST(SampleResponses, FlatOnesAreFlatThroughTheVoiceBand) {
    for (double hz = 500; hz <= 2500; hz += 50) {
        EXPECT_NEAR(Db(tonwell::kFlat, 1, hz), 0.0, 0.5) << hz;
    }
    // The others of the type cut the lows more and more.
    for (int sample = 2; sample <= 5; ++sample) {
        EXPECT_LT(Db(tonwell::kFlat, sample, 100), Db(tonwell::kFlat, sample - 1, 100) + 0.1) << sample;
    }
}

TEST(SampleResponses, KnownLevelsAtZeroHertz) {
    // At 0 Hz the response is the sum of the taps.
    for (const ExpectedSample& e : kExpectedSamples) {
        double sum = 0;
        for (double t : Taps(e.taps)) sum += t;
        if (std::abs(sum) < 1e-6) continue;
        EXPECT_NEAR(Db(e.type, e.sample, 0.0), 20.0 * std::log10(std::abs(sum)), 1e-9) << e.type << "/" << e.sample;
    }
}

TEST(PictureAxes, LinearForBoostsLogarithmicForBandStops) {
    const auto linear = tonwell::PictureAxesFor(tonwell::kHighBoost);
    EXPECT_FALSE(linear.logarithmic);
    EXPECT_DOUBLE_EQ(tonwell::FrequencyAt(linear, 0), 0.0);
    EXPECT_DOUBLE_EQ(tonwell::FrequencyAt(linear, linear.width), 5000.0);
    EXPECT_DOUBLE_EQ(tonwell::FrequencyAt(linear, linear.width / 2.0), 2500.0);
    const auto log = tonwell::PictureAxesFor(tonwell::kBandStop);
    EXPECT_TRUE(log.logarithmic);
    EXPECT_DOUBLE_EQ(tonwell::FrequencyAt(log, 0), 10.0);
    EXPECT_NEAR(tonwell::FrequencyAt(log, log.width), 5000.0, 1e-9);
    // Equal distances are equal ratios: 10 -> 100 as far as 100 -> 1000.
    EXPECT_NEAR(tonwell::PositionOf(log, 100) - tonwell::PositionOf(log, 10),
                tonwell::PositionOf(log, 1000) - tonwell::PositionOf(log, 100), 1e-9);
    for (double x : {0.0, 17.5, 90.0, 179.0}) {
        EXPECT_NEAR(tonwell::PositionOf(log, tonwell::FrequencyAt(log, x)), x, 1e-9);
        EXPECT_NEAR(tonwell::PositionOf(linear, tonwell::FrequencyAt(linear, x)), x, 1e-9);
    }
    for (int type : {2, 3, 5, 6, 7}) EXPECT_FALSE(tonwell::PictureAxesFor(type).logarithmic) << type;
    EXPECT_DOUBLE_EQ(tonwell::LevelY(linear, linear.topDb), 0.0);
    EXPECT_DOUBLE_EQ(tonwell::LevelY(linear, linear.bottomDb), linear.height);
}

} // namespace
