// rigctl_protocol_test.cpp - the line protocol's answers for every command
// in its short, long and extended forms, on a backend with plain state.
#include "fake_radio.h"

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
    {"F 7074000;FA00000000000;", "RPRT -1\n", ""}, // no protocol text passes
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
    {"+l SQL", "get_level: SQL\nLevel Value: 0.000000\nRPRT 0\n", ""},
    {"L AF 0.25", "RPRT 0\n", "SetLevel 2 0.250000"},
    {"L RF 1", "RPRT 0\n", "SetLevel 3 1.000000"},
    {"\\set_level SQL 0.1", "RPRT 0\n", "SetLevel 4 0.100000"},
    {"L RFPOWER 0.5", "RPRT 0\n", "SetLevel 1 0.500000"},
    {"L AF 1.5", "RPRT -1\n", ""},
    {"L STRENGTH 0", "RPRT -1\n", ""},
    {"l NOTALEVEL", "RPRT -1\n", ""},
    {"L AF", "RPRT -1\n", ""},
    // power, checks, unknown
    {"\\get_powerstat", "1\n", ""},
    {"+\\get_powerstat", "get_powerstat:\nPower Status: 1\nRPRT 0\n", ""},
    {"\\set_powerstat 0", "RPRT 0\n", "SetPowerOn 0"},
    {"\\set_powerstat 7", "RPRT -1\n", ""},
    {"\\chk_vfo", "0\n", ""},
    {"+\\chk_vfo", "chk_vfo:\nChkVFO: 0\nRPRT 0\n", ""},
    {"\\set_vfo_opt 0", "RPRT 0\n", ""},
    {"\\set_vfo_opt 1", "RPRT -1\n", ""},
    {"w FA;", "RPRT -1\n", ""},
    {"\\send_cmd FA00000000000;", "RPRT -1\n", ""},
    {"\\get_nothing", "RPRT -1\n", ""},
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
    std::istringstream in(Answer(radio, "\\dump_state", keyed));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_GE(lines.size(), 20u);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[1], "2");
    EXPECT_EQ(lines[2], "1");
    EXPECT_EQ(lines[3], "30000.000000 60000000.000000 0x1bf -1 -1 0x3 0x3");
    EXPECT_EQ(lines[4], "0 0 0 0 0 0 0");
    EXPECT_EQ(lines[5], "14000000.000000 14350000.000000 0x1bf 5000 100000 0x3 0x3");
    EXPECT_EQ(lines[6], "0 0 0 0 0 0 0");
    EXPECT_EQ(lines[7], "0x1bf 10");
    EXPECT_EQ(lines[8], "0x1bf 100");
    EXPECT_EQ(lines[9], "0 0");
    EXPECT_EQ(lines[10], "0xc 2400");
    EXPECT_EQ(lines[11], "0x82 500");
    EXPECT_EQ(lines[12], "0 0");
    EXPECT_EQ(lines[13], "99999"); // RIT
    EXPECT_EQ(lines[14], "99999"); // XIT
    EXPECT_EQ(lines[15], "0");     // IF shift
    EXPECT_EQ(lines[16], "0");     // announces
    EXPECT_EQ(lines[17], "0");     // preamps
    EXPECT_EQ(lines[18], "0");     // attenuators
    ASSERT_EQ(lines.size(), 26u);
    for (int i = 19; i < 25; ++i)
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].rfind("0x", 0), 0u) << i;
    EXPECT_EQ(lines[25], "done");
    EXPECT_EQ(Answer(radio, "+\\dump_state", keyed).rfind("dump_state:\n1\n2\n", 0), 0u);
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
