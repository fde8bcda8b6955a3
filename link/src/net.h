// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's line over the network: raw TCP or RFC 2217 telnet, each
// optionally inside TLS. Used by Port; the rest of the link does not see it.
#pragma once

#include "port.h"

#include <corvan.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace corvan::detail {

class NetStream {
public:
    virtual ~NetStream() = default;

    // Looks the host up, connects, does the TLS handshake and the telnet
    // negotiation, all before `deadline`. On failure returns null and sets
    // `why` to the operator's words.
    static std::unique_ptr<NetStream> Connect(const PortAddress& address, const TlsOptions& tls,
                                              std::chrono::steady_clock::time_point deadline,
                                              std::string& why);

    // RFC 2217: sends the line settings (and no flow control, DTR off, RTS
    // on) and, when `wait`, waits until `deadline` for the server to confirm
    // each one as asked (this caller reads the socket meanwhile; only while
    // no read thread runs). Raw TCP: nothing to do.
    virtual PortError Apply(const PortSettings& s, bool wait,
                            std::chrono::steady_clock::time_point deadline, std::string& why) = 0;
    virtual PortError WriteAll(const void* data, std::size_t length, std::chrono::milliseconds limit) = 0;
    // Data bytes only (telnet commands are handled here); 0 with Again when
    // only commands came.
    virtual std::size_t Read(void* data, std::size_t capacity, PortError& error) = 0;
    // True when bytes are buffered here that a poll on fd() would not show.
    virtual bool Pending() = 0;
    // Discards what has arrived (and asks an RFC 2217 server to purge too).
    virtual void Purge() = 0;
    virtual void PurgeInput() = 0;
    virtual int fd() const = 0;
    // Why the connection went, once it has (empty while it stands).
    virtual std::string lossText() = 0;
    // The round trip seen while connecting, in milliseconds.
    virtual std::uint32_t roundTripMs() const = 0;
};

} // namespace corvan::detail
