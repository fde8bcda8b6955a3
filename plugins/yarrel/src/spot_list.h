// SPDX-License-Identifier: GPL-3.0-or-later
// spot_list.h - the DX spots of the packet cluster, newest first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace yarrel {

inline constexpr std::int64_t kHighestFrequency = 99'999'999'999; // eleven digits of Hz
inline constexpr std::size_t kMaxSpots = 100;

struct Spot {
    std::int64_t hz = 0;
    std::string call, comment, time;
    // The frequency is one the radio can be tuned to.
    bool tunable() const { return hz > 0 && hz <= kHighestFrequency; }
};

// A text as received, made safe to show: spaces trimmed at both ends,
// control and non-ASCII bytes replaced by "?", at most `limit` characters.
std::string CleanText(const char* text, std::size_t limit);

// "14025.0" (kHz with one decimal, as clusters write it); "" when not tunable.
std::string FormatKilohertz(std::int64_t hz);

class SpotList {
public:
    // Puts `spot` first; an older spot of the same call and frequency goes.
    void Add(Spot spot);
    void Clear() { m_spots.clear(); }
    const std::deque<Spot>& spots() const { return m_spots; }

private:
    std::deque<Spot> m_spots;
};

} // namespace yarrel
