// SPDX-License-Identifier: GPL-3.0-or-later
// backend_support.h - the constants and small helpers the parts of the
// console's sharing backend share (private to this folder).
#pragma once

#include "console_backend.h"

#include <corvan.h>

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

using corvan::kCtcssTenths;
using corvan::kDcsCodes;
using corvan::kToneBurstNumber;
using corvan::kToneBurstTenths;

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
