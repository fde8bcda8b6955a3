// SPDX-License-Identifier: GPL-3.0-or-later
// delay_pty.h - a slow line for tests: a relay between a serial device
// (e.g. the simulated radio's pseudo-terminal) and a new pseudo-terminal
// that a program opens instead, holding every byte half the round trip in
// each direction, the way a distant network link delays a line.
//
// The line rate the program sets on its side is carried to the device, so
// a radio that listens only at its own rate hears the program as it would
// directly. Free of Qt.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace testsupport {

class DelayPty {
public:
    // `device`: the path of the far end (opened by Start()); `roundTrip`:
    // the time a byte takes there and back (each way half of it).
    DelayPty(std::string device, std::chrono::milliseconds roundTrip);
    ~DelayPty();
    DelayPty(const DelayPty&) = delete;
    DelayPty& operator=(const DelayPty&) = delete;

    // Opens both ends and starts relaying; false (with Error()) when an end
    // could not be opened.
    bool Start();
    // Stops relaying and closes both ends (the program's device goes).
    void Stop();
    bool Running() const { return m_thread.joinable(); }

    // The device the program opens; empty until Start().
    std::string Path() const { return m_path; }
    std::string Error() const { return m_error; }

    // Applies to bytes that arrive from now on.
    void SetRoundTrip(std::chrono::milliseconds roundTrip);
    std::chrono::milliseconds RoundTrip() const;

    // Bytes relayed so far, towards the device and towards the program.
    std::uint64_t BytesToDevice() const { return m_toDevice.load(); }
    std::uint64_t BytesToProgram() const { return m_toProgram.load(); }

private:
    void Run();

    std::string m_device;
    std::string m_path;
    std::string m_error;
    std::atomic<long long> m_roundTripMs;
    int m_deviceFd = -1;
    int m_master = -1;
    int m_slaveHold = -1;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_stop{false};
    std::atomic<std::uint64_t> m_toDevice{0};
    std::atomic<std::uint64_t> m_toProgram{0};
    std::thread m_thread;
};

} // namespace testsupport
