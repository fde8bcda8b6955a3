// SPDX-License-Identifier: GPL-3.0-or-later
// Channels per second of the sweep thread against the virtual radio, beside
// the cost model: each channel costs the interval plus the time to write its
// two commands (the tuning, 14 bytes, and the meter query, 4 bytes).
//
//   glimra_sweep_rate [--span N] [--baud B] [--pace] [--intervals 100,50,20]
//
// --pace makes the radio send its replies at the line rate; the link's own
// writes go to a pseudo-terminal, which takes them at once, so the model's
// write time is given for the named baud rate and for the pseudo-terminal.
#include "scan_rules.h"
#include "sweep_engine.h"
#include "started_radio.h"

#include <corvan.h>
#include <qxsim.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

class CountingSink : public glimra::SweepSink {
public:
    void drawBar(int, int) override { draws.fetch_add(1); }
    void sweepEnded() override { ended.store(true); }
    std::atomic<int> draws{0};
    std::atomic<bool> ended{false};
};

} // namespace

int main(int argc, char** argv) {
    int span = 61;
    unsigned baud = 9600;
    bool pace = false;
    std::vector<int> intervals{100, 50, 20};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--span" && i + 1 < argc) {
            span = std::atoi(argv[++i]);
        } else if (arg == "--baud" && i + 1 < argc) {
            baud = static_cast<unsigned>(std::atoi(argv[++i]));
        } else if (arg == "--pace") {
            pace = true;
        } else if (arg == "--intervals" && i + 1 < argc) {
            intervals.clear();
            std::stringstream list(argv[++i]);
            for (std::string item; std::getline(list, item, ',');) {
                intervals.push_back(std::atoi(item.c_str()));
            }
        } else {
            std::fprintf(stderr, "usage: glimra_sweep_rate [--span N] [--baud B] [--pace] [--intervals a,b,c]\n");
            return 2;
        }
    }
    if (span < 1 || span > glimra::kMaxSpan || baud == 0) {
        std::fprintf(stderr, "span must be 1..181 and baud positive\n");
        return 2;
    }

    const auto started = bench::StartRadio(baud, pace);
    if (!started) {
        return 1;
    }
    qxsim::Radio& radio = *started;
    CCorvan link;
    if (link.Conn("QR-7730", radio.devicePath().c_str(), baud, "n", 8, 1, 1) == 0) {
        std::fprintf(stderr, "cannot open %s\n", radio.devicePath().c_str());
        return 1;
    }

    constexpr double kBytesPerChannel = 14 + 4; // "FA" + 11 digits + ";", "SM0;"
    const double lineWriteMs = kBytesPerChannel * 10.0 * 1000.0 / baud;
    std::printf("span %d channels, radio %s, 1 kHz steps around 14.195 MHz\n", span,
                pace ? "paced" : "unpaced");
    std::printf("%9s %10s %10s %14s %14s %9s %9s\n", "interval", "sweep_ms", "ch_per_s",
                "model_pty", "model_line", "vs_pty", "measured");
    for (int interval : intervals) {
        glimra::ScanControl control;
        CountingSink sink;
        glimra::SweepEngine engine(control, sink);
        engine.start();
        control.selector = 0;
        control.centre = 14'195'000;
        control.step = 1'000;
        control.span = span;
        control.interval = interval;
        const glimra::Edges edges = glimra::EdgesAround(14'195'000, 1'000, span);
        control.low = edges.low;
        control.high = edges.high;
        const auto begin = std::chrono::steady_clock::now();
        engine.beginSweep();
        while (!sink.ended.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        int measured = 0;
        for (int i = 0; i < span; ++i) {
            measured += control.level[static_cast<std::size_t>(i)].load() >= 0 ? 1 : 0;
        }
        engine.shutdown();
        const double rate = span * 1000.0 / ms;
        const double modelPty = 1000.0 / interval;
        const double modelLine = 1000.0 / (interval + lineWriteMs);
        std::printf("%7d ms %10.0f %10.2f %14.2f %14.2f %8.1f%% %6d/%d\n", interval, ms, rate,
                    modelPty, modelLine, 100.0 * rate / modelPty, measured, span);
    }
    link.Close();
    radio.stop();
    return 0;
}
