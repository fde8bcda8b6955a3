// SPDX-License-Identifier: GPL-3.0-or-later
// What the receiver hears: a noise floor and a fixed set of stations, drawn
// once from the seed so that every run with the same seed hears the same band.
#pragma once

#include <cstdint>
#include <vector>

namespace qxsim::detail {

struct Station {
    std::int64_t hz;
    int strength;   // 0..30 at the centre
    int width;      // half bandwidth in Hz
};

class BandModel {
public:
    explicit BandModel(std::uint64_t seed);

    // S-meter reading 0..30 at `hz`.
    int level(std::int64_t hz) const;
    int noiseFloor(std::int64_t hz) const;
    const std::vector<Station>& stations() const { return stations_; }

private:
    std::uint64_t seed_;
    std::vector<Station> stations_;  // sorted by frequency
    int widest_ = 0;
};

// A small deterministic generator (splitmix64), the same on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double uniform();                       // [0, 1)
    long long between(long long lo, long long hi);  // [lo, hi]

private:
    std::uint64_t state_;
};

}  // namespace qxsim::detail
