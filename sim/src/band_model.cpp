// SPDX-License-Identifier: GPL-3.0-or-later
#include "band_model.h"

#include <algorithm>
#include <cstdlib>

namespace qxsim::detail {

std::uint64_t Random::next()
{
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double Random::uniform()
{
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

long long Random::between(long long lo, long long hi)
{
    if (hi <= lo)
        return lo;
    const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
    return lo + static_cast<long long>(next() % span);
}

namespace {

struct Segment {
    std::int64_t from, to;
    int count;      // stations in the segment
    int width;      // half bandwidth of a typical signal there
};

// Where the stations live: the amateur bands, broadcast and a little VHF/UHF.
constexpr Segment kSegments[] = {
    {1'810'000, 2'000'000, 12, 1'200},
    {3'500'000, 3'800'000, 30, 1'200},
    {5'950'000, 6'200'000, 20, 4'500},    // broadcast
    {7'000'000, 7'200'000, 40, 1'200},
    {9'400'000, 9'900'000, 20, 4'500},    // broadcast
    {10'100'000, 10'150'000, 10, 300},
    {14'000'000, 14'350'000, 60, 1'200},
    {18'068'000, 18'168'000, 15, 1'200},
    {21'000'000, 21'450'000, 40, 1'200},
    {24'890'000, 24'990'000, 10, 1'200},
    {28'000'000, 29'700'000, 40, 1'200},
    {50'000'000, 54'000'000, 20, 1'200},
    {144'000'000, 146'000'000, 30, 6'000},
    {430'000'000, 440'000'000, 30, 6'000},
};

}  // namespace

BandModel::BandModel(std::uint64_t seed) : seed_(seed)
{
    Random r(seed ^ 0x51D0BA5EULL);
    for (const auto& seg : kSegments) {
        for (int i = 0; i < seg.count; ++i) {
            Station st;
            // Stations sit on a 100 Hz raster (1 kHz for wide signals).
            const std::int64_t raster = seg.width >= 4'000 ? 5'000 : 100;
            st.hz = (seg.from + r.between(0, seg.to - seg.from)) / raster * raster;
            st.strength = static_cast<int>(r.between(6, 30));
            st.width = seg.width;
            if (seg.width == 1'200 && r.uniform() < 0.25)
                st.width = 200;  // a CW signal
            stations_.push_back(st);
        }
    }
    std::sort(stations_.begin(), stations_.end(),
              [](const Station& a, const Station& b) { return a.hz < b.hz; });
    for (const auto& st : stations_)
        widest_ = std::max(widest_, st.width);
}

int BandModel::noiseFloor(std::int64_t hz) const
{
    if (hz <= 0)
        return 0;
    // Lower bands are noisier; a little fixed ripple per kHz, from the seed.
    int base = hz < 4'000'000 ? 3 : hz < 15'000'000 ? 2 : hz < 60'000'000 ? 1 : 0;
    Random r(seed_ ^ static_cast<std::uint64_t>(hz / 1'000) * 0x2545F4914F6CDD1DULL);
    return base + static_cast<int>(r.between(0, 1));
}

int BandModel::level(std::int64_t hz) const
{
    int best = noiseFloor(hz);
    auto it = std::lower_bound(stations_.begin(), stations_.end(), hz - widest_,
                               [](const Station& s, std::int64_t f) { return s.hz < f; });
    for (; it != stations_.end() && it->hz <= hz + widest_; ++it) {
        const std::int64_t d = std::llabs(it->hz - hz);
        if (d > it->width)
            continue;
        // Full strength across the passband's inner half, falling to a third at its edge.
        const double edge = static_cast<double>(d) / it->width;
        const double f = edge < 0.5 ? 1.0 : 1.0 - (edge - 0.5) * 1.33;
        best = std::max(best, static_cast<int>(it->strength * f + 0.5));
    }
    return std::clamp(best, 0, 30);
}

}  // namespace qxsim::detail
