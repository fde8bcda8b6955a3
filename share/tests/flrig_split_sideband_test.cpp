// SPDX-License-Identifier: GPL-3.0-or-later
// flrig_split_sideband_test.cpp - what a logging or digital-mode program
// sees over the flrig protocol when it turns split on and asks for the
// sideband: split transmits on the VFO that does not receive, and the
// sideband follows the mode that is on the air.
#include "share_fixture.h"

namespace {

using namespace share_test;

class FlrigClientView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(Listen(server));
        ASSERT_TRUE(client.Connect(server.Status().port));
    }

    // One call over the kept-alive connection; the whole HTTP response.
    std::string Call(const std::string& method, const std::string& params = "") {
        if (!client.Send(XmlRpcPost(XmlRpcCall(method, params))))
            return {};
        return client.ReadHttpResponse(3s, Pump);
    }
    static std::string IntParam(int v) { return XmlRpcParam("i4", std::to_string(v)); }
    static bool Has(const std::string& answer, const std::string& part) {
        return answer.find(part) != std::string::npos;
    }

    FakeRadio radio;
    zshare::RequestQueue queue{radio};
    zshare::FlrigServer server{queue};
    LineClient client;
};

TEST_F(FlrigClientView, SplitOnTransmitsOnTheVfoThatDoesNotReceiveAndOffReturnsToSimplex) {
    struct Case {
        zshare::Vfo receiving;
        zshare::Vfo transmitting;
    };
    for (const Case& c : {Case{zshare::Vfo::A, zshare::Vfo::B}, Case{zshare::Vfo::B, zshare::Vfo::A}}) {
        SCOPED_TRACE(c.receiving == zshare::Vfo::A ? "receiving on A" : "receiving on B");
        radio.rx = radio.tx = c.receiving;
        const std::int64_t a = radio.a, b = radio.b;
        EXPECT_TRUE(Has(Call("rig.set_split", IntParam(1)), "<i4>0</i4>"));
        EXPECT_EQ(radio.rx, c.receiving) << "split moved the receive VFO";
        EXPECT_EQ(radio.tx, c.transmitting) << "split must transmit on the other VFO";
        EXPECT_TRUE(Has(Call("rig.get_split"), "<i4>1</i4>"));
        EXPECT_EQ(radio.a, a);
        EXPECT_EQ(radio.b, b);

        EXPECT_TRUE(Has(Call("rig.set_split", IntParam(0)), "<i4>0</i4>"));
        EXPECT_EQ(radio.rx, c.receiving);
        EXPECT_EQ(radio.tx, c.receiving) << "split off transmits where it receives";
    }
}

TEST_F(FlrigClientView, SidebandIsLowerForLsbCwReverseAndFskReverseAndUpperOtherwise) {
    struct Case {
        zshare::Mode mode;
        const char* sideband;
    };
    using M = zshare::Mode;
    for (const Case& c : {Case{M::Lsb, "L"}, Case{M::Cwr, "L"}, Case{M::Rttyr, "L"}, Case{M::Usb, "U"},
                          Case{M::Cw, "U"}, Case{M::Rtty, "U"}, Case{M::Am, "U"}, Case{M::Fm, "U"}}) {
        SCOPED_TRACE(zshare::ModeName(c.mode));
        radio.rx = radio.tx = zshare::Vfo::A;
        radio.modeA = c.mode;
        radio.modeB = c.mode == M::Lsb ? M::Usb : M::Lsb; // the other VFO never decides
        const std::string answer = Call("rig.get_sideband");
        EXPECT_TRUE(Has(answer, std::string(">") + c.sideband + "<")) << answer;
    }
}

} // namespace
