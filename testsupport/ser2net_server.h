// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the system's ser2net in the foreground on loopback for a test: the
// configuration is written at start, the ports are free ones, and the
// server is stopped by the destructor. Free of Qt.
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

class Ser2netServer {
public:
    // One served line: `accepter` is the gensio stack in front of the
    // address, e.g. "telnet(rfc2217)", "" (raw) or
    // "telnet(rfc2217),ssl(key=...,cert=...,CA=...,clientauth)".
    struct Line {
        std::string accepter;
        std::string device;
        std::uint16_t port = 0; // 0: a free port is chosen
        std::string options;    // extra YAML under options:, one "key: value" a line
    };

    Ser2netServer() = default;
    ~Ser2netServer();
    Ser2netServer(const Ser2netServer&) = delete;
    Ser2netServer& operator=(const Ser2netServer&) = delete;

    // The ser2net program, or empty when it is not installed.
    static std::string Program();
    // A loopback TCP port nobody listens on just now.
    static std::uint16_t FreePort();

    // Adds a line; returns its index.
    std::size_t add(Line line);
    // Writes the configuration and starts ser2net; waits until every port
    // accepts connections (5 s at most). `error` says why it did not start.
    bool start(std::string* error = nullptr);
    // Stops the server (SIGTERM, then SIGKILL after 2 s); start() may follow
    // and brings it back on the same ports.
    void stop();
    std::uint16_t port(std::size_t index) const { return m_lines.at(index).port; }
    // What the server wrote on its standard output and error.
    std::string log() const;

private:
    std::vector<Line> m_lines;
    std::string m_dir;
    pid_t m_pid = -1;
};
