// SPDX-License-Identifier: GPL-3.0-or-later
// A TCP proxy on loopback that adds a round trip: every byte is held for
// half of it on the way out and half on the way back. Free of Qt, for the
// link's and the console's tests over a slow, distant line.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class DelayProxy {
public:
    // Forwards connections on 127.0.0.1:port() to targetHost:targetPort.
    DelayProxy(std::string targetHost, std::uint16_t targetPort, std::chrono::milliseconds roundTrip);
    ~DelayProxy();
    DelayProxy(const DelayProxy&) = delete;
    DelayProxy& operator=(const DelayProxy&) = delete;

    // Listens on a free loopback port; false when that fails.
    bool start();
    void stop();
    std::uint16_t port() const { return m_port; }
    // "127.0.0.1:PORT", for an address such as "rfc2217://" + hostPort().
    std::string hostPort() const;

    // Applies to bytes that arrive from now on.
    void setRoundTrip(std::chrono::milliseconds roundTrip);
    // Frozen: nothing is forwarded either way and nothing is closed, as on a
    // network path that went silent (a half-open connection).
    void setFrozen(bool frozen);
    // Closes every connection at once (both ends see the connection go).
    void dropAll();
    // Connections accepted so far.
    int accepted() const { return m_accepted.load(); }

private:
    void run();

    std::string m_host;
    std::uint16_t m_targetPort;
    std::atomic<long long> m_halfUs;
    std::atomic<bool> m_frozen{false};
    std::atomic<bool> m_drop{false};
    std::atomic<int> m_accepted{0};
    std::uint16_t m_port = 0;
    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};
