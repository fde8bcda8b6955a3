// SPDX-License-Identifier: GPL-3.0-or-later
// console_latency: how long a report of the radio takes to reach the label
// that shows it. The console runs on the built-in simulator; the radio's
// dial is turned from its side (an FA report with auto-information on) and
// the time runs until the main display's digits read the new frequency.
// A meter reading is asked for (SM 0) and the time runs until the main
// meter shows the answer. Unpaced, and paced at 9,600 baud, where the
// bytes' own time on the wire is also given. The console's own share runs
// from the moment the link's notification reaches the event loop to the
// label showing the value.
//
//   console_latency [reports]   (default 1000 of each kind per line rate)
#include "console_controls.h"
#include "console_dialog.h"
#include "console_ids.h"
#include "bench_console.h"

#include <console_link.h>
#include <corvan.h>
#include <platform.h>
#include <qxsim.h>

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

using bench::Figures;
using bench::Summarise;

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

void SpinFor(std::chrono::milliseconds quiet) {
    const auto end = Clock::now() + quiet;
    while (Clock::now() < end)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Notes when a notification of the awaited codes last reached the event
// loop: the one that changed the label is the last before it changed, and
// from its arrival on the time is the console's own.
class ArrivalWatch : public QObject {
public:
    void Await(std::initializer_list<int> types) {
        m_types.assign(types);
        m_arrived = false;
    }
    bool arrived() const { return m_arrived; }
    Clock::time_point at() const { return m_at; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        {
            for (const int type : m_types)
                if (static_cast<int>(event->type()) == type) {
                    m_arrived = true;
                    m_at = Clock::now();
                }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::vector<int> m_types;
    bool m_arrived = false;
    Clock::time_point m_at;
};

struct Run {
    Figures frequency, meter;
    Figures frequencyOwn, meterOwn; // from the notification's arrival
    double frequencyBytes = 0; // the radio's bytes for each dial report, on average
};

std::size_t SentBytes(const qxsim::Radio& radio) {
    std::size_t bytes = 0;
    for (const std::string& reply : radio.sent())
        bytes += reply.size() + 1; // and its ";"
    return bytes;
}

Run Measure(bool pace, int reports) {
    ConsoleOptions options = ConsoleOptions::Simulated();
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

    std::vector<double> frequency, meter, frequencyOwn, meterOwn;
    ArrivalWatch watch;
    QCoreApplication::instance()->installEventFilter(&watch);
    const auto since = [](Clock::time_point from) {
        return std::chrono::duration<double, std::micro>(Clock::now() - from).count();
    };
    int missedFrequency = 0, missedMeter = 0;
    std::int64_t hertz = 14'000'000;
    std::size_t bytes = 0;
    for (int i = 0; i < reports; ++i) {
        hertz += 1000 + (i % 7) * 10;
        const std::string wanted = Expected(hertz);
        SpinFor(std::chrono::milliseconds(30)); // the line quiet again
        radio.clearSent();
        watch.Await({static_cast<int>(corvan::MessageOf("FA")), static_cast<int>(corvan::MessageOf("IF"))});
        const auto start = Clock::now();
        radio.setFrequency(qxsim::Vfo::A, hertz);
        if (SpinUntil([&] { return MainDigits(console.controls()) == wanted; })) {
            frequency.push_back(since(start));
            if (watch.arrived())
                frequencyOwn.push_back(since(watch.at()));
            bytes += SentBytes(radio);
        }
        else {
            ++missedFrequency;
            if (missedFrequency == 1)
                std::fprintf(stderr, "console_latency: wanted '%s', the display reads '%s'\n", wanted.c_str(),
                             MainDigits(console.controls()).c_str());
            if (missedFrequency > 5)
                break;
        }
    }
    CStaticMeterEx* mainMeter = console.controls().meter(idc::MainMeter);
    for (int i = 0; i < reports && mainMeter != nullptr; ++i) {
        // Alternate between a station and an empty channel so that every
        // answer moves the meter.
        const std::int64_t at = (i % 2 == 0) ? 14'000'000 : 14'100'000;
        radio.setFrequency(qxsim::Vfo::A, at);
        SpinFor(std::chrono::milliseconds(100));
        const int before = mainMeter->level();
        watch.Await({static_cast<int>(corvan::MessageOf("SM"))});
        const auto start = Clock::now();
        console.link()->ConnSM(0);
        std::uint32_t reading = 0;
        const bool seen = SpinUntil([&] {
            return console.link()->RcvDataSM(0, &reading) == 1 && mainMeter->level() != before;
        });
        if (seen) {
            meter.push_back(since(start));
            if (watch.arrived())
                meterOwn.push_back(since(watch.at()));
        }
        else if (++missedMeter > 5)
            break;
    }
    run.frequencyBytes = frequency.empty() ? 0 : static_cast<double>(bytes) / static_cast<double>(frequency.size());
    run.frequency = Summarise(frequency, missedFrequency);
    run.meter = Summarise(meter, missedMeter);
    run.frequencyOwn = Summarise(frequencyOwn, 0);
    run.meterOwn = Summarise(meterOwn, 0);
    QCoreApplication::instance()->removeEventFilter(&watch);
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
    const bench::Application application(argc, argv);

    std::printf("%-11s %-22s %6s %9s %9s %9s %9s %7s\n", "line", "report", "n", "median us",
                "p99 us", "max us", "wire us", "missed");
    const Run unpaced = Measure(false, reports);
    Print("unpaced", "FA -> main digits", unpaced.frequency, 0);
    Print("unpaced", "SM0 -> main meter", unpaced.meter, 0);
    Print("unpaced", "  console's own, FA", unpaced.frequencyOwn, 0);
    Print("unpaced", "  console's own, SM", unpaced.meterOwn, 0);
    const Run paced = Measure(true, reports);
    // A turn of the dial is reported with FA and IF: every byte the radio
    // sent for it is on the wire before the display can follow. The
    // radio's answer "SM00015;" is 8 bytes (the pseudo-terminal does not
    // pace what the console writes).
    std::printf("(the radio sends %.0f bytes for each turn of the dial)\n", paced.frequencyBytes);
    Print("9600 baud", "FA -> main digits", paced.frequency, paced.frequencyBytes * 10 * 1e6 / 9600);
    Print("9600 baud", "SM0 -> main meter", paced.meter, 8 * 10 * 1e6 / 9600);
    Print("9600 baud", "  console's own, FA", paced.frequencyOwn, 0);
    Print("9600 baud", "  console's own, SM", paced.meterOwn, 0);
    return 0;
}
