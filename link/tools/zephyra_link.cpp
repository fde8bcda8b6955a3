// zephyra-link: opens the radio's port through the link, sends raw commands,
// and prints every notification with the values of its code's accessor.
#include "format.h"
#include "values.h"

#include <corvan.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr const char* kHelp = R"(Usage: zephyra-link [options] DEVICE [COMMAND...]

Opens the radio's serial port DEVICE (for example /dev/ttyUSB0 or a
pseudo-terminal), identifies the radio, sends each COMMAND unchanged (for
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
  --help         this text

Plain output is one line per notification:
  CODE MESSAGE [(wParam,lParam)] ok=RESULT: VALUE...
where RESULT is what the accessor returned (1: a value was stored for the
connected model type, 0: none) and texts are quoted.

Exit status: 0 when the port opened, 1 when it could not be opened, 2 for
wrong usage.
)";

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

bool Number(const char* text, unsigned long& out)
{
    char* end = nullptr;
    out = std::strtoul(text, &end, 10);
    return end != text && *end == '\0';
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
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--baud") {
            if (!Number(value("--baud"), baud))
                return Usage("--baud needs a number");
        } else if (arg == "--wait") {
            if (!Number(value("--wait"), wait))
                return Usage("--wait needs a number of milliseconds");
        } else if (arg == "--gap") {
            if (!Number(value("--gap"), gap))
                return Usage("--gap needs a number of milliseconds");
        } else if (arg == "--model") {
            model = value("--model");
        } else if (arg == "--parity") {
            parity = value("--parity");
        } else if (arg == "--trace") {
            trace = value("--trace");
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            return Usage(("unknown option " + arg).c_str());
        } else if (device == nullptr) {
            device = argv[i];
        } else {
            commands.push_back(argv[i]);
        }
    }
    if (device == nullptr)
        return Usage("no device given");

    if (trace != nullptr && !CCorvan::SetTrace(trace))
        std::fprintf(stderr, "zephyra-link: cannot write the trace to %s\n", trace);
    CCorvan::SetMessageBoxHandler([device](const char* text) {
        std::fprintf(stderr, "zephyra-link: %s: %s\n", device, text);
    });

    CCorvan link;
    Queue queue;
    const std::uint32_t stopBits = baud == 4800 ? 2 : 1;
    if (link.Conn(model.c_str(), device, static_cast<std::uint32_t>(baud), parity.c_str(), 8, stopBits, 1) == 0)
        return 1;
    link.WinMsgSendReg(&queue);
    std::fprintf(stderr, "zephyra-link: %s open, model type %u\n", device, CCorvan::GetModelType());

    for (const char* command : commands) {
        if (link.ConnDirect(command) == 0)
            std::fprintf(stderr, "zephyra-link: writing %s failed\n", command);
        Drain(queue, link, json, std::chrono::steady_clock::now() + std::chrono::milliseconds(gap));
    }
    Drain(queue, link, json, std::chrono::steady_clock::now() + std::chrono::milliseconds(wait));
    link.WinMsgSendReg(nullptr);
    link.Close();
    return 0;
}
