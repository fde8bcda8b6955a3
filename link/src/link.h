// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide link: the port, the read thread and the flags around them.
#pragma once

#include "block.h"
#include "port.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

namespace corvan::detail {

struct Link {
    Link() = default;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;
    // A program that ends without Close still ends the read thread first.
    ~Link();

    std::mutex connMu;  // Conn and Close, one at a time
    std::mutex writeMu; // one command on the wire at a time; guards port writes and open/close
    Port port;
    std::uint32_t baud = 9600;
    std::atomic<std::int32_t> portOpen{0};
    std::atomic<std::uint32_t> run{0};
    std::atomic<std::uint32_t> alive{0};
    std::thread reader;
    int wakeFd = -1;
};

Link& TheLink();

// Writes one command in one piece (1) or nothing useful (0).
std::int32_t WriteBytes(const void* data, std::size_t length);

// True when a builder may send: the port is open and direct mode is off.
bool CanSend();

// Starts and stops the read thread (caller holds connMu).
bool StartReader(Link& link, Block& block);
void StopReader(Link& link);

// Seconds of the staleness rule: steady time, or the test clock when set.
std::int64_t NowSeconds();

// Shows a text through the message-box handler.
void ShowMessage(const char* text);

} // namespace corvan::detail
