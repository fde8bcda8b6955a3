// SPDX-License-Identifier: GPL-3.0-or-later
// One virtual radio per test program, with the link connected to it once.
#pragma once

#include "sweep_fixture.h"

#include <corvan.h>
#include <qxsim.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace glimra::testing {

class SimLink {
public:
    static SimLink& instance() {
        static SimLink sim;
        return sim;
    }
    qxsim::Radio& radio() { return m_radio; }
    CCorvan& link() { return m_link; }
    bool connected() const { return m_connected; }

    // The radio's power-on state, as each test starts from it.
    void resetRadio() {
        m_radio.setFaults({});
        m_radio.modify([](qxsim::State& s) {
            s.power = 1;
            s.vfoA = 14'195'000;
            s.vfoB = 7'050'000;
            s.subFrequency = 145'000'000;
            s.rxVfo = 0;
            s.controlBand = 0;
            s.transmitBand = 0;
            s.scan = 0;
            s.transmitting = 0;
            s.satellite = {};
            s.ai = 0;
            s.values["SB"] = {1};
            s.values["CM"] = {0};
            s.values["RT"] = {0};
            s.values["RA"] = {0};
            s.values["PA"] = {0};
            s.menu.clear();
        });
        sync();
        m_radio.clearReceived();
        m_radio.clearSent();
    }

    // Waits until the radio has taken every command sent so far, then
    // forgets what it received.
    void quiet() {
        sync();
        m_radio.clearReceived();
    }

    // A round trip: replies come back in order, so once this one is stored
    // every reply to an earlier command has been decoded too.
    bool sync() {
        m_link.ConnPS("R", 0);
        std::uint32_t v = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (m_link.RcvDataPS(&v) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    // Commands received whose text starts with one of `prefixes`, in order.
    std::vector<std::string> commands(const std::vector<std::string>& prefixes) const {
        std::vector<std::string> out;
        for (const auto& r : m_radio.received()) {
            for (const auto& p : prefixes) {
                if (r.text.compare(0, p.size(), p) == 0) {
                    out.push_back(r.text);
                    break;
                }
            }
        }
        return out;
    }

    std::size_t count(const std::string& prefix) const { return m_radio.countOf(prefix); }
    bool waitFor(const std::string& prefix, std::chrono::milliseconds limit) const {
        return m_radio.waitFor(prefix, limit);
    }

    bool waitCount(const std::string& prefix, std::size_t n, std::chrono::milliseconds limit) const {
        return m_radio.waitFor(
            [&](const std::vector<qxsim::Received>& all) {
                std::size_t c = 0;
                for (const auto& r : all) {
                    c += r.text.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
                }
                return c >= n;
            },
            limit);
    }

    // The sub receiver's meter (SM1) reads half the main scale, 0..15,
    // rounded up, of the band model's level.
    static int SubMeterReading(int level) { return (level + 1) / 2; }

    static std::string FrequencyCommand(const char* code, std::int64_t hz) {
        char text[32];
        std::snprintf(text, sizeof text, "%s%011lld", code, static_cast<long long>(hz));
        return text;
    }

private:
    SimLink() {
        m_started = m_radio.start();
        if (m_started) {
            m_connected = m_link.Conn("QR-7730", m_radio.devicePath().c_str(), 9600, "n", 8, 1, 1) != 0;
        }
    }
    ~SimLink() {
        m_link.WinMsgSendReg(nullptr);
        m_link.Close();
        m_radio.stop();
    }

    qxsim::Radio m_radio;
    CCorvan m_link;
    bool m_started = false;
    bool m_connected = false;
};

} // namespace glimra::testing
