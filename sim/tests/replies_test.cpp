// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's answers on the wire, command by command: exact reply layouts,
// set-then-read round trips, and what it refuses, for each command family.
#include "wire.h"

#include <qxsim.h>

#include <gtest/gtest.h>

#include <algorithm>

using qxsim_test::Wire;

namespace {

struct Case {
    const char* name;
    int identity;
    std::string send;      // commands in one write
    std::string expected;  // everything the radio answers, in order
};

std::ostream& operator<<(std::ostream& os, const Case& c)
{
    return os << c.name;
}

class Replies : public ::testing::TestWithParam<Case> {};

TEST_P(Replies, AnswersExactly)
{
    const Case& c = GetParam();
    qxsim::Options o;
    o.identity = c.identity;
    qxsim::Radio radio(o);
    ASSERT_TRUE(radio.start()) << radio.lastError();
    Wire wire(radio.devicePath());
    ASSERT_TRUE(wire.isOpen());
    wire.send(c.send);
    const auto count = static_cast<int>(std::count(c.expected.begin(), c.expected.end(), ';'));
    EXPECT_EQ(wire.read(count), c.expected);
    // Nothing more was said: the next answer is that of the power query.
    const std::string ps = "PS" + std::to_string(radio.state().power) + ";";
    EXPECT_EQ(wire.ask("PS;"), ps);
}

// Fields of the default IF reply of the 3 family after the frequency and step:
// offset, RIT, XIT, bank, channel, transmit, mode, function, scan, split, tone,
// tone number, shift. The bank is the hundreds digit of the channel number,
// which the radio leaves blank on bank 0.
const std::string kIfTail = "+00000" "0" "0" " " "00" "0" "2" "0" "0" "0" "0" "08" "0";

const Case kCases[] = {
    // identity and type
    {"Id19", 19, "ID;", "ID019;"},
    {"Id18", 18, "ID;", "ID018;"},
    {"Id17", 17, "ID;", "ID017;"},
    {"Id15", 15, "ID;", "ID015;"},
    {"IdOther", 7, "ID;", "ID007;"},
    {"IdSilent", -1, "ID;FA;", "FA00014195000;"},
    {"Type", 19, "TY;", "TY000;"},
    {"TypeNotOnFamily1", 18, "TY;", "?;"},
    // frequencies
    {"FrequencyA", 19, "FA;", "FA00014195000;"},
    {"FrequencyASetRead", 19, "FA00007012345;FA;", "FA00007012345;"},
    {"FrequencyBSetRead", 19, "FB00021100000;FB;", "FB00021100000;"},
    {"FrequencySub", 19, "FC00435500000;FC;", "FC00435500000;"},
    {"FrequencySubNotOnFamily1", 18, "FC;", "?;"},
    {"FrequencyTenDigitsRefused", 19, "FA0001419500;FA;", "?;FA00014195000;"},
    {"FrequencyTwelveDigitsRefused", 19, "FA000014195000;", "?;"},
    {"FrequencyLetterRefused", 19, "FA0001419500X;", "?;"},
    // IF and OI
    {"InfoDefault", 19, "IF;", "IF00014195000" "0001" + kIfTail + ";"},
    {"InfoRitNegativeOffset", 19, "RT1;RD00120;IF;",
     "IF00014195000" "0001" "-00120" "1" "0" " " "00" "0" "2" "0" "0" "0" "0" "08" "0;"},
    {"InfoRitPositiveOffset", 19, "XT1;RU01234;RU;IF;",
     "IF00014195000" "0001" "+01244" "0" "1" " " "00" "0" "2" "0" "0" "0" "0" "08" "0;"},
    {"InfoRitClear", 19, "RU00500;RC;IF;", "IF00014195000" "0001" + kIfTail + ";"},
    {"InfoMemoryChannel", 19, "MC215;FR2;IF;",
     "IF00000000000" "0001" "+00000" "0" "0" "2" "15" "0" "0" "2" "0" "0" "0" "08" "0;"},
    {"InfoToneAndShift", 19, "CT1;TN12;OS2;IF;",
     "IF00014195000" "0001" "+00000" "0" "0" " " "00" "0" "2" "0" "0" "0" "2" "12" "2;"},
    {"InfoFamily1", 18, "IF;",
     "IF00014195000" "00000" "+0000" "0" "0" " " "00" "0" "2" "0" "0" "0" "0" "08" "0;"},
    {"OtherVfoInSplit", 19, "FT1;OI;",
     "OI00007050000" "0001" "+00000" "0" "0" " " "00" "0" "1" "1" "0" "1" "0" "08" "0;"},
    {"InfoLikeTheRadioOnSixMetres", 19, "FA00050130000;ST00;RT1;RD16110;IF;",
     "IF00050130000" "0000" "-16110" "1" "0" " " "00" "0" "2" "0" "0" "0" "0" "08" "0;"},
    {"InfoCallChannelBank", 19, "FR3;IF;",
     "IF00000000000" "0001" "+00000" "0" "0" "3" "00" "0" "0" "3" "0" "0" "0" "08" "0;"},
    {"OtherOnMemoryBankOne", 19, "MC112;FR2;FT0;OI;",
     "OI00014195000" "0001" "+00000" "0" "0" "1" "12" "0" "2" "0" "0" "1" "0" "08" "0;"},
    {"OtherNotOnFamily1", 18, "OI;", "?;"},
    // Transmitting in split, IF and OI carry the transmit frequency.
    {"InfoWhileTransmittingSplit", 19, "FT1;TX;IF;",
     "TX0;IF00007050000" "0001" "+00000" "0" "0" " " "00" "1" "2" "0" "0" "1" "0" "08" "0;"},
    {"OtherWhileTransmittingSplit", 19, "FT1;TX;OI;",
     "TX0;OI00007050000" "0001" "+00000" "0" "0" " " "00" "1" "1" "1" "0" "1" "0" "08" "0;"},
    // With the sub band controlled, OI is the main band's receive side.
    {"OtherWithTheSubBandControlled", 19, "FT1;DC01;OI;",
     "OI00014195000" "0001" "+00000" "0" "0" " " "00" "0" "2" "0" "0" "1" "0" "08" "0;"},
    {"OtherWithTheSubBandControlledWhileTransmittingSplit", 19, "FT1;DC01;TX;OI;",
     "TX0;OI00007050000" "0001" "+00000" "0" "0" " " "00" "1" "2" "0" "0" "1" "0" "08" "0;"},
    // VFOs and modes
    {"VfoRead", 19, "FR1;FR;FT;", "FR1;FT1;"},
    {"VfoSplit", 19, "FR0;FT1;FR;FT;", "FR0;FT1;"},
    {"VfoOutOfRange", 19, "FR4;", "?;"},
    {"VfoFamily1Range", 18, "FR3;", "?;"},
    {"Mode", 19, "MD;MD3;MD;", "MD2;MD3;"},
    {"ModeZeroRefused", 19, "MD0;", "?;"},
    {"ControlBand", 19, "DC11;DC;MD;", "DC11;MD4;"},
    // receivers
    {"AfGainMain", 19, "AG0;", "AG0100;"},
    {"AfGainSubSetRead", 19, "AG1200;AG1;", "AG1200;"},
    {"AfGainBadReceiver", 19, "AG2;", "?;"},
    {"IndexedReadsKnowOnlyZeroAndOne", 19, "SQ2;AR2;SU2;AR1;", "?;?;?;AR100;"},
    {"AfGainOutOfRange", 19, "AG1256;", "?;"},
    {"AfGainFamily1", 18, "AG050;AG;", "AG050;"},
    {"AfGainNotOnFamily2", 15, "AG;", "?;"},
    {"SquelchSub", 19, "SQ1045;SQ1;SQ0;", "SQ1045;SQ0000;"},
    {"Preamp", 19, "PA1;PA;", "PA10;"},
    {"PreampSubBand", 19, "DC01;PA1;PA;", "PA01;"},
    {"PreampFamily1", 18, "PA1;PA;", "PA1;"},
    {"Attenuator", 19, "RA01;RA;", "RA0100;"},
    {"AttenuatorFamily1Range", 18, "RA02;", "?;"},
    {"IfShift", 19, "IS 0500;IS;", "IS 0500;"},
    {"IfShiftSignRefused", 19, "IS+0500;", "?;"},
    {"IfShiftFamily1", 18, "IS-100;IS;", "IS-100;"},
    {"IfShiftFamily2Minus", 15, "IS-100;", "?;"},
    {"IfShiftFamily1Thousand", 18, "IS+1000;IS;", "IS+1000;"},
    {"IfShiftFamily1Top", 18, "IS-1100;IS;", "IS-1100;"},
    {"IfShiftFamily1AboveTop", 18, "IS+1101;", "?;"},
    {"IfShiftFamily2Thousand", 15, "IS+1000;IS;", "IS+1000;"},
    {"IfShiftFamily2Top", 15, "IS+6000;IS;", "IS+6000;"},
    {"IfShiftFamily2AboveTop", 15, "IS+6001;", "?;"},
    {"IfShiftFiveDigitsRefused", 15, "IS+01000;", "?;"},
    {"IfShiftPaddedToFourRefused", 18, "IS+0500;", "?;"},
    {"IfShiftTwoDigitsRefused", 18, "IS+10;", "?;"},
    {"IfShiftFamily3Top", 19, "IS 9999;IS;", "IS 9999;"},
    {"IfShiftFamily3FiveDigitsRefused", 19, "IS 10000;", "?;"},
    {"Lock", 19, "LK12;LK;", "LK12;"},
    {"LockFamily1", 18, "LK2;LK;", "LK2;"},
    {"MeterSelect", 19, "RM3;RM;", "RM30000;"},
    {"MeterWhileTransmitting", 19, "RM3;TX;RM;RX;", "TX0;RM30010;RX0;"},
    {"TransmitFamily2", 15, "RM3;TX;RM;RX;RM;", "RM30010;RM30000;"},
    {"TransmitFamily1", 18, "RM3;TX;RM;RX;RM;", "RM30010;RM30000;"},
    {"TransmitWithArgumentRefused", 15, "TX0;TX1;RX0;RM3;RM;", "?;?;?;RM30000;"},
    {"Busy", 19, "SB0;FA00100000000;BY;", "BY00;"},
    {"ReportsHaveNoSetForm", 19, "BY00;IF00014195000;OI00014195000;TY000;", "?;?;?;?;"},
    // memory
    {"MemoryChannel", 19, "MC205;MC;", "MC205;"},
    {"MemoryChannelNoBank3", 19, "MC305;", "?;"},
    {"MemoryChannelFamily1", 18, "MC 07;MC;", "MC 07;"},
    {"MemoryWriteRead", 19,
     "MW0123" "00145500000" "4" "0" "2" "00" "12" "000" "0" "1" "000600000" "05" "3" "RPT1;MR0123;",
     "MR0123" "00145500000" "4" "0" "2" "00" "12" "000" "0" "1" "000600000" "05" "3" "RPT1;"},
    {"MemoryTransmitHalf", 19,
     "MW0290" "00145500000" "4" "0" "0" "00" "00" "000" "0" "0" "000000000" "00" "0" "UP;"
     "MW1290" "00146100000" "4" "0" "0" "00" "00" "000" "0" "0" "000000000" "00" "0" "UP;MR1290;",
     "MR1290" "00146100000" "4" "0" "0" "00" "00" "000" "0" "0" "000000000" "00" "0" "UP;"},
    {"MemoryEmpty", 19, "MR0042;", "MR0042" "00000000000" "000" "00" "00" "000" "00" "000000000" "00" "0;"},
    {"MemoryCallChannel", 19, "MR0300;", "MR0300" "00000000000" "000" "00" "00" "000" "00" "000000000" "00" "0;"},
    {"MemoryToneTypeRefused", 19,
     "MW0001" "00145500000" "4" "0" "4" "00" "00" "000" "0" "0" "000000000" "00" "0;", "?;"},
    {"MemoryNameTooLong", 19,
     "MW0001" "00145500000" "4" "0" "0" "00" "00" "000" "0" "0" "000000000" "00" "0" "NINECHARS;", "?;"},
    {"MemoryBankRefused", 19,
     "MW0501" "00145500000" "4" "0" "0" "00" "00" "000" "0" "0" "000000000" "00" "0;", "?;"},
    {"MemoryCleared", 19,
     "MW0007" "00145500000" "4" "0" "0" "00" "00" "000" "0" "0" "000000000" "00" "0" "X;"
     "MW0007" "00000000000" "0" "0" "0" "00" "00" "000" "0" "0" "000000000" "00" "0;MR0007;",
     "MR0007" "00000000000" "000" "00" "00" "000" "00" "000000000" "00" "0;"},
    {"MemoryFamily1", 18, "MW0 05" "00007100000" "1" "0" "1" "08 ;MR0 05;",
     "MR0 05" "00007100000" "1" "0" "1" "08 ;"},
    {"QuickMemory", 19, "QR;QR13;QR;", "QR00;QR13;"},
    // menus, scan, satellite
    {"MenuDefault", 19, "EX0040000;", "EX00400000;"},
    {"MenuSetRead", 19, "EX01901001;EX0190100;", "EX01901001;"},
    {"MenuTextTooLong", 19, "EX0190100" "ABCDEFGHIJKLMNOPQ;", "?;"},
    {"MenuBeyondTheMenu", 19, "EX1000000;", "?;"},
    {"MenuFamily1", 18, "EX0120003;EX;", "EX01203;"},
    {"Terminal", 19, "TC;", "TC01;"},
    {"Scan", 19, "SC;SC7;", "SC0;?;"},
    {"ScanSpeedWhileScanning", 19, "SC2;RD00002;RD;RU00003;RU;SC0;", "RD00003;RU00006;"},
    {"ScanGroups", 19, "SU0;SU10101010101;SU1;", "SU00000000000;SU10101010101;"},
    {"ScanGroupDigitRefused", 19, "SU10101010102;", "?;"},
    {"Satellite", 19, "SI3SAT-7;SA1300000;SA;", "SA1300000SAT-7;"},
    {"SatelliteChannelRange", 19, "SA1300002;", "?;"},
    {"AutoMode", 19, "AS101" "00014200000" "2;AS101;", "AS101" "00014200000" "2;"},
    {"Offset", 19, "OF;OF001000000;OF;", "OF000600000;OF001000000;"},
    {"OffsetOutOfRange", 19, "OF059950001;", "?;"},
    // plain levels and switches
    {"Tuner", 19, "AC112;AC;", "AC112;"},
    {"TunerFamily1Range", 18, "AC112;", "?;"},
    {"NoiseBlanker", 19, "NB1;NB;", "NB1;"},
    {"AgcRange", 19, "GT021;GT020;GT;", "?;GT020;"},
    {"PowerLevelFloor", 19, "PC000;PC001;PC;", "?;PC001;"},
    {"PowerLevelFamily1", 18, "PC004;PC005;PC;", "?;PC005;"},
    {"MonitorLevel", 19, "ML009;ML;", "ML009;"},
    {"MultiSwitches", 19, "MU1010101010;MU;", "MU1010101010;"},
    {"Levels", 19, "PL050100;PL;", "PL050100;"},
    {"ScanStep", 19, "ST09;ST;", "ST09;"},
    {"Keyer", 19, "KY;", "KY0;"},
    {"KeyerTextTooLong", 19, "KY ABCDEFGHIJKLMNOPQRSTUVWXY;", "?;"},
    {"Packet", 19, "PK;", "PK00014025000QX9SIM      CQ DX               1200z;"},
    {"Tnc", 19, "TI;", "TI000;"},
    {"Unlock", 19, "UL;", "UL0;"},
    // refusals
    {"UnknownCode", 19, "ZZ;", "?;"},
    {"LowerCase", 19, "fa;", "?;"},
    {"AutoInfoOneRefused", 19, "AI1;AI;", "?;AI0;"},
    {"AutoInfoOnReports", 19, "AI2;AI;", "AI2;AI2;"},
    // power
    {"PowerOffHearsOnlyPs", 19, "PS0;FA;ZZ;PS;", "PS0;"},
    {"PowerOffStillSaysWhoItIs", 19, "PS0;IF;ID;", "ID019;"},
    {"PowerBackOn", 19, "PS0;PS1;FA;", "FA00014195000;"},
    {"PowerZulState", 19, "PS3;PS;", "PS3;"},
    {"PowerFamily1Range", 18, "PS2;", "?;"},
    // framing
    {"SeveralInOneWrite", 19, "FA;FB;MD;", "FA00014195000;FB00007050000;MD2;"},
    {"LoneSeparatorIgnored", 19, ";;ID;", "ID019;"},
    {"ControlBytesBeforeCode", 19, "\r\n\x03;\rFA;", "FA00014195000;"},
    {"TerminalLeaveSequence", 19, "\x03;\rTC 1;\rTC;", "TC01;"},
};

INSTANTIATE_TEST_SUITE_P(Sim, Replies, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

}  // namespace
