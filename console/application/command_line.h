// SPDX-License-Identifier: GPL-3.0-or-later
// command_line.h - the program's options, read before Qt starts.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    bool help = false;
    bool version = false;                  // --version: print the version and exit
    bool simulator = false;                // kept for the built-in virtual transceiver
    std::string port;                      // --port DEVICE: this device for one run
    bool connect = false;                  // --connect: Control > ON once the console is up
    std::optional<std::string> renderPath; // --render PATH: draw the console to a PNG and exit
    bool renderLayout = false;             // --render-layout: with every template caption shown
    bool renderConnected = false;          // --render-connected: after synchronising with the radio
    std::string platformName;              // Qt's own -platform NAME, when given
    std::string error;                     // not empty when the options cannot be used
};

// Reads the arguments after the program name. Qt's own single-dash options
// (-platform, -style, ...) pass through untouched.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
// "zephyra VERSION" and the licence, for --version.
std::string VersionText();

// Whether a window can be shown: a display is named, or the Qt platform
// (from -platform or QT_QPA_PLATFORM) needs none.
bool HasDisplay(const CommandLine& commandLine,
                const std::function<std::string(const char*)>& environment);

std::string NoDisplayMessage();
