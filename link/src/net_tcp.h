// SPDX-License-Identifier: GPL-3.0-or-later
// Reaching the server: the name looked up and a TCP connection made within a
// time limit, with keepalive on. Used by the network stream.
#pragma once

#include <corvan.h>

#include <chrono>
#include <string>

namespace corvan::detail {

// What is left until `deadline`, for poll(2): at least 0, at most a minute.
int PollMs(std::chrono::steady_clock::time_point deadline);

// True for a numeric IPv4 or IPv6 address (not a name to look up).
bool IsIpLiteral(const std::string& host);

// Connects to one of the host's addresses; -1 with `why` set on failure.
int ConnectTcp(const PortAddress& a, std::chrono::steady_clock::time_point deadline, std::string& why);

} // namespace corvan::detail
