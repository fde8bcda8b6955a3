// SPDX-License-Identifier: GPL-3.0-or-later
// connect_bench: time from Control > ON to the end of the initial read of
// every setting, against the built-in simulator, unpaced and paced at 9,600
// and 57,600 baud; the bytes written and read; and the time the same bytes
// need on a wire at each rate (10 bits a byte, both directions one after
// the other).
//
//   connect_bench [runs]     (default 3 runs per rate; the median is shown)
#include "console_link.h"
#include "bench_application.h"
#include "simulator_connection.h"

#include <platform.h>

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    double seconds = 0;
    std::uint64_t bytesWritten = 0; // program to radio
    std::uint64_t bytesRead = 0;    // radio to program
    bool ready = false;
};

Run Measure(bool pace, unsigned baud) {
    platform::WriteProfileInt(QStringLiteral("Setting"), QStringLiteral("Baud"),
                              static_cast<int>(baud));
    SimulatorConnection connection(pace, baud);
    zephyra::ConsoleLink& link = connection.link;

    Run run;
    Clock::time_point end{};
    QObject::connect(&link, &zephyra::ConsoleLink::settingsRead, [&] {
        end = Clock::now();
        qxsim::Radio* radio = link.Simulator().Radio();
        run.bytesWritten = radio ? radio->bytesIn() : 0;
        run.bytesRead = radio ? radio->bytesOut() : 0;
    });
    // The radio is on the desk before the operator presses ON.
    link.Simulator().Start();
    const auto start = Clock::now();
    link.ControlOn();
    run.ready = link.State().consoleReady == 1 && end != Clock::time_point{};
    run.seconds = std::chrono::duration<double>(end - start).count();
    link.ControlOff();
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const bench::Application app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    struct Rate {
        const char* name;
        bool pace;
        unsigned baud;
    };
    const Rate rates[] = {{"unpaced", false, 57600}, {"9600", true, 9600}, {"57600", true, 57600}};

    // Pauses the sequence keeps however fast the radio answers: the link's
    // open (3 x 100 ms), the ";" and TC settling (100 + 300 ms), after TY
    // and after AI (100 ms each).
    constexpr double kFixedPauses = 0.9;
    std::printf("%-8s %9s %10s %8s %11s %16s\n", "line", "ready_s", "written_B", "read_B",
                "wire_min_s", "wire+pauses_s");
    for (const Rate& rate : rates) {
        std::vector<double> seconds;
        Run last;
        for (int i = 0; i < runs; ++i) {
            last = Measure(rate.pace, rate.baud);
            if (!last.ready) {
                std::fprintf(stderr, "%s: the console did not become ready\n", rate.name);
                return 1;
            }
            seconds.push_back(last.seconds);
        }
        const double bytes = static_cast<double>(last.bytesWritten + last.bytesRead);
        const double wire = bytes * 10.0 / rate.baud;
        if (rate.pace)
            std::printf("%-8s %9.3f %10llu %8llu %11.3f %16.3f\n", rate.name, Median(seconds),
                        static_cast<unsigned long long>(last.bytesWritten),
                        static_cast<unsigned long long>(last.bytesRead), wire,
                        wire + kFixedPauses);
        else
            std::printf("%-8s %9.3f %10llu %8llu %11s %16.3f\n", rate.name, Median(seconds),
                        static_cast<unsigned long long>(last.bytesWritten),
                        static_cast<unsigned long long>(last.bytesRead), "-", kFixedPauses);
    }
    return 0;
}
