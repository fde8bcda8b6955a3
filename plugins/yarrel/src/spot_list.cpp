// SPDX-License-Identifier: GPL-3.0-or-later
#include "spot_list.h"

#include <algorithm>
#include <cstdio>

namespace yarrel {

std::string CleanText(const char* text, std::size_t limit) {
    if (text == nullptr) {
        return {};
    }
    std::string out;
    for (const char* p = text; *p != '\0' && out.size() < limit + 64; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        out.push_back(c >= 0x20 && c <= 0x7E ? static_cast<char>(c) : '?');
    }
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    out = out.substr(first, out.find_last_not_of(' ') - first + 1);
    if (out.size() > limit) {
        out.resize(limit);
    }
    return out;
}

std::string FormatKilohertz(std::int64_t hz) {
    if (hz <= 0 || hz > kHighestFrequency) {
        return {};
    }
    // Rounded to the nearest 100 Hz.
    const std::int64_t tenths = (hz + 50) / 100;
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%lld", static_cast<long long>(tenths / 10),
                  static_cast<long long>(tenths % 10));
    return text;
}

void SpotList::Add(Spot spot) {
    const auto same = std::find_if(m_spots.begin(), m_spots.end(), [&](const Spot& s) {
        return s.hz == spot.hz && s.call == spot.call;
    });
    if (same != m_spots.end()) {
        m_spots.erase(same);
    }
    m_spots.push_front(std::move(spot));
    while (m_spots.size() > kMaxSpots) {
        m_spots.pop_back();
    }
}

} // namespace yarrel
