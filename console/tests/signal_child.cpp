// SPDX-License-Identifier: GPL-3.0-or-later
// signal_child.cpp - the console as the program runs it, for the program
// tests: on the radio at argv[1], connected and synchronised, it prints
// "ready", waits until the radio transmits, then opens the modal window
// named by argv[2] ("about", "question" or "file") and prints "modal" once
// it shows. The test then sends a termination signal.
#include "console_app.h"

#include <platform.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: console_signal_child DEVICE about|question|file\n", stderr);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const std::string window = argv[2];
    ConsoleOptions options;
    options.showSplash = false;
    options.persistent = false;
    options.port = QString::fromLocal8Bit(argv[1]);
    options.sleep = [](std::chrono::milliseconds) {};
    int result = 0;
    ConsoleApp app(options, [&](ConsoleDialog& console) {
        if (!console.ConnectAndSynchronise()) {
            std::puts("not ready");
            result = 3;
            return 0;
        }
        std::puts("ready");
        std::fflush(stdout);
        const QDeadlineTimer deadline(30000);
        while (!console.state().transmitting[0] && !console.state().transmitting[1] && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        QTimer::singleShot(0, &console, [&console, window] {
            // Said once the window's own loop runs.
            QTimer::singleShot(0, [] {
                if (QApplication::activeModalWidget() != nullptr) {
                    std::puts("modal");
                    std::fflush(stdout);
                }
            });
            if (window == "about") {
                console.ShowAbout();
            } else if (window == "question") {
                platform::MessageBox(QStringLiteral("Clear this Memory?"), QStringLiteral("Zephyra"),
                                     platform::MbYesNo | platform::MbIconQuestion, &console);
            } else {
                platform::FileDialog(platform::FileDialogRequest{false, QStringLiteral("Open"), QString(), QString(),
                                                                 QString(), QString()},
                                     &console);
            }
        });
        return RunConsole(console);
    });
    app.InitInstance();
    return result;
}
