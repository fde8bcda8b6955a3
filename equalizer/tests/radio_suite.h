// SPDX-License-Identifier: GPL-3.0-or-later
// radio_suite.h - one virtual transceiver for a whole test suite, with the
// link connected to it, under any fixture of the equaliser's tests.
#pragma once

#include <corvan.h>
#include <qxsim.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace testing_tonwell {

template <class Fixture>
class WithSuiteRadio : public Fixture {
protected:
    static void SetUpTestSuite() {
        radio = new qxsim::Radio();
        ASSERT_TRUE(radio->start()) << radio->lastError();
        CCorvan link;
        ASSERT_EQ(link.Conn("QR-7730", radio->devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
    }
    static void TearDownTestSuite() {
        CCorvan().Close();
        delete radio;
        radio = nullptr;
    }

    // Everything the radio received up to a marker sent after the action, so
    // that "nothing was sent" is known rather than waited for.
    static std::vector<std::string> ReceivedUntilMarker() {
        CCorvan().ConnDirect("ID;");
        EXPECT_TRUE(radio->waitFor("ID", std::chrono::seconds(3)));
        std::vector<std::string> texts;
        for (const auto& r : radio->received()) {
            if (r.text == "ID") break;
            texts.push_back(r.text);
        }
        return texts;
    }

    static inline qxsim::Radio* radio = nullptr;
};

} // namespace testing_tonwell
