// SPDX-License-Identifier: GPL-3.0-or-later
// share_bench: what a program sharing the radio through the console waits
// for. The console runs on the built-in simulator with both servers on
// loopback ports; clients on their own threads send requests while the
// console's event loop runs as in the program.
//  - round trips of "f", "F" (frequency set, confirmed by the radio's own
//    report) and "T 1"/"T 0" on the line server, and of rig.get_vfo,
//    rig.set_vfo and rig.set_ptt on the XML-RPC server: median and 99th
//    percentile;
//  - requests per second with ten clients asking "f" (and rig.get_vfo).
//
//   share_bench [round trips] [seconds of the throughput run] [paced]   (default 500, 3)
//
// "paced" has the simulator send at 9,600 baud, as a radio on its serial line,
// and first measures the confirmed sets F, M, T and S one at a time on a quiet
// line against the line time of their command and confirming report.
#include "bench_console.h"
#include "console_dialog.h"
#include "line_client.h"

#include <console_link.h>
#include <radio_sharing.h>
#include <platform.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using share_test::LineClient;

using bench::Figures;
using bench::Summarise;

// Runs `work` on a thread of its own while the console's event loop runs here.
void WhileConsoleRuns(const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done)
            loop.quit();
    });
    poll.start(1);
    loop.exec();
    worker.join();
}

// One XML-RPC request (no Connection header: HTTP/1.1 keeps the connection).
std::string XmlCall(const std::string& method, const std::string& params = "") {
    return share_test::XmlRpcPost(share_test::XmlRpcCall(method, params), nullptr);
}

std::string HttpResponse(LineClient& c) { return c.ReadHttpResponse(5s); }

// A line protocol answer, and whether it is the report of a set that worked.
std::string Line(LineClient& c) { return c.ReadLine(5s); }
bool Report0(const std::string& answer) { return answer == "RPRT 0\n"; }

// `request(i)` is sent, `ok(answer)` judges it; the time of each is kept.
// `pause` before each request lets the line fall quiet (the radio's reports
// of the last change, IF among them, have all been sent).
Figures RoundTrips(LineClient& c, int n, const std::function<std::string(int)>& request,
                   const std::function<std::string(LineClient&)>& read,
                   const std::function<bool(const std::string&)>& ok,
                   std::chrono::milliseconds pause = std::chrono::milliseconds(0)) {
    std::vector<double> us;
    int failed = 0;
    for (int i = 0; i < n; ++i) {
        if (pause.count() > 0)
            std::this_thread::sleep_for(pause);
        const auto t0 = Clock::now();
        if (!c.Send(request(i))) {
            ++failed;
            continue;
        }
        const std::string answer = read(c);
        const auto t1 = Clock::now();
        if (!ok(answer)) {
            if (++failed <= 3)
                std::fprintf(stderr, "failed: %s -> %s", request(i).c_str(), answer.empty() ? "(no answer)\n" : answer.c_str());
            continue;
        }
        us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    return Summarise(us, failed);
}

void Print(const char* server, const char* request, const Figures& f) {
    std::printf("%-8s %-26s %6d %10.0f %10.0f %7d\n", server, request, f.samples, f.median, f.p99, f.missed);
}

// The line time at 9,600 baud (10 bits a byte) of a command and of the
// report that confirms it, against the median on a quiet line.
void PrintAgainstLine(const char* request, int commandBytes, int reportBytes, const Figures& f) {
    const double lineUs = (commandBytes + reportBytes) * 10.0 / 9600.0 * 1e6;
    std::printf("%-34s %6d %10.0f %10.0f %10.0f %7.2f %7d\n", request, f.samples, f.median, f.p99, lineUs,
                f.median / lineUs, f.missed);
}

double Throughput(std::uint16_t port, int clients, int seconds, bool xml) {
    std::atomic<long> answered{0};
    std::vector<std::thread> threads;
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    for (int k = 0; k < clients; ++k) {
        threads.emplace_back([&] {
            LineClient c;
            if (!c.Connect(port))
                return;
            const std::string request = xml ? XmlCall("rig.get_vfo") : std::string("f\n");
            while (Clock::now() < end) {
                if (!c.Send(request))
                    return;
                const std::string answer = xml ? HttpResponse(c) : c.ReadLine(5s);
                if (answer.empty())
                    return;
                ++answered;
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    return static_cast<double>(answered) / seconds;
}

} // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::max(20, std::atoi(argv[1])) : 500;
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const bench::Application application(argc, argv);

    ConsoleOptions options = ConsoleOptions::Simulated();
    ConsoleDialog console(options);
    const bool paced = argc > 3 && std::string(argv[3]) == "paced";
    if (paced) {
        qxsim::Options radio;
        radio.pace = true;
        console.connection()->Simulator().SetOptions(radio);
    }
    std::printf("simulator %s\n", paced ? "paced at 9,600 baud" : "unpaced");
    if (!console.ConnectAndSynchronise()) {
        std::fprintf(stderr, "the console did not connect to the simulator\n");
        return 1;
    }
    zephyra::RadioSharing::Settings s;
    s.rigctl.enabled = s.flrig.enabled = true;
    s.rigctl.port = s.flrig.port = 0;
    console.sharing()->Apply(s, false);
    const std::uint16_t rigctl = console.sharing()->Status(zephyra::RadioSharing::Server::Rigctl).port;
    const std::uint16_t flrig = console.sharing()->Status(zephyra::RadioSharing::Server::Flrig).port;

    if (paced) {
        // One confirmed set at a time on a quiet line: what a program waits
        // for, against the line time of the command and its confirming report.
        // First, while nothing else has filled the radio's side of the line
        // (back to back, the reports that follow each change, IF among them,
        // pile up there).
        const int quiet = std::min(n, 50);
        std::printf("quiet line, rigctld                 n  median us     p99 us    line us   ratio  failed\n");
        WhileConsoleRuns([&] {
            LineClient c;
            if (!c.Connect(rigctl))
                return;
            const auto pause = std::chrono::milliseconds(120);
            PrintAgainstLine("F (FA command, FA report)", 14, 14, RoundTrips(c, quiet, [](int i) {
                return "F " + std::to_string(i % 2 ? 7'074'000 : 7'076'000) + "\n"; }, Line, Report0, pause));
            PrintAgainstLine("M (MD command, MD report)", 4, 4, RoundTrips(c, quiet, [](int i) {
                return std::string(i % 2 ? "M USB 0\n" : "M LSB 0\n"); }, Line, Report0, pause));
            PrintAgainstLine("T 1 / T 0 (TX/RX, their report)", 3, 4, RoundTrips(c, quiet, [](int i) {
                return std::string(i % 2 ? "T 0\n" : "T 1\n"); }, Line, Report0, pause));
            PrintAgainstLine("S 1 VFOB / S 0 VFOA (FT, FT)", 4, 4, RoundTrips(c, quiet, [](int i) {
                return std::string(i % 2 ? "S 0 VFOA\n" : "S 1 VFOB\n"); }, Line, Report0, pause));
        });
        std::printf("\n");
    }
    std::printf("%-8s %-26s %6s %10s %10s %7s\n", "server", "request", "n", "median us", "p99 us", "failed");
    WhileConsoleRuns([&] {
        LineClient c;
        if (!c.Connect(rigctl))
            return;
        Print("rigctld", "f", RoundTrips(c, n, [](int) { return std::string("f\n"); }, Line,
                                         [](const std::string& a) { return a.size() > 1 && a[0] != 'R'; }));
        Print("rigctld", "F (confirmed)", RoundTrips(c, n, [](int i) {
                  return "F " + std::to_string(i % 2 ? 7'074'000 : 7'076'000) + "\n"; }, Line, Report0));
        Print("rigctld", "T 1 / T 0 (confirmed)", RoundTrips(c, n, [](int i) {
                  return std::string(i % 2 ? "T 0\n" : "T 1\n"); }, Line, Report0));
    });
    WhileConsoleRuns([&] {
        LineClient c;
        if (!c.Connect(flrig))
            return;
        auto has = [](const char* text) { return [text](const std::string& a) { return a.find(text) != std::string::npos; }; };
        Print("flrig", "rig.get_vfo", RoundTrips(c, n, [](int) { return XmlCall("rig.get_vfo"); }, HttpResponse,
                                                 has("<string>")));
        Print("flrig", "rig.set_vfo (confirmed)", RoundTrips(c, n, [](int i) {
                  return XmlCall("rig.set_vfo", share_test::XmlRpcParam("double", i % 2 ? "7074000" : "7076000")); }, HttpResponse,
                  has("<i4>0</i4>")));
        Print("flrig", "rig.set_ptt 1 / 0", RoundTrips(c, n, [](int i) {
                  return XmlCall("rig.set_ptt", share_test::XmlRpcParam("int", i % 2 ? "0" : "1")); }, HttpResponse,
                  has("<i4>0</i4>")));
    });
    double lineRate = 0, xmlRate = 0;
    WhileConsoleRuns([&] { lineRate = Throughput(rigctl, 10, seconds, false); });
    WhileConsoleRuns([&] { xmlRate = Throughput(flrig, 10, seconds, true); });
    std::printf("10 clients: rigctld \"f\" %.0f requests/s, flrig rig.get_vfo %.0f requests/s\n", lineRate, xmlRate);
    console.DestroyWindow();
    return 0;
}
