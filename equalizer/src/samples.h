// SPDX-License-Identifier: GPL-3.0-or-later
// samples.h - the 35 ready-made tap sets of the samples window: seven types
// of five samples, each the 128-character text the radio's UR and UT
// commands take (32 taps of four upper-case hex digits, 16-bit two's
// complement, full scale 32768), the id of its picture, and the response
// those taps have. Free of window code so it can be checked on its own.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tonwell {

inline constexpr int kSampleTypes = 7;
inline constexpr int kSamplesPerType = 5;

// The type list's entries, type number 1 to 7.
inline constexpr std::array<std::string_view, kSampleTypes> kSampleTypeNames{
    "  High Boost", "  Bass Boost 1", "  Bass Boost 2", "  BEF", "  Etc. 1", "  Etc. 2", "  Flat"};

enum SampleType : int {
    kHighBoost = 1,
    kBassBoost1 = 2,
    kBassBoost2 = 3,
    kBandStop = 4,
    kEtc1 = 5,
    kEtc2 = 6,
    kFlat = 7,
};

inline constexpr bool IsSample(int type, int sample) {
    return type >= 1 && type <= kSampleTypes && sample >= 1 && sample <= kSamplesPerType;
}

// The tap text of a sample; empty for a type or sample out of range.
std::string_view SampleTapText(int type, int sample);

// The picture id of a sample (3070..3104); 0 out of range.
int SamplePictureId(int type, int sample);

using WireTaps = std::array<int, 32>;

// The taps of a 128-character text of hex digits (either case), each as
// its signed 16-bit value; nothing when the text is anything else.
std::optional<WireTaps> DecodeTapText(std::string_view text);

// The magnitude response of the taps in decibels at `hz` (sampling rate
// 12 kHz): 20 log10 |sum t(k)/32768 e^(-j 2 pi hz k / fs)|, at least -200.
double TapResponseDb(const WireTaps& taps, double hz);

// ------------------------------------------------------------ pictures

inline constexpr int kPictureWidth = 216;
inline constexpr int kPictureHeight = 129;

// Where a picture draws its curve (pixels inside the picture) and what its
// axes span: frequency left to right, level top to bottom.
struct PictureAxes {
    int left = 26;
    int top = 6;
    int width = 180;
    int height = 104;
    bool logarithmic = false; // false: linear from lowHz
    double lowHz = 0;
    double highHz = 5000;
    double topDb = 5;
    double bottomDb = -45;
};

// Linear 0 to 5000 Hz, except the band-stop type: logarithmic from 10 Hz.
PictureAxes PictureAxesFor(int type);

// The frequency at a horizontal position inside the curve's area
// (0 = left edge, width = right edge), and the vertical position of a level.
double FrequencyAt(const PictureAxes& axes, double x);
double PositionOf(const PictureAxes& axes, double hz);
double LevelY(const PictureAxes& axes, double db);

} // namespace tonwell
