// SPDX-License-Identifier: GPL-3.0-or-later
// reconnect_memory: what a lost and found radio costs the console in memory.
// A real console, shown as the program shows it (so that every change on
// the radio is painted), on a simulator behind a lasting link name; each
// round pulls the cable (the device and its name go), plugs it in again and
// lets the console find the radio with its whole read, or switches the
// console OFF and ON. The resident size and what the style keeps in the
// pixmap cache are taken after every round; the first rounds warm the caches
// up and are not counted.
//
//   reconnect_memory [rounds] [pull|off]   (defaults 12 and pull)
//
// Prints one line a round and the growth per round over the counted rounds
// (least-squares slopes). Exit status 1 when the console did not
// connect.
#include "console_dialog.h"
#include "console_menu.h"

#include <console_link.h>
#include <platform.h>
#include <qxsim.h>

#include <QApplication>
#include <QTemporaryDir>

// The cache's fill is read through its test hook (in MiB, rounded up).
#define Q_TEST_QPIXMAPCACHE
#include <QPixmapCache>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kWarmRounds = 3;

// The resident size in KiB.
long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double Slope(const std::vector<long>& values) {
    const double n = static_cast<double>(values.size());
    if (n < 2)
        return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double x = static_cast<double>(i), y = static_cast<double>(values[i]);
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(kWarmRounds + 2, std::atoi(argv[1])) : 12;
    const bool pull = !(argc > 2 && std::strcmp(argv[2], "off") == 0);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir profile;
    qputenv("XDG_CONFIG_HOME", profile.path().toUtf8());
    qputenv("ZEPHYRA_METER_PACE", "normal");
    QApplication app(argc, argv);

    qxsim::Radio radio;
    if (!radio.start()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("usb-QX_9000-if00-port0")).toStdString();
    auto relink = [&] {
        std::filesystem::remove(path);
        std::filesystem::create_symlink(radio.devicePath(), path);
    };
    relink();

    ConsoleOptions options;
    options.showSplash = false;
    options.persistent = false;
    options.port = QString::fromStdString(path);
    options.sleep = [](std::chrono::milliseconds) {};
    auto console = std::make_unique<ConsoleDialog>(options);
    console->setModal(false);
    console->show();
    if (!console->ConnectAndSynchronise()) {
        std::fprintf(stderr, "the console did not connect\n");
        return 1;
    }
    ConsoleState& state = console->state();
    auto ready = [&] { return state.consoleReady == 1 && state.initialReadDone == 1; };

    std::vector<long> counted, cached;
    std::printf("round  resident KiB  pixmap cache MiB  (%s)\n",
                pull ? "cable pulled, found again" : "Control > OFF and ON");
    for (int round = 0; round < rounds; ++round) {
        if (pull) {
            radio.stop();
            std::filesystem::remove(path);
            if (!platform::PumpUntil([&] { return state.connected == 0; }, std::chrono::seconds(5))) {
                std::fprintf(stderr, "the loss was not noticed\n");
                return 1;
            }
            radio.start();
            relink();
            // The console's own reconnection finds it (1 s after the loss).
        } else {
            console->OnCommand(cmd::ControlOffCmd);
            console->OnCommand(cmd::ControlOnCmd);
        }
        if (!platform::PumpUntil(ready, std::chrono::seconds(20))) {
            std::fprintf(stderr, "round %d: not found again\n", round);
            return 1;
        }
        platform::PumpFor(std::chrono::milliseconds(500));
        const long rss = ResidentKiB();
        const long cache = QPixmapCache::totalUsed();
        std::printf("%5d  %12ld  %16ld%s\n", round, rss, cache, round < kWarmRounds ? "  (warming up)" : "");
        std::fflush(stdout);
        if (round >= kWarmRounds) {
            counted.push_back(rss);
            cached.push_back(cache);
        }
    }
    std::printf("growth per round over %zu rounds: resident %.1f KiB, pixmap cache %.2f MiB\n",
                counted.size(), Slope(counted), Slope(cached));
    console->DestroyWindow();
    console.reset();
    radio.stop();
    return 0;
}
