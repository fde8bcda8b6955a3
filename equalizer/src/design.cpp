// SPDX-License-Identifier: GPL-3.0-or-later
// design.cpp - Kaiser-window FIR design, tap text and response of the
// equaliser.
#include "design.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace tonwell {

namespace {
constexpr int kLastTap = kHalfTaps - 1; // 15: the window's half length
constexpr int kBesselTerms = 19;
} // namespace

double PrototypeCutoff(const DesignParams& params) {
    switch (params.type) {
    case kHpf:
        return kSampleRate / 2.0 - params.f1;
    case kBpf:
    case kBef:
        return (params.f2 - params.f1) / 2.0;
    default:
        return params.f1;
    }
}

double KaiserBeta(double attenuation) {
    if (attenuation >= 50.0) {
        return 0.1102 * (attenuation - 8.7);
    }
    if (attenuation >= 21.0) {
        return 0.5842 * std::pow(attenuation - 21.0, 0.4) + 0.07886 * (attenuation - 21.0);
    }
    return 0.0;
}

double BesselI0(double x) {
    double sum = 1.0;
    double term = 1.0;
    for (int k = 1; k <= kBesselTerms; ++k) {
        term = term * (x / 2.0) / k;
        sum += term * term;
    }
    return sum;
}

std::array<double, kHalfTaps> KaiserWindow(double beta) {
    std::array<double, kHalfTaps> w{};
    const double denominator = BesselI0(beta);
    for (int n = 0; n < kHalfTaps; ++n) {
        const double r = static_cast<double>(n) / kLastTap;
        w[n] = BesselI0(beta * std::sqrt(1.0 - r * r)) / denominator;
    }
    return w;
}

Coefficients DesignFilter(const DesignParams& params) {
    using std::numbers::pi;
    Coefficients h{};
    const double fc = PrototypeCutoff(params);
    const auto w = KaiserWindow(KaiserBeta(params.attenuation));

    h[0] = 2.0 * fc / kSampleRate;
    for (int n = 1; n < kHalfTaps; ++n) {
        h[n] = std::sin(2.0 * pi * n * fc / kSampleRate) / (pi * n) * w[n];
    }

    double gain = 0.0;
    for (int n = 1; n < kHalfTaps; ++n) {
        gain += h[n];
    }
    gain = h[0] + 2.0 * gain;
    // A zero or broken gain would turn every tap into not-a-number.
    if (std::isfinite(gain) && std::fabs(gain) > 1e-300) {
        for (int n = 0; n < kHalfTaps; ++n) {
            h[n] /= gain;
        }
    }

    const double w0 = pi * (params.f1 + params.f2) / kSampleRate;
    switch (params.type) {
    case kHpf:
        for (int n = 0; n < kHalfTaps; ++n) {
            h[n] *= std::cos(pi * n);
        }
        break;
    case kBpf:
        for (int n = 0; n < kHalfTaps; ++n) {
            h[n] = 2.0 * std::cos(w0 * n) * h[n];
        }
        break;
    case kBef:
        h[0] = 1.0 - 2.0 * h[0];
        for (int n = 1; n < kHalfTaps; ++n) {
            h[n] = -2.0 * std::cos(w0 * n) * h[n];
        }
        break;
    default:
        break;
    }
    h[kHalfTaps] = 0.0;
    return h;
}

int ScaleTap(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    const double scaled = x * 32768.0 * 10.0;
    const double rounded = std::trunc(x >= 0 ? (scaled + 5.0) / 10.0 : (scaled - 5.0) / 10.0);
    // Beyond the 16-bit range a tap keeps its sign and saturates: wrapping
    // 32768 round to -32768 would invert it.
    if (rounded >= 32767.0) {
        return 32767;
    }
    if (rounded <= -32768.0) {
        return -32768;
    }
    return static_cast<int>(rounded);
}

std::string FormatTap(int v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(v) & 0xFFFFu);
    return text;
}

std::string TapText(const Coefficients& h) {
    std::string text;
    text.reserve(kTapTextLength);
    // Taps 0..30; tap 31 (h[16]) is always zero.
    for (int p = 0; p < kWireTaps - 1; ++p) {
        const int index = p >= kLastTap ? p - kLastTap : kLastTap - p;
        text += FormatTap(ScaleTap(h[index]));
    }
    text += FormatTap(0);
    return text;
}

double Magnitude(const Coefficients& h, double f) {
    using std::numbers::pi;
    double m = h[0];
    for (int n = 1; n < kHalfTaps; ++n) {
        m += 2.0 * h[n] * std::cos(2.0 * pi * f * n / kSampleRate);
    }
    return m;
}

double PlotLevel(double magnitude) {
    if (magnitude == 0.0) {
        return -100.0;
    }
    return 20.0 * std::log10(std::fabs(magnitude)) + 40.0;
}

PlotFrame PlotFrameFor(int left, int top, int width, int height) {
    PlotFrame frame;
    frame.x0 = left + 20;
    frame.y0 = top + 10;
    frame.width = ((width - 40) / 6) * 6;
    frame.height = ((height - 40) / 8) * 8;
    return frame;
}

std::vector<std::vector<PlotPoint>> ResponseStrokes(const Coefficients& h, const PlotFrame& frame) {
    std::vector<std::vector<PlotPoint>> strokes;
    if (frame.width <= 0 || frame.height <= 0) {
        return strokes;
    }
    constexpr double kTopLevel = 84.0;
    constexpr double kFineBelow = 40.0 * 0.94;
    const double fineStep = kSampleRate / (64.0 * frame.width);
    const double coarseStep = kSampleRate / (2.0 * frame.width);
    bool penDown = false;
    for (double f = 0.0; f <= kSampleRate / 2.0;) {
        const double level = PlotLevel(Magnitude(h, f));
        if (level < 0.0 || level > kTopLevel) {
            penDown = false;
        } else {
            const PlotPoint point{frame.x0 + f * 2.0 * frame.width / kSampleRate,
                                  frame.y0 + 160.0 - level * frame.height / 40.0};
            if (!penDown) {
                strokes.emplace_back();
                penDown = true;
            }
            strokes.back().push_back(point);
        }
        f += level <= kFineBelow ? fineStep : coarseStep;
    }
    return strokes;
}

} // namespace tonwell
