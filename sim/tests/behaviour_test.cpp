// SPDX-License-Identifier: GPL-3.0-or-later
// The radio as a whole: framing across reads, auto-information, the front
// panel, power, terminal mode, reset, line rate, faults, scans, meters and
// the record of what it received.
#include "wire.h"

#include <qxsim.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using qxsim_test::Started;
using qxsim_test::Wire;

namespace {

// Memory fields after the frequency: mode, lock-out, tone type, tone number,
// CTCSS, DCS, reverse, shift, offset, step (the group and name follow).
const std::string kFields = "4" "0" "0" "00" "00" "000" "0" "0" "000000000" "00";
const std::string kLockedOut = "4" "1" "0" "00" "00" "000" "0" "0" "000000000" "00";

TEST(Framing, CommandSplitAcrossWrites)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.wire->send("F");
    ASSERT_TRUE(s.radio.waitForBytesIn(1, 2s));
    s.wire->send("A");
    s.wire->send(";");
    EXPECT_EQ(s.wire->read(1), "FA00014195000;");
}

TEST(Framing, OverlongGarbageResynchronisesOnNextSeparator)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.wire->send(std::string(600, 'x') + ";ID;");
    EXPECT_EQ(s.wire->read(2), "?;ID019;");
}

TEST(Record, CommandsAreRecordedInOrderWithTimes)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.wire->send("\rFA;MD1;NB1;");
    ASSERT_TRUE(s.radio.waitFor("NB", 2s));
    const auto got = s.radio.received();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].text, "FA");
    EXPECT_EQ(got[1].text, "MD1");
    EXPECT_EQ(got[2].text, "NB1");
    EXPECT_LE(got[0].at, got[2].at);
    EXPECT_EQ(s.radio.countOf("MD"), 1u);
    EXPECT_EQ(s.radio.countOf("N"), 1u);
    EXPECT_EQ(s.radio.value("NB"), 1);
    EXPECT_EQ(s.radio.state().modeA, 1);
    s.radio.clearReceived();
    EXPECT_TRUE(s.radio.received().empty());
    EXPECT_FALSE(s.radio.waitFor("FA", 0ms));
}

TEST(AutoInformation, DialTurnsAreReportedWithAi2)
{
    Started s;
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.wire->ask("AI2;"), "AI2;");
    s.radio.turnDial(3);
    EXPECT_EQ(s.wire->read(2), "FA00014195030;IF00014195030" "0001+00000" "00 00" "0200" "00080;");
    s.radio.setDialStep(1000);
    s.radio.turnDial(-2);
    EXPECT_EQ(s.wire->read(1), "FA00014193030;");
}

TEST(AutoInformation, SilentWithAi0)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.radio.turnDial(5);
    s.radio.pressKey(qxsim::Key::Nb);
    s.radio.setFrequency(qxsim::Vfo::B, 3'600'000);
    // The first thing said is the answer to the next query.
    EXPECT_EQ(s.wire->ask("FA;"), "FA00014195050;");
    EXPECT_EQ(s.radio.state().vfoB, 3'600'000);
    EXPECT_EQ(s.radio.value("NB"), 1);
}

struct KeyCase {
    qxsim::Key key;
    std::string reports;  // the first reports, in order
};

class PanelKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(PanelKeys, AreReportedLikeTheRadio)
{
    Started s;
    ASSERT_TRUE(s.ok);
    ASSERT_EQ(s.wire->ask("AI2;"), "AI2;");
    s.radio.pressKey(GetParam().key);
    const auto& want = GetParam().reports;
    EXPECT_EQ(s.wire->read(static_cast<int>(std::count(want.begin(), want.end(), ';'))), want);
}

INSTANTIATE_TEST_SUITE_P(Sim, PanelKeys,
    ::testing::Values(KeyCase{qxsim::Key::VfoAB, "FR1;FT1;"}, KeyCase{qxsim::Key::Split, "FT1;"},
                      KeyCase{qxsim::Key::Rit, "RT1;"}, KeyCase{qxsim::Key::Xit, "XT1;"},
                      KeyCase{qxsim::Key::MemoryVfo, "FR2;FT2;MC000;"},
                      KeyCase{qxsim::Key::Call, "FR3;FT3;"}, KeyCase{qxsim::Key::ModeUp, "MD3;"},
                      KeyCase{qxsim::Key::Lock, "LK10;"}, KeyCase{qxsim::Key::Sub, "SB1;"},
                      KeyCase{qxsim::Key::Att, "RA0100;"}, KeyCase{qxsim::Key::Pre, "PA10;"},
                      KeyCase{qxsim::Key::Nb, "NB1;"}, KeyCase{qxsim::Key::Proc, "PR1;"},
                      KeyCase{qxsim::Key::Vox, "VX1;"}, KeyCase{qxsim::Key::ControlBand, "DC01;"}));

TEST(AutoInformation, BusyFollowsTheSignal)
{
    Started s;
    ASSERT_TRUE(s.ok);
    std::int64_t strong = 0;
    for (auto hz : s.radio.stations())
        if (hz > 14'000'000 && hz < 14'350'000 && s.radio.sMeterAt(hz) >= 15) {
            strong = hz;
            break;
        }
    ASSERT_NE(strong, 0);
    s.wire->send("FA00100000000;AI2;");  // a quiet frequency first
    ASSERT_EQ(s.wire->read(1), "AI2;");
    s.radio.clearSent();
    s.radio.setFrequency(qxsim::Vfo::A, strong);
    EXPECT_TRUE(s.radio.waitForSent("BY10", 2s));
    s.radio.setFrequency(qxsim::Vfo::A, 100'000'000);
    EXPECT_TRUE(s.radio.waitForSent("BY00", 2s));
}

TEST(Panel, LockedDialDoesNotTune)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.radio.pressKey(qxsim::Key::Lock);
    s.radio.turnDial(10);
    EXPECT_EQ(s.radio.state().vfoA, 14'195'000);
}

TEST(Panel, MenuChangeIsReported)
{
    Started s;
    ASSERT_TRUE(s.ok);
    ASSERT_EQ(s.wire->ask("AI2;"), "AI2;");
    s.radio.setMenu(61, 1, 0, 0, "2");
    EXPECT_EQ(s.wire->read(1), "EX06101002;");
    EXPECT_EQ(s.radio.menuValue(61, 1), "2");
}

TEST(Power, SwitchedOffAtTheRadio)
{
    Started s;
    ASSERT_TRUE(s.ok);
    ASSERT_EQ(s.wire->ask("AI2;"), "AI2;");
    s.radio.setPower(false);
    EXPECT_EQ(s.wire->read(1), "PS0;");
    s.wire->send("FA;IF;AI;MD1;");
    EXPECT_EQ(s.wire->ask("PS;"), "PS0;");
    EXPECT_EQ(s.radio.state().modeA, 2);
    s.radio.setPower(true);
    EXPECT_EQ(s.wire->read(1), "PS1;");
    EXPECT_EQ(s.wire->ask("FA;"), "FA00014195000;");
}

TEST(Power, OffEndsTransmitAndScan)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.radio.transmit(true);
    s.radio.startScan(1);
    s.radio.setPower(false);
    const auto st = s.radio.state();
    EXPECT_EQ(st.power, 0);
    EXPECT_EQ(st.transmitting, 0);
    EXPECT_EQ(st.scan, 0);
}

TEST(Terminal, EchoesRawUntilTc1)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.wire->send("\rTC 0;");
    ASSERT_TRUE(s.radio.waitFor("TC 0", 2s));
    EXPECT_EQ(s.radio.state().terminal, 0);
    s.wire->send("cq de qx9\r");
    EXPECT_EQ(s.wire->readBytes(10), "cq de qx9\r");
    s.wire->send("\x03;\rTC 1;\r");
    EXPECT_EQ(s.wire->readBytes(8), "\x03;\rTC 1;");
    EXPECT_EQ(s.wire->ask("TC;"), "TC01;");
    EXPECT_EQ(s.radio.state().menu.at("0550000"), "0");
}

TEST(Terminal, MenuFiftyFiveSwitchesItToo)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.wire->send("EX05500001;");
    ASSERT_TRUE(s.radio.waitFor("EX055", 2s));
    EXPECT_EQ(s.radio.state().terminal, 0);
    s.wire->send("FA;");
    EXPECT_EQ(s.wire->readBytes(3), "FA;");  // echoed, not answered
}

TEST(Reset, FullResetRestoresDefaultsAndNineHundredBaud)
{
    qxsim::Options o;
    o.baud = 4800;
    Started s(o);
    ASSERT_TRUE(s.ok);
    s.wire->setSpeed(B4800);
    EXPECT_EQ(s.wire->ask("FA00007000000;AI2;MW0001" "00145500000" + kFields + "0X;AI;"), "AI2;");
    EXPECT_EQ(s.wire->read(1), "AI2;");
    s.wire->send("SR2;");
    ASSERT_TRUE(s.radio.waitFor("SR2", 2s));
    const auto st = s.radio.state();
    EXPECT_EQ(st.vfoA, 14'195'000);
    EXPECT_EQ(st.ai, 0);
    EXPECT_EQ(st.baud, 9600u);
    EXPECT_EQ(st.memory[1].half[0].frequency, 0);
    // At 4800 the radio now hears garbage and says nothing.
    const auto before = s.radio.bytesIn();
    s.wire->send("ID;");
    ASSERT_TRUE(s.radio.waitForBytesIn(before + 3, 2s));
    EXPECT_EQ(s.radio.countOf("ID"), 0u);
    s.wire->setSpeed(B9600);
    EXPECT_EQ(s.wire->ask("ID;"), "ID019;");
}

TEST(Reset, VfoResetKeepsMemories)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.wire->send("FA00007000000;MW0001" "00145500000" + kFields + "0X;NB1;SR1;");
    ASSERT_TRUE(s.radio.waitFor("SR1", 2s));
    const auto st = s.radio.state();
    EXPECT_EQ(st.vfoA, 14'195'000);
    EXPECT_EQ(st.memory[1].half[0].frequency, 145'500'000);
    EXPECT_EQ(st.memory[1].half[0].name, "X");
    EXPECT_EQ(s.radio.value("NB"), 1);
}

TEST(LineRate, WrongRateIsNotHeard)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.wire->setSpeed(B19200);
    s.wire->send("ID;");
    ASSERT_TRUE(s.radio.waitForBytesIn(3, 2s));
    EXPECT_TRUE(s.radio.received().empty());
    qxsim::Options o;
    o.checkLineRate = false;
    Started any(o);
    ASSERT_TRUE(any.ok);
    any.wire->setSpeed(B19200);
    EXPECT_EQ(any.wire->ask("ID;"), "ID019;");
}

TEST(Faults, EveryByteDoubled)
{
    Started s;
    ASSERT_TRUE(s.ok);
    qxsim::Faults f;
    f.duplicate = 1.0;
    s.radio.setFaults(f);
    s.wire->send("MD;");
    EXPECT_EQ(s.wire->readBytes(8), "MMDD22;;");
    EXPECT_EQ(s.radio.sent().back(), "MD2");  // the record keeps the clean reply
}

TEST(Faults, NoiseBeforeEveryByte)
{
    Started s;
    ASSERT_TRUE(s.ok);
    qxsim::Faults f;
    f.noise = 1.0;
    s.radio.setFaults(f);
    s.wire->send("MD;");
    const auto got = s.wire->readBytes(8);
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(std::string({got[1], got[3], got[5], got[7]}), "MD2;");
}

TEST(Faults, DroppedRepliesAndSilence)
{
    Started s;
    ASSERT_TRUE(s.ok);
    qxsim::Faults f;
    f.drop = 1.0;
    s.radio.setFaults(f);
    s.wire->send("FA;");
    ASSERT_TRUE(s.radio.waitForSent("FA", 2s));
    f = {};
    f.silent = true;
    s.radio.setFaults(f);
    s.wire->send("FB;");
    ASSERT_TRUE(s.radio.waitFor("FB", 2s));
    s.radio.setFaults({});
    // Nothing of the two arrived: the first bytes are the answer to MD.
    EXPECT_EQ(s.wire->ask("MD;"), "MD2;");
    EXPECT_EQ(s.radio.countOf("FB"), 1u);
}

TEST(Faults, ReceivedBytesLost)
{
    Started s;
    ASSERT_TRUE(s.ok);
    qxsim::Faults f;
    f.dropReceived = 1.0;
    s.radio.setFaults(f);
    s.wire->send("ID;");
    ASSERT_TRUE(s.radio.waitForBytesIn(3, 2s));
    s.radio.setFaults({});
    EXPECT_EQ(s.wire->ask("ID;"), "ID019;");
    EXPECT_EQ(s.radio.countOf("ID"), 1u);
}

TEST(Faults, SplitRepliesGoOutInTwoWrites)
{
    char path[] = "/tmp/qxsim-trace-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    {
        qxsim::Options o;
        o.tracePath = path;
        o.faults.splitAt = 4;
        o.faults.splitPause = 20ms;
        o.faults.delay = 10ms;
        Started s(o);
        ASSERT_TRUE(s.ok);
        EXPECT_EQ(s.wire->ask("FA;"), "FA00014195000;");
    }
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    ::unlink(path);
    EXPECT_NE(text.str().find("< FA;\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("> FA00\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("> 014195000;\n"), std::string::npos) << text.str();
}

TEST(Faults, InjectedBytesArriveAsTheyAre)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.radio.inject(std::string("\x01\xff;", 3));
    EXPECT_EQ(s.wire->readBytes(3), std::string("\x01\xff;", 3));
}

TEST(Faults, HangUpMakesTheDeviceVanish)
{
    Started s;
    ASSERT_TRUE(s.ok);
    const auto path = s.radio.devicePath();
    s.radio.hangUp();
    EXPECT_FALSE(s.radio.running());
    EXPECT_TRUE(s.wire->hungUp());
    EXPECT_NE(::access(path.c_str(), F_OK), 0);
    // And it can come back on a new device.
    ASSERT_TRUE(s.radio.start());
    Wire again(s.radio.devicePath());
    EXPECT_EQ(again.ask("ID;"), "ID019;");
}

TEST(Faults, Profiles)
{
    qxsim::Faults f;
    for (const char* name : {"none", "noise", "lossy", "split", "slow", "silent", "rough"})
        EXPECT_TRUE(qxsim::faultProfile(name, f)) << name;
    EXPECT_TRUE(qxsim::faultProfile("silent", f));
    EXPECT_TRUE(f.silent);
    EXPECT_FALSE(qxsim::faultProfile("bogus", f));
    EXPECT_TRUE(f.silent);  // untouched on an unknown name
}

TEST(Pacing, RepliesTakeAtLeastTheirLineTime)
{
    qxsim::Options o;
    o.pace = true;
    o.baud = 4800;
    o.checkLineRate = false;
    Started s(o);
    ASSERT_TRUE(s.ok);
    const auto start = std::chrono::steady_clock::now();
    s.wire->send("IF;IF;IF;IF;");
    EXPECT_EQ(s.wire->read(4).size(), 4u * 38u);
    // 152 bytes of 10 bits at 4800 baud cannot arrive in less than 316 ms.
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
}

TEST(Scan, MemoryScanSkipsLockedOutAndEmptyChannels)
{
    qxsim::Options o;
    o.scanStep = 5ms;
    Started s(o);
    ASSERT_TRUE(s.ok);
    s.wire->send("MW0000" "00145000000" + kFields + "0A;" + "MW0001" "00145100000" + kFields + "0B;" +
                 "MW0002" "00145200000" + kLockedOut + "0C;" + "MW0004" "00145400000" + kFields + "0D;" +
                 "FR2;MC000;AI2;");
    ASSERT_EQ(s.wire->read(1), "AI2;");
    s.radio.clearSent();
    s.wire->send("SC1;");
    // Round from channel 0 back to channel 0.
    ASSERT_TRUE(s.radio.waitForSent("MC000", 5s));
    std::vector<std::string> channels;
    for (const auto& r : s.radio.sent())
        if (r.rfind("MC", 0) == 0)
            channels.push_back(r);
    ASSERT_GE(channels.size(), 3u);
    EXPECT_EQ(channels[0], "MC001");
    EXPECT_EQ(channels[1], "MC004");
    EXPECT_EQ(channels[2], "MC000");
    EXPECT_EQ(std::count(channels.begin(), channels.end(), "MC002"), 0);
}

TEST(Scan, VfoScanMovesTheFrequencyInsideTheBand)
{
    qxsim::Options o;
    o.scanStep = 5ms;
    Started s(o);
    ASSERT_TRUE(s.ok);
    s.wire->send("FA00014340000;AI2;");
    ASSERT_EQ(s.wire->read(1), "AI2;");
    s.radio.startScan(1);
    ASSERT_TRUE(s.radio.waitForSent("FA00014000000", 5s));
    s.radio.stopScan();
    bool before = false;
    for (const auto& r : s.radio.sent())
        if (r == "FA00014345000")
            before = true;
    EXPECT_TRUE(before);
    for (const auto& r : s.radio.sent()) {
        if (r.rfind("FA", 0) == 0) {
            EXPECT_LT(r, "FA00014350000");
        }
    }
}

TEST(Scan, ToneScanStepsTheToneNumber)
{
    qxsim::Options o;
    o.scanStep = 5ms;
    Started s(o);
    ASSERT_TRUE(s.ok);
    s.wire->send("TN39;AI2;SC4;");
    EXPECT_EQ(s.wire->read(2), "AI2;SC4;");
    EXPECT_EQ(s.wire->read(1).substr(0, 2), "IF");  // the scan field of IF changed
    EXPECT_EQ(s.wire->read(1), "TN01;");
}

TEST(BandModel, SameSeedSameBandOtherSeedOtherBand)
{
    qxsim::Options a, b;
    a.seed = b.seed = 42;
    qxsim::Radio r1(a), r2(b);
    EXPECT_EQ(r1.stations(), r2.stations());
    qxsim::Options c;
    c.seed = 43;
    qxsim::Radio r3(c);
    EXPECT_NE(r1.stations(), r3.stations());
}

TEST(BandModel, StationsStandAboveTheNoise)
{
    qxsim::Radio radio;
    const auto stations = radio.stations();
    ASSERT_GT(stations.size(), 100u);
    int above = 0;
    for (auto hz : stations) {
        const int at = radio.sMeterAt(hz);
        EXPECT_GE(at, 0);
        EXPECT_LE(at, 30);
        if (at > 5)
            ++above;
    }
    EXPECT_GT(above, static_cast<int>(stations.size()) * 3 / 4);
    // Far from every station only the noise floor is heard.
    EXPECT_LE(radio.sMeterAt(100'000'000), 1);
    EXPECT_LE(radio.sMeterAt(12'000'000), 3);
}

TEST(Meters, SMeterFollowsTheBandModel)
{
    Started s;
    ASSERT_TRUE(s.ok);
    const auto hz = s.radio.stations()[200];
    char cmd[32];
    std::snprintf(cmd, sizeof cmd, "FA%011lld;SM0;", static_cast<long long>(hz));
    char want[16];
    std::snprintf(want, sizeof want, "SM0%04d;", s.radio.sMeterAt(hz));
    s.wire->send(cmd);
    EXPECT_EQ(s.wire->read(1), want);
}

TEST(Meters, SubMeterReadsHalfTheScale)
{
    Started s;
    ASSERT_TRUE(s.ok);
    std::int64_t hz = 0;
    for (auto st : s.radio.stations())
        if (st > 144'000'000 && s.radio.sMeterAt(st) >= 20) {
            hz = st;
            break;
        }
    ASSERT_NE(hz, 0);
    char cmd[40];
    std::snprintf(cmd, sizeof cmd, "SB1;FC%011lld;SM1;SM3;", static_cast<long long>(hz));
    char want[48];
    const int level = (s.radio.sMeterAt(hz) + 1) / 2;
    std::snprintf(want, sizeof want, "SM1%04d;SM3%04d;", level, level);
    s.wire->send(cmd);
    EXPECT_EQ(s.wire->read(2), want);
    EXPECT_LE(level, 15);
    // With the sub receiver off its meter reads nothing.
    EXPECT_EQ(s.wire->ask("SB0;SM1;"), "SM10000;");
}

TEST(Meters, PowerMeterWhileTransmitting)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.wire->send("PC050;");
    s.radio.transmit(true);
    EXPECT_EQ(s.wire->ask("SM0;"), "SM00015;");
    s.wire->send("RM1;");
    EXPECT_EQ(s.wire->ask("RM;"), "RM10002;");  // a good match inside the band
    s.wire->send("PR1;RM2;");
    EXPECT_EQ(s.wire->ask("RM;"), "RM20010;");
    s.radio.transmit(false);
    EXPECT_EQ(s.wire->ask("RM;"), "RM20000;");
}

TEST(Keyer, BufferBusyWhileSending)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.wire->send("KS060;AI2;");
    ASSERT_EQ(s.wire->read(1), "AI2;");
    s.wire->send("KY CQ CQ CQ                ;");
    EXPECT_EQ(s.wire->ask("KY;"), "KY1;");
    EXPECT_EQ(s.radio.state().keyerText, "CQ CQ CQ                ");
    // When the text is sent (about 1.6 s at 60 wpm), the radio says the buffer is free.
    EXPECT_EQ(s.wire->read(1, 10s), "KY0;");
}

}  // namespace
