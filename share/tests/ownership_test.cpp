// SPDX-License-Identifier: GPL-3.0-or-later
// ownership_test.cpp - who owns the transmission on the air: clients of
// both servers over real sockets, on a backend with plain state and a clock
// the test moves. A release acts only for the owner; an explicit unkey from
// anyone unkeys; the hold a closed XML-RPC connection leaves passes to
// nobody; a release the radio could not take is done once it is back.
#include "share_fixture.h"

#include <algorithm>

namespace {

using namespace share_test;
using zshare::Transmitter;

// A radio that can be away: then nothing reaches it, PTT neither.
struct Radio : FakeRadio {
    zshare::Result SetPtt(bool on) override {
        Note(on ? "SetPtt 1" : "SetPtt 0");
        if (ready)
            ptt = on;
        return Check();
    }
    std::size_t Releases() const { return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), "SetPtt 0")); }
};

std::string Ptt(int on) { return XmlRpcCall("rig.set_ptt", XmlRpcParam("int", std::to_string(on))); }

class Owner : public ::testing::Test {
protected:
    void SetUp() override {
        zshare::ServerSettings s;
        s.pttSilenceSeconds = 3;
        for (zshare::ShareServer* server : {static_cast<zshare::ShareServer*>(&rigctl),
                                            static_cast<zshare::ShareServer*>(&flrig)}) {
            server->SetClock([this] { return now; });
            ASSERT_NO_FATAL_FAILURE(Listen(*server, s));
        }
        rigctlPort = rigctl.Status().port;
        flrigPort = flrig.Status().port;
    }
    std::string Ask(LineClient& c, const std::string& line) { return c.Ask(line, 1, 3s, Pump); }
    static std::string Response(LineClient& c) { return c.ReadThrough("</methodResponse>", 3s, Pump); }
    // One call on its own connection, closed after the answer (HTTP/1.0 style).
    std::string Once(const std::string& body) { return PostOnce(flrigPort, body, Response); }
    // Moves the servers' clock past the silence time and lets the check run.
    void Silence() {
        now += 3'500;
        PumpFor(400ms);
        PumpUntil([&] { return queue.Pending() == 0; });
    }
    Radio radio;
    zshare::RequestQueue queue{radio};
    zshare::RigctlServer rigctl{queue};
    zshare::FlrigServer flrig{queue};
    std::int64_t now = 1'000'000;
    std::uint16_t rigctlPort = 0, flrigPort = 0;
};

// A keys, B unkeys and keys: the transmission is B's. A leaving or falling
// silent must not cut it; B falling silent does.
TEST_F(Owner, AClientThatNoLongerOwnsTheTransmissionReleasesNothing) {
    LineClient a, b, c;
    ASSERT_TRUE(a.Connect(rigctlPort));
    ASSERT_TRUE(b.Connect(rigctlPort));
    ASSERT_TRUE(c.Connect(rigctlPort));
    EXPECT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    EXPECT_EQ(Ask(b, "T 0"), "RPRT 0\n");
    EXPECT_EQ(Ask(b, "T 1"), "RPRT 0\n");
    radio.calls.clear();
    Silence(); // A (and C) silent; B heard as recently as A
    EXPECT_EQ(radio.Releases(), 1u) << "B's own silence releases";
    EXPECT_FALSE(radio.ptt);
    EXPECT_EQ(Ask(b, "T 1"), "RPRT 0\n");
    radio.calls.clear();
    a.Close();
    c.Close();
    ASSERT_TRUE(PumpUntil([&] { return rigctl.Status().clients == 1; }));
    PumpFor(100ms);
    EXPECT_EQ(radio.Releases(), 0u) << "A left and cut B's transmission";
    EXPECT_TRUE(radio.ptt);
    // The console's operator unkeys: B no longer owns; B's leaving is nothing.
    EXPECT_EQ(queue.Ptt().Key(Transmitter::kOperator, false), zshare::Result::Ok);
    EXPECT_EQ(queue.Ptt().Key(Transmitter::kOperator, true), zshare::Result::Ok);
    radio.calls.clear();
    b.Close();
    ASSERT_TRUE(PumpUntil([&] { return rigctl.Status().clients == 0; }));
    PumpFor(100ms);
    EXPECT_EQ(radio.Releases(), 0u);
    EXPECT_TRUE(radio.ptt);
    EXPECT_EQ(queue.Ptt().Owner(), Transmitter::kOperator);
}

// A keys over a connection that closes; B asks on a keep-alive connection;
// A unkeys; C keys over the line protocol; B closes and everyone falls
// silent: C's transmission stays until C's own silence.
TEST_F(Owner, TheHoldOfAClosedXmlRpcConnectionPassesToNobody) {
    EXPECT_NE(Once(Ptt(1)).find("<i4>0</i4>"), std::string::npos);
    EXPECT_TRUE(radio.ptt);
    LineClient b;
    ASSERT_TRUE(b.Connect(flrigPort));
    ASSERT_TRUE(b.Send(XmlRpcPost(XmlRpcCall("rig.get_vfo"), "keep-alive")));
    EXPECT_NE(Response(b).find("14074000"), std::string::npos);
    EXPECT_NE(Once(Ptt(0)).find("<i4>0</i4>"), std::string::npos);
    EXPECT_FALSE(radio.ptt);
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    EXPECT_EQ(Ask(c, "T 1"), "RPRT 0\n");
    radio.calls.clear();
    b.Close();
    ASSERT_TRUE(PumpUntil([&] { return flrig.Status().clients == 0; }));
    now += 2'000;
    EXPECT_EQ(Ask(c, "t"), "1\n"); // C is heard
    now += 1'500;                  // past B's silence, not C's
    PumpFor(400ms);
    PumpUntil([&] { return queue.Pending() == 0; });
    EXPECT_EQ(radio.Releases(), 0u) << "B's hold, or the closed hold, cut C's transmission";
    EXPECT_TRUE(radio.ptt);
    Silence();
    EXPECT_FALSE(radio.ptt) << "C's own silence releases";
}

// The hold itself ends with the silence of the program that keyed, and a
// request from that program keeps it.
TEST_F(Owner, AHeldTransmissionEndsWithTheSilenceOfItsProgram) {
    EXPECT_NE(Once(Ptt(1)).find("<i4>0</i4>"), std::string::npos);
    now += 2'000;
    EXPECT_NE(Once(XmlRpcCall("rig.get_ptt")).find("<i4>1</i4>"), std::string::npos);
    now += 1'500;
    PumpFor(400ms);
    EXPECT_TRUE(radio.ptt) << "released although its program was heard";
    Silence();
    EXPECT_FALSE(radio.ptt);
}

// The radio away: an unkey cannot reach it. It is kept and done once the
// link is open again, before anything else; a key made meanwhile by another
// party after the radio is back ends the need.
TEST_F(Owner, AReleaseThatCannotReachTheRadioIsDoneOnceItIsBack) {
    LineClient a;
    ASSERT_TRUE(a.Connect(rigctlPort));
    EXPECT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    radio.ready = false;
    queue.Ptt().LinkClosing(false, true, true); // the cable pulled
    EXPECT_TRUE(queue.Ptt().ReleaseKept());
    EXPECT_EQ(Ask(a, "T 0"), "RPRT -11\n");
    EXPECT_TRUE(queue.Ptt().ReleaseKept());
    EXPECT_TRUE(radio.ptt) << "the radio keeps transmitting through the pull";
    radio.ready = true;
    radio.calls.clear();
    QString told;
    queue.Ptt().SetNotify([&](const QString& text) { told = text; });
    queue.Ptt().LinkOpened();
    ASSERT_FALSE(radio.calls.empty());
    EXPECT_EQ(radio.calls.front(), "SetPtt 0");
    EXPECT_FALSE(radio.ptt);
    EXPECT_FALSE(queue.Ptt().ReleaseKept());
    EXPECT_FALSE(told.isEmpty());
}

// After a loss, a radio found transmitting that nobody here owns goes back
// to receive and the operator is told; after an orderly close and open, and
// on a radio that receives, nothing is sent.
TEST_F(Owner, ARadioFoundTransmittingAfterALossWithNoOwnerIsReturnedToReceive) {
    Transmitter& ptt = queue.Ptt();
    QString told;
    ptt.SetNotify([&](const QString& text) { told = text; });
    ptt.LinkClosing(true, false, true); // no answer: nothing was on the air
    radio.ptt = true;                   // keyed meanwhile, by nobody here
    ptt.LinkOpened();
    EXPECT_TRUE(radio.calls.empty());
    ptt.RadioReady();
    EXPECT_FALSE(radio.ptt);
    EXPECT_NE(told.indexOf(QStringLiteral("returned to receive")), -1) << told.toStdString();
    radio.calls.clear();
    ptt.LinkClosing(true, false, false); // Control > OFF
    radio.ptt = true;
    ptt.RadioReady();
    EXPECT_TRUE(radio.calls.empty()) << "an orderly reconnection cut the radio's own transmission";
}

// While one party's transmission is on the air, nobody else retunes it and
// nobody changes VFO; a transmission keyed at the radio may be followed.
TEST_F(Owner, OnlyTheOwnerRetunesATransmission) {
    LineClient a, b;
    ASSERT_TRUE(a.Connect(rigctlPort));
    ASSERT_TRUE(b.Connect(rigctlPort));
    EXPECT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    radio.calls.clear();
    EXPECT_EQ(Ask(b, "F 14075000"), "RPRT -9\n");
    EXPECT_EQ(Ask(b, "I 14076000"), "RPRT -9\n");
    EXPECT_EQ(Ask(b, "G UP"), "RPRT -9\n");
    EXPECT_TRUE(radio.calls.empty());
    EXPECT_EQ(Ask(a, "F 14075000"), "RPRT 0\n");
    EXPECT_EQ(radio.a, 14'075'000);
    EXPECT_EQ(Ask(a, "T 0"), "RPRT 0\n");
    EXPECT_EQ(Ask(b, "F 14074000"), "RPRT 0\n");
    radio.ptt = true; // keyed at the radio: nobody here owns it
    EXPECT_EQ(Ask(b, "F 14073000"), "RPRT 0\n");
    EXPECT_EQ(radio.a, 14'073'000);
}

} // namespace
