// SPDX-License-Identifier: GPL-3.0-or-later
// command_line.cpp - the program's options.
#include "command_line.h"

#include <corvan.h>

namespace {

const char* const kHeadlessPlatforms[] = {"offscreen", "minimal", "vnc", "eglfs", "linuxfb"};

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.help = true;
        } else if (arg == "--version") {
            result.version = true;
        } else if (arg == "--simulator") {
            result.simulator = true;
        } else if (arg == "--connect") {
            result.connect = true;
        } else if (arg == "--port" || startsWith(arg, "--port=")) {
            std::string device;
            if (arg == "--port") {
                if (i + 1 >= args.size() || args[i + 1].empty() || startsWith(args[i + 1], "-")) {
                    result.error = "--port needs the device of the radio (for example /dev/ttyUSB0)";
                    return result;
                }
                device = args[++i];
            } else {
                device = arg.substr(arg.find('=') + 1);
            }
            if (device.empty()) {
                result.error = "--port needs the device of the radio (for example /dev/ttyUSB0)";
                return result;
            }
            // An address (scheme://...) must be one the link can open.
            if (device.find("://") != std::string::npos) {
                std::string why;
                if (!corvan::ParsePortAddress(device, &why)) {
                    result.error = "--port " + device + ": " + why;
                    return result;
                }
            }
            result.port = device;
        } else if (result.renderPath && startsWith(arg, "--render")) {
            result.error = "one picture at a time: give one of --render, --render-layout and --render-connected";
            return result;
        } else if (arg == "--render" || arg == "--render-layout" || arg == "--render-connected") {
            result.renderLayout = arg == "--render-layout";
            result.renderConnected = arg == "--render-connected";
            if (i + 1 >= args.size() || args[i + 1].empty() || startsWith(args[i + 1], "-")) {
                result.error = arg + " needs the path of the PNG file to write";
                return result;
            }
            result.renderPath = args[++i];
        } else if (startsWith(arg, "--render=") || startsWith(arg, "--render-layout=")) {
            result.renderLayout = startsWith(arg, "--render-layout=");
            const std::string path = arg.substr(arg.find('=') + 1);
            if (path.empty()) {
                result.error = "--render needs the path of the PNG file to write";
                return result;
            }
            result.renderPath = path;
        } else if (arg == "-platform") {
            if (i + 1 < args.size()) {
                result.platformName = args[++i];
            }
        } else if (startsWith(arg, "--")) {
            result.error = "unknown option " + arg;
            return result;
        }
        // Anything else is Qt's (single-dash options and their values).
    }
    if (result.simulator && !result.port.empty())
        result.error = "--port and --simulator name two different radios; give one of them";
    return result;
}

std::string UsageText() {
    return "Usage: zephyra [options]\n"
           "Radio Control Program for QX-9000/QB9000.\n"
           "\n"
           "  --render PATH         draw the console to the PNG file PATH and exit\n"
           "                        (needs no display)\n"
           "  --render-layout PATH  the same with every template caption shown\n"
           "  --render-connected PATH  the same once synchronised with the radio\n"
           "                        (each prints PATH once written; the operator's\n"
           "                        profile is read but not changed)\n"
           "  --simulator           run on the built-in virtual transceiver\n"
           "  --port DEVICE         use the radio on DEVICE (e.g. /dev/ttyUSB0) for this run,\n"
           "                        or at a network address (rfc2217://HOST:PORT, tcp://,\n"
           "                        rfc2217+tls://, tcp+tls://)\n"
           "  --connect             connect to the radio as soon as the console is up\n"
           "  --version             show the version and the licence\n"
           "  --help                show this text\n";
}

std::string VersionText() {
    return "zephyra " ZEPHYRA_VERSION "\n"
           "Licence: GPL-3.0-or-later (the GNU General Public License, version 3 or any\n"
           "later version): you may change it and pass it on under its terms. It is given\n"
           "without any warranty.\n";
}

bool HasDisplay(const CommandLine& commandLine,
                const std::function<std::string(const char*)>& environment) {
    std::string platformName = commandLine.platformName;
    if (platformName.empty()) {
        platformName = environment("QT_QPA_PLATFORM");
    }
    const std::string base = platformName.substr(0, platformName.find(':'));
    for (const char* headless : kHeadlessPlatforms) {
        if (base == headless) {
            return true;
        }
    }
    return !environment("DISPLAY").empty() || !environment("WAYLAND_DISPLAY").empty();
}

std::string NoDisplayMessage() {
    return "zephyra: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
           "Draw the console to a picture instead:\n"
           "    zephyra --render console.png\n"
           "or run it on a virtual display:\n"
           "    xvfb-run -a zephyra\n";
}
