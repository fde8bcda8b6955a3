// SPDX-License-Identifier: GPL-3.0-or-later
// sharing_ptt_test.cpp - who transmits, and when it stops, seen on the
// simulator's wire: a client that no longer owns the transmission cuts
// nobody's when it leaves or falls silent; the hold of a closed XML-RPC
// connection passes to nobody; a transmission left on through a pulled
// cable ends once the radio is back; no VFO changes while transmitting; and
// reads stay served on a rough line.
#include "ownership_fixture.h"

#include <QLabel>

namespace ownership_test {
namespace {

class Ptt : public OwnershipTest {};

// A keys, B unkeys and keys again: the transmission is B's. A leaving, or
// falling silent while B is heard, sends nothing.
TEST_F(Ptt, AClientThatNoLongerTransmitsCutsNobodyWhenItLeavesOrFallsSilent) {
    LineClient a, b;
    ASSERT_TRUE(a.Connect(rigctlPort));
    ASSERT_TRUE(b.Connect(rigctlPort));
    ASSERT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    ASSERT_EQ(Ask(b, "T 0"), "RPRT 0\n");
    ASSERT_EQ(Ask(b, "T 1"), "RPRT 0\n");
    ASSERT_EQ(Transmitting(), 1);
    radio().clearReceived();
    Advance(2'000);
    ASSERT_EQ(Ask(b, "t"), "1\n");
    Advance(1'500); // A silent past the release time, B not
    EXPECT_EQ(Count("RX"), 0u) << "A's silence cut B's transmission";
    a.Close();
    ASSERT_TRUE(PumpUntil([&] { return sharing().Status(zephyra::RadioSharing::Server::Rigctl).clients == 1; }));
    Settle();
    display_test::PumpFor(200ms);
    EXPECT_EQ(Count("RX"), 0u) << "A's leaving cut B's transmission";
    EXPECT_EQ(Transmitting(), 1);
    // B leaving ends its own.
    b.Close();
    ASSERT_TRUE(PumpUntil([&] { return Transmitting() == 0; }));
    EXPECT_EQ(Count("RX"), 1u);
}

// The operator's SEND takes the transmission over: the client that keyed
// before cuts nothing when it leaves; the operator's own SEND ends it.
TEST_F(Ptt, TheOperatorsSendOwnsTheTransmissionItKeys) {
    LineClient a;
    ASSERT_TRUE(a.Connect(rigctlPort));
    ASSERT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    console->OnCommand(cmd::SendCmd); // transmitting: SEND returns to receive
    ASSERT_TRUE(PumpUntil([&] { return Transmitting() == 0 && state().transmitting[0] == 0; }));
    console->OnCommand(cmd::SendCmd);
    ASSERT_TRUE(PumpUntil([&] { return Transmitting() == 1 && state().transmitting[0] == 1; }));
    EXPECT_EQ(ptt().Owner(), zshare::Transmitter::kOperator);
    radio().clearReceived();
    a.Close();
    ASSERT_TRUE(PumpUntil([&] { return sharing().Status(zephyra::RadioSharing::Server::Rigctl).clients == 0; }));
    Settle();
    display_test::PumpFor(200ms);
    EXPECT_EQ(Count("RX"), 0u);
    EXPECT_EQ(Transmitting(), 1);
    console->OnCommand(cmd::SendCmd);
    EXPECT_TRUE(PumpUntil([&] { return Transmitting() == 0; }));
}

// A keys over a connection that closes; B asks on a keep-alive connection;
// A unkeys; C keys over the line protocol and keeps talking; B closes. The
// closed connection's hold is nobody's: 3.5 s later C still transmits.
TEST_F(Ptt, TheHoldOfAClosedXmlRpcConnectionPassesToNobody) {
    ASSERT_TRUE(Done(Once(Call("rig.set_ptt", "<int>1</int>"))));
    ASSERT_EQ(Transmitting(), 1);
    LineClient b;
    ASSERT_TRUE(b.Connect(flrigPort));
    ASSERT_FALSE(Fault(Keep(b, Call("rig.get_vfo"))));
    ASSERT_TRUE(Done(Once(Call("rig.set_ptt", "<int>0</int>"))));
    ASSERT_EQ(Transmitting(), 0);
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    ASSERT_EQ(Ask(c, "T 1"), "RPRT 0\n");
    radio().clearReceived();
    b.Close();
    ASSERT_TRUE(PumpUntil([&] { return sharing().Status(zephyra::RadioSharing::Server::Flrig).clients == 0; }));
    Advance(2'000);
    ASSERT_EQ(Ask(c, "t"), "1\n");
    Advance(1'600);
    EXPECT_EQ(Count("RX"), 0u) << "a hold C never had cut C's transmission";
    EXPECT_EQ(Transmitting(), 1);
    ASSERT_EQ(Ask(c, "T 0"), "RPRT 0\n");
}

// A keys; the cable is pulled (the radio keeps transmitting); A's unkey
// cannot reach it; the cable goes back in: the console finds the radio by
// itself and returns it to receive, and says so.
TEST_F(Ptt, ATransmissionLeftOnThroughAPulledCableEndsOnceTheRadioIsBack) {
    LineClient a, other;
    ASSERT_TRUE(a.Connect(rigctlPort));
    ASSERT_TRUE(other.Connect(rigctlPort));
    ASSERT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    Pull();
    EXPECT_EQ(Ask(a, "T 0"), "RPRT -11\n");
    EXPECT_EQ(Transmitting(), 1) << "the radio keeps transmitting through the pull";
    EXPECT_TRUE(ptt().ReleaseKept());
    radio().clearReceived();
    Plug();
    ASSERT_TRUE(PumpUntil([&] { return Transmitting() == 0; }, 3s)) << "left on the air after the reconnection";
    // The release went out as soon as the radio was known to be back, before
    // the bulk of the read.
    const auto got = radio().received();
    const auto rx = std::find_if(got.begin(), got.end(), [](const qxsim::Received& r) { return r.text == "RX"; });
    const auto fa = std::find_if(got.begin(), got.end(), [](const qxsim::Received& r) { return r.text == "FA"; });
    ASSERT_NE(rx, got.end());
    EXPECT_TRUE(fa == got.end() || rx < fa);
    EXPECT_EQ(Ask(other, "t"), "0\n");
    ASSERT_TRUE(PumpUntil([&] { return console->connection()->ConnectionNote().contains(QStringLiteral("receive")); }));
}

// Without anyone's unkey: the owner's transmission also ends with the loss
// (the watchdog's release), and a later leaving of that client sends nothing
// more.
TEST_F(Ptt, TheReleaseOfALostLinkIsKeptWhenNobodyUnkeys) {
    LineClient a;
    ASSERT_TRUE(a.Connect(rigctlPort));
    ASSERT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    Pull();
    Plug();
    ASSERT_TRUE(PumpUntil([&] { return Transmitting() == 0; }, 3s));
    EXPECT_EQ(Ask(a, "t"), "0\n");
}

struct VfoCase {
    const char* name;
    bool split;         // split on (transmit on B) before keying
    const char* line;   // a rigctld line, or null
    const char* method; // an XML-RPC method, or null
    const char* param;
};

class VfoWhileTransmitting : public OwnershipTest, public ::testing::WithParamInterface<VfoCase> {};

// Keyed on 14.074 MHz (split: receive A, transmit B on 7.074): the request
// is refused and nothing reaches the wire; the radio transmits where it did.
TEST_P(VfoWhileTransmitting, IsRefusedAndNothingReachesTheWire) {
    const VfoCase& c = GetParam();
    LineClient a;
    ASSERT_TRUE(a.Connect(rigctlPort));
    ASSERT_EQ(Ask(a, "F 14074000"), "RPRT 0\n");
    ASSERT_EQ(Ask(a, "I 7074000"), "RPRT 0\n");
    ASSERT_EQ(Ask(a, c.split ? "S 1 VFOB" : "S 0 VFOA"), "RPRT 0\n");
    ASSERT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    Settle();
    const qxsim::State before = radio().state();
    radio().clearReceived();
    if (c.line) {
        EXPECT_EQ(Ask(a, c.line), "RPRT -9\n");
    } else {
        EXPECT_TRUE(Fault(Once(Call(c.method, c.param))));
    }
    display_test::PumpFor(100ms);
    const qxsim::State after = radio().state();
    for (const qxsim::Received& r : radio().received())
        EXPECT_TRUE(r.text.size() == 2 || r.text.rfind("SM", 0) == 0 || r.text.rfind("RM", 0) == 0)
            << "written: " << r.text;
    EXPECT_EQ(Count("FR0") + Count("FR1") + Count("FT0") + Count("FT1"), 0u);
    EXPECT_EQ(after.transmitting, 1);
    EXPECT_EQ(after.rxVfo, before.rxVfo);
    EXPECT_EQ(after.txVfo, before.txVfo);
    EXPECT_EQ(after.vfoA, before.vfoA);
    EXPECT_EQ(after.vfoB, before.vfoB);
    EXPECT_EQ(after.modeA, before.modeA);
    EXPECT_EQ(after.modeB, before.modeB);
    EXPECT_EQ(Ask(a, "T 0"), "RPRT 0\n");
}

INSTANTIATE_TEST_SUITE_P(
    Ptt, VfoWhileTransmitting,
    ::testing::Values(VfoCase{"V", false, "V VFOB", nullptr, nullptr},
                      VfoCase{"VSplit", true, "V VFOB", nullptr, nullptr},
                      VfoCase{"Exchange", false, "G XCHG", nullptr, nullptr},
                      VfoCase{"CopyInSplit", true, "G CPY", nullptr, nullptr},
                      VfoCase{"SplitOn", false, "S 1 VFOB", nullptr, nullptr},
                      VfoCase{"SplitOff", true, "S 0 VFOA", nullptr, nullptr},
                      VfoCase{"Memory", false, "E 5", nullptr, nullptr},
                      VfoCase{"SetAB", false, nullptr, "rig.set_AB", "<string>B</string>"},
                      VfoCase{"SetSplit", false, nullptr, "rig.set_split", "<int>1</int>"}),
    [](const ::testing::TestParamInfo<VfoCase>& row) { return std::string(row.param.name); });

// What does not change a VFO stays allowed while transmitting: selecting
// the VFO that already receives, and the owner's own frequency.
TEST_F(Ptt, TheSameVfoAndTheOwnersFrequencyAreAllowedWhileTransmitting) {
    LineClient a, b;
    ASSERT_TRUE(a.Connect(rigctlPort));
    ASSERT_TRUE(b.Connect(rigctlPort));
    ASSERT_EQ(Ask(a, "F 14074000"), "RPRT 0\n");
    ASSERT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    radio().clearReceived();
    EXPECT_EQ(Ask(a, "V VFOA"), "RPRT 0\n");
    EXPECT_EQ(Count("FR0") + Count("FR1"), 0u);
    EXPECT_EQ(Ask(b, "F 14075000"), "RPRT -9\n");
    EXPECT_EQ(radio().state().vfoA, 14'074'000);
    EXPECT_EQ(Ask(a, "F 14076000"), "RPRT 0\n");
    EXPECT_EQ(radio().state().vfoA, 14'076'000);
    EXPECT_EQ(Ask(a, "T 0"), "RPRT 0\n");
    EXPECT_EQ(Ask(b, "V VFOB"), "RPRT 0\n");
    EXPECT_EQ(radio().state().rxVfo, 1);
}

// Reads come from what the radio last reported: with the frequency's record
// cleared by a query whose answer never comes, "f" still answers it.
TEST_F(Ptt, AFrequencyReadIsServedWhenTheAnswerToItsQueryIsLost) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    ASSERT_EQ(Ask(c, "F 14074000"), "RPRT 0\n");
    ASSERT_EQ(Ask(c, "f"), "14074000\n");
    qxsim::Faults silent;
    silent.silent = true;
    radio().setFaults(silent);
    console->connection()->Link().ConnFA("R", ""); // cleared until an answer
    EXPECT_EQ(Ask(c, "f"), "14074000\n");
    radio().setFaults({});
}

// On the simulator's rough line (noise, lost and repeated bytes, replies in
// pieces and late), plain reads never time out.
TEST_F(Ptt, PlainReadsDoNotTimeOutOnARoughLine) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    ASSERT_EQ(Ask(c, "F 14074000"), "RPRT 0\n");
    qxsim::Faults rough;
    ASSERT_TRUE(qxsim::faultProfile("rough", rough));
    radio().setFaults(rough);
    int timedOut = 0;
    for (int i = 0; i < 16; ++i) {
        // The frequency asked for again (as the console's reads do); some
        // answers are lost on this line.
        console->connection()->Link().ConnFA("R", "");
        const std::string answer = Ask(c, "f");
        timedOut += answer == "RPRT -5\n";
        if (!Ready())
            break; // the watchdog may lose a radio this rough: not this test's subject
    }
    radio().setFaults({});
    EXPECT_EQ(timedOut, 0);
}

} // namespace
} // namespace ownership_test
