// SPDX-License-Identifier: GPL-3.0-or-later
// main.cpp - the program: options, display check, then the console.
#include "command_line.h"
#include "console_app.h"

#include <platform.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const CommandLine commandLine = ParseCommandLine(args);
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "zephyra: %s\n\n%s", commandLine.error.c_str(), UsageText().c_str());
        return 2;
    }
    if (commandLine.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (commandLine.version) {
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    }
    const auto environment = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "");
    };
    if (!HasDisplay(commandLine, environment)) {
        if (!commandLine.renderPath) {
            std::fputs(NoDisplayMessage().c_str(), stderr);
            return 2;
        }
        // Rendering needs no display.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }

    QApplication application(argc, argv);
    if (commandLine.renderPath) {
        platform::InitApplication();
        if (commandLine.renderConnected) {
            return RenderConnectedConsole(QString::fromLocal8Bit(commandLine.renderPath->c_str()),
                                          QString::fromLocal8Bit(commandLine.port.c_str()))
                       ? 0
                       : 1;
        }
        return RenderConsole(QString::fromLocal8Bit(commandLine.renderPath->c_str()), commandLine.renderLayout)
                   ? 0
                   : 1;
    }
    ConsoleOptions options;
    options.simulator = commandLine.simulator;
    options.port = QString::fromLocal8Bit(commandLine.port.c_str());
    options.connect = commandLine.connect;
    ConsoleApp app(options);
    return app.InitInstance();
}
