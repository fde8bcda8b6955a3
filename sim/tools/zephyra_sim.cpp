// SPDX-License-Identifier: GPL-3.0-or-later
// zephyra-sim: a virtual QX-9000 on a pseudo-terminal, for running the
// console (or any program that speaks the radio's protocol) without a radio.
#include <qxsim.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <signal.h>
#include <string>

namespace {

void usage(std::FILE* out)
{
    std::fputs(
        "Usage: zephyra-sim [options]\n"
        "\n"
        "Starts a virtual QX-9000 transceiver on a pseudo-terminal, prints the\n"
        "device path to connect to (for example as the console's port) and\n"
        "serves it until interrupted (Ctrl+C, SIGINT or SIGTERM).\n"
        "\n"
        "Options:\n"
        "  --identity N     the number answered to ID: 19 (default), 18, 17, 15 or\n"
        "                   any other number; 'none' for a radio that never answers ID.\n"
        "                   17 and 18 speak the QX-410 family's layouts, 15 the\n"
        "                   QX-620's, anything else the QR-7730's.\n"
        "  --baud N         the radio's line rate (default 9600). The radio listens\n"
        "                   only when the program's port is set to the same rate.\n"
        "  --any-rate       answer whatever rate the program's port is set to.\n"
        "  --pace           send bytes at the line rate (10 bits a byte) instead of\n"
        "                   as fast as the pseudo-terminal takes them.\n"
        "  --trace FILE     append every byte received (<) and sent (>) to FILE,\n"
        "                   one line per read or write, with seconds since start.\n"
        "  --seed N         seed of the band model and of the fault draws (default 1):\n"
        "                   the same seed hears the same stations.\n"
        "  --faults NAME    a fault profile for the radio's replies:\n"
        "                     none    no faults (default)\n"
        "                     noise   a random byte before 1% of the sent bytes\n"
        "                     lossy   0.5% of sent bytes dropped, 0.5% doubled,\n"
        "                             0.2% of received bytes lost\n"
        "                     split   every reply written in two pieces, 30 ms apart\n"
        "                     slow    every reply 150 ms late\n"
        "                     silent  commands are heard but never answered\n"
        "                     rough   a little of everything\n"
        "  --ai             start with auto-information on (AI 2).\n"
        "  --quiet          print only the device path.\n"
        "  --version        the version and the licence.\n"
        "  --help           this text.\n"
        "\n"
        "Example: zephyra-sim --trace /tmp/line.txt --faults split\n",
        out);
}

bool number(const char* text, long long& out)
{
    char* end = nullptr;
    errno = 0;
    out = std::strtoll(text, &end, 10);
    return errno == 0 && end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv)
{
    // SIGINT and SIGTERM are taken by the main thread alone, in sigwait below:
    // blocked first of all, and before the radio starts its thread (which
    // inherits the mask), they stay pending until then, whichever moment they
    // come. With a handler, the signal could land on the radio's thread, which
    // waits in poll without a timeout; a runtime that defers handlers to the
    // thread's next call (the thread sanitizer's does) would then never run it.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    qxsim::Options options;
    bool quiet = false;
    bool ai = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto next = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zephyra-sim: %s needs a value (see --help)\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        long long n = 0;
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else if (arg == "--version") {
            std::fputs("zephyra-sim " ZEPHYRA_VERSION "\n"
                       "Licence: GPL-3.0-or-later (the GNU General Public License, version 3 or any\n"
                       "later version): you may change it and pass it on under its terms. It is given\n"
                       "without any warranty.\n",
                       stdout);
            return 0;
        } else if (arg == "--identity") {
            const char* v = next();
            if (std::strcmp(v, "none") == 0)
                options.identity = -1;
            else if (number(v, n) && n >= 0 && n <= 999)
                options.identity = static_cast<int>(n);
            else {
                std::fprintf(stderr, "zephyra-sim: --identity takes 0..999 or 'none', not '%s'\n", v);
                return 2;
            }
        } else if (arg == "--baud") {
            const char* v = next();
            if (!number(v, n) || (n != 1200 && n != 2400 && n != 4800 && n != 9600 && n != 19200 &&
                                   n != 38400 && n != 57600 && n != 115200)) {
                std::fprintf(stderr, "zephyra-sim: --baud takes 1200..115200, not '%s'\n", v);
                return 2;
            }
            options.baud = static_cast<unsigned>(n);
        } else if (arg == "--any-rate") {
            options.checkLineRate = false;
        } else if (arg == "--pace") {
            options.pace = true;
        } else if (arg == "--trace") {
            options.tracePath = next();
        } else if (arg == "--seed") {
            const char* v = next();
            if (!number(v, n) || n < 0) {
                std::fprintf(stderr, "zephyra-sim: --seed takes a whole number, not '%s'\n", v);
                return 2;
            }
            options.seed = static_cast<std::uint64_t>(n);
        } else if (arg == "--faults") {
            const char* v = next();
            if (!qxsim::faultProfile(v, options.faults)) {
                std::fprintf(stderr, "zephyra-sim: unknown fault profile '%s' (see --help)\n", v);
                return 2;
            }
        } else if (arg == "--ai") {
            ai = true;
        } else if (arg == "--quiet") {
            quiet = true;
        } else {
            std::fprintf(stderr, "zephyra-sim: unknown option '%s' (see --help)\n", arg.c_str());
            return 2;
        }
    }

    // The radio opens its trace itself and goes on without one; say so here.
    if (!options.tracePath.empty()) {
        if (std::FILE* trace = std::fopen(options.tracePath.c_str(), "a")) {
            std::fclose(trace);
        } else {
            std::fprintf(stderr, "zephyra-sim: cannot write the trace to %s: %s\n", options.tracePath.c_str(),
                         std::strerror(errno));
        }
    }

    qxsim::Radio radio(options);
    if (ai)
        radio.modify([](qxsim::State& s) { s.ai = 2; });
    if (!radio.start()) {
        std::fprintf(stderr, "zephyra-sim: %s\n", radio.lastError().c_str());
        return 1;
    }
    if (quiet) {
        std::printf("%s\n", radio.devicePath().c_str());
    } else {
        std::printf("QX-9000 simulator (identity %s, %u baud%s) on\n%s\n",
                    options.identity < 0 ? "none" : std::to_string(options.identity).c_str(),
                    options.baud, options.pace ? ", paced" : "", radio.devicePath().c_str());
        std::printf("Press Ctrl+C to stop.\n");
    }
    std::fflush(stdout);
    int caught = 0;
    sigwait(&stopSignals, &caught);
    radio.stop();
    if (!quiet)
        std::printf("\n%llu bytes received, %llu sent, %zu commands.\n",
                    static_cast<unsigned long long>(radio.bytesIn()),
                    static_cast<unsigned long long>(radio.bytesOut()), radio.received().size());
    return 0;
}
