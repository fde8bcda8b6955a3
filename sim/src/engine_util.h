// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the engine's files: formatting and the band plan.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace qxsim::detail {

inline std::string format(const char* fmt, auto... args)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

// Amateur bands the band keys step through and VFO scans stay inside.
struct Band {
    std::int64_t from, to, home;
};
inline constexpr Band kBands[] = {
    {1'800'000, 2'000'000, 1'840'000},       {3'500'000, 4'000'000, 3'700'000},
    {7'000'000, 7'300'000, 7'050'000},       {10'100'000, 10'150'000, 10'120'000},
    {14'000'000, 14'350'000, 14'195'000},    {18'068'000, 18'168'000, 18'120'000},
    {21'000'000, 21'450'000, 21'200'000},    {24'890'000, 24'990'000, 24'940'000},
    {28'000'000, 29'700'000, 28'500'000},    {50'000'000, 54'000'000, 50'150'000},
    {144'000'000, 146'000'000, 145'000'000}, {430'000'000, 440'000'000, 433'000'000},
};

inline const Band* bandOf(std::int64_t hz)
{
    for (const auto& b : kBands)
        if (hz >= b.from && hz < b.to)
            return &b;
    return nullptr;
}

// The modes the mode key steps through (8 is the tune mode, not on the key).
inline constexpr int kModes[] = {1, 2, 3, 4, 5, 6, 7, 9};

}  // namespace qxsim::detail
