// SPDX-License-Identifier: GPL-3.0-or-later
// meter_bench: how soon the console's main S-meter shows a change made at
// the radio, what share of the line the meters' polls take, and what the
// idle connected console costs, for each pace, against the built-in
// simulator paced at 9,600 baud.
//
//   meter_bench [changes] [idle-seconds]   (defaults 100 and 10)
//
// A change is a retune at the radio between a station and an empty spot
// (the radio reports the frequency by itself, the meter only when asked);
// the time runs from the retune to the console's handling of the SM answer
// that carries the new level. Changes come at random moments so they fall
// anywhere between two polls.
#include "console_link.h"
#include "meter_poll.h"
#include "bench_application.h"
#include "simulator_connection.h"

#include <platform.h>

#include <QApplication>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr unsigned kBaud = 9600;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(std::min<double>(static_cast<double>(v.size() - 1), p * static_cast<double>(v.size() - 1) + 0.5));
    return v[i];
}

struct Figures {
    double median = 0, p99 = 0, worst = 0;
    int missed = 0;
    double lineIn = 0, lineOut = 0; // share of the line, program to radio and back
    double idleCpu = 0;
};

Figures Measure(zephyra::MeterPace pace, bool sub, int changes, int idleSeconds) {
    SimulatorConnection connection(true, kBaud);
    zephyra::ConsoleState& state = connection.state;
    CCorvan& corvan = connection.corvan;
    zephyra::ConsoleLink& link = connection.link;
    Figures f;
    link.ControlOn();
    qxsim::Radio* radio = link.Simulator().Radio();
    if (!radio || !state.consoleReady) {
        std::fprintf(stderr, "the console did not connect\n");
        return f;
    }
    state.subReceiver = sub ? 1 : 0;
    if (sub)
        radio->setValue("SB", {1});

    int target = -1;
    Clock::time_point shownAt{};
    const unsigned sm = corvan::MessageOf("SM");
    link.SetForwarder([&](unsigned message, std::uintptr_t meter, std::intptr_t) {
        std::uint32_t v = 0;
        if (message == sm && meter == 0 && corvan.RcvDataSM(0, &v) == 1 && static_cast<int>(v) == target &&
            shownAt == Clock::time_point{})
            shownAt = Clock::now();
    });

    zephyra::MeterPoll poll(link);
    poll.SetPace(pace);
    const auto stations = radio->stations();
    std::int64_t quiet = stations.front() + 25'000;
    for (std::int64_t hz = quiet; hz < quiet + 1'000'000; hz += 5'000)
        if (radio->sMeterAt(hz) != radio->sMeterAt(stations.front())) {
            quiet = hz;
            break;
        }
    const std::int64_t spots[2] = {stations.front(), quiet};
    // Start on the empty spot, its level shown, so every change is one.
    radio->setFrequency(qxsim::Vfo::A, quiet);
    platform::PumpFor(std::chrono::milliseconds(1200));

    std::mt19937 random(7);
    std::uniform_int_distribution<int> jitter(0, 400);
    std::vector<double> delays;
    const double waitLimit = pace == zephyra::MeterPace::Off ? 1.0 : 3.0;
    radio->clearReceived();
    const std::uint64_t inBefore = radio->bytesIn();
    const auto start = Clock::now();
    for (int i = 0; i < changes; ++i) {
        platform::PumpFor(std::chrono::milliseconds(jitter(random)));
        const std::int64_t hz = spots[i % 2];
        target = radio->sMeterAt(hz);
        shownAt = {};
        const auto changed = Clock::now();
        radio->setFrequency(qxsim::Vfo::A, hz);
        while (shownAt == Clock::time_point{} &&
               std::chrono::duration<double>(Clock::now() - changed).count() < waitLimit) {
            platform::PumpMessages(100);
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        if (shownAt == Clock::time_point{}) {
            ++f.missed;
            std::uint32_t v = 0;
            if (std::getenv("METER_BENCH_DEBUG"))
                std::fprintf(stderr, "missed: hz %lld target %d stored %d (%d)\n", static_cast<long long>(hz), target,
                             corvan.RcvDataSM(0, &v) == 1 ? static_cast<int>(v) : -1, static_cast<int>(radio->value("SM")));
        }
        else
            delays.push_back(std::chrono::duration<double, std::milli>(shownAt - changed).count());
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // The polls' bytes: each query out ("SM0;" 4, "RM;" 3), each answer back
    // ("SM00012;" 8, "RM10005;" 8).
    std::uint64_t out = 0, back = 0;
    for (const qxsim::Received& r : radio->received()) {
        if (r.text.rfind("SM", 0) == 0) {
            out += 4;
            back += 8;
        } else if (r.text == "RM") {
            out += 3;
            back += 8;
        }
    }
    (void)inBefore;
    const double lineBytesPerSecond = kBaud / 10.0;
    f.lineOut = static_cast<double>(out) / seconds / lineBytesPerSecond;
    f.lineIn = static_cast<double>(back) / seconds / lineBytesPerSecond;
    f.median = Percentile(delays, 0.5);
    f.p99 = Percentile(delays, 0.99);
    f.worst = delays.empty() ? 0 : *std::max_element(delays.begin(), delays.end());

    // Idle: connected, nothing changes; the process holds the console and
    // the simulated radio alike, so the figure is an upper bound.
    const double cpu0 = CpuSeconds();
    const auto idle0 = Clock::now();
    const auto idleEnd = idle0 + std::chrono::seconds(idleSeconds);
    while (Clock::now() < idleEnd) {
        platform::PumpMessages(100);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    f.idleCpu = (CpuSeconds() - cpu0) / std::chrono::duration<double>(Clock::now() - idle0).count();
    link.ControlOff();
    return f;
}

} // namespace

int main(int argc, char** argv) {
    const bench::Application app(argc, argv);
    const int changes = argc > 1 ? std::max(2, std::atoi(argv[1])) : 100;
    const int idleSeconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;

    std::printf("| pace | poll every (ms) | sub receiver | median (ms) | p99 (ms) | worst (ms) | not shown | "
                "line, polls out | line, answers back | idle CPU |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    for (const zephyra::MeterPace pace : {zephyra::MeterPace::Off, zephyra::MeterPace::Slow,
                                          zephyra::MeterPace::Normal, zephyra::MeterPace::Fast}) {
        for (const bool sub : {false, true}) {
            if (pace == zephyra::MeterPace::Off && sub)
                continue;
            const int n = pace == zephyra::MeterPace::Off ? std::min(changes, 10) : changes;
            const Figures f = Measure(pace, sub, n, idleSeconds);
            std::printf("| %s | %lld | %s | %.0f | %.0f | %.0f | %d of %d | %.1f %% | %.1f %% | %.2f %% |\n",
                        zephyra::MeterPaceName(pace).toUtf8().constData(),
                        static_cast<long long>(zephyra::MeterPaceInterval(pace).count()), sub ? "on" : "off",
                        f.median, f.p99, f.worst, f.missed, n, f.lineOut * 100, f.lineIn * 100,
                        f.idleCpu * 100);
            std::fflush(stdout);
        }
    }
    return 0;
}
