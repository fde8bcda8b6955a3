// SPDX-License-Identifier: GPL-3.0-or-later
// Filter design, tap text and response checked against the independent
// derivation of reference_design.h.
#include "design.h"
#include "reference_design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using tonwell::Coefficients;
using tonwell::DesignParams;
using namespace reference;

// ------------------------------------------------------------ beta and I0

struct BetaCase {
    double attenuation;
    double beta; // worked out by hand
};

class KaiserBetaTest : public ::testing::TestWithParam<BetaCase> {};

TEST_P(KaiserBetaTest, MatchesHandValue) {
    EXPECT_NEAR(tonwell::KaiserBeta(GetParam().attenuation), GetParam().beta, 5e-5);
}

INSTANTIATE_TEST_SUITE_P(Attenuations, KaiserBetaTest,
                         ::testing::Values(BetaCase{1, 0}, BetaCase{20, 0}, BetaCase{20.99, 0},
                                           BetaCase{21, 0},
                                           // 0.5842 * 9^0.4 + 0.07886 * 9
                                           BetaCase{30, 2.116621},
                                           // 0.5842 * 28.9^0.4 + 0.07886 * 28.9
                                           BetaCase{49.9, 4.522513},
                                           BetaCase{50, 4.55126},  // 0.1102 * 41.3
                                           BetaCase{99, 9.95106}));

TEST(BesselI0, AgreesWithTheLibraryFunctionOverTheBetaRange) {
    for (double x = 0; x <= 10.0; x += 0.25) {
        const ld expected = std::cyl_bessel_il(0, static_cast<ld>(x));
        EXPECT_NEAR(tonwell::BesselI0(x) / expected, 1.0, 1e-12) << "x = " << x;
    }
    EXPECT_EQ(tonwell::BesselI0(0), 1.0);
}

TEST(KaiserWindow, ZeroBetaIsRectangular) {
    for (double w : tonwell::KaiserWindow(0)) EXPECT_EQ(w, 1.0);
}

TEST(KaiserWindow, MatchesLibraryBesselRatio) {
    const double beta = 4.55126;
    const auto w = tonwell::KaiserWindow(beta);
    for (int n = 0; n < 16; ++n) EXPECT_NEAR(w[n], RefWindow(n, beta), 1e-12) << n;
    EXPECT_EQ(w[0], 1.0);
}

// ------------------------------------------------------------ designs

struct DesignCase {
    const char* name;
    int type;
    double f1, f2, attenuation;
};

std::ostream& operator<<(std::ostream& os, const DesignCase& c) { return os << c.name; }

class DesignTest : public ::testing::TestWithParam<DesignCase> {
protected:
    DesignParams Params() const {
        return DesignParams{GetParam().type, GetParam().f1, GetParam().f2, GetParam().attenuation};
    }
    std::vector<ld> Expected() const {
        return Reference(GetParam().type, GetParam().f1, GetParam().f2, GetParam().attenuation);
    }
};

TEST_P(DesignTest, CoefficientsMatchIndependentDerivation) {
    const Coefficients h = tonwell::DesignFilter(Params());
    const auto expected = Expected();
    for (int n = 0; n < 16; ++n) {
        EXPECT_NEAR(h[n], static_cast<double>(expected[n + 15]), 1e-12) << "h[" << n << "]";
        EXPECT_NEAR(h[n], static_cast<double>(expected[15 - n]), 1e-12) << "symmetry at " << n;
    }
    EXPECT_EQ(h[16], 0.0);
}

TEST_P(DesignTest, TapTextMatchesIndependentEncoding) {
    const std::string text = tonwell::TapText(tonwell::DesignFilter(Params()));
    ASSERT_EQ(text.size(), 128u);
    EXPECT_EQ(text, RefTapText(Expected()));
    EXPECT_EQ(text.substr(0, 4), text.substr(120, 4)) << "taps 0 and 30";
    EXPECT_EQ(text.substr(124, 4), "0000") << "tap 31";
    for (char c : text) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F')) << c;
}

TEST_P(DesignTest, MagnitudeIsTheTransformOfTheTaps) {
    const Coefficients h = tonwell::DesignFilter(Params());
    const auto expected = Expected();
    for (double f = 0; f <= 6.0; f += 0.125) {
        EXPECT_NEAR(std::fabs(tonwell::Magnitude(h, f)), static_cast<double>(RefMagnitude(expected, f)), 1e-11)
            << "f = " << f;
    }
}

TEST_P(DesignTest, ResponseStrokesLieOnTheTrueCurve) {
    const Coefficients h = tonwell::DesignFilter(Params());
    const auto expected = Expected();
    const tonwell::PlotFrame frame = tonwell::PlotFrameFor(8, 110, 340, 203);
    ASSERT_EQ(frame.width, 300);
    ASSERT_EQ(frame.height, 160);
    const auto strokes = tonwell::ResponseStrokes(h, frame);
    ASSERT_FALSE(strokes.empty());
    double lastX = -1;
    std::size_t points = 0;
    for (const auto& stroke : strokes) {
        for (const auto& p : stroke) {
            EXPECT_GT(p.x, lastX);
            EXPECT_GE(p.x, 28.0);
            EXPECT_LE(p.x, 328.0 + 1e-9);
            lastX = p.x;
            const ld f = (p.x - 28.0L) * kFs / 600.0L;
            const ld level = 20 * std::log10(RefMagnitude(expected, f)) + 40;
            EXPECT_GE(level, -1e-9);
            EXPECT_LE(level, 84 + 1e-9);
            EXPECT_NEAR(p.y, static_cast<double>(120 + 160 - level * 4), 1e-6) << "f = " << static_cast<double>(f);
            ++points;
        }
    }
    EXPECT_GT(points, 300u);
}

INSTANTIATE_TEST_SUITE_P(
    Designs, DesignTest,
    ::testing::Values(DesignCase{"DefaultLowPass", 1, 0.3, 0.0, 20}, DesignCase{"LowPass1k40dB", 1, 1.0, 0, 40},
                      DesignCase{"LowPass2k7At60dB", 1, 2.7, 0, 60}, DesignCase{"LowPassLowest", 1, 0.001, 0, 99},
                      DesignCase{"LowPassHighest", 1, 5.999, 0, 1},
                      DesignCase{"HighPass300", 2, 0.3, 0, 20}, DesignCase{"HighPass1k5At50", 2, 1.5, 0, 50},
                      DesignCase{"HighPass4kAt33", 2, 4.0, 0, 33}, DesignCase{"HighPassLowest", 2, 0.001, 0, 99},
                      DesignCase{"BandPassDefault", 3, 2.0, 4.0, 20}, DesignCase{"BandPassVoice", 3, 0.3, 2.7, 45},
                      DesignCase{"BandPassNarrow", 3, 0.999, 1.0, 70},
                      DesignCase{"BandPassWide", 3, 0.001, 5.999, 21},
                      DesignCase{"BandPassWidestAt1dB", 3, 0.001, 5.996, 1},
                      DesignCase{"BandStopDefault", 4, 2.0, 4.0, 20},
                      DesignCase{"BandStopNotch", 4, 0.9, 1.1, 50}, DesignCase{"BandStopHigh", 4, 3.0, 5.5, 80}),
    [](const auto& tc) { return std::string(tc.param.name); });

TEST(Design, DefaultLowPassUsesARectangularWindow) {
    // beta = 0 at 20 dB: h[n] is the plain sinc divided by the gain at 0 Hz.
    const Coefficients h = tonwell::DesignFilter(DesignParams{1, 0.3, 0.0, 20});
    ld gain = 0.05L;
    for (int n = 1; n <= 15; ++n) gain += 2 * std::sin(2 * kPi * n * 0.3L / 12) / (kPi * n);
    for (int n = 1; n <= 15; ++n)
        EXPECT_NEAR(h[n], static_cast<double>(std::sin(2 * kPi * n * 0.3L / 12) / (kPi * n) / gain), 1e-14);
    EXPECT_NEAR(h[0], static_cast<double>(0.05L / gain), 1e-14);
}

TEST(Design, OversizedCentreTapSaturatesInsteadOfFlippingSign) {
    // The widest band-pass at 1 dB has a centre tap of about 1.019: it must
    // reach the radio as the largest positive tap, not as -32768 + something.
    const Coefficients h = tonwell::DesignFilter(DesignParams{3, 0.001, 5.996, 1});
    ASSERT_GT(h[0] * 32768, 32767.5);
    EXPECT_EQ(tonwell::TapText(h).substr(15 * 4, 4), "7FFF");
}

TEST(Design, PrototypeCutoffFollowsTheType) {
    EXPECT_DOUBLE_EQ(tonwell::PrototypeCutoff({1, 0.3, 0, 20}), 0.3);
    EXPECT_DOUBLE_EQ(tonwell::PrototypeCutoff({2, 0.3, 0, 20}), 5.7);
    EXPECT_DOUBLE_EQ(tonwell::PrototypeCutoff({3, 2.0, 4.0, 20}), 1.0);
    EXPECT_DOUBLE_EQ(tonwell::PrototypeCutoff({4, 1.0, 1.5, 20}), 0.25);
}

TEST(Design, ZeroWidthBandGivesFiniteTaps) {
    // fc = 0 makes the gain at 0 Hz zero; nothing may become not-a-number.
    for (int type = 1; type <= 4; ++type) {
        const Coefficients h = tonwell::DesignFilter(DesignParams{type, type == 2 ? 6.0 : 0.0, 0.0, 40});
        for (double v : h) EXPECT_TRUE(std::isfinite(v)) << type;
        EXPECT_EQ(tonwell::TapText(h).size(), 128u);
    }
}

// ------------------------------------------------------------ tap encoding

struct TapCase {
    double x;
    const char* text;
};

class TapEncodingTest : public ::testing::TestWithParam<TapCase> {};

TEST_P(TapEncodingTest, FourHexDigits) {
    EXPECT_EQ(tonwell::FormatTap(tonwell::ScaleTap(GetParam().x)), GetParam().text) << GetParam().x;
}

INSTANTIATE_TEST_SUITE_P(
    HandChecked, TapEncodingTest,
    ::testing::Values(TapCase{0.0, "0000"}, TapCase{1.0 / 32768, "0001"}, TapCase{-1.0 / 32768, "FFFF"},
                      TapCase{0.5, "4000"}, TapCase{-0.5, "C000"}, TapCase{0.25, "2000"},
                      TapCase{2.5 / 32768, "0003"},   // half rounds away from zero
                      TapCase{-2.5 / 32768, "FFFD"},  // -3
                      TapCase{2.4 / 32768, "0002"}, TapCase{-2.4 / 32768, "FFFE"},
                      TapCase{0.4 / 32768, "0000"}, TapCase{-0.4 / 32768, "0000"},
                      TapCase{32767.0 / 32768, "7FFF"}, TapCase{-1.0, "8000"},
                      TapCase{0.1, "0CCD"},           // 3276.8
                      TapCase{-0.1, "F333"},          // -3277
                      // Past the 16-bit range a tap saturates instead of flipping sign.
                      TapCase{1.0, "7FFF"}, TapCase{3.0, "7FFF"}, TapCase{-1.5, "8000"},
                      TapCase{1e300, "7FFF"}, TapCase{-1e300, "8000"}, TapCase{NAN, "0000"}));

TEST(TapText, CentreTapAndOrder) {
    Coefficients h{};
    for (int n = 0; n < 16; ++n) h[n] = (n + 1) / 32768.0; // tap value n+1
    h[16] = 123.0; // never sent: tap 31 is always zero
    const std::string text = tonwell::TapText(h);
    // taps 0..15 carry 16..1, taps 16..30 carry 2..16, tap 31 zero
    std::string expected;
    char group[16];
    for (int p = 0; p < 31; ++p) {
        std::snprintf(group, sizeof group, "%04X", std::abs(p - 15) + 1);
        expected += group;
    }
    expected += "0000";
    EXPECT_EQ(text, expected);
}

// ------------------------------------------------------------ plot

TEST(Plot, FrameRoundsToWholeDivisions) {
    const auto f = tonwell::PlotFrameFor(8, 110, 345, 207);
    EXPECT_EQ(f.x0, 28);
    EXPECT_EQ(f.y0, 120);
    EXPECT_EQ(f.width, 300);  // (305 / 6) * 6
    EXPECT_EQ(f.height, 160); // (167 / 8) * 8
    EXPECT_TRUE(tonwell::ResponseStrokes(Coefficients{}, tonwell::PlotFrameFor(0, 0, 30, 30)).empty());
}

TEST(Plot, LevelOfExactZeroIsMinus100) {
    EXPECT_EQ(tonwell::PlotLevel(0.0), -100.0);
    EXPECT_NEAR(tonwell::PlotLevel(1.0), 40.0, 1e-12);
    EXPECT_NEAR(tonwell::PlotLevel(-0.01), 0.0, 1e-12);
}

TEST(Plot, PassBandUsesCoarseStepsAndStopBandFineOnes) {
    const Coefficients h = tonwell::DesignFilter(DesignParams{1, 1.0, 0, 40});
    const auto frame = tonwell::PlotFrameFor(8, 110, 340, 203);
    const auto strokes = tonwell::ResponseStrokes(h, frame);
    ASSERT_FALSE(strokes.empty());
    int fine = 0, coarse = 0;
    for (const auto& s : strokes)
        for (std::size_t i = 1; i < s.size(); ++i) {
            const double dx = s[i].x - s[i - 1].x;
            if (std::fabs(dx - 1.0 / 32) < 1e-9) ++fine;
            else if (std::fabs(dx - 1.0) < 1e-9) ++coarse;
            else ADD_FAILURE() << "step " << dx;
        }
    // 0..~0.9 kHz is the pass band (about 45 pixels at 1 px), the rest fine.
    EXPECT_GT(coarse, 30);
    EXPECT_LT(coarse, 60);
    EXPECT_GT(fine, 10 * coarse);
}

TEST(Plot, LevelsBelowTheGridLiftThePen) {
    // A rectangular window's side lobes pass through zero: the curve breaks
    // wherever the level falls below -40 dB and starts again after.
    const Coefficients h = tonwell::DesignFilter(DesignParams{1, 1.0, 0, 20});
    const auto strokes = tonwell::ResponseStrokes(h, tonwell::PlotFrameFor(8, 110, 340, 203));
    EXPECT_GT(strokes.size(), 1u);
    EXPECT_NEAR(strokes.front().front().x, 28.0, 1e-12);
    EXPECT_NEAR(strokes.front().front().y, 120.0, 1e-6); // 0 dB at 0 Hz sits on the top line
}

} // namespace
