// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual radio behind a relay that delays every byte, with the link
// connected through the relay: a line with a long round trip.
#pragma once

#include <corvan.h>
#include <delay_pty.h>
#include <qxsim.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace glimra::testing {

struct DelayedLine {
    qxsim::Radio radio;
    std::unique_ptr<testsupport::DelayPty> relay;
    CCorvan link;

    // Starts the radio (switched on) and the relay of `roundTrip`, and
    // connects the link through it. Use within ASSERT_NO_FATAL_FAILURE.
    void Open(std::chrono::milliseconds roundTrip) {
        ASSERT_TRUE(radio.start());
        radio.modify([](qxsim::State& s) { s.power = 1; });
        relay = std::make_unique<testsupport::DelayPty>(radio.devicePath(), roundTrip);
        ASSERT_TRUE(relay->Start()) << relay->Error();
        ASSERT_NE(link.Conn("QR-7730", relay->Path().c_str(), 9600, "n", 8, 1, 1), 0);
    }
};

} // namespace glimra::testing
