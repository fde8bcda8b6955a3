// SPDX-License-Identifier: GPL-3.0-or-later
// bench_console.h - what the benchmarks that run the console share: their
// start (bench_application.h, and ConsoleOptions::Simulated for the console
// on the built-in simulator) and the median, 99th percentile and maximum of
// a set of timings.
#pragma once

#include "../bench_application.h"
#include "console_dialog.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

struct Figures {
    double median = 0, p99 = 0, max = 0;
    int samples = 0, missed = 0;
};

inline Figures Summarise(std::vector<double> microseconds, int missed) {
    Figures f;
    f.missed = missed;
    f.samples = static_cast<int>(microseconds.size());
    if (microseconds.empty())
        return f;
    std::sort(microseconds.begin(), microseconds.end());
    const auto at = [&](double q) {
        return microseconds[std::min(microseconds.size() - 1,
                                     static_cast<std::size_t>(q * static_cast<double>(microseconds.size())))];
    };
    f.median = at(0.5);
    f.p99 = at(0.99);
    f.max = microseconds.back();
    return f;
}

} // namespace bench
