// SPDX-License-Identifier: GPL-3.0-or-later
// zephyra-link: opens the radio's port through the link, sends raw commands,
// and prints every notification with the values of its code's accessor.
#include "format.h"
#include "values.h"

#include <corvan.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char* kHelp = R"(Usage: zephyra-link [options] DEVICE [COMMAND...]

Opens the radio's serial port DEVICE (for example /dev/ttyUSB0 or a
pseudo-terminal, or a line served on the network: rfc2217://HOST:PORT,
tcp://HOST:PORT, rfc2217+tls://HOST:PORT, tcp+tls://HOST:PORT; an IPv6
address goes in brackets), identifies the radio, sends each COMMAND unchanged (for
example 'IF;' 'MR0001;'), waits for replies and prints every notification
the link posts, with the values its accessor returns, in the accessor's order.

Options:
  --baud N       line speed: 4800, 9600, 19200, 38400 or 57600 (default 9600;
                 4800 uses 2 stop bits)
  --parity P     n (none, default), e (even), o (odd), m (mark), s (space)
  --model NAME   radio family if it does not identify itself:
                 QR-7730 (default), QX-410 or QX-620
  --wait MS      milliseconds to wait for replies after the last command
                 (default 1000)
  --gap MS       milliseconds between two commands (default 0)
  --json         one JSON object per notification:
                 {"msg":4126,"code":"IF","ok":1,"values":[...]}
                 (texts as strings, numbers as numbers)
  --trace FILE   append every byte written and read to FILE (as the
                 ZEPHYRA_TRACE environment variable does)
  --ca FILE      TLS: the CA that signs the server's certificate (PEM)
  --pin FILE     TLS: accept exactly this server certificate (PEM)
  --cert FILE    TLS: our client certificate (PEM; needs --key)
  --key FILE     TLS: the key of our client certificate (PEM)
  --version      the version and the licence
  --help         this text

Plain output is one line per notification:
  CODE MESSAGE [(wParam,lParam)] ok=RESULT: VALUE...
where RESULT is what the accessor returned (1: a value was stored for the
connected model type, 0: none) and texts are quoted.

Exit status: 0 when the port opened, 1 when it could not be opened (the
reason is printed: no such device, permission denied, connection refused,
the certificate that did not verify, ...), 2 for
wrong usage.
)";

constexpr const char* kVersion = "zephyra-link " ZEPHYRA_VERSION "\n"
                                 "Licence: GPL-3.0-or-later (the GNU General Public License, version 3 or any\n"
                                 "later version): you may change it and pass it on under its terms. It is given\n"
                                 "without any warranty.\n";

// The rates, parities and models the options take (the radio's own rates;
// 4800 with two stop bits).
constexpr unsigned long kRates[] = {4800, 9600, 19200, 38400, 57600};
constexpr const char* kParities = "neoms";
constexpr const char* kModels[] = {"QR-7730", "QX-410", "QX-620"};
// The longest wait or gap an option takes: an hour.
constexpr unsigned long long kMaxMilliseconds = 3600000;

class Queue final : public CorvanTarget {
public:
    struct Item {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    void post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        std::lock_guard lock(m_mu);
        m_items.push_back({message, wParam, lParam});
        m_cv.notify_one();
    }
    bool pop(Item& item, std::chrono::steady_clock::time_point until)
    {
        std::unique_lock lock(m_mu);
        if (!m_cv.wait_until(lock, until, [this] { return !m_items.empty(); }))
            return false;
        item = m_items.front();
        m_items.pop_front();
        return true;
    }

private:
    std::mutex m_mu;
    std::condition_variable m_cv;
    std::deque<Item> m_items;
};

// A whole decimal number within [0, max]: digits only (no sign, no blanks),
// no overflow.
bool Number(const char* text, unsigned long long max, unsigned long& out)
{
    if (text == nullptr || *text == '\0')
        return false;
    unsigned long long value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > max)
            return false;
    }
    out = static_cast<unsigned long>(value);
    return true;
}

// Why `device` cannot be opened, in the words of the system: it is opened
// once more the way the link opens it (no controlling terminal, without
// waiting for the modem lines) and closed at once.
std::string WhyNotOpen(const char* device)
{
    const int fd = ::open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return "no such device";
        case EACCES:
        case EPERM:
            return "permission denied (read and write access is needed; the device's group, often "
                   "dialout, or the administrator can give it)";
        case EBUSY:
            return "device busy (another program has it open)";
        default:
            return std::strerror(error);
        }
    }
    const bool terminal = ::isatty(fd) != 0;
    ::close(fd);
    if (!terminal)
        return "not a serial device";
    return "the line settings were refused";
}

int Usage(const char* why)
{
    std::fprintf(stderr, "zephyra-link: %s\nTry 'zephyra-link --help'.\n", why);
    return 2;
}

void Drain(Queue& queue, CCorvan& link, bool json, std::chrono::steady_clock::time_point until)
{
    Queue::Item item{};
    while (queue.pop(item, until)) {
        const char* name = corvan::MessageCode(item.message);
        const std::string code = name != nullptr ? name : "??";
        const zlink::Reading r = zlink::ReadValues(link, code, item.wParam);
        const std::string line = json ? zlink::FormatJson(item.message, code, r)
                                      : zlink::FormatText(item.message, code, item.wParam, item.lParam, r);
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv)
{
    unsigned long baud = 9600, wait = 1000, gap = 0;
    std::string model = "QR-7730", parity = "n";
    const char* device = nullptr;
    const char* trace = nullptr;
    bool json = false;
    corvan::TlsOptions tls;
    std::vector<const char*> commands;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* what) -> const char* {
            if (i + 1 >= argc) {
                Usage((std::string(what) + " needs a value").c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (arg == "--version") {
            std::fputs(kVersion, stdout);
            return 0;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--baud") {
            const char* text = value("--baud");
            if (!Number(text, 1000000, baud) || std::find(std::begin(kRates), std::end(kRates), baud) == std::end(kRates))
                return Usage(("--baud takes 4800, 9600, 19200, 38400 or 57600, not '" + std::string(text) + "'").c_str());
        } else if (arg == "--wait" || arg == "--gap") {
            const char* text = value(arg.c_str());
            if (!Number(text, kMaxMilliseconds, arg == "--wait" ? wait : gap))
                return Usage((arg + " takes 0 to " + std::to_string(kMaxMilliseconds) + " milliseconds, not '" + text + "'").c_str());
        } else if (arg == "--model") {
            model = value("--model");
            if (std::find_if(std::begin(kModels), std::end(kModels),
                             [&](const char* m) { return model == m; }) == std::end(kModels))
                return Usage(("--model takes QR-7730, QX-410 or QX-620, not '" + model + "'").c_str());
        } else if (arg == "--parity") {
            parity = value("--parity");
            if (parity.size() != 1 || std::strchr(kParities, std::tolower(static_cast<unsigned char>(parity[0]))) == nullptr)
                return Usage(("--parity takes n, e, o, m or s, not '" + parity + "'").c_str());
        } else if (arg == "--trace") {
            trace = value("--trace");
        } else if (arg == "--ca" || arg == "--pin" || arg == "--cert" || arg == "--key") {
            std::string& file = arg == "--ca" ? tls.caFile
                                : arg == "--pin" ? tls.pinnedCertificateFile
                                : arg == "--cert" ? tls.clientCertificateFile
                                                  : tls.clientKeyFile;
            file = value(arg.c_str());
            if (file.empty())
                return Usage((arg + " needs a file name").c_str());
        } else if (arg.size() > 1 && arg[0] == '-') { // a device or command never begins so
            return Usage(("unknown option " + arg).c_str());
        } else if (device == nullptr) {
            device = argv[i];
        } else {
            commands.push_back(argv[i]);
        }
    }
    if (device == nullptr)
        return Usage("no device given");
    std::string addressError;
    const auto address = corvan::ParsePortAddress(device, &addressError);
    if (!address)
        return Usage(addressError.c_str());
    const bool anyTls = !tls.caFile.empty() || !tls.pinnedCertificateFile.empty() ||
                        !tls.clientCertificateFile.empty() || !tls.clientKeyFile.empty();
    if (anyTls && !address->tls)
        return Usage("--ca, --pin, --cert and --key need a TLS address (rfc2217+tls:// or tcp+tls://)");
    if (!tls.caFile.empty() && !tls.pinnedCertificateFile.empty())
        return Usage("give either --ca or --pin, not both");
    if (tls.clientCertificateFile.empty() != tls.clientKeyFile.empty())
        return Usage("--cert and --key go together");
    corvan::SetTlsOptions(tls);

    if (trace != nullptr && !CCorvan::SetTrace(trace))
        std::fprintf(stderr, "zephyra-link: cannot write the trace to %s: %s\n", trace, std::strerror(errno));
    // The link's own words for a failed open ("Error opening COM port") are
    // replaced by the reason below.
    bool opening = true;
    CCorvan::SetMessageBoxHandler([device, &opening](const char* text) {
        if (!opening)
            std::fprintf(stderr, "zephyra-link: %s: %s\n", device, text);
    });

    CCorvan link;
    Queue queue;
    const std::uint32_t stopBits = baud == 4800 ? 2 : 1;
    if (link.Conn(model.c_str(), device, static_cast<std::uint32_t>(baud), parity.c_str(), 8, stopBits, 1) == 0) {
        const std::string why =
            address->kind == corvan::PortAddress::Kind::Device ? WhyNotOpen(device) : corvan::LastOpenError();
        std::fprintf(stderr, "zephyra-link: cannot open %s: %s\n", device, why.c_str());
        return 1;
    }
    opening = false;
    link.WinMsgSendReg(&queue);
    std::fprintf(stderr, "zephyra-link: %s open, model type %u\n", device, CCorvan::GetModelType());

    for (const char* command : commands) {
        if (link.ConnDirect(command) == 0)
            std::fprintf(stderr, "zephyra-link: writing %s failed\n", command);
        Drain(queue, link, json, std::chrono::steady_clock::now() + std::chrono::milliseconds(gap));
    }
    Drain(queue, link, json, std::chrono::steady_clock::now() + std::chrono::milliseconds(wait));
    if (const std::string lost = corvan::LinkLossText(); !lost.empty())
        std::fprintf(stderr, "zephyra-link: %s\n", lost.c_str());
    link.WinMsgSendReg(nullptr);
    link.Close();
    return 0;
}
