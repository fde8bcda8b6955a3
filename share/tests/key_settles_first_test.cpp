// SPDX-License-Identifier: GPL-3.0-or-later
// key_settles_first_test.cpp - whoever keys the transmitter (a client of
// either server, the console's operator), what the console settles first
// (a visual-scan sweep tuned back to its centre) is done before the radio
// keys, and only for a key: an unkey or a release leaves it alone.
#include "share_fixture.h"

#include <algorithm>

namespace {

using namespace share_test;
using zshare::Transmitter;

class KeySettlesFirst : public ServersTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ServersTest::SetUp());
        // The console's hook: a sweep on 14.192.400 goes back to 14.195.000.
        queue.Ptt().SetBeforeKey([this] {
            ++settled;
            if (sweeping) {
                sweeping = false;
                radio.SetFrequency(zshare::Vfo::A, 14'195'000);
            }
        });
        radio.a = 14'192'400;
    }
    // The calls from the tune-back on: the frequency goes before the key.
    std::vector<std::string> Wire() const {
        std::vector<std::string> out;
        for (const std::string& c : radio.calls)
            if (c.rfind("SetFrequency", 0) == 0 || c.rfind("SetPtt", 0) == 0)
                out.push_back(c);
        return out;
    }
    bool sweeping = true;
    int settled = 0;
};

TEST_F(KeySettlesFirst, ARigctlClientsKeyTunesBackBeforeTheRadioKeys) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctl.Status().port));
    EXPECT_EQ(c.Ask("T 1", 1, 3s, Pump), "RPRT 0\n");
    EXPECT_EQ(Wire(), (std::vector<std::string>{"SetFrequency A 14195000", "SetPtt 1"}));
    EXPECT_EQ(radio.a, 14'195'000);
    EXPECT_TRUE(radio.ptt);
    // Unkeying settles nothing.
    EXPECT_EQ(c.Ask("T 0", 1, 3s, Pump), "RPRT 0\n");
    EXPECT_EQ(settled, 1);
}

TEST_F(KeySettlesFirst, AnXmlRpcClientsKeyTunesBackBeforeTheRadioKeys) {
    LineClient c;
    ASSERT_TRUE(c.Connect(flrig.Status().port));
    ASSERT_TRUE(c.Send(XmlRpcPost(XmlRpcCall("rig.set_ptt", XmlRpcParam("int", "1")), nullptr)));
    c.ReadThrough("</methodResponse>", 3s, Pump);
    EXPECT_EQ(Wire(), (std::vector<std::string>{"SetFrequency A 14195000", "SetPtt 1"}));
}

TEST_F(KeySettlesFirst, TheOperatorsKeyTunesBackAndAReleaseDoesNot) {
    EXPECT_EQ(queue.Ptt().Key(Transmitter::kOperator, true), zshare::Result::Ok);
    EXPECT_EQ(Wire(), (std::vector<std::string>{"SetFrequency A 14195000", "SetPtt 1"}));
    sweeping = true;
    radio.calls.clear();
    EXPECT_TRUE(queue.Ptt().Release(Transmitter::kOperator));
    EXPECT_EQ(queue.Ptt().Key(Transmitter::kOperator, false), zshare::Result::Ok);
    EXPECT_EQ(queue.Ptt().LinkClosing(true, true, false), true);
    EXPECT_EQ(settled, 1) << "an unkey or a release stopped the sweep";
    EXPECT_TRUE(sweeping);
}

} // namespace
