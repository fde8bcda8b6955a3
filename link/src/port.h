// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port on this platform: a terminal device driven through termios,
// or the same line served on the network (net.h). The rest of the link sees
// one interface for both.
#pragma once

#include <corvan.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace corvan::detail {

// Why a port call failed, mapped from errno in one place.
enum class PortError { None, NotFound, Permission, Busy, NotTerminal, Gone, BadSettings, Again, Other };

PortError MapErrno(int error);
const char* PortErrorText(PortError error);

struct PortSettings {
    std::uint32_t baud = 9600;
    char parity = 'n'; // first character of the parity text
    std::uint32_t dataBits = 8;
    std::uint32_t stopBits = 1;
};

// True when the settings can be applied (a supported baud rate, 5..8 data
// bits, 1 or 2 stop bits).
bool ValidSettings(const PortSettings& s);

class NetStream;

class Port {
public:
    Port();
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;
    ~Port();

    // Opens a terminal device read/write, without becoming its controlling
    // terminal, non-blocking, for this process alone; remembers its settings.
    PortError Open(const char* path);
    // Connects to a network address (see NetStream::Connect); on failure
    // `why` holds the operator's words.
    PortError OpenNetwork(const PortAddress& address, const TlsOptions& tls,
                          std::chrono::steady_clock::time_point deadline, std::string& why);
    // Raw mode with the given line settings, no flow control; then DTR off
    // and RTS on (a pseudo-terminal has no modem lines: that is ignored).
    // Over RFC 2217 the server confirms each setting when `wait` (only
    // while no read thread runs), before `deadline`; `why` says what failed.
    PortError Apply(const PortSettings& s);
    PortError Apply(const PortSettings& s, bool wait, std::chrono::steady_clock::time_point deadline,
                    std::string& why);
    // True when read bytes are buffered that a poll on fd() would not show.
    bool Pending();
    bool isNetwork() const { return m_net != nullptr; }
    // Network: the round trip seen while connecting; 0 for a device.
    std::uint32_t roundTripMs() const;
    // Discards pending output, then pending input.
    void Purge();
    void PurgeInput();
    // Writes every byte or fails; waits at most `limit` for the line to take them.
    PortError WriteAll(const void* data, std::size_t length, std::chrono::milliseconds limit);
    // One non-blocking read; returns the byte count, 0 with `error` set when
    // nothing could be read.
    std::size_t Read(void* data, std::size_t capacity, PortError& error);
    // Puts the saved settings back and closes the device.
    void Close();

    int fd() const;
    bool isOpen() const { return m_fd >= 0 || m_net != nullptr; }

private:
    std::unique_ptr<NetStream> m_net;
    int m_fd = -1;
    bool m_haveSaved = false;
    alignas(8) unsigned char m_saved[128] = {}; // struct termios, kept opaque here
};

} // namespace corvan::detail
