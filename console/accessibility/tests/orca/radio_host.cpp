// SPDX-License-Identifier: GPL-3.0-or-later
// radio_host - the simulated radio for the screen-reader walk, driven line by
// line on standard input so a script can turn its dial and read its state.
//
// Prints the device path on the first line, then answers each command with
// one line:
//   state        the radio's state as space-separated key=value pairs
//   dial N       turns the front-panel dial N steps (reported with AI 2)
//   step HZ      the dial's step
//   quit         stops the radio and ends
#include <qxsim.h>

#include <iostream>
#include <sstream>
#include <string>

namespace {

void printState(const qxsim::Radio& radio)
{
    const qxsim::State s = radio.state();
    std::cout << "vfoA=" << s.vfoA << " vfoB=" << s.vfoB << " sub=" << s.subFrequency
              << " modeA=" << s.modeA << " modeB=" << s.modeB << " modeSub=" << s.modeSub
              << " rxVfo=" << s.rxVfo << " txVfo=" << s.txVfo << " transmitting=" << s.transmitting
              << " bank=" << s.bank << " channel=" << s.channel
              << " af0=" << radio.value("AG0") << " af1=" << radio.value("AG1")
              << " subOn=" << radio.value("SB");
    for (int ch : {10, 11, 12}) {
        std::cout << " mem" << ch << "=" << s.memory.at(static_cast<std::size_t>(ch)).half[0].frequency;
    }
    std::cout << std::endl;
}

}  // namespace

int main(int argc, char** argv)
{
    qxsim::Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--trace")
            options.tracePath = argv[i + 1];
        else if (arg == "--seed")
            options.seed = std::stoull(argv[i + 1]);
    }
    qxsim::Radio radio(options);
    if (!radio.start()) {
        std::cerr << "radio_host: the radio did not start\n";
        return 1;
    }
    std::cout << radio.devicePath() << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string command;
        in >> command;
        if (command == "state") {
            printState(radio);
        } else if (command == "dial" || command == "step") {
            int n = 0;
            if (!(in >> n)) {
                std::cout << "error: a number is needed" << std::endl;
                continue;
            }
            if (command == "dial")
                radio.turnDial(n);
            else
                radio.setDialStep(n);
            std::cout << "ok" << std::endl;
        } else if (command == "quit") {
            break;
        } else if (!command.empty()) {
            std::cout << "error: unknown command " << command << std::endl;
        }
    }
    radio.stop();
    return 0;
}
