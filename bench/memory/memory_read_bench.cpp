// SPDX-License-Identifier: GPL-3.0-or-later
// memory_read_bench: time to read all 300 memory channels and the call
// channel with MR (both halves of every channel in use), against the
// simulator paced at 9,600 and 57,600 baud, beside two wire minimums at
// 10 bits a byte: the radio's answers alone (what the paced simulator
// imposes: it paces what it sends) and both directions one after the other
// (each query waits for its answer, as on a real line).
//
//   memory_read_bench [full|empty|both]   (default both)
//
// "full": every channel holds a frequency and an eight-character name, the
// program-scan channels 290..299 a transmit half; "empty": a cleared memory
// (one query a channel).
#include <memory_channels.h>

#include "started_radio.h"

#include <corvan.h>
#include <qxsim.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

void Fill(qxsim::Radio& radio) {
    radio.modify([](qxsim::State& s) {
        for (int i = 0; i <= qxsim::kCallChannel; ++i) {
            qxsim::MemoryChannel& ch = s.memory[static_cast<std::size_t>(i)];
            ch = qxsim::MemoryChannel{};
            ch.half[0].frequency = 144'000'000 + 12'500LL * i;
            ch.half[0].mode = 4;
            ch.half[0].toneType = 2;
            ch.half[0].toneNumber = 8;
            ch.half[0].ctcss = 8;
            ch.half[0].offset = 600'000;
            ch.half[0].shift = 2;
            char name[9];
            std::snprintf(name, sizeof name, "RPT%05d", i);
            ch.half[0].name = name;
            if (i >= 290 && i < 300) {
                ch.half[1] = ch.half[0];
                ch.half[1].frequency = 146'000'000;
                ch.hasTransmitHalf = true;
            }
        }
    });
}

bool Measure(unsigned baud, bool full) {
    const auto started = bench::StartRadio(baud, true);
    if (!started) {
        return false;
    }
    qxsim::Radio& radio = *started;
    if (full) {
        Fill(radio);
    }
    CCorvan link;
    if (link.Conn("QR-7730", radio.devicePath().c_str(), baud, "n", 8, 1, 1) != 1) {
        std::fprintf(stderr, "the link did not open at %u baud\n", baud);
        return false;
    }
    const std::uint64_t inBefore = radio.bytesIn();
    const std::uint64_t outBefore = radio.bytesOut();
    int used = 0;
    const auto start = Clock::now();
    for (int number = 0; number <= memory_channels::kCallChannel; ++number) {
        memory_channels::Channel channel;
        if (memory_channels::ReadChannel(link, number, channel) != memory_channels::LinkResult::Ok) {
            std::fprintf(stderr, "channel %d did not answer\n", number);
            link.Close();
            return false;
        }
        used += channel.empty() ? 0 : 1;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const std::uint64_t written = radio.bytesIn() - inBefore;
    const std::uint64_t read = radio.bytesOut() - outBefore;
    const double answers = static_cast<double>(read) * 10.0 / baud;
    const double both = static_cast<double>(written + read) * 10.0 / baud;
    std::printf("%-5s %6u baud  %3d in use  %6.2f s   %6llu B out + %6llu B in   "
                "answers %6.2f s (x%.2f)   both ways %6.2f s\n",
                full ? "full" : "empty", baud, used, seconds, static_cast<unsigned long long>(written),
                static_cast<unsigned long long>(read), answers, seconds / answers, both);
    link.Close();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::string which = argc > 1 ? argv[1] : "both";
    bool ok = true;
    for (const bool full : {true, false}) {
        if ((full && which == "empty") || (!full && which == "full")) {
            continue;
        }
        for (const unsigned baud : {9600u, 57600u}) {
            ok = Measure(baud, full) && ok;
        }
    }
    return ok ? 0 : 1;
}
