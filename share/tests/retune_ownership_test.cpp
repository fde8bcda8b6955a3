// SPDX-License-Identifier: GPL-3.0-or-later
// retune_ownership_test.cpp - while one client's transmission is on the air,
// another client changes neither its mode nor the radio's one RIT/XIT offset
// (which moves the carrier while XIT is on); the owner still may, and so may
// anyone once the transmission is over.
#include "share_fixture.h"

#include <algorithm>

namespace {

using namespace share_test;

class NotTheOwner : public ServersTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ServersTest::SetUp());
        ASSERT_TRUE(a.Connect(rigctlPort));
        ASSERT_TRUE(b.Connect(rigctlPort));
    }
    // One XML-RPC call with a string parameter on its own connection.
    std::string Xml(const std::string& method, const std::string& text) {
        LineClient c;
        EXPECT_TRUE(c.Connect(flrigPort));
        EXPECT_TRUE(c.Send(XmlRpcPost(XmlRpcCall(method, XmlRpcParam("string", text)), "close")));
        return c.ReadThrough("</methodResponse>", 3s, Pump);
    }
    std::string Ask(LineClient& c, const std::string& line) { return c.Ask(line, 1, 3s, Pump); }
    bool Touched(const char* what) const {
        return std::any_of(radio.calls.begin(), radio.calls.end(),
                           [&](const std::string& call) { return call.rfind(what, 0) == 0; });
    }
    LineClient a, b;
};

TEST_F(NotTheOwner, AnotherClientLeavesTheOffsetOfATransmissionAlone) {
    EXPECT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    radio.calls.clear();
    EXPECT_EQ(Ask(b, "Z 100"), "RPRT -9\n");
    EXPECT_EQ(Ask(b, "J 200"), "RPRT -9\n"); // the same offset moves XIT's
    EXPECT_FALSE(Touched("SetXit"));
    EXPECT_FALSE(Touched("SetRit"));
    // Reading stays open to everyone; the owner may move its own offset.
    EXPECT_EQ(Ask(b, "z"), std::to_string(radio.xit) + "\n");
    EXPECT_EQ(Ask(a, "Z 100"), "RPRT 0\n");
    EXPECT_TRUE(Touched("SetXit 100"));
    EXPECT_EQ(Ask(a, "T 0"), "RPRT 0\n");
    EXPECT_EQ(Ask(b, "J 50"), "RPRT 0\n");
    EXPECT_TRUE(Touched("SetRit 50"));
}

TEST_F(NotTheOwner, AnotherClientLeavesTheModeOfATransmissionAlone) {
    EXPECT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    radio.calls.clear();
    EXPECT_EQ(Ask(b, "M LSB 0"), "RPRT -9\n");
    EXPECT_NE(Xml("rig.set_mode", "LSB").find("<name>faultCode</name>"), std::string::npos);
    EXPECT_NE(Xml("rig.set_modeA", "CW").find("<name>faultCode</name>"), std::string::npos);
    EXPECT_FALSE(Touched("SetMode"));
    EXPECT_EQ(Ask(a, "M LSB 0"), "RPRT 0\n");
    EXPECT_TRUE(Touched("SetMode LSB"));
    EXPECT_EQ(Ask(a, "T 0"), "RPRT 0\n");
    radio.calls.clear();
    EXPECT_EQ(Xml("rig.set_mode", "USB").find("<name>faultCode</name>"), std::string::npos);
    EXPECT_TRUE(Touched("SetMode USB"));
}

} // namespace
