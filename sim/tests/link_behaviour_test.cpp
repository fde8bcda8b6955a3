// SPDX-License-Identifier: GPL-3.0-or-later
// The link against the radio beyond single round trips: queries without a
// setting, identities and model types, auto-information, terminal mode,
// scans, faults on the line and a radio that vanishes.
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <thread>

using namespace std::chrono_literals;
using qxsim_test::Linked;
using qxsim_test::SharedLinkTest;
using qxsim_test::until;

namespace {

using U = std::uint32_t;

// ------------------------------------------------------------ queries

struct Query {
    std::string name;
    std::function<std::int32_t(CCorvan&)> ask;
    std::function<bool(CCorvan&, const qxsim::Radio&)> got;
};

std::ostream& operator<<(std::ostream& os, const Query& q)
{
    return os << q.name;
}

std::vector<Query> queries()
{
    return {
        {"ID", [](CCorvan& l) { return l.ConnID(); },
         [](CCorvan& l, const qxsim::Radio&) { U v; return l.RcvDataID(&v) == 1 && v == 19; }},
        {"TY", [](CCorvan& l) { return l.ConnTY(); },
         [](CCorvan& l, const qxsim::Radio&) {
             U b[8], d = 9;
             return l.RcvDataTY(&b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7], &d) == 1 && d == 0 &&
                    b[0] == 0 && b[5] == 0;
         }},
        {"IF", [](CCorvan& l) { return l.ConnIF(); },
         [](CCorvan& l, const qxsim::Radio& r) {
             char f[corvan::kFrequencyTextSize] = {};
             U n[14];
             if (l.RcvDataIF(f, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9], &n[10],
                             &n[11], &n[12], &n[13]) != 1)
                 return false;
             char want[16];
             std::snprintf(want, sizeof want, "%011lld", static_cast<long long>(r.state().vfoA));
             // frequency, mode (USB) and the tone number of the defaults
             return std::string(f) == want && n[7] == 2 && n[12] == 8;
         }},
        {"OI", [](CCorvan& l) { return l.ConnOI(); },
         [](CCorvan& l, const qxsim::Radio&) {
             char f[corvan::kFrequencyTextSize] = {};
             U n[14];
             return l.RcvDataOI(f, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9],
                                &n[10], &n[11], &n[12], &n[13]) == 1 &&
                    std::string(f) == "00007050000" && n[8] == 1;  // VFO B
         }},
        {"SM", [](CCorvan& l) { return l.ConnSM(0); },
         [](CCorvan& l, const qxsim::Radio& r) {
             U v = 99;
             return l.RcvDataSM(0, &v) == 1 && static_cast<int>(v) == r.sMeterAt(r.state().vfoA);
         }},
        {"BY", [](CCorvan& l) { return l.ConnBY(); },
         [](CCorvan& l, const qxsim::Radio&) { U a = 9, b = 9; return l.RcvDataBY(&a, &b) == 1 && a <= 1 && b == 0; }},
        {"FD", [](CCorvan& l) { return l.ConnFD(); },
         [](CCorvan& l, const qxsim::Radio&) {
             char t[corvan::kShortTextSize] = {};
             return l.RcvDataFD(t) == 1 && std::string(t) == "00000960";  // 2400 Hz
         }},
        {"TI", [](CCorvan& l) { return l.ConnTI(); },
         [](CCorvan& l, const qxsim::Radio&) { U a, b, c; return l.RcvDataTI(&a, &b, &c) == 1 && a + b + c == 0; }},
        {"TC", [](CCorvan& l) { return l.ConnTC("R", 0, 0); },
         [](CCorvan& l, const qxsim::Radio&) { U a, b; return l.RcvDataTC(&a, &b) == 1 && b == 1; }},
        {"TX", [](CCorvan& l) { return l.ConnTX(); },
         [](CCorvan& l, const qxsim::Radio& r) { U v = 9; return l.RcvDataTX(&v) == 1 && v == 0 && r.state().transmitting == 1; }},
        {"RX", [](CCorvan& l) { return l.ConnRX(); },
         [](CCorvan& l, const qxsim::Radio& r) { U v = 9; return l.RcvDataRX(&v) == 1 && v == 0 && r.state().transmitting == 0; }},
    };
}

class Queries : public SharedLinkTest<Query> {};

TEST_P(Queries, AnswerReachesTheAccessor)
{
    ASSERT_TRUE(linked && linked->connected());
    const Query& q = GetParam();
    ASSERT_EQ(q.ask(linked->link), 1);
    EXPECT_TRUE(until([&] { return q.got(linked->link, linked->radio); }));
}

INSTANTIATE_TEST_SUITE_P(Link, Queries, ::testing::ValuesIn(queries()),
                         [](const ::testing::TestParamInfo<Query>& i) { return i.param.name; });

// ------------------------------------------------------------ actions

// Builders without a read form: what the radio did with them.
struct Action {
    std::string name;
    std::function<std::int32_t(CCorvan&)> act;
    std::function<bool(const qxsim::State& before, const qxsim::State& after, const qxsim::Radio&)> done;
};

std::ostream& operator<<(std::ostream& os, const Action& a)
{
    return os << a.name;
}

std::vector<Action> actions()
{
    using S = qxsim::State;
    return {
        // Each case runs in a process of its own: start the band keys from a known band.
        {"BandUp", [](CCorvan& l) { return l.ConnFA("W", "00014195000") == 1 ? l.ConnBU() : 0; },
         [](const S&, const S& a, const qxsim::Radio&) { return a.vfoA == 18'120'000; }},
        {"BandDown", [](CCorvan& l) { return l.ConnFA("W", "00018120000") == 1 ? l.ConnBD() : 0; },
         [](const S&, const S& a, const qxsim::Radio&) { return a.vfoA == 14'195'000; }},
        {"ChannelUp", [](CCorvan& l) { return l.ConnCH(0); },
         [](const S& b, const S& a, const qxsim::Radio&) { return a.vfoA == b.vfoA + 6'250; }},
        {"ChannelDown", [](CCorvan& l) { return l.ConnCH(1); },
         [](const S& b, const S& a, const qxsim::Radio&) { return a.vfoA == b.vfoA - 6'250; }},
        {"MicUp", [](CCorvan& l) { return l.ConnUP(5); },
         [](const S& b, const S& a, const qxsim::Radio&) { return a.vfoA == b.vfoA + 50; }},
        {"MicDownOneStep", [](CCorvan& l) { return l.ConnDN(0); },
         [](const S& b, const S& a, const qxsim::Radio&) { return a.vfoA == b.vfoA - 10; }},
        {"CallChannelIn", [](CCorvan& l) { return l.ConnCI(); },
         [](const S&, const S& a, const qxsim::Radio&) {
             return a.memory[qxsim::kCallChannel].half[0].frequency == a.vfoA;
         }},
        {"QuickMemoryIn", [](CCorvan& l) { return l.ConnQI(); },
         [](const S&, const S& a, const qxsim::Radio&) { return a.quick[0].frequency == a.vfoA; }},
        {"ProgrammableMemoryIn", [](CCorvan& l) { return l.ConnPI(2); },
         [](const S&, const S& a, const qxsim::Radio& r) { return r.value("PI2") == a.vfoA; }},
        {"RitClear", [](CCorvan& l) { return l.ConnRU("W", 300) == 1 ? l.ConnRC() : 0; },
         [](const S&, const S& a, const qxsim::Radio& r) { return r.countOf("RC") == 1 && a.ritOffset == 0; }},
        {"SatelliteName", [](CCorvan& l) { return l.ConnSI(4, "OSCAR"); },
         [](const S&, const S& a, const qxsim::Radio&) { return a.satelliteNames[4] == "OSCAR"; }},
        {"DtmfMemory", [](CCorvan& l) { return l.ConnTD(3); },
         [](const S&, const S&, const qxsim::Radio& r) { return r.countOf("TD03") == 1; }},
        {"VoiceRecall", [](CCorvan& l) { return l.ConnVR(2); },
         [](const S&, const S&, const qxsim::Radio& r) { return r.countOf("VR2") == 1; }},
        {"ReceiveTaps", [](CCorvan& l) { return l.ConnUR("0102"); },
         [](const S&, const S& a, const qxsim::Radio&) { return a.receiveTaps == std::string(124, ' ') + "0102"; }},
        {"TransmitTaps", [](CCorvan& l) { return l.ConnUT("FFEE"); },
         [](const S&, const S& a, const qxsim::Radio&) { return a.transmitTaps == std::string(124, ' ') + "FFEE"; }},
        {"MemoryToVfo",
         [](CCorvan& l) {
             return l.ConnMW(0, 0, 9, "00051000000", 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "") == 1 &&
                            l.ConnMC("W", 0, 9) == 1 && l.ConnFR("W", 2) == 1
                        ? l.ConnSV()
                        : 0;
         },
         [](const S&, const S& a, const qxsim::Radio&) { return a.vfoA == 51'000'000 && a.rxVfo == 0 && a.modeA == 4; }},
        {"VfoReset", [](CCorvan& l) { return l.ConnSR(1); },
         [](const S&, const S& a, const qxsim::Radio&) { return a.vfoA == 14'195'000 && a.modeA == 2; }},
    };
}

class Actions : public SharedLinkTest<Action> {};

TEST_P(Actions, AreCarriedOut)
{
    ASSERT_TRUE(linked && linked->connected());
    auto& radio = linked->radio;
    radio.clearSent();
    radio.clearReceived();
    const auto before = radio.state();
    ASSERT_EQ(GetParam().act(linked->link), 1);
    EXPECT_TRUE(until([&] { return GetParam().done(before, radio.state(), radio); }));
    for (const auto& s : radio.sent())
        EXPECT_NE(s, "?") << "the radio refused something the link sent";
}

INSTANTIATE_TEST_SUITE_P(Link, Actions, ::testing::ValuesIn(actions()),
                         [](const ::testing::TestParamInfo<Action>& i) { return i.param.name; });

// ------------------------------------------------------------ identities

struct IdentityCase {
    int identity;
    const char* model;
    U modelType;
};

class Identities : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(Identities, GiveTheModelType)
{
    qxsim::Options o;
    o.identity = GetParam().identity;
    Linked l(o, GetParam().model);
    ASSERT_TRUE(l.connected());
    EXPECT_EQ(CCorvan::GetModelType(), GetParam().modelType);
    EXPECT_TRUE(l.radio.waitFor("ID", 1s));
}

INSTANTIATE_TEST_SUITE_P(Link, Identities,
    ::testing::Values(IdentityCase{19, "QR-7730", corvan::kModelQR7730},
                      IdentityCase{18, "QR-7730", corvan::kModelQX410},
                      IdentityCase{17, "QR-7730", corvan::kModelQX410},
                      IdentityCase{15, "QR-7730", corvan::kModelQX620},
                      // another number or silence: the model name decides
                      IdentityCase{7, "QX-620", corvan::kModelQX620},
                      IdentityCase{-1, "QR-7730", corvan::kModelQR7730}));

TEST(LinkFamily1, FrequencyAndMemoryInTheirOwnLayouts)
{
    qxsim::Options o;
    o.identity = 18;
    Linked l(o);
    ASSERT_TRUE(l.connected());
    ASSERT_EQ(l.link.ConnFA("W", "00007055000"), 1);
    ASSERT_EQ(l.link.ConnFA("R", ""), 1);
    char f[corvan::kFrequencyTextSize] = {};
    EXPECT_TRUE(until([&] { return l.link.RcvDataFA(f) == 1; }));
    EXPECT_STREQ(f, "00007055000");
    ASSERT_EQ(l.link.ConnMW(0, 0, 7, "00007100000", 1, 0, 1, 8, 0, 0, 0, 0, 0, 0, 0, ""), 1);
    ASSERT_EQ(l.link.ConnMR(0, 0, 7), 1);
    U bank, ch, mode, lock, tone, tn, n22, n24, d27, d28, n29, n38, d40;
    char name[corvan::kNameTextSize] = {};
    EXPECT_TRUE(until([&] {
        return l.link.RcvDataMR(0, &bank, &ch, f, &mode, &lock, &tone, &tn, &n22, &n24, &d27, &d28, &n29,
                                &n38, &d40, name) == 1;
    }));
    EXPECT_EQ(ch, 7u);
    EXPECT_STREQ(f, "00007100000");
    EXPECT_EQ(tn, 8u);
    ASSERT_EQ(l.link.ConnIF(), 1);
    char g[corvan::kFrequencyTextSize] = {};
    U n[14];
    EXPECT_TRUE(until([&] {
        return l.link.RcvDataIF(g, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9],
                                &n[10], &n[11], &n[12], &n[13]) == 1;
    }));
    EXPECT_STREQ(g, "00007055000");
    for (const auto& s : l.radio.sent())
        EXPECT_NE(s, "?");
}

// Every family keys the transmitter with the bare TX and returns with RX, and
// takes the top of its IF shift range (four digits from 1000 on).
struct FamilyCase {
    int identity;
    const char* sign;
    U shift;
    long long stored;
};

class LinkFamilies : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(LinkFamilies, TransmitAndTheWholeIfShiftRange)
{
    const FamilyCase& c = GetParam();
    qxsim::Options o;
    o.identity = c.identity;
    Linked l(o);
    ASSERT_TRUE(l.connected());
    ASSERT_EQ(l.link.ConnTX(), 1);
    EXPECT_TRUE(until([&] { return l.radio.state().transmitting == 1; }));
    ASSERT_EQ(l.link.ConnRX(), 1);
    EXPECT_TRUE(until([&] { return l.radio.state().transmitting == 0; }));
    ASSERT_EQ(l.link.ConnIS("W", c.sign, c.shift), 1);
    EXPECT_TRUE(until([&] { return l.radio.value("IS") == c.stored; }));
    ASSERT_EQ(l.link.ConnIS("W", c.sign, 1000), 1);
    EXPECT_TRUE(until([&] { return l.radio.value("IS") == (c.stored < 0 ? -1000 : 1000); }));
    for (const auto& s : l.radio.sent())
        EXPECT_NE(s, "?") << "the radio refused something the link sent";
}

INSTANTIATE_TEST_SUITE_P(Link, LinkFamilies,
                         ::testing::Values(FamilyCase{15, "+", 6000, 6000}, FamilyCase{18, "-", 1100, -1100},
                                           FamilyCase{19, " ", 9999, 9999}),
                         [](const ::testing::TestParamInfo<FamilyCase>& i) {
                             return "Identity" + std::to_string(i.param.identity);
                         });

// ------------------------------------------------------------ auto-information

TEST(LinkAutoInformation, PanelChangesArriveAsNotifications)
{
    Linked l;
    ASSERT_TRUE(l.connected());
    ASSERT_EQ(l.link.ConnAI("W", 2), 1);
    ASSERT_TRUE(until([&] { return l.radio.state().ai == 2; }));
    l.notes.clear();
    l.radio.setFrequency(qxsim::Vfo::A, 7'074'000);
    const U fa = corvan::MessageOf("FA");
    ASSERT_NE(fa, 0u);
    EXPECT_TRUE(l.notes.waitFor(fa, 2s));
    char f[corvan::kFrequencyTextSize] = {};
    EXPECT_TRUE(until([&] { return l.link.RcvDataFA(f) == 1 && std::string(f) == "00007074000"; }));
    l.radio.pressKey(qxsim::Key::Nb);
    EXPECT_TRUE(l.notes.waitFor(corvan::MessageOf("NB"), 2s));
    U nb = 0;
    EXPECT_TRUE(until([&] { return l.link.RcvDataNB(&nb) == 1 && nb == 1; }));
    // AI 0: the radio keeps quiet.
    ASSERT_EQ(l.link.ConnAI("W", 0), 1);
    ASSERT_TRUE(until([&] { return l.radio.state().ai == 0; }));
    const auto before = l.notes.count(corvan::MessageOf("PR"));
    l.radio.pressKey(qxsim::Key::Proc);
    ASSERT_EQ(l.link.ConnMD("R", 0), 1);
    EXPECT_TRUE(l.notes.waitFor(corvan::MessageOf("MD"), 2s));
    EXPECT_EQ(l.notes.count(corvan::MessageOf("PR")), before);
}

TEST(LinkPower, OffAtTheRadioAnswersOnlyPs)
{
    Linked l;
    ASSERT_TRUE(l.connected());
    l.radio.setPower(false);
    ASSERT_EQ(l.link.ConnPS("R", 0), 1);
    U v = 9;
    EXPECT_TRUE(until([&] { return l.link.RcvDataPS(&v) == 1; }));
    EXPECT_EQ(v, 0u);
    ASSERT_EQ(l.link.ConnPS("W", 1), 1);
    EXPECT_TRUE(until([&] { return l.radio.state().power == 1; }));
}

// ------------------------------------------------------------ terminal mode

TEST(LinkTerminal, DirectTextRoundTrip)
{
    Linked l;
    ASSERT_TRUE(l.connected());
    ASSERT_EQ(l.link.ConnAI("W", 2), 1);
    ASSERT_TRUE(until([&] { return l.radio.state().ai == 2; }));
    ASSERT_EQ(l.link.ConnTC("W", 0, 0), 1);
    ASSERT_TRUE(until([&] { return l.radio.state().terminal == 0; }));
    // The radio's TC report puts the link into direct mode.
    ASSERT_TRUE(until([] { return CCorvan::IsDirectMode(); }));
    EXPECT_EQ(l.link.ConnMD("R", 0), 0) << "no commands while the terminal owns the line";
    ASSERT_EQ(l.link.ConnDirect("hello\r"), 1);
    std::string text;
    EXPECT_TRUE(until([&] {
        char buf[corvan::kDirectTextSize] = {};
        l.link.RcvDataDirect(buf);
        text += buf;
        return text.find("hello\r") != std::string::npos;
    }));
    ASSERT_EQ(l.link.ConnTC("W", 0, 1), 1);
    EXPECT_TRUE(until([&] { return l.radio.state().terminal == 1; }));
    EXPECT_FALSE(CCorvan::IsDirectMode());
    ASSERT_EQ(l.link.ConnTC("R", 0, 0), 1);
    U a, b = 9;
    EXPECT_TRUE(until([&] { return l.link.RcvDataTC(&a, &b) == 1 && b == 1; }));
}

// ------------------------------------------------------------ scans

TEST(LinkScan, SpeedIsReadBackWhileScanning)
{
    qxsim::Options o;
    o.scanStep = 20ms;
    Linked l(o);
    ASSERT_TRUE(l.connected());
    ASSERT_EQ(l.link.ConnSC("W", 2), 1);
    ASSERT_EQ(l.link.ConnSC("R", 0), 1);
    U sc = 0;
    ASSERT_TRUE(until([&] { return l.link.RcvDataSC(&sc) == 1 && sc == 2; }));
    ASSERT_EQ(l.link.ConnRD("W", 2), 1);
    U speed = 0;
    EXPECT_TRUE(until([&] { return l.link.RcvDataRD(&speed) == 1 && speed == 3; }));
    ASSERT_EQ(l.link.ConnRU("W", 4), 1);
    EXPECT_TRUE(until([&] { return l.link.RcvDataRU(&speed) == 1 && speed == 7; }));
    EXPECT_TRUE(until([&] { return l.radio.state().vfoA != 14'195'000; }));
    ASSERT_EQ(l.link.ConnSC("W", 0), 1);
    EXPECT_TRUE(until([&] { return l.radio.state().scan == 0; }));
}

// ------------------------------------------------------------ faults

struct FaultCase {
    const char* name;
    qxsim::Faults faults;
};

std::ostream& operator<<(std::ostream& os, const FaultCase& f)
{
    return os << f.name;
}

qxsim::Faults split()
{
    qxsim::Faults f;
    f.splitAt = 5;
    f.splitPause = 30ms;
    return f;
}

qxsim::Faults late()
{
    qxsim::Faults f;
    f.delay = 80ms;
    return f;
}

qxsim::Faults noisy()
{
    qxsim::Faults f;
    f.noise = 0.02;
    f.drop = 0.01;
    f.duplicate = 0.01;
    return f;
}

class LinkFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(LinkFaults, AreSurvived)
{
    Linked l;
    ASSERT_TRUE(l.connected());
    l.radio.setFaults(GetParam().faults);
    // Under faults some answers are lost or damaged, but whatever the
    // accessor gives is a real frequency of the radio, never a mix.
    int good = 0;
    char f[corvan::kFrequencyTextSize] = {};
    for (int i = 0; i < 20; ++i) {
        char want[16];
        std::snprintf(want, sizeof want, "%011d", 7'000'000 + i * 1000);
        l.radio.setFrequency(qxsim::Vfo::A, 7'000'000 + i * 1000);
        ASSERT_EQ(l.link.ConnFA("R", ""), 1);
        if (until([&] { return l.link.RcvDataFA(f) == 1; }, 800ms)) {
            EXPECT_STREQ(f, want);
            ++good;
        }
    }
    EXPECT_GE(good, 10) << GetParam().name;
    // With the faults gone the line works again at once.
    l.radio.setFaults({});
    ASSERT_EQ(l.link.ConnMD("R", 0), 1);
    U md = 0;
    EXPECT_TRUE(until([&] { return l.link.RcvDataMD(&md) == 1 && md == 2; }));
}

INSTANTIATE_TEST_SUITE_P(Link, LinkFaults,
    ::testing::Values(FaultCase{"split", split()}, FaultCase{"late", late()}, FaultCase{"noisy", noisy()}),
    [](const ::testing::TestParamInfo<FaultCase>& i) { return std::string(i.param.name); });

TEST(LinkHangUp, RadioVanishesAndComesBack)
{
    Linked l;
    ASSERT_TRUE(l.connected());
    l.radio.hangUp();
    // The link keeps its port; writes may fail but nothing hangs or crashes,
    // and its read thread does not spin on the vanished device.
    (void)l.link.ConnFA("R", "");
    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    std::this_thread::sleep_for(400ms);
    ::getrusage(RUSAGE_SELF, &after);
    const auto cpu = [](const rusage& r) {
        return std::chrono::seconds(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
               std::chrono::microseconds(r.ru_utime.tv_usec + r.ru_stime.tv_usec);
    };
    EXPECT_LT(cpu(after) - cpu(before), 200ms) << "the read thread spins on a vanished device";
    l.link.Close();
    EXPECT_FALSE(CCorvan::IsOpen());
    // The radio comes back on a new device and the link connects to it again.
    ASSERT_TRUE(l.radio.start());
    ASSERT_EQ(l.link.Conn("QR-7730", l.radio.devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
    ASSERT_EQ(l.link.ConnFA("R", ""), 1);
    char f[corvan::kFrequencyTextSize] = {};
    EXPECT_TRUE(until([&] { return l.link.RcvDataFA(f) == 1; }));
    EXPECT_STREQ(f, "00014195000");
}

}  // namespace
