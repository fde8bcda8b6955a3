// SPDX-License-Identifier: GPL-3.0-or-later
// remote_bench: the link over RFC 2217 to a local ser2net serving the
// simulator (paced at 9,600 baud), with 0 ms and with N ms of round trip
// added by the delaying proxy. For each operation: the time taken, and the
// floor it is held against: the wire time of the bytes both ways (10 bits a
// byte), the fixed pauses, and one round trip per answer that must be
// awaited before the next step; the ratio of the two.
//
//   remote_bench [ROUND_TRIP_MS...]   (default: 0 150)
#include "delay_proxy.h"
#include "ser2net_server.h"
#include "started_radio.h"
#include "testing.h"

#include <memory_channels.h>

#include <corvan.h>
#include <qxsim.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr unsigned kBaud = 9600;
// The connect sequence's fixed pauses: three settling pauses of 100 ms.
constexpr double kConnectPauses = 0.3;

double WireSeconds(std::uint64_t bytes) { return static_cast<double>(bytes) * 10.0 / kBaud; }

class Waiter final : public CorvanTarget {
public:
    void post(std::uint32_t message, std::uintptr_t, std::intptr_t) override
    {
        std::lock_guard lock(m_mu);
        m_seen.push_back(message);
        m_cv.notify_all();
    }
    bool wait(std::uint32_t message, std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_mu);
        return m_cv.wait_for(lock, limit, [&] {
            for (auto m : m_seen)
                if (m == message)
                    return true;
            return false;
        });
    }
    void clear()
    {
        std::lock_guard lock(m_mu);
        m_seen.clear();
    }

private:
    std::mutex m_mu;
    std::condition_variable m_cv;
    std::vector<std::uint32_t> m_seen;
};

void Row(const char* what, double seconds, double wire, double pauses, int waits, double rtt)
{
    const double floor = wire + pauses + waits * rtt;
    std::printf("  %-22s %8.3f s   wire %7.3f s + pauses %4.2f s + %4d x RT = %8.3f s   ratio %.2f\n", what, seconds,
                wire, pauses, waits, floor, seconds / floor);
}

bool Measure(int roundTripMs)
{
    const auto started = bench::StartRadio(kBaud, true);
    if (!started)
        return false;
    qxsim::Radio& radio = *started;
    Ser2netServer server;
    const auto line = server.add({"telnet(rfc2217)", radio.devicePath(), 0, ""});
    std::string error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "ser2net: %s\n", error.c_str());
        return false;
    }
    DelayProxy proxy("127.0.0.1", server.port(line), std::chrono::milliseconds(roundTripMs));
    if (!proxy.start())
        return false;
    const double rtt = roundTripMs / 1000.0;
    std::printf("RFC 2217 through ser2net, %d ms round trip added, %u baud\n", roundTripMs, kBaud);

    CCorvan link;
    struct Closer {
        CCorvan& link;
        ~Closer()
        {
            link.WinMsgSendReg(nullptr);
            link.Close();
        }
    } closer{link};
    const std::string address = "rfc2217://" + proxy.hostPort();
    auto in0 = radio.bytesIn();
    auto out0 = radio.bytesOut();
    auto start = Clock::now();
    if (link.Conn("QR-7730", address.c_str(), kBaud, "n", 8, 1, 1) != 1) {
        std::fprintf(stderr, "open failed: %s\n", corvan::LastOpenError().c_str());
        return false;
    }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // Awaited: the settings' confirmation, their read-back, the identity.
    Row("connect to identified", seconds, WireSeconds(radio.bytesIn() - in0 + radio.bytesOut() - out0),
        kConnectPauses, 3, rtt);
    std::printf("  (round trip measured while connecting: %u ms)\n", corvan::NetworkRoundTripMs());

    Waiter waiter;
    link.WinMsgSendReg(&waiter);
    const std::uint32_t fa = corvan::MessageOf("FA");
    // A tune: the new frequency set, then read back; its report awaited.
    double tuneTotal = 0;
    double tuneWire = 0;
    const int tunes = 10;
    for (int i = 0; i < tunes; ++i) {
        waiter.clear();
        in0 = radio.bytesIn();
        out0 = radio.bytesOut();
        const std::string hz = std::to_string(14'074'000 + 1'000 * (i + 1));
        start = Clock::now();
        link.ConnFA("W", ("000" + hz).c_str());
        link.ConnFA("R", "");
        if (!waiter.wait(fa, 5s)) {
            std::fprintf(stderr, "no FA report\n");
            return false;
        }
        tuneTotal += std::chrono::duration<double>(Clock::now() - start).count();
        char text[corvan::kFrequencyTextSize] = {};
        link.RcvDataFA(text); // re-arms the report
        std::this_thread::sleep_for(50ms); // let the counts settle
        tuneWire += WireSeconds(radio.bytesIn() - in0 + radio.bytesOut() - out0);
    }
    Row("tune to its report", tuneTotal / tunes, tuneWire / tunes, 0, 1, rtt);

    // A meter read: SM query to its answer (one poll of the live display).
    const std::uint32_t sm = corvan::MessageOf("SM");
    double meterTotal = 0;
    for (int i = 0; i < tunes; ++i) {
        waiter.clear();
        start = Clock::now();
        link.ConnSM(0);
        if (!waiter.wait(sm, 5s)) {
            std::fprintf(stderr, "no SM answer\n");
            return false;
        }
        meterTotal += std::chrono::duration<double>(Clock::now() - start).count();
        std::uint32_t value = 0;
        link.RcvDataSM(0, &value);
    }
    Row("meter query to answer", meterTotal / tunes, WireSeconds(4 + 8), 0, 1, rtt);

    // Every memory channel, as the memory table reads them.
    link.WinMsgSendReg(nullptr);
    in0 = radio.bytesIn();
    out0 = radio.bytesOut();
    const auto queries0 = radio.countOf("MR");
    start = Clock::now();
    memory_channels::LinkTimes times;
    times.reply = std::chrono::milliseconds(1500 + roundTripMs);
    for (int number = 0; number <= memory_channels::kCallChannel; ++number) {
        memory_channels::Channel channel;
        if (memory_channels::ReadChannel(link, number, channel, times) != memory_channels::LinkResult::Ok) {
            std::fprintf(stderr, "channel %d did not answer\n", number);
            return false;
        }
    }
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const int queries = static_cast<int>(radio.countOf("MR") - queries0);
    Row("301-channel memory read", seconds, WireSeconds(radio.bytesIn() - in0 + radio.bytesOut() - out0), 0, queries,
        rtt);
    link.Close();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (Ser2netServer::Program().empty()) {
        std::fprintf(stderr, "ser2net is not installed (scripts/deps.sh installs it)\n");
        return 1;
    }
    std::vector<int> trips;
    for (int i = 1; i < argc; ++i)
        trips.push_back(std::atoi(argv[i]));
    if (trips.empty())
        trips = {0, 150};
    bool ok = true;
    for (const int t : trips)
        ok = Measure(t) && ok;
    return ok ? 0 : 1;
}
