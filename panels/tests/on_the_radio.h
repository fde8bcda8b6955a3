// SPDX-License-Identifier: GPL-3.0-or-later
// A panel fixture on the virtual transceiver: the radio on a pseudo-terminal
// and the link connected to it, nothing received yet when a test begins.
#pragma once

#include <corvan.h>
#include <qxsim.h>

#include <gtest/gtest.h>

namespace pandor::test {

template <class Base>
class OnTheRadio : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        ASSERT_TRUE(radio.start()) << radio.lastError();
        ASSERT_EQ(link.Conn("QR-7730", radio.devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
        radio.clearReceived();
    }
    void TearDown() override {
        Base::TearDown();
        link.Close();
        radio.stop();
    }

    qxsim::Radio radio;
    CCorvan link;
};

} // namespace pandor::test
