// SPDX-License-Identifier: GPL-3.0-or-later
// backend_support.h - the constants and small helpers the parts of the
// console's sharing backend share (private to this folder).
#pragma once

#include "console_backend.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>

namespace zephyra::backend {

using u32 = std::uint32_t;

// The preamplifier's gain and the attenuator's loss, as clients are told.
inline constexpr int kPreampDb = 10;
inline constexpr int kAttenuatorDb = 12;
// The keyer takes 24 characters at a time (KY).
inline constexpr int kKeyerCharacters = 24;

// The repeater tones of TN and CN (numbers 1..38; TN 39 is the 1750 Hz
// burst), tenths of Hz.
inline constexpr int kCtcssTenths[] = {
    670,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000, 1035,
    1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567, 1622,
    1679, 1738, 1799, 1862, 1928, 2035, 2107, 2181, 2257, 2336, 2418, 2503,
};
inline constexpr int kToneBurst = 17'500;

// The DCS codes of QC 0..103, as written.
inline constexpr int kDcsCodes[] = {
    23,  25,  26,  31,  32,  36,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115,
    116, 122, 125, 131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223,
    225, 226, 243, 244, 245, 246, 251, 252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315,
    325, 331, 332, 343, 346, 351, 356, 364, 365, 371, 411, 412, 413, 423, 431, 432, 445, 446,
    452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526, 532, 546, 565, 606, 612, 624,
    627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754,
};

inline std::optional<long long> ParseFrequency(const char* text) {
    long long hz = 0;
    int digits = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return std::nullopt;
        hz = hz * 10 + (*p - '0');
        if (++digits > 11)
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    return hz;
}

inline void Sleep1() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

} // namespace zephyra::backend
