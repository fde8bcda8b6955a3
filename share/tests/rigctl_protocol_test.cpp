// SPDX-License-Identifier: GPL-3.0-or-later
// rigctl_protocol_test.cpp - the line protocol's answers for every command
// in its short, long and extended forms, on a backend with plain state.
#include "fake_radio.h"
#include "line_client.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using share_test::FakeRadio;

struct Row {
    const char* line;
    const char* answer;
    const char* call; // the backend call the line makes ("" for none)
};

std::string Answer(FakeRadio& radio, const std::string& line, bool& keyed) {
    bool quit = false;
    return zshare::RigctlServer::Execute(radio, line, quit, keyed).toStdString();
}

class Commands : public ::testing::TestWithParam<Row> {};

TEST_P(Commands, AnswerAndBackendCall) {
    FakeRadio radio;
    bool keyed = false;
    const Row& row = GetParam();
    EXPECT_EQ(Answer(radio, row.line, keyed), row.answer);
    const std::string calls = radio.calls.empty() ? "" : radio.calls.back();
    EXPECT_EQ(calls, row.call);
}

// clang-format off
const Row kRows[] = {
    // frequency
    {"f", "14074000\n", ""},
    {"\\get_freq", "14074000\n", ""},
    {"+f", "get_freq:\nFrequency: 14074000\nRPRT 0\n", ""},
    {"+\\get_freq", "get_freq:\nFrequency: 14074000\nRPRT 0\n", ""},
    {"F 7074000", "RPRT 0\n", "SetFrequency A 7074000"},
    {"F 7074000.000000", "RPRT 0\n", "SetFrequency A 7074000"},
    {"\\set_freq 21074000", "RPRT 0\n", "SetFrequency A 21074000"},
    {"+F 7074000", "set_freq: 7074000\nRPRT 0\n", "SetFrequency A 7074000"},
    {"F 100000000", "RPRT -1\n", ""},          // outside every receive range
    {"F -5", "RPRT -1\n", ""},
    {"F abc", "RPRT -1\n", ""},
    // Each command of a line is read as the daemon reads it: no protocol
    // text passes (";F" is an extended F with the argument "A00000000000").
    {"F 7074000;FA00000000000;", "RPRT 0\nset_freq: A00000000000;RPRT -1\n", "SetFrequency A 7074000"},
    {"F nan", "RPRT -1\n", ""},
    {"F", "RPRT -1\n", ""},
    // mode
    {"m", "USB\n2400\n", ""},
    {"+\\get_mode", "get_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n", ""},
    {"M CW 500", "RPRT 0\n", "SetMode CW 500"},
    {"M LSB 0", "RPRT 0\n", "SetMode LSB 0"},
    {"M RTTYR -1", "RPRT 0\n", "SetMode RTTYR -1"},
    {"\\set_mode AM 6000", "RPRT 0\n", "SetMode AM 6000"},
    {"+M FM 0", "set_mode: FM 0\nRPRT 0\n", "SetMode FM 0"},
    {"M PKTUSB 0", "RPRT -1\n", ""},
    {"M usb 0", "RPRT -1\n", ""},
    {"M USB 9999999", "RPRT -1\n", ""},
    // VFO
    {"v", "VFOA\n", ""},
    {"+v", "get_vfo:\nVFO: VFOA\nRPRT 0\n", ""},
    {"V VFOB", "RPRT 0\n", "SetVfo"},
    {"\\set_vfo MEM", "RPRT 0\n", "SetVfo"},
    {"V currVFO", "RPRT 0\n", ""},
    {"V VFOC", "RPRT -1\n", ""},
    // PTT
    {"t", "0\n", ""},
    {"+\\get_ptt", "get_ptt:\nPTT: 0\nRPRT 0\n", ""},
    {"T 1", "RPRT 0\n", "SetPtt 1"},
    {"\\set_ptt 0", "RPRT 0\n", "SetPtt 0"},
    {"T 5", "RPRT -1\n", ""},
    {"T 2", "RPRT 0\n", "SetPtt 1"},  // on, microphone: the radio's TX
    // on, data input: not selectable here, and the client's log says why
    {"T 3", "RPRT -11 PTT with the data input (T 3) is not available through this radio link, key with T 1\n", ""},
    {"+\\set_ptt 3", "set_ptt: 3\nRPRT -11 PTT with the data input (T 3) is not available through this radio link, key with T 1\n", ""},
    // several commands a line, and the extended answers' separators
    {"f m", "14074000\nUSB\n2400\n", ""},
    {"fm", "14074000\nUSB\n2400\n", ""},
    {"\\get_freq \\get_mode", "14074000\nUSB\n2400\n", ""},
    {"F 7000000 f", "RPRT 0\n7000000\n", "SetFrequency A 7000000"},
    {"M CW 500 m", "RPRT 0\nCW\n500\n", "SetMode CW 500"},
    {"+f +m", "get_freq:\nFrequency: 14074000\nRPRT 0\nget_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n", ""},
    {";f", "get_freq:;Frequency: 14074000;RPRT 0\n", ""},
    {"|m", "get_mode:|Mode: USB|Passband: 2400|RPRT 0\n", ""},
    {"f,m", "14074000\nget_mode:,Mode: USB,Passband: 2400,RPRT 0\n", ""},
    {"G FOO f", "RPRT -1\n14074000\n", ""},
    {"\\no_such f", "RPRT -1\n", ""},   // its arguments are unknown: the line ends
    {"q", "RPRT 0\n", ""},
    {"f q f", "14074000\nRPRT 0\n", ""},
    // split
    {"s", "0\nVFOA\n", ""},
    {"+s", "get_split_vfo:\nSplit: 0\nTX VFO: VFOA\nRPRT 0\n", ""},
    {"S 1 VFOB", "RPRT 0\n", "SetSplit 1"},
    {"\\set_split_vfo 0 VFOA", "RPRT 0\n", "SetSplit 0"},
    {"S 2 VFOB", "RPRT -1\n", ""},
    {"i", "7050000\n", ""},
    {"+\\get_split_freq", "get_split_freq:\nTX Frequency: 7050000\nRPRT 0\n", ""},
    {"I 14080000", "RPRT 0\n", "SetFrequency B 14080000"},
    {"x", "LSB\n2400\n", ""},
    {"+x", "get_split_mode:\nTX Mode: LSB\nTX Passband: 2400\nRPRT 0\n", ""},
    {"X USB 2400", "RPRT 0\n", "SetMode USB 2400"},
    {"\\set_split_mode CW 0", "RPRT 0\n", "SetMode CW 0"},
    // RIT and XIT
    {"j", "0\n", ""},
    {"J 500", "RPRT 0\n", "SetRit 500"},
    {"\\set_rit -1200", "RPRT 0\n", "SetRit -1200"},
    {"J 100000", "RPRT -1\n", ""},
    {"+j", "get_rit:\nRIT: 0\nRPRT 0\n", ""},
    {"z", "0\n", ""},
    {"Z -300", "RPRT 0\n", "SetXit -300"},
    {"+\\get_xit", "get_xit:\nXIT: 0\nRPRT 0\n", ""},
    // levels
    {"l STRENGTH", "-12\n", ""},
    {"l AF", "0.500000\n", ""},
    {"\\get_level RFPOWER", "1.000000\n", ""},
    {"+l SQL", "get_level: SQL\n0.000000\nRPRT 0\n", ""},
    {"L AF 0.25", "RPRT 0\n", "SetLevel 2 0.250000"},
    {"L RF 1", "RPRT 0\n", "SetLevel 3 1.000000"},
    {"\\set_level SQL 0.1", "RPRT 0\n", "SetLevel 4 0.100000"},
    {"L RFPOWER 0.5", "RPRT 0\n", "SetLevel 1 0.500000"},
    {"L AF 1.5", "RPRT -1\n", ""},
    {"L STRENGTH 0", "RPRT -1\n", ""},
    {"l NOTALEVEL", "RPRT -1\n", ""},
    {"L AF", "RPRT -1\n", ""},
    {"l KEYSPD", "20\n", ""},
    {"+l KEYSPD", "get_level: KEYSPD\n20\nRPRT 0\n", ""},
    {"L KEYSPD 25", "RPRT 0\n", "SetLevel 6 25.000000"},
    {"L KEYSPD 25.5", "RPRT -1\n", ""},
    {"l PREAMP", "0\n", ""},
    {"L PREAMP 10", "RPRT 0\n", "SetLevel 7 10.000000"},
    {"L PREAMP 20", "RPRT -1\n", ""},           // not one of the radio's steps
    {"L ATT 12", "RPRT 0\n", "SetLevel 8 12.000000"},
    {"L ATT 0", "RPRT 0\n", "SetLevel 8 0.000000"},
    {"L ATT 6", "RPRT -1\n", ""},
    {"l MICGAIN", "0.500000\n", ""},
    {"L MICGAIN 0.75", "RPRT 0\n", "SetLevel 9 0.750000"},
    {"L MICGAIN 2", "RPRT -1\n", ""},
    {"+l COMP", "get_level: COMP\n0.250000\nRPRT 0\n", ""},
    {"L COMP 0.4", "RPRT 0\n", "SetLevel 10 0.400000"},
    {"l RAWSTR", "12\n", ""},
    {"L RAWSTR 3", "RPRT -1\n", ""},
    // switches
    {"u NB", "0\n", ""},
    {"+u NR", "get_func: NR\n0\nRPRT 0\n", ""},
    {"U NB 1", "RPRT 0\n", "SetFunc 0 1"},
    {"\\set_func NR 1", "RPRT 0\n", "SetFunc 1 1"},
    {"+U COMP 1", "set_func: COMP 1\nRPRT 0\n", "SetFunc 2 1"},
    {"U TONE 0", "RPRT 0\n", "SetFunc 3 0"},
    {"U TSQL 1", "RPRT 0\n", "SetFunc 4 1"},
    {"U TSQL 2", "RPRT -1\n", ""},
    {"U VOX 1", "RPRT -1\n", ""},
    {"u", "RPRT -1\n", ""},
    // VFO operations
    {"G UP", "RPRT 0\n", "DoVfoOp 0"},
    {"G DOWN", "RPRT 0\n", "DoVfoOp 1"},
    {"+G BAND_UP", "vfo_op: BAND_UP\nRPRT 0\n", "DoVfoOp 2"},
    {"\\vfo_op BAND_DOWN", "RPRT 0\n", "DoVfoOp 3"},
    {"G CPY", "RPRT 0\n", "DoVfoOp 4"},
    {"G XCHG", "RPRT 0\n", "DoVfoOp 5"},
    {"G TUNE", "RPRT -1\n", ""},
    // the keyer
    {"b cq test", "RPRT 0\n", "SendMorse CQ TEST"},
    {"+\\send_morse CQ  DE QX9", "send_morse:  CQ  DE QX9\nRPRT 0\n", "SendMorse CQ  DE QX9"},
    {"b CQ;FA00000000000;", "RPRT -1\n", ""},
    {"b", "RPRT -1\n", ""},
    // repeater
    {"r", "None\n", ""},
    {"+r", "get_rptr_shift:\nRptr Shift: None\nRPRT 0\n", ""},
    {"R +", "RPRT 0\n", "SetShift 1"},
    {"R -", "RPRT 0\n", "SetShift 2"},
    {"R x", "RPRT -1\n", ""},
    {"+o", "get_rptr_offs:\nRptr Offset: 600000\nRPRT 0\n", ""},
    {"O 5000000", "RPRT 0\n", "SetRepeaterOffset 5000000"},
    {"O 60000000", "RPRT -1\n", ""},
    {"O -1", "RPRT -1\n", ""},
    {"c", "885\n", ""},
    {"+c", "get_ctcss_tone:\nCTCSS Tone: 885\nRPRT 0\n", ""},
    {"C 719", "RPRT 0\n", "SetCtcssTone 719"},
    {"C 720", "RPRT -1\n", ""},
    {"C 17500", "RPRT 0\n", "SetCtcssTone 17500"}, // the burst: taken, though not a listed tone
    {"C 17499", "RPRT -1\n", ""},
    {"C 0", "RPRT 0\n", "SetCtcssTone 0"}, // tone off
    {"+d", "get_dcs_code:\nDCS Code: 23\nRPRT 0\n", ""},
    {"D 754", "RPRT 0\n", "SetDcsCode 754"},
    {"D 24", "RPRT -1\n", ""},
    {"D 0", "RPRT 0\n", "SetDcsCode 0"},   // code off
    // memory channel
    {"e", "0\n", ""},
    {"+e", "get_mem:\nMemory#: 0\nRPRT 0\n", ""},
    {"E 105", "RPRT 0\n", "SetMemory 105"},
    {"E 300", "RPRT -1\n", ""},
    // one VFO at a time
    {"\\get_vfo_info VFOB", "7050000\nLSB\n2400\n0\n0\n", ""},
    {"+\\get_vfo_info VFOA", "get_vfo_info: VFOA\nFreq: 14074000\nMode: USB\nWidth: 2400\nSplit: 0\nSatMode: 0\nRPRT 0\n", ""},
    {"\\get_vfo_info", "RPRT -1\n", ""},
    // the mode lock: a get answers its value and its report
    {"\\get_lock_mode", "0\nRPRT 0\n", ""},
    {"+\\get_lock_mode", "get_lock_mode:\nLocked: 0\nRPRT 0\n", ""},
    // power, checks, unknown
    {"\\get_powerstat", "1\n", ""},
    {"+\\get_powerstat", "get_powerstat:\nPower Status: 1\nRPRT 0\n", ""},
    {"\\set_powerstat 0", "RPRT 0\n", "SetPowerOn 0"},
    {"\\set_powerstat 7", "RPRT -1\n", ""},
    {"\\chk_vfo", "0\n", ""},
    {"+\\chk_vfo", "ChkVFO: 0\n", ""},
    {"\\set_vfo_opt 0", "RPRT 0\n", ""},
    {"\\set_vfo_opt 1", "RPRT -1\n", ""},
    {"w FA;", "RPRT -1\n", ""},
    {"\\send_cmd FA00000000000;", "RPRT -1\n", ""},
    {"\\get_nothing", "RPRT -1\n", ""},
    // commands the daemon has and this radio cannot serve: not available,
    // with the command's name in the extended answer
    {"\\get_rig_info", "RPRT -11\n", ""},
    {"+\\get_rig_info", "get_rig_info:\nRPRT -11\n", ""},
    {"+\\get_clock", "get_clock:\nRPRT -11\n", ""},
    {"\\set_clock 2026-12-09T20:00:00.000+00:00", "RPRT -11\n", ""},
    {"\x01\x02\xff", "RPRT -1\n", ""},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(LineProtocol, Commands, ::testing::ValuesIn(kRows));

TEST(LineProtocol, FailedGetAnswersOnlyItsReport) {
    FakeRadio radio;
    radio.ready = false;
    bool keyed = false;
    EXPECT_EQ(Answer(radio, "f", keyed), "RPRT -11\n");
    EXPECT_EQ(Answer(radio, "+f", keyed), "get_freq:\nRPRT -11\n");
    EXPECT_EQ(Answer(radio, "F 7074000", keyed), "RPRT -11\n");
}

TEST(LineProtocol, PttKeepsTrackOfTheClientsTransmitter) {
    FakeRadio radio;
    bool keyed = false;
    Answer(radio, "T 1", keyed);
    EXPECT_TRUE(keyed);
    Answer(radio, "t", keyed);
    EXPECT_TRUE(keyed);
    Answer(radio, "\\set_ptt 0", keyed);
    EXPECT_FALSE(keyed);
}

TEST(LineProtocol, SplitFrequencyAndModeFollowTheTransmitVfo) {
    FakeRadio radio;
    bool keyed = false;
    radio.rx = radio.tx = zshare::Vfo::B;
    EXPECT_EQ(Answer(radio, "i", keyed), "14074000\n"); // split off: the other VFO
    EXPECT_EQ(Answer(radio, "S 1 currVFO", keyed), "RPRT 0\n");
    EXPECT_EQ(radio.tx, zshare::Vfo::A);
    EXPECT_EQ(Answer(radio, "s", keyed), "1\nVFOA\n");
    radio.rx = radio.tx = zshare::Vfo::Memory;
    EXPECT_EQ(Answer(radio, "I 14080000", keyed), "RPRT -11\n");
}

// The capability dump is read line by line: every section must end with
// its terminator line and the masks must be hexadecimal.
TEST(LineProtocol, DumpStateLayout) {
    FakeRadio radio;
    bool keyed = false;
    const std::vector<std::string> lines = share_test::Lines(Answer(radio, "\\dump_state", keyed));
    ASSERT_GE(lines.size(), 20u);
    const char* const head[] = {
        "1",
        "2",
        "1",
        "30000.000000 60000000.000000 0x1bf -1 -1 0x3 0x3",
        "0 0 0 0 0 0 0",
        "14000000.000000 14350000.000000 0x1bf 5000 100000 0x3 0x3",
        "0 0 0 0 0 0 0",
        "0x1bf 10",
        "0x1bf 100",
        "0 0",
        "0xc 2400",
        "0x82 500",
        "0 0",
        "99999", // RIT
        "99999", // XIT
        "0",     // IF shift
        "0",     // announces
        "10",    // preamps, dB
        "12",    // attenuators, dB
    };
    for (std::size_t i = 0; i < std::size(head); ++i)
        EXPECT_EQ(lines[i], head[i]) << "line " << i;
    // Functions (get, set), levels (get, set), parameters: the protocol's bits
    // of exactly what the backend implements.
    const std::vector<std::string> masks(lines.begin() + 19, lines.begin() + 25);
    EXPECT_EQ(masks, (std::vector<std::string>{"0x236", "0x236", "0x4401703b", "0x1703b", "0x0", "0x0"}));
    // The key=value section, then "done".
    const std::vector<std::string> keys(lines.begin() + 25, lines.end());
    ASSERT_EQ(keys.size(), 18u);
    EXPECT_EQ(keys[0], "vfo_ops=0x1e3");
    EXPECT_EQ(keys[1], "ptt_type=0x1");
    EXPECT_EQ(keys[2], "targetable_vfo=0x0");
    const char* order[] = {"vfo_ops", "ptt_type", "targetable_vfo", "has_set_vfo", "has_get_vfo", "has_set_freq",
                           "has_get_freq", "has_set_conf", "has_get_conf", "has_power2mW", "has_mW2power",
                           "timeout", "rig_model", "rigctld_version", "agc_levels", "ctcss_list", "dcs_list"};
    for (std::size_t i = 0; i < std::size(order); ++i)
        EXPECT_EQ(keys[i].rfind(std::string(order[i]) + "=", 0), 0u) << keys[i];
    EXPECT_EQ(keys[12], "rig_model=2");
    EXPECT_EQ(keys[15], "ctcss_list= 67.0 71.9 88.5");
    EXPECT_EQ(keys[16], "dcs_list= 23 25 754");
    EXPECT_EQ(keys[17], "done");
    EXPECT_EQ(Answer(radio, "+\\dump_state", keyed).rfind("dump_state:\n1\n2\n", 0), 0u);
}

// A backend without the optional commands says so, and its dump lists none.
TEST(LineProtocol, WhatTheRadioLacksIsNotImplemented) {
    FakeRadio radio;
    radio.description.funcs.clear();
    radio.description.vfoOps.clear();
    radio.description.getLevels = {zshare::Level::Af};
    radio.description.setLevels = {zshare::Level::Af};
    radio.description.ctcssTones.clear();
    radio.description.keyerLimit = 0;
    bool keyed = false;
    for (const char* line : {"u NB", "U NB 1", "G UP", "l KEYSPD", "L KEYSPD 20", "C 885", "b CQ"})
        EXPECT_EQ(Answer(radio, line, keyed), "RPRT -4\n") << line;
    EXPECT_TRUE(radio.calls.empty());
    const std::string dump = Answer(radio, "\\dump_state", keyed);
    EXPECT_NE(dump.find("\n0x0\n0x0\n0x8\n0x8\n0x0\n0x0\nvfo_ops=0x0\n"), std::string::npos) << dump;
}

// One client's mode lock refuses the others' mode changes (rig-control and
// XML-RPC alike) until it is released or its client goes; every client
// reads it.
TEST(LineProtocol, ModeLockBelongsToTheClientThatSetIt) {
    FakeRadio radio;
    zshare::RequestQueue queue(radio);
    bool keyedA = false, keyedB = false, quit = false;
    int a = 0, b = 0;
    zshare::ClientSession first{keyedA, &a, &queue}, second{keyedB, &b, &queue};
    auto ask = [&](zshare::ClientSession& who, const std::string& line) {
        return zshare::RigctlServer::Execute(radio, line, quit, who).toStdString();
    };
    EXPECT_EQ(ask(first, "\\get_lock_mode"), "0\nRPRT 0\n");
    EXPECT_EQ(ask(first, "\\set_lock_mode 1"), "RPRT 0\n");
    EXPECT_EQ(ask(second, "\\get_lock_mode"), "1\nRPRT 0\n");
    radio.calls.clear();
    EXPECT_EQ(ask(second, "M CW 0"), "RPRT -9\n");
    EXPECT_EQ(ask(second, "X CW 0"), "RPRT -9\n");
    EXPECT_EQ(ask(second, "G CPY"), "RPRT -9\n");
    EXPECT_EQ(ask(second, "G XCHG"), "RPRT -9\n");
    EXPECT_EQ(ask(second, "\\set_lock_mode 0"), "RPRT -9\n");
    const std::string xml = zshare::FlrigServer::Execute(
        radio, "<?xml version=\"1.0\"?><methodCall><methodName>rig.set_mode</methodName><params><param>"
               "<value>CW</value></param></params></methodCall>", second).toStdString();
    EXPECT_NE(xml.find("faultCode"), std::string::npos) << xml;
    EXPECT_TRUE(radio.calls.empty());
    EXPECT_EQ(ask(first, "M CW 0"), "RPRT 0\n");
    EXPECT_EQ(ask(first, "\\set_lock_mode 0"), "RPRT 0\n");
    EXPECT_EQ(ask(second, "M LSB 0"), "RPRT 0\n");
    EXPECT_EQ(radio.modeA, zshare::Mode::Lsb);
    EXPECT_EQ(ask(first, "\\set_lock_mode 2"), "RPRT -1\n");
}

TEST(ModeNames, RoundTripAndMaskBits) {
    using zshare::Mode;
    const std::pair<Mode, std::uint32_t> bits[] = {{Mode::Am, 0x1},   {Mode::Cw, 0x2},    {Mode::Usb, 0x4},
                                                   {Mode::Lsb, 0x8},  {Mode::Rtty, 0x10}, {Mode::Fm, 0x20},
                                                   {Mode::Cwr, 0x80}, {Mode::Rttyr, 0x100}};
    for (const auto& [mode, bit] : bits) {
        EXPECT_EQ(zshare::ModeBit(mode), bit);
        EXPECT_EQ(zshare::ModeFromName(zshare::ModeName(mode)), mode);
    }
    EXPECT_EQ(zshare::ModeFromName("PKTLSB"), Mode::Unknown);
}

} // namespace
