// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the line for tests: opens the radio's device like a
// serial port (raw, at a chosen rate), writes commands and reads replies.
#pragma once

#include <qxsim.h>

#include <chrono>
#include <memory>
#include <string>
#include <termios.h>

namespace qxsim_test {

class Wire {
public:
    explicit Wire(const std::string& path, speed_t speed = B9600);
    ~Wire();
    Wire(const Wire&) = delete;
    Wire& operator=(const Wire&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void setSpeed(speed_t speed);
    void send(const std::string& bytes);
    // What arrived until `count` ";" were read (or the timeout passed).
    std::string read(int count, std::chrono::milliseconds timeout = std::chrono::seconds(3));
    // Reads until `bytes` bytes arrived (or the timeout passed).
    std::string readBytes(std::size_t bytes, std::chrono::milliseconds timeout = std::chrono::seconds(3));
    // Sends `command` and returns the next reply.
    std::string ask(const std::string& command) { send(command); return read(1); }
    // True when the device reports a hang-up (or an error) within the timeout.
    bool hungUp(std::chrono::milliseconds timeout = std::chrono::seconds(3));

private:
    // Waits until a byte can be read; false once `end` passed (or on an error).
    bool readable(std::chrono::steady_clock::time_point end) const;

    int fd_ = -1;
};

// A radio started on its pseudo-terminal, with the wire open on it when it
// started (`ok`).
struct Started {
    explicit Started(qxsim::Options o = {});
    qxsim::Radio radio;
    bool ok = false;
    std::unique_ptr<Wire> wire;
};

}  // namespace qxsim_test
