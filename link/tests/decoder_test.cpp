// SPDX-License-Identifier: GPL-3.0-or-later
// The decoder over the table of stored replies: every code, every model type,
// and the pieces that must be refused or ignored.
#include "block.h"
#include "decode_piece.h"
#include "row_groups.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using corvan::detail::Block;
using corvan::detail::ConstituteData;
using corvan::detail::Rec;

namespace {

struct Row {
    const char* name;
    std::string piece;  // without the closing ";"
    const char* stores; // model types under which the record takes these values
    const char* absent; // model types under which the record stays not valid
    Rec rec;
    std::vector<std::uint32_t> nums;
    std::vector<std::string> texts;
};

// A model-3 information reply: 37 characters.
const std::string kIF = std::string("IF") + "00014195000" + "01000" + "+0150" + "010" + "05" + "120300" +
                        "08" + "1";
const std::string kOI = "OI" + kIF.substr(2);
const std::string kMR3 = std::string("MR0") + "1" + "12" + "00145000000" + "310" + "05" + "12" + "103" +
                         "10" + "000600000" + "07" + "2" + "MYCALL  ";
const std::string kMR1 = std::string("MR1") + " " + "05" + "00014200000" + "201" + "08";
const std::string kPK = std::string("PK") + "00014200000" + "JA1ABC      " + "HELLO WORLD         " + "59900";

const std::vector<std::uint32_t> kIF1Nums = {1000, 150, 0, 1, 0, 5, 1, 2, 0, 3, 0, 0, 8, 1};
const std::vector<std::uint32_t> kIF3Nums = {100, 0, 0, 1, 0, 5, 1, 2, 0, 3, 0, 0, 8, 1};

// Captured from a QX-9000 on 50.130 MHz, USB, RIT on at -16.110 kHz, on VFO A:
// the radio blanks the bank digit (position 25) of channel 000.
const std::string kCapturedIF = "IF000501300000000-1611010 00020000000";
const std::vector<std::uint32_t> kCapturedNums = {0, static_cast<std::uint32_t>(-16110), 1, 0, 0, 0, 0, 2,
                                                  0, 0, 0, 0, 0, 0};

constexpr std::uint32_t Pattern(int v) { return static_cast<std::uint32_t>(v); }

// clang-format off
const Row kRows[] = {
    {"AC", "AC101", "123", "0", Rec::AC, {1, 0, 1}, {}},
    {"AG_model1", "AG123", "1", "023", Rec::AG0, {123}, {}},
    {"AG_model3_receiver1", "AG1045", "3", "02", Rec::AG1, {45}, {}},
    {"AG_receiver2_ignored", "AG2045", "", "0123", Rec::AG1, {}, {}},
    {"AG_receiver2_ignored_record0", "AG2045", "", "023", Rec::AG0, {}, {}},
    {"AG_blank_receiver_is_receiver0", "AG 045", "3", "02", Rec::AG0, {45}, {}},
    {"AG_receiver_below_zero_ignored", "AG/045", "", "023", Rec::AG0, {}, {}},
    {"AI", "AI2", "123", "0", Rec::AI, {2}, {}},
    {"AL", "AL003", "3", "012", Rec::AL, {3}, {}},
    {"AM", "AM1", "3", "012", Rec::AM, {1}, {}},
    {"AN", "AN2", "123", "0", Rec::AN, {2}, {}},
    {"AR_receiver1", "AR110", "3", "012", Rec::AR1, {1, 0}, {}},
    {"AR_receiver3_ignored", "AR310", "", "0123", Rec::AR1, {}, {}},
    {"AR_blank_receiver", "AR 1 ", "3", "012", Rec::AR0, {1, 0}, {}},
    {"AS", "AS105000142000007", "3", "012", Rec::AS, {1, 5, 7}, {"00014200000"}},
    {"BC", "BC2", "123", "0", Rec::BC, {2}, {}},
    {"BP", "BP031", "3", "012", Rec::BP, {31}, {}},
    {"BY_model12", "BY10", "12", "0", Rec::BY, {1}, {}},
    {"BY_model3", "BY12", "3", "0", Rec::BY, {1, 2}, {}},
    {"CA", "CA1", "13", "02", Rec::CA, {1}, {}},
    {"CG", "CG050", "23", "01", Rec::CG, {50}, {}},
    {"CM", "CM1", "3", "012", Rec::CM, {1}, {}},
    {"CN", "CN12", "13", "02", Rec::CN, {12}, {}},
    {"CT", "CT1", "123", "0", Rec::CT, {1}, {}},
    {"DC", "DC10", "3", "012", Rec::DC, {1, 0}, {}},
    {"DQ", "DQ1", "3", "012", Rec::DQ, {1}, {}},
    {"EX_model1", "EX01203", "1", "02", Rec::EX, {12, 3}, {}},
    {"EX_model3", "EX0120301ABC", "3", "02", Rec::EX, {12, 3, 0, 1}, {"ABC"}},
    {"EX_model3_text_cut", "EX0120301ABCDEFGHIJKLMNOPQRSTUVWXYZ", "3", "", Rec::EX, {12, 3, 0, 1}, {"ABCDEFGHIJKLMNOPQRS"}},
    {"FA", "FA00014200000", "123", "0", Rec::FA, {}, {"00014200000"}},
    {"FA_ten_digits", "FA0001420000", "", "0123", Rec::FA, {}, {}},
    {"FA_twelve_digits", "FA000142000000", "", "0123", Rec::FA, {}, {}},
    {"FB", "FB00007050000", "123", "0", Rec::FB, {}, {"00007050000"}},
    {"FC", "FC00145000000", "3", "012", Rec::FC, {}, {"00145000000"}},
    {"FD", "FD0123456789ABCDEF", "23", "01", Rec::FD, {}, {"0123456789A"}},
    {"FR", "FR3", "13", "02", Rec::FR, {3}, {}},
    {"FS", "FS1", "123", "0", Rec::FS, {1}, {}},
    {"FT", "FT2", "13", "02", Rec::FT, {2}, {}},
    {"FW", "FW2400", "123", "0", Rec::FW, {2400}, {}},
    {"GT", "GT010", "123", "0", Rec::GT, {10}, {}},
    {"ID", "ID017", "0123", "", Rec::ID, {17}, {}},
    {"IF_model1", kIF, "1", "02", Rec::IF, kIF1Nums, {"00014195000"}},
    {"IF_model3", kIF, "3", "02", Rec::IF, kIF3Nums, {"00014195000"}},
    {"IF_model3_short", kIF.substr(0, 36), "", "0123", Rec::IF, {}, {}},
    {"IF_radio_capture", kCapturedIF, "3", "02", Rec::IF, kCapturedNums, {"00050130000"}},
    {"IF_model1_blank_bank", kIF.substr(0, 25) + " " + kIF.substr(26), "1", "", Rec::IF, kIF1Nums, {"00014195000"}},
    {"IF_model3_bank_letter", kIF.substr(0, 25) + "A" + kIF.substr(26), "3", "", Rec::IF, {100, 0, 0, 1, 17, 5}, {"00014195000"}},
    {"IS", "IS-0150", "123", "0", Rec::IS, {'-', 150}, {}},
    {"KS", "KS030", "123", "0", Rec::KS, {30}, {}},
    {"KY", "KY1", "123", "0", Rec::KY, {1}, {}},
    {"LK_model1", "LK1", "1", "023", Rec::LK, {1}, {}},
    {"LK_model3", "LK12", "3", "02", Rec::LK, {1, 2}, {}},
    {"LM", "LM3", "123", "0", Rec::LM, {3}, {}},
    {"LT", "LT1", "3", "012", Rec::LT, {1}, {}},
    {"MC_model1", "MC305", "1", "02", Rec::MC, {0, 5}, {}},
    {"MC_model3", "MC305", "3", "02", Rec::MC, {3, 5}, {}},
    {"MC_model3_blank_bank", "MC 05", "3", "02", Rec::MC, {0, 5}, {}},
    {"MD", "MD3", "123", "0", Rec::MD, {3}, {}},
    {"MF", "MF1", "3", "012", Rec::MF, {1}, {}},
    {"MG", "MG050", "123", "0", Rec::MG, {50}, {}},
    {"ML", "ML005", "3", "012", Rec::ML, {5}, {}},
    {"MO", "MO1", "3", "012", Rec::MO, {1}, {}},
    {"MR_model1", kMR1, "1", "023", Rec::MR1, {0, 5, 2, 0, 1, 8}, {"00014200000"}},
    {"MR_model3", kMR3, "3", "02", Rec::MR0, {1, 12, 3, 1, 0, 5, 12, 103, 1, 0, 600000, 7, 2}, {"00145000000", "MYCALL  "}},
    {"MR_index2_ignored", "MR2" + kMR3.substr(3), "", "0123", Rec::MR0, {}, {}},
    {"MR_model3_blank_index_and_bank", "MR  " + kMR3.substr(4), "3", "", Rec::MR0, {0, 12, 3, 1, 0, 5, 12, 103, 1, 0, 600000, 7, 2}, {"00145000000", "MYCALL  "}},
    {"MU", "MU1010101010", "3", "012", Rec::MU, {1, 0, 1, 0, 1, 0, 1, 0, 1, 0}, {}},
    {"NB", "NB1", "123", "0", Rec::NB, {1}, {}},
    {"NL", "NL100", "3", "012", Rec::NL, {100}, {}},
    {"NR", "NR2", "13", "02", Rec::NR, {2}, {}},
    {"NT", "NT1", "23", "01", Rec::NT, {1}, {}},
    {"OF", "OF000600000", "3", "012", Rec::OF, {600000}, {}},
    {"OI", kOI, "3", "012", Rec::OI, kIF3Nums, {"00014195000"}},
    {"OI_short", kOI.substr(0, 36), "", "0123", Rec::OI, {}, {}},
    {"OI_radio_capture", "OI" + kCapturedIF.substr(2), "3", "012", Rec::OI, kCapturedNums, {"00050130000"}},
    {"OS", "OS2", "23", "01", Rec::OS, {2}, {}},
    {"PA_model12", "PA1", "12", "0", Rec::PA, {1}, {}},
    {"PA_model3", "PA10", "3", "0", Rec::PA, {1, 0}, {}},
    {"PB", "PB3", "123", "0", Rec::PB, {3}, {}},
    {"PC", "PC100", "123", "0", Rec::PC, {100}, {}},
    {"PK", kPK, "3", "012", Rec::PK, {}, {"00014200000", "JA1ABC      ", "HELLO WORLD         ", "59900"}},
    {"PL", "PL050060", "23", "01", Rec::PL, {50, 60}, {}},
    {"PM", "PM5", "3", "012", Rec::PM, {5}, {}},
    {"PR", "PR1", "123", "0", Rec::PR, {1}, {}},
    {"PS", "PS1", "123", "0", Rec::PS, {1}, {}},
    {"QC", "QC103", "23", "01", Rec::QC, {103}, {}},
    {"QR", "QR19", "3", "012", Rec::QR, {1, 9}, {}},
    {"RA_model12", "RA05", "12", "0", Rec::RA, {5}, {}},
    {"RA_model3", "RA0512", "3", "0", Rec::RA, {5, 12}, {}},
    {"RA_model3_blank_in_digit_pair", "RA 512", "3", "0", Rec::RA, {5, 12}, {}},
    {"RA_model3_letter_in_digit_pair", "RA0A12", "3", "", Rec::RA, {17, 12}, {}},
    {"RA_model3_cut_in_digit_pair", "RA051", "", "3", Rec::RA, {}, {}},
    {"RA_model12_leading_blank", "RA 5", "12", "", Rec::RA, {5}, {}},
    {"RD", "RD00100", "3", "012", Rec::RD, {100}, {}},
    {"RG", "RG200", "123", "0", Rec::RG, {200}, {}},
    {"RL", "RL05", "3", "012", Rec::RL, {5}, {}},
    {"RM", "RM30015", "123", "0", Rec::RM, {3, 15}, {}},
    {"RT", "RT1", "123", "0", Rec::RT, {1}, {}},
    {"RU", "RU00050", "3", "012", Rec::RU, {50}, {}},
    {"RX", "RX0", "3", "012", Rec::RX, {0}, {}},
    {"SA", "SA1011010MYSAT", "3", "012", Rec::SA, {1, 0, 1, 1, 0, 1, 0}, {"MYSAT"}},
    {"SA_name_cut", "SA1011010ABCDEFGHIJKLMN", "3", "", Rec::SA, {1, 0, 1, 1, 0, 1, 0}, {"ABCDEFGHIJK"}},
    {"SB", "SB1", "23", "01", Rec::SB, {1}, {}},
    {"SC", "SC5", "13", "02", Rec::SC, {5}, {}},
    {"SD", "SD0500", "123", "0", Rec::SD, {500}, {}},
    {"SH", "SH05", "123", "0", Rec::SH, {5}, {}},
    {"SL", "SL07", "123", "0", Rec::SL, {7}, {}},
    {"SM_model1", "SM0015", "1", "02", Rec::SM0, {15}, {}},
    {"SM_model3_meter2", "SM20015", "3", "012", Rec::SM2, {15}, {}},
    {"SM_meter5_ignored", "SM50015", "", "023", Rec::SM0, {}, {}},
    {"SM_model3_blank_meter", "SM 0015", "3", "", Rec::SM0, {15}, {}},
    {"SQ_model1", "SQ050", "1", "02", Rec::SQ0, {50}, {}},
    {"SQ_model3_receiver0", "SQ0050", "3", "02", Rec::SQ0, {50}, {}},
    {"SQ_model3_receiver1", "SQ1050", "3", "012", Rec::SQ1, {50}, {}},
    {"SS", "SS2", "3", "012", Rec::SS, {2}, {}},
    {"ST", "ST05", "3", "012", Rec::ST, {5}, {}},
    {"SU", "SU10101010101", "3", "012", Rec::SU, {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1}, {}},
    {"TC", "TC01", "3", "012", Rec::TC, {0, 1}, {}},
    {"TC_blank_first_field", "TC 1", "3", "012", Rec::TC, {0, 1}, {}},
    {"TC_blank_first_field_terminal", "TC 0", "3", "012", Rec::TC, {0, 0}, {}},
    {"TI", "TI101", "3", "012", Rec::TI, {1, 0, 1}, {}},
    {"TN", "TN12", "13", "02", Rec::TN, {12}, {}},
    {"TO", "TO1", "123", "0", Rec::TO, {1}, {}},
    {"TS", "TS1", "3", "012", Rec::TS, {1}, {}},
    {"TX", "TX1", "3", "012", Rec::TX, {1}, {}},
    {"TY", "TY2A0", "3", "012", Rec::TY, {0, 1, 0, 1, 0, 1, 0, 0, 0}, {}},
    {"TY_lower_case", "TYa51", "3", "", Rec::TY, {1, 0, 1, 0, 0, 1, 0, 1, 1}, {}},
    {"TY_not_hexadecimal", "TYZZ0", "", "0123", Rec::TY, {}, {}},
    {"UL", "UL0", "3", "", Rec::UL, {0}, {}},
    {"VD", "VD1500", "123", "0", Rec::VD, {1500}, {}},
    {"VG", "VG005", "13", "02", Rec::VG, {5}, {}},
    {"VX", "VX1", "123", "0", Rec::VX, {1}, {}},
    {"XT", "XT1", "123", "0", Rec::XT, {1}, {}},
    // Digit fields hold what the radio wrote: a blank is a blanked zero,
    // anything else its distance from "0".
    {"digit_blank_reads_zero", "MD ", "123", "0", Rec::MD, {0}, {}},
    {"digit_letter_above_nine", "MDx", "123", "0", Rec::MD, {72}, {}},
    {"digit_colon_is_ten", "PS:", "123", "0", Rec::PS, {10}, {}},
    {"digit_sign_below_zero", "MD+", "123", "0", Rec::MD, {Pattern('+' - '0')}, {}},
    {"digit_blank_in_a_row", "AC1 1", "123", "0", Rec::AC, {1, 0, 1}, {}},
    // Refused pieces: nothing is stored.
    {"digit_field_missing", "MD", "", "0123", Rec::MD, {}, {}},
    {"digit_field_cut_off", "AC10", "", "0123", Rec::AC, {}, {}},
    {"carriage_return_before_code", "\rFA00014200000", "", "0123", Rec::FA, {}, {}},
    {"line_feed_inside", "FA000142\n0000", "", "0123", Rec::FA, {}, {}},
    {"end_of_text_byte", "\x03MD1", "", "0123", Rec::MD, {}, {}},
    {"byte_A0_without_TY", kMR3.substr(0, 41) + "MY\xA0" "CALL ", "", "0123", Rec::MR0, {}, {}},
    {"lower_case_code", "md1", "", "0123", Rec::MD, {}, {}},
};
// clang-format on

class DecoderTable : public ::testing::TestWithParam<RowGroup<Row>> {};

void ExpectStored(const Row& row)
{
    SCOPED_TRACE(row.name);
    for (std::uint32_t model = 0; model <= 3; ++model) {
        const char digit = static_cast<char>('0' + model);
        const bool stores = std::strchr(row.stores, digit) != nullptr;
        const bool absent = std::strchr(row.absent, digit) != nullptr;
        if (!stores && !absent)
            continue;
        SCOPED_TRACE("model type " + std::to_string(model));
        Block b;
        b.modelType = model;
        Decode(b, row.piece);
        const auto x = b.Get(row.rec);
        if (absent) {
            EXPECT_EQ(x.valid, 0u);
            continue;
        }
        ASSERT_EQ(x.valid, 1u);
        for (std::size_t i = 0; i < row.nums.size(); ++i)
            EXPECT_EQ(x.num[i], row.nums[i]) << "slot " << i;
        for (std::size_t i = 0; i < row.texts.size(); ++i)
            EXPECT_STREQ(x.text[i].data(), row.texts[i].c_str()) << "text " << i;
    }
}

TEST_P(DecoderTable, StoresWhatTheModelTypeAccepts)
{
    for (const Row& row : GetParam().rows)
        ExpectStored(row);
}

INSTANTIATE_TEST_SUITE_P(Replies, DecoderTable,
                         ::testing::ValuesIn(GroupRows<Row>(kRows, [](const Row& r) { return NamePrefix(r.name); })),
                         GroupName<Row>);

TEST(Decoder, IdentitySwitchesTheModelTypeAndTheRulesThatFollow)
{
    Block b;
    b.modelType = 1;
    Decode(b, "ID019");
    EXPECT_EQ(b.modelType.load(), 3u);
    Decode(b, "AM1"); // stored for model type 3 only
    EXPECT_EQ(b.Get(Rec::AM).valid, 1u);
    Decode(b, "ID015");
    EXPECT_EQ(b.modelType.load(), 2u);
    Decode(b, "ID018");
    EXPECT_EQ(b.modelType.load(), 1u);
    Decode(b, "ID005");
    EXPECT_EQ(b.modelType.load(), 0u);
}

TEST(Decoder, ExtendedCharactersOnlyAfterATypeReplyAllowsThem)
{
    const std::string memory = kMR3.substr(0, 41) + "AB\xA0" + "CD   ";
    Block b;
    b.modelType = 3;
    Decode(b, memory);
    EXPECT_EQ(b.Get(Rec::MR0).valid, 0u);
    Decode(b, "TY090"); // low four bits 9: extended characters
    Decode(b, memory);
    const auto x = b.Get(Rec::MR0);
    ASSERT_EQ(x.valid, 1u);
    EXPECT_EQ(std::string(x.text[1].data()), "AB\xA0" "CD   ");
    // Digit 1 at position 4: extended characters off again.
    Decode(b, "TY091");
    b.Reset(Rec::MR0);
    Decode(b, memory);
    EXPECT_EQ(b.Get(Rec::MR0).valid, 0u);
}

TEST(Decoder, TypeByteLowBitsThatDoNotAllowExtendedCharacters)
{
    for (const char* ty : {"TY000", "TY030", "TY040", "TY0F0"}) {
        Block b;
        b.modelType = 3;
        Decode(b, ty);
        Decode(b, "FD\xC4");
        EXPECT_EQ(b.Get(Rec::FD).valid, 0u) << ty;
    }
    for (const char* ty : {"TY010", "TY020", "TY060", "TY090", "TY0A0", "TYF10"}) {
        Block b;
        b.modelType = 3;
        Decode(b, ty);
        Decode(b, "FD\xC4");
        EXPECT_EQ(b.Get(Rec::FD).valid, 1u) << ty;
    }
}

TEST(Decoder, MemoryReplyOfModelOneKeepsTheFieldsItDoesNotCarry)
{
    Block b;
    b.modelType = 3;
    Decode(b, "MR1" + kMR3.substr(3));
    b.modelType = 1;
    Decode(b, kMR1);
    const auto x = b.Get(Rec::MR1);
    EXPECT_EQ(x.num[0], 1u);       // digit at 3 from the earlier reply
    EXPECT_EQ(x.num[1], 5u);       // channel from the new one
    EXPECT_EQ(x.num[10], 600000u); // number at 29 kept
    EXPECT_STREQ(x.text[1].data(), "MYCALL  ");
}

TEST(Decoder, DirectModeFromMenuAndTerminalReplies)
{
    Block b;
    b.modelType = 3;
    Decode(b, "EX05500001");
    EXPECT_EQ(b.directMode.load(), 1u);
    b.directMode = 0;
    Decode(b, "TC00");
    EXPECT_EQ(b.directMode.load(), 1u);
    Decode(b, "TC01");
    EXPECT_EQ(b.directMode.load(), 0u);
    // The radio may blank the first field: the second still decides.
    Decode(b, "TC 0");
    EXPECT_EQ(b.directMode.load(), 1u);
    Decode(b, "TC 1");
    EXPECT_EQ(b.directMode.load(), 0u);
    Decode(b, "TC  "); // a blank second field is a 0 as well
    EXPECT_EQ(b.directMode.load(), 1u);
    Decode(b, "TC11");
    EXPECT_EQ(b.directMode.load(), 0u);
    b.directMode = 1;
    Decode(b, "EX05500000");
    EXPECT_EQ(b.directMode.load(), 0u);
    b.modelType = 1; // model type 1 never switches it
    Decode(b, "EX05500001");
    EXPECT_EQ(b.directMode.load(), 0u);
}

TEST(Decoder, TwoRepliesInOneTextAreStoredInOrder)
{
    Block b;
    b.modelType = 3;
    const char text[] = "FA00014200000;FA00007000000;MD2;";
    ConstituteData(text, sizeof text - 1, b);
    EXPECT_STREQ(b.Get(Rec::FA).text[0].data(), "00007000000");
    EXPECT_EQ(b.Get(Rec::MD).num[0], 2u);
}

TEST(Decoder, PiecesLongerThan255AreDiscardedAndLaterRepliesDecoded)
{
    Block b;
    b.modelType = 3;
    std::string text = "MD" + std::string(254, '1') + ";MD3;"; // 256 characters, then a good one
    ConstituteData(text.data(), text.size(), b);
    EXPECT_EQ(b.Get(Rec::MD).num[0], 3u);
    b.Reset(Rec::MD);
    text = "FD" + std::string(253, 'A') + ";"; // exactly 255: accepted, cut to the field
    ConstituteData(text.data(), text.size(), b);
    EXPECT_STREQ(b.Get(Rec::FD).text[0].data(), std::string(11, 'A').c_str());
}

TEST(Decoder, TextAfterTheLastSemicolonIsNotLookedAt)
{
    Block b;
    b.modelType = 3;
    const char text[] = "MD2;MD3";
    ConstituteData(text, sizeof text - 1, b);
    EXPECT_EQ(b.Get(Rec::MD).num[0], 2u);
}

TEST(Decoder, ZeroBytesInsideAPieceRejectIt)
{
    Block b;
    b.modelType = 3;
    const char text[] = "MD\0" "2;MD4;";
    ConstituteData(text, sizeof text - 1, b);
    EXPECT_EQ(b.Get(Rec::MD).num[0], 4u);
}

struct NumberCase {
    const char* text;
    std::size_t width;
    std::uint32_t value;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << c.text << "\" width " << c.width; }

class NumberConversion : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberConversion, ConvertsLikeTheRadioWritesIt)
{
    const auto& c = GetParam();
    EXPECT_EQ(corvan::detail::ParseNumber(c.text, c.width), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Fields, NumberConversion,
                         ::testing::Values(NumberCase{"00123", 5, 123}, NumberCase{"00123", 3, 1},
                                           NumberCase{"12a45", 5, 12}, NumberCase{"  042", 5, 42},
                                           NumberCase{" 0002", 5, 2}, NumberCase{"     ", 5, 0},
                                           NumberCase{" 12 4", 5, 12}, NumberCase{"00 42", 5, 0},
                                           NumberCase{"+0150", 5, 150},
                                           NumberCase{"-0150", 5, static_cast<std::uint32_t>(-150)},
                                           NumberCase{" -150", 5, static_cast<std::uint32_t>(-150)},
                                           NumberCase{"-  15", 5, static_cast<std::uint32_t>(-15)},
                                           NumberCase{"+ 150", 5, 150}, NumberCase{"--150", 5, 0},
                                           NumberCase{"", 0, 0}, NumberCase{"x", 1, 0},
                                           NumberCase{"99999999999999", 14, 2147483647u},
                                           NumberCase{"-99999999999999", 15, 0x80000000u}));

} // namespace
