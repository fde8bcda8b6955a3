// SPDX-License-Identifier: GPL-3.0-or-later
// design.h - the equaliser's filter design, tap encoding and response, free
// of any window code so that it can be checked on its own.
//
// Frequencies are in kilohertz, the sampling rate is fixed at 12 kHz. A
// design yields h[0]..h[15] (h[16] stays 0): the right half of a symmetric
// 31-tap filter centred on h[0].
#pragma once

#include <array>
#include <string>
#include <vector>

namespace tonwell {

inline constexpr double kSampleRate = 12.0; // kHz
inline constexpr int kHalfTaps = 16;        // h[0]..h[15] are designed
inline constexpr int kWireTaps = 32;        // taps sent to the radio
inline constexpr int kTapTextLength = 128;  // 32 groups of four hex digits

enum FilterType : int { kLpf = 1, kHpf = 2, kBpf = 3, kBef = 4 };

inline bool IsValidType(int type) { return type >= kLpf && type <= kBef; }
inline bool UsesSecondCutoff(int type) { return type == kBpf || type == kBef; }

using Coefficients = std::array<double, kHalfTaps + 1>;

struct DesignParams {
    int type = kLpf;
    double f1 = 0.3;          // cut-off frequency 1, kHz
    double f2 = 0.0;          // cut-off frequency 2, kHz (band-pass, band-stop)
    double attenuation = 20;  // stop-band attenuation, dB
};

// The low-pass prototype's cut-off for a filter type (kHz).
double PrototypeCutoff(const DesignParams& params);

// The Kaiser window's beta for a stop-band attenuation in dB.
double KaiserBeta(double attenuation);

// I0(x) summed as 1 + t(1)^2 + ... + t(19)^2, t(k) = t(k-1) (x/2) / k.
double BesselI0(double x);

// w(n) = I0(beta sqrt(1 - (n/15)^2)) / I0(beta), n = 0..15.
std::array<double, kHalfTaps> KaiserWindow(double beta);

// The whole design: prototype, window, unit gain at 0 Hz, then the high-pass,
// band-pass or band-stop transform. An unknown type designs the low-pass
// prototype only. Should the prototype's gain at 0 Hz come out as zero or not
// finite, the coefficients are left unnormalised rather than divided by it.
Coefficients DesignFilter(const DesignParams& params);

// x * 32768 rounded half away from zero, held to the 16-bit range
// (-32768..32767). Not-a-number gives 0.
int ScaleTap(double x);

// The four upper-case hex digits of v's 16-bit two's complement.
std::string FormatTap(int v);

// The 128 characters the radio takes: tap p = 0..31 is h[|p - 15|], so taps
// 0..30 are symmetric around tap 15 and tap 31 is h[16] = 0.
std::string TapText(const Coefficients& h);

// M(f) = h[0] + sum 2 h[n] cos(2 pi f n / fs), f in kHz.
double Magnitude(const Coefficients& h, double f);

// 20 log10 |M| + 40, or -100 when M is exactly 0.
double PlotLevel(double magnitude);

// ---------------------------------------------------------- response plot

struct PlotFrame {
    int x0 = 0; // left + 20
    int y0 = 0; // top + 10
    int width = 0;  // ((width - 40) / 6) * 6
    int height = 0; // ((height - 40) / 8) * 8
};

// The grid and curve origin inside a plot rectangle.
PlotFrame PlotFrameFor(int left, int top, int width, int height);

struct PlotPoint {
    double x = 0;
    double y = 0;
};

// The response curve as separate pen strokes: a new stroke starts after
// every point whose level lies outside 0..84. Frequencies run from 0 to
// fs / 2 in steps of fs / (64 W) where the level is at most 37.6, else
// fs / (2 W).
std::vector<std::vector<PlotPoint>> ResponseStrokes(const Coefficients& h, const PlotFrame& frame);

} // namespace tonwell
