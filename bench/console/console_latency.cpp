// console_latency: how long a report of the radio takes to reach the label
// that shows it. The console runs on the built-in simulator; the radio's
// dial is turned from its side (an FA report with auto-information on) and
// the time runs until the main display's digits read the new frequency.
// A meter reading is asked for (SM 0) and the time runs until the main
// meter shows the answer. Unpaced, and paced at 9,600 baud, where the
// bytes' own time on the wire is also given.
//
//   console_latency [reports]   (default 1000 of each kind per line rate)
#include "console_controls.h"
#include "console_dialog.h"
#include "console_ids.h"

#include <ConsoleLink.h>
#include <corvan.h>
#include <platform.h>
#include <qxsim.h>

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double median = 0, p99 = 0, max = 0;
    int samples = 0, missed = 0;
};

Figures Summarise(std::vector<double> microseconds, int missed) {
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

// The eleven digits of the main display, blanks for the blanked zeros.
std::string MainDigits(const ConsoleControls& controls) {
    std::string out;
    for (int i = 0; i < 11; ++i)
        out += controls.caption(idc::MainDigit0 + i).toStdString();
    return out;
}

std::string Expected(std::int64_t hertz) {
    char text[16];
    std::snprintf(text, sizeof text, "%011lld", static_cast<long long>(hertz));
    std::string digits = text;
    for (char& c : digits) {
        if (c != '0')
            break;
        c = ' ';
    }
    return digits;
}

// Spins on the event loop (no sleeping: the figure is the console's own
// time) until `done` holds or a second has passed.
template <typename Done>
bool SpinUntil(Done done) {
    const auto end = Clock::now() + std::chrono::seconds(1);
    while (Clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (done())
            return true;
    }
    return false;
}

struct Run {
    Figures frequency, meter;
};

Run Measure(bool pace, int reports) {
    ConsoleOptions options;
    options.showSplash = false;
    options.persistent = false;
    options.simulator = true;
    options.sleep = [](std::chrono::milliseconds) {};
    ConsoleDialog console(options);
    qxsim::Options radioOptions;
    radioOptions.pace = pace;
    radioOptions.baud = 9600;
    console.connection()->Simulator().SetOptions(radioOptions);
    Run run;
    if (!console.ConnectAndSynchronise()) {
        std::fprintf(stderr, "console_latency: the simulator did not become ready\n");
        return run;
    }
    qxsim::Radio& radio = *console.connection()->Simulator().Radio();
    SpinUntil([] { return false; }); // let the read's last answers settle

    std::vector<double> frequency, meter;
    int missedFrequency = 0, missedMeter = 0;
    std::int64_t hertz = 14'000'000;
    for (int i = 0; i < reports; ++i) {
        hertz += 1000 + (i % 7) * 10;
        const std::string wanted = Expected(hertz);
        const auto start = Clock::now();
        radio.setFrequency(qxsim::Vfo::A, hertz);
        if (SpinUntil([&] { return MainDigits(console.controls()) == wanted; }))
            frequency.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        else
            ++missedFrequency;
    }
    CStaticMeterEx* mainMeter = console.controls().meter(idc::MainMeter);
    for (int i = 0; i < reports && mainMeter != nullptr; ++i) {
        // Alternate between a station and an empty channel so that every
        // answer moves the meter.
        const std::int64_t at = (i % 2 == 0) ? 14'000'000 : 14'100'000;
        radio.setFrequency(qxsim::Vfo::A, at);
        SpinUntil([&] { return false; });
        const int before = mainMeter->level();
        const auto start = Clock::now();
        console.link()->ConnSM(0);
        std::uint32_t reading = 0;
        const bool seen = SpinUntil([&] {
            return console.link()->RcvDataSM(0, &reading) == 1 && mainMeter->level() != before;
        });
        if (seen)
            meter.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        else
            ++missedMeter;
    }
    run.frequency = Summarise(frequency, missedFrequency);
    run.meter = Summarise(meter, missedMeter);
    console.DestroyWindow();
    return run;
}

void Print(const char* line, const char* what, const Figures& f, double wireMicroseconds) {
    std::printf("%-11s %-22s %6d %9.0f %9.0f %9.0f %9.0f %7d\n", line, what, f.samples, f.median,
                f.p99, f.max, wireMicroseconds, f.missed);
}

} // namespace

int main(int argc, char** argv) {
    const int reports = argc > 1 ? std::max(10, std::atoi(argv[1])) : 1000;
    QTemporaryDir profile;
    qputenv("XDG_CONFIG_HOME", profile.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::InitApplication();

    std::printf("%-11s %-22s %6s %9s %9s %9s %9s %7s\n", "line", "report", "n", "median us",
                "p99 us", "max us", "wire us", "missed");
    const Run unpaced = Measure(false, reports);
    Print("unpaced", "FA -> main digits", unpaced.frequency, 0);
    Print("unpaced", "SM0 -> main meter", unpaced.meter, 0);
    const Run paced = Measure(true, reports);
    // FA plus eleven digits and ";" is 14 bytes; "SM0;" out and "SM00015;" back 12.
    Print("9600 baud", "FA -> main digits", paced.frequency, 14 * 10 * 1e6 / 9600);
    Print("9600 baud", "SM0 -> main meter", paced.meter, 12 * 10 * 1e6 / 9600);
    return 0;
}
