// SPDX-License-Identifier: GPL-3.0-or-later
// reference_design.h - an independent derivation of the equaliser's filters
// for the tests: band edges instead of modulation, long double arithmetic and
// the standard library's Bessel function instead of the truncated series.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <string>
#include <vector>

namespace reference {

using ld = long double;

constexpr ld kPi = 3.141592653589793238462643383279502884L;
constexpr ld kFs = 12.0L;

inline ld RefBeta(ld a) {
    if (a >= 50) return 0.1102L * (a - 8.7L);
    if (a >= 21) return 0.5842L * std::pow(a - 21, 0.4L) + 0.07886L * (a - 21);
    return 0;
}

inline ld RefWindow(int n, ld beta) {
    const ld r = std::abs(n) / 15.0L;
    return std::cyl_bessel_il(0, beta * std::sqrt(1 - r * r)) / std::cyl_bessel_il(0, beta);
}

// sin(2 pi n f / fs) / (pi n) windowed; the centre is 2 f / fs.
inline ld WindowedSinc(int n, ld f, ld beta) {
    if (n == 0) return 2 * f / kFs;
    return std::sin(2 * kPi * n * f / kFs) / (kPi * n) * RefWindow(n, beta);
}

inline ld GainAtZero(ld fc, ld beta) {
    ld sum = 0;
    for (int n = -15; n <= 15; ++n) sum += WindowedSinc(n, fc, beta);
    return sum;
}

// The full 31-tap filter, index -15..15.
inline std::vector<ld> Reference(int type, ld f1, ld f2, ld a) {
    const ld beta = RefBeta(a);
    std::vector<ld> h(31);
    for (int n = -15; n <= 15; ++n) {
        ld v = 0;
        switch (type) {
        case 1:
            v = WindowedSinc(n, f1, beta) / GainAtZero(f1, beta);
            break;
        case 2: { // the inverted low-pass written out with the cut-off itself
            ld gain = 1 - 2 * f1 / kFs;
            for (int k = 1; k <= 15; ++k)
                gain += 2 * ((k % 2) ? 1 : -1) * std::sin(2 * kPi * k * f1 / kFs) / (kPi * k) * RefWindow(k, beta);
            v = n == 0 ? (1 - 2 * f1 / kFs) / gain
                       : -std::sin(2 * kPi * n * f1 / kFs) / (kPi * n) * RefWindow(n, beta) / gain;
            break;
        }
        case 3:
        case 4: { // difference of two low-passes at the band edges
            const ld gain = GainAtZero((f2 - f1) / 2, beta);
            const ld band = n == 0 ? 2 * (f2 - f1) / kFs
                                   : (std::sin(2 * kPi * n * f2 / kFs) - std::sin(2 * kPi * n * f1 / kFs)) /
                                         (kPi * n) * RefWindow(n, beta);
            v = band / gain;
            if (type == 4) v = (n == 0 ? 1 : 0) - v;
            break;
        }
        }
        h[n + 15] = v;
    }
    return h;
}

inline std::string RefTapText(const std::vector<ld>& h) {
    std::string text;
    for (int p = 0; p < 32; ++p) {
        long long v = p < 31 ? std::llround(h[p] * 32768.0L) : 0;
        v = std::clamp(v, -32768LL, 32767LL);
        char group[16];
        std::snprintf(group, sizeof group, "%04llX", static_cast<unsigned long long>(v) & 0xFFFFull);
        text += group;
    }
    return text;
}

// |M(f)| from the 31-tap filter as a plain transform sum.
inline ld RefMagnitude(const std::vector<ld>& h, ld f) {
    std::complex<ld> sum = 0;
    for (int k = -15; k <= 15; ++k) sum += h[k + 15] * std::polar(1.0L, -2 * kPi * f * k / kFs);
    return std::abs(sum);
}

} // namespace reference
