// SPDX-License-Identifier: GPL-3.0-or-later
// operator_latency: how long an operator's action takes to reach the radio.
// The console runs on the built-in simulator; a left click on the main
// display's 1 kHz digit is timed until the radio has received the new FA,
// and a notch of the mouse wheel (the tuning dial selected) until it has
// received the UP or DN. The events go through the console's own event
// path (the pre-filter of every control), as the window system's would.
//
//   operator_latency [actions]   (default 1000 of each kind)
#include "console_controls.h"
#include "console_dialog.h"
#include "console_ids.h"
#include "bench_console.h"
#include "operations/console_operations.h"

#include <console_link.h>
#include <platform.h>
#include <qxsim.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

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

void SpinFor(std::chrono::milliseconds quiet) {
    const auto end = Clock::now() + quiet;
    while (Clock::now() < end)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Spins (no sleeping) until the radio has received one more command
// starting with one of the prefixes, or a second has passed.
bool ReceivedOneMore(const qxsim::Radio& radio, std::size_t before,
                     const std::vector<std::string>& prefixes) {
    const auto count = [&] {
        std::size_t n = 0;
        for (const auto& p : prefixes)
            n += radio.countOf(p);
        return n;
    };
    const auto end = Clock::now() + std::chrono::seconds(1);
    while (Clock::now() < end)
        if (count() > before)
            return true;
    return false;
}

std::size_t CountOf(const qxsim::Radio& radio, const std::vector<std::string>& prefixes) {
    std::size_t n = 0;
    for (const auto& p : prefixes)
        n += radio.countOf(p);
    return n;
}

void Mouse(QWidget* target, QEvent::Type type, Qt::MouseButton button) {
    const QPointF at = target->rect().center();
    QMouseEvent event(type, at, target->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void Wheel(QWidget* target, int delta) {
    const QPointF at = target->rect().center();
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void Print(const char* what, const Figures& f) {
    std::printf("%-28s %6d %9.0f %9.0f %9.0f %7d\n", what, f.samples, f.median, f.p99, f.max, f.missed);
}

} // namespace

int main(int argc, char** argv) {
    const int actions = argc > 1 ? std::max(10, std::atoi(argv[1])) : 1000;
    const bench::Application application(argc, argv);

    ConsoleOptions options = ConsoleOptions::Simulated();
    ConsoleDialog console(options);
    if (!console.ConnectAndSynchronise()) {
        std::fprintf(stderr, "operator_latency: the simulator did not become ready\n");
        return 1;
    }
    console.show();
    console.activateWindow();
    SpinFor(std::chrono::milliseconds(300));
    qxsim::Radio& radio = *console.connection()->Simulator().Radio();
    const auto since = [](Clock::time_point from) {
        return std::chrono::duration<double, std::micro>(Clock::now() - from).count();
    };

    // A click on the 1 kHz digit: left steps down, right steps up, so the
    // frequency stays where it was.
    QWidget* digit = console.controls().widget(idc::MainDigit0 + 7);
    std::vector<double> clicks;
    int missedClicks = 0;
    for (int i = 0; i < actions; ++i) {
        SpinFor(std::chrono::milliseconds(5)); // the radio's report handled
        const Qt::MouseButton button = i % 2 == 0 ? Qt::LeftButton : Qt::RightButton;
        const std::size_t before = CountOf(radio, {"FA"});
        const auto start = Clock::now();
        Mouse(digit, QEvent::MouseButtonPress, button);
        if (ReceivedOneMore(radio, before, {"FA"}))
            clicks.push_back(since(start));
        else
            ++missedClicks;
        Mouse(digit, QEvent::MouseButtonRelease, button);
    }

    // The wheel with the tuning dial selected.
    QWidget* dial = console.controls().widget(idc::TuningDial);
    Mouse(dial, QEvent::MouseButtonPress, Qt::LeftButton);
    Mouse(dial, QEvent::MouseButtonRelease, Qt::LeftButton);
    std::vector<double> notches;
    int missedNotches = 0;
    QWidget* display = console.controls().widget(idc::DisplayBack);
    for (int i = 0; i < actions; ++i) {
        SpinFor(std::chrono::milliseconds(5));
        const std::size_t before = CountOf(radio, {"UP", "DN"});
        const auto start = Clock::now();
        Wheel(display, i % 2 == 0 ? 120 : -120);
        if (ReceivedOneMore(radio, before, {"UP", "DN"}))
            notches.push_back(since(start));
        else
            ++missedNotches;
    }
    if (console.state().mouseWheelSelection == 0)
        std::fprintf(stderr, "operator_latency: the dial did not stay selected\n");

    std::printf("%-28s %6s %9s %9s %9s %7s\n", "action", "n", "median us", "p99 us", "max us", "missed");
    Print("digit click -> FA received", Summarise(clicks, missedClicks));
    Print("wheel notch -> UP/DN received", Summarise(notches, missedNotches));
    console.DestroyWindow();
    return 0;
}
