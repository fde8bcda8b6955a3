// SPDX-License-Identifier: GPL-3.0-or-later
// Every accessor: what it copies for each model type, what it leaves, and the
// pending flags it clears.
#include "block.h"
#include "decoder.h"
#include "row_groups.h"
#include "testing.h"

#include <corvan.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Outs = std::vector<std::string>;

struct AccessorRow {
    std::string name;
    std::uint32_t model;
    std::string replies; // decoded under model type 3 (or 1 for model-1 rows) before the call
    std::function<std::int32_t(CCorvan&, Outs&)> call;
    std::int32_t result;
    Outs outs;
};

std::string U(std::uint32_t v) { return std::to_string(v); }

// Calls a one-value accessor.
#define ONE(acc) [](CCorvan& c, Outs& o) { std::uint32_t v = 99; const auto r = c.acc(&v); o = {U(v)}; return r; }
#define TWO(acc) [](CCorvan& c, Outs& o) { std::uint32_t a = 99, b = 99; const auto r = c.acc(&a, &b); o = {U(a), U(b)}; return r; }
#define IDX(acc, i) [](CCorvan& c, Outs& o) { std::uint32_t v = 99; const auto r = c.acc(i, &v); o = {U(v)}; return r; }
#define TEXT(acc) [](CCorvan& c, Outs& o) { char t[40] = "old"; const auto r = c.acc(t); o = {t}; return r; }

const auto kIF = std::string("IF") + "00014195000" + "01000" + "+0150" + "010" + "05" + "120300" + "08" + "1";
const auto kCapturedIF = std::string("IF000501300000000-1611010 00020000000");
const auto kMR3 = std::string("MR1") + "1" + "12" + "00145000000" + "310" + "05" + "12" + "103" + "10" +
                  "000600000" + "07" + "2" + "MYCALL  ";
const auto kMR1 = std::string("MR0") + " " + "05" + "00014200000" + "201" + "08";

auto IfCall(bool oi)
{
    return [oi](CCorvan& c, Outs& o) {
        char f[20] = "old";
        std::uint32_t n[14];
        const auto r = oi ? c.RcvDataOI(f, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9],
                                       &n[10], &n[11], &n[12], &n[13])
                          : c.RcvDataIF(f, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9],
                                       &n[10], &n[11], &n[12], &n[13]);
        o = {f};
        for (auto v : n)
            o.push_back(U(v));
        return r;
    };
}

auto MrCall(std::uint32_t index)
{
    return [index](CCorvan& c, Outs& o) {
        char f[20] = "old", name[20] = "old";
        std::uint32_t n[13];
        const auto r = c.RcvDataMR(index, &n[0], &n[1], f, &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9],
                                   &n[10], &n[11], &n[12], name);
        o = {f, name};
        for (auto v : n)
            o.push_back(U(v));
        return r;
    };
}

// clang-format off
const std::vector<AccessorRow> kRows = {
    {"AC", 3, "AC102;", [](CCorvan& c, Outs& o) { std::uint32_t a, b, d; const auto r = c.RcvDataAC(&a, &b, &d); o = {U(a), U(b), U(d)}; return r; }, 1, {"1", "0", "2"}},
    {"AC_model2", 2, "AC101;", [](CCorvan& c, Outs& o) { std::uint32_t a = 9, b = 9, d = 9; const auto r = c.RcvDataAC(&a, &b, &d); o = {U(a), U(b), U(d)}; return r; }, 0, {"0", "0", "0"}},
    {"AC_not_valid", 3, "", [](CCorvan& c, Outs& o) { std::uint32_t a = 9, b = 9, d = 9; const auto r = c.RcvDataAC(&a, &b, &d); o = {U(a), U(b), U(d)}; return r; }, 0, {"0", "0", "0"}},
    {"AG_receiver1", 3, "AG1123;", IDX(RcvDataAG, 1), 1, {"123"}},
    {"AG_receiver0_not_valid", 3, "AG1123;", IDX(RcvDataAG, 0), 0, {"0"}},
    {"AG_receiver2", 3, "AG1123;", IDX(RcvDataAG, 2), 0, {"0"}},
    {"AG_model1", 1, "AG077;", IDX(RcvDataAG, 0), 1, {"77"}},
    {"AI", 1, "AI2;", ONE(RcvDataAI), 1, {"2"}},
    {"AI_model2", 2, "AI2;", ONE(RcvDataAI), 0, {"0"}},
    {"AL", 3, "AL004;", ONE(RcvDataAL), 1, {"4"}},
    {"AM", 3, "AM1;", ONE(RcvDataAM), 1, {"1"}},
    {"AN", 3, "AN2;", ONE(RcvDataAN), 1, {"2"}},
    {"AR", 3, "AR011;", [](CCorvan& c, Outs& o) { std::uint32_t a, b; const auto r = c.RcvDataAR(0, &a, &b); o = {U(a), U(b)}; return r; }, 1, {"1", "1"}},
    {"AR_index2", 3, "AR011;", [](CCorvan& c, Outs& o) { std::uint32_t a = 9, b = 9; const auto r = c.RcvDataAR(2, &a, &b); o = {U(a), U(b)}; return r; }, 0, {"0", "0"}},
    {"AS", 3, "AS105000142000007;", [](CCorvan& c, Outs& o) { std::uint32_t a, b, d; char f[20]; const auto r = c.RcvDataAS(&a, &b, f, &d); o = {U(a), U(b), f, U(d)}; return r; }, 1, {"1", "5", "00014200000", "7"}},
    {"AS_not_valid_empties_text", 3, "", [](CCorvan& c, Outs& o) { std::uint32_t a, b, d; char f[20] = "old"; const auto r = c.RcvDataAS(&a, &b, f, &d); o = {U(a), U(b), f, U(d)}; return r; }, 0, {"0", "0", "", "0"}},
    {"BC", 3, "BC2;", ONE(RcvDataBC), 1, {"2"}},
    {"BP", 3, "BP031;", ONE(RcvDataBP), 1, {"31"}},
    {"BY_model3", 3, "BY12;", TWO(RcvDataBY), 1, {"1", "2"}},
    {"BY_model1_first_only", 1, "BY1;", TWO(RcvDataBY), 1, {"1", "0"}},
    {"CA", 1, "CA1;", ONE(RcvDataCA), 1, {"1"}},
    {"CG", 3, "CG050;", ONE(RcvDataCG), 1, {"50"}},
    {"CG_model1", 1, "", ONE(RcvDataCG), 0, {"0"}},
    {"CM", 3, "CM1;", ONE(RcvDataCM), 1, {"1"}},
    {"CN", 1, "CN12;", ONE(RcvDataCN), 1, {"12"}},
    {"CT", 3, "CT1;", ONE(RcvDataCT), 1, {"1"}},
    {"DC", 3, "DC10;", TWO(RcvDataDC), 1, {"1", "0"}},
    {"DQ", 3, "DQ1;", ONE(RcvDataDQ), 1, {"1"}},
    {"EX_model3", 3, "EX0120301ABC;", [](CCorvan& c, Outs& o) { std::uint32_t m, s, a, b; char t[20] = "old"; const auto r = c.RcvDataEX(&m, &s, &a, &b, t); o = {U(m), U(s), U(a), U(b), t}; return r; }, 1, {"12", "3", "0", "1", "ABC"}},
    {"EX_model1_first_two", 1, "EX01203;", [](CCorvan& c, Outs& o) { std::uint32_t m, s, a, b; char t[20] = "old"; const auto r = c.RcvDataEX(&m, &s, &a, &b, t); o = {U(m), U(s), U(a), U(b), t}; return r; }, 1, {"12", "3", "0", "0", "old"}},
    {"FA", 3, "FA00014200000;", TEXT(RcvDataFA), 1, {"00014200000"}},
    {"FA_not_valid_empty", 3, "", TEXT(RcvDataFA), 0, {""}},
    {"FA_model2", 2, "FA00014200000;", TEXT(RcvDataFA), 0, {""}},
    {"FB", 1, "FB00007000000;", TEXT(RcvDataFB), 1, {"00007000000"}},
    {"FB_not_valid_leaves_text", 3, "", TEXT(RcvDataFB), 0, {"old"}},
    {"FB_model2_leaves_text", 2, "FB00007000000;", TEXT(RcvDataFB), 0, {"old"}},
    {"FC", 3, "FC00145000000;", TEXT(RcvDataFC), 1, {"00145000000"}},
    {"FC_not_valid_leaves_text", 3, "", TEXT(RcvDataFC), 0, {"old"}},
    {"FC_model1_leaves_text", 1, "", TEXT(RcvDataFC), 0, {"old"}},
    {"FD", 3, "FD0123456789ABCDEF;", TEXT(RcvDataFD), 1, {"0123456789A"}},
    {"FD_not_valid_leaves_text", 3, "", TEXT(RcvDataFD), 0, {"old"}},
    {"FR", 3, "FR3;", ONE(RcvDataFR), 1, {"3"}},
    {"FS", 3, "FS1;", ONE(RcvDataFS), 1, {"1"}},
    {"FT", 1, "FT2;", ONE(RcvDataFT), 1, {"2"}},
    {"FW", 3, "FW2400;", ONE(RcvDataFW), 1, {"2400"}},
    {"GT", 3, "GT010;", ONE(RcvDataGT), 1, {"10"}},
    {"ID_model2", 2, "ID015;", ONE(RcvDataID), 1, {"15"}},
    {"ID_model0", 0, "ID005;", ONE(RcvDataID), 0, {"0"}},
    {"IF_model3", 3, kIF + ";", IfCall(false), 1, {"00014195000", "100", "0", "0", "1", "0", "5", "1", "2", "0", "3", "0", "0", "8", "1"}},
    // The capture of a QX-9000 on 50.130 MHz, RIT on at -16.110 kHz: frequency,
    // step, offset, RIT, XIT, bank (a blank), channel, transmit, mode, ...
    {"IF_radio_capture", 3, kCapturedIF + ";", IfCall(false), 1, {"00050130000", "0", U(static_cast<std::uint32_t>(-16110)), "1", "0", "0", "0", "0", "2", "0", "0", "0", "0", "0", "0"}},
    {"IF_model1", 1, kIF + ";", IfCall(false), 1, {"00014195000", "1000", "150", "0", "1", "0", "5", "1", "2", "0", "3", "0", "0", "8", "1"}},
    {"OI", 3, "OI" + kIF.substr(2) + ";", IfCall(true), 1, {"00014195000", "100", "0", "0", "1", "0", "5", "1", "2", "0", "3", "0", "0", "8", "1"}},
    {"IS", 3, "IS-0150;", [](CCorvan& c, Outs& o) { char s[2] = "?"; std::uint32_t v; const auto r = c.RcvDataIS(s, &v); o = {s, U(v)}; return r; }, 1, {"-", "150"}},
    {"KS", 3, "KS030;", ONE(RcvDataKS), 1, {"30"}},
    {"KY", 3, "KY1;", ONE(RcvDataKY), 1, {"1"}},
    {"LK", 3, "LK12;", TWO(RcvDataLK), 1, {"1", "2"}},
    {"LM", 3, "LM3;", ONE(RcvDataLM), 1, {"3"}},
    {"LT", 3, "LT1;", ONE(RcvDataLT), 1, {"1"}},
    {"MC_model3", 3, "MC305;", TWO(RcvDataMC), 1, {"3", "5"}},
    {"MC_model1_channel_only", 1, "MC305;", TWO(RcvDataMC), 1, {"0", "5"}},
    {"MD", 3, "MD3;", ONE(RcvDataMD), 1, {"3"}},
    {"MD_model2", 2, "MD3;", ONE(RcvDataMD), 0, {"0"}},
    {"MF", 3, "MF1;", ONE(RcvDataMF), 1, {"1"}},
    {"MG", 3, "MG050;", ONE(RcvDataMG), 1, {"50"}},
    {"ML", 3, "ML005;", ONE(RcvDataML), 1, {"5"}},
    {"MO", 3, "MO1;", ONE(RcvDataMO), 1, {"1"}},
    {"MR_model3", 3, kMR3 + ";", MrCall(1), 1, {"00145000000", "MYCALL  ", "1", "12", "3", "1", "0", "5", "12", "103", "1", "0", "600000", "7", "2"}},
    {"MR_model1_no_digit40", 1, kMR1 + ";", MrCall(0), 1, {"00014200000", "", "0", "5", "2", "0", "1", "8", "0", "0", "0", "0", "0", "0", "0"}},
    {"MR_index2", 3, kMR3 + ";", MrCall(2), 0, {"old", "old", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}},
    {"MU", 3, "MU1010101010;", [](CCorvan& c, Outs& o) { std::uint32_t v[10]; const auto r = c.RcvDataMU(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9]); o.clear(); for (auto x : v) o.push_back(U(x)); return r; }, 1, {"1", "0", "1", "0", "1", "0", "1", "0", "1", "0"}},
    {"NB", 3, "NB1;", ONE(RcvDataNB), 1, {"1"}},
    {"NL", 3, "NL100;", ONE(RcvDataNL), 1, {"100"}},
    {"NR", 3, "NR2;", ONE(RcvDataNR), 1, {"2"}},
    {"NT", 3, "NT1;", ONE(RcvDataNT), 1, {"1"}},
    {"OF", 3, "OF000600000;", ONE(RcvDataOF), 1, {"600000"}},
    {"OS", 3, "OS2;", ONE(RcvDataOS), 1, {"2"}},
    {"PA_model3", 3, "PA10;", TWO(RcvDataPA), 1, {"1", "0"}},
    {"PA_model1_first_only", 1, "PA1;", TWO(RcvDataPA), 1, {"1", "0"}},
    {"PB", 3, "PB3;", ONE(RcvDataPB), 1, {"3"}},
    {"PC", 3, "PC100;", ONE(RcvDataPC), 1, {"100"}},
    {"PK", 3, "PK00014200000JA1ABC      HELLO WORLD         59900;", [](CCorvan& c, Outs& o) { char a[20], b[20], d[40], e[12]; const auto r = c.RcvDataPK(a, b, d, e); o = {a, b, d, e}; return r; }, 1, {"00014200000", "JA1ABC      ", "HELLO WORLD         ", "59900"}},
    {"PK_not_valid_leaves_texts", 3, "", [](CCorvan& c, Outs& o) { char a[20] = "a", b[20] = "b", d[40] = "c", e[12] = "d"; const auto r = c.RcvDataPK(a, b, d, e); o = {a, b, d, e}; return r; }, 0, {"a", "b", "c", "d"}},
    {"PL", 3, "PL050060;", TWO(RcvDataPL), 1, {"50", "60"}},
    {"PM", 3, "PM5;", ONE(RcvDataPM), 1, {"5"}},
    {"PR", 3, "PR1;", ONE(RcvDataPR), 1, {"1"}},
    {"PS", 1, "PS1;", ONE(RcvDataPS), 1, {"1"}},
    {"QC", 3, "QC103;", ONE(RcvDataQC), 1, {"103"}},
    {"QR", 3, "QR19;", TWO(RcvDataQR), 1, {"1", "9"}},
    {"RA_model3", 3, "RA0512;", TWO(RcvDataRA), 1, {"5", "12"}},
    {"RA_model1_first_only", 1, "RA05;", TWO(RcvDataRA), 1, {"5", "0"}},
    {"RD", 3, "RD00100;", ONE(RcvDataRD), 1, {"100"}},
    {"RG", 3, "RG200;", ONE(RcvDataRG), 1, {"200"}},
    {"RL", 3, "RL05;", ONE(RcvDataRL), 1, {"5"}},
    {"RM", 3, "RM30015;", TWO(RcvDataRM), 1, {"3", "15"}},
    {"RT", 3, "RT1;", ONE(RcvDataRT), 1, {"1"}},
    {"RU", 3, "RU00050;", ONE(RcvDataRU), 1, {"50"}},
    {"RX", 3, "RX0;", ONE(RcvDataRX), 1, {"0"}},
    {"RX_model1", 1, "", ONE(RcvDataRX), 0, {"0"}},
    {"SA", 3, "SA1011010MYSAT;", [](CCorvan& c, Outs& o) { std::uint32_t v[7]; char t[12] = "old"; const auto r = c.RcvDataSA(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], t); o = {t}; for (auto x : v) o.push_back(U(x)); return r; }, 1, {"MYSAT", "1", "0", "1", "1", "0", "1", "0"}},
    {"SB", 3, "SB1;", ONE(RcvDataSB), 1, {"1"}},
    {"SC", 1, "SC1;", ONE(RcvDataSC), 1, {"1"}},
    {"SD", 3, "SD0500;", ONE(RcvDataSD), 1, {"500"}},
    {"SH", 3, "SH05;", ONE(RcvDataSH), 1, {"5"}},
    {"SL", 3, "SL07;", ONE(RcvDataSL), 1, {"7"}},
    {"SM_meter3", 3, "SM30015;", IDX(RcvDataSM, 3), 1, {"15"}},
    {"SM_meter4", 3, "SM30015;", IDX(RcvDataSM, 4), 0, {"0"}},
    {"SM_model1", 1, "SM0015;", IDX(RcvDataSM, 0), 1, {"15"}},
    {"SQ", 3, "SQ1050;", IDX(RcvDataSQ, 1), 1, {"50"}},
    {"SQ_index2", 3, "SQ1050;", IDX(RcvDataSQ, 2), 0, {"0"}},
    {"SS", 3, "SS2;", ONE(RcvDataSS), 1, {"2"}},
    {"ST", 3, "ST05;", ONE(RcvDataST), 1, {"5"}},
    {"SU", 3, "SU10101010101;", [](CCorvan& c, Outs& o) { std::uint32_t v[11]; const auto r = c.RcvDataSU(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10]); o.clear(); for (auto x : v) o.push_back(U(x)); return r; }, 1, {"1", "0", "1", "0", "1", "0", "1", "0", "1", "0", "1"}},
    {"TC", 3, "TC01;", TWO(RcvDataTC), 1, {"0", "1"}},
    {"TI", 3, "TI101;", [](CCorvan& c, Outs& o) { std::uint32_t a, b, d; const auto r = c.RcvDataTI(&a, &b, &d); o = {U(a), U(b), U(d)}; return r; }, 1, {"1", "0", "1"}},
    {"TN", 3, "TN12;", ONE(RcvDataTN), 1, {"12"}},
    {"TO", 3, "TO1;", ONE(RcvDataTO), 1, {"1"}},
    {"TS", 3, "TS1;", ONE(RcvDataTS), 1, {"1"}},
    {"TX", 3, "TX1;", ONE(RcvDataTX), 1, {"1"}},
    {"TY", 3, "TY2A1;", [](CCorvan& c, Outs& o) { std::uint32_t v[9]; const auto r = c.RcvDataTY(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8]); o.clear(); for (auto x : v) o.push_back(U(x)); return r; }, 1, {"0", "1", "0", "1", "0", "1", "0", "0", "1"}},
    {"UL_after_clear", 3, "", ONE(RcvDataUL), 1, {"0"}},
    {"UL", 3, "UL1;", ONE(RcvDataUL), 1, {"1"}},
    {"VD", 3, "VD1500;", ONE(RcvDataVD), 1, {"1500"}},
    {"VG", 1, "VG005;", ONE(RcvDataVG), 1, {"5"}},
    {"VX", 3, "VX1;", ONE(RcvDataVX), 1, {"1"}},
    {"XT", 3, "XT1;", ONE(RcvDataXT), 1, {"1"}},
    {"XT_model0", 0, "", ONE(RcvDataXT), 0, {"0"}},
};
// clang-format on

class Accessors : public ::testing::TestWithParam<RowGroup<AccessorRow>> {
protected:
    void SetUp() override { corvan::testing::ClearStore(); }
    void TearDown() override
    {
        corvan::testing::ClearStore();
        corvan::testing::SetModelType(0);
    }
};

TEST_P(Accessors, CopyTheStoredRecord)
{
    for (const AccessorRow& row : GetParam().rows) {
        SCOPED_TRACE(row.name);
        corvan::testing::ClearStore();
        corvan::testing::SetModelType(row.model == 1 ? 1 : 3);
        corvan::testing::Decode(row.replies.data(), row.replies.size());
        corvan::testing::SetModelType(row.model);
        CCorvan c;
        Outs outs;
        EXPECT_EQ(row.call(c, outs), row.result);
        EXPECT_EQ(outs, row.outs);
        // Accessors never clear the valid flag: a second call gives the same.
        Outs again;
        EXPECT_EQ(row.call(c, again), row.result);
        EXPECT_EQ(again, outs);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Accessors,
                         ::testing::ValuesIn(GroupRows<AccessorRow>(kRows, [](const AccessorRow& r) { return NamePrefix(r.name); })),
                         GroupName<AccessorRow>);

using corvan::detail::Global;
using corvan::detail::Pending;

TEST_F(Accessors, FrequencyAccessorsClearTheirPendingFlagWhateverTheResult)
{
    corvan::detail::Block& b = Global();
    b.pending.fill(1);
    corvan::testing::SetModelType(2); // every one of them returns 0 here
    CCorvan c;
    char f[20];
    std::uint32_t a, v;
    EXPECT_EQ(c.RcvDataFA(f), 0);
    EXPECT_EQ(c.RcvDataFB(f), 0);
    EXPECT_EQ(c.RcvDataFC(f), 0);
    EXPECT_EQ(c.RcvDataRM(&a, &v), 0);
    EXPECT_FALSE(b.IsPending(Pending::FA));
    EXPECT_FALSE(b.IsPending(Pending::FB));
    EXPECT_FALSE(b.IsPending(Pending::FC));
    EXPECT_FALSE(b.IsPending(Pending::RM));
}

TEST_F(Accessors, MeterAccessorClearsOnlyItsOwnIndex)
{
    corvan::detail::Block& b = Global();
    b.pending.fill(1);
    corvan::testing::SetModelType(3);
    CCorvan c;
    std::uint32_t v;
    c.RcvDataSM(2, &v);
    EXPECT_TRUE(b.IsPending(Pending::SM0));
    EXPECT_TRUE(b.IsPending(Pending::SM1));
    EXPECT_FALSE(b.IsPending(Pending::SM2));
    EXPECT_TRUE(b.IsPending(Pending::SM3));
    c.RcvDataSM(7, &v); // no such meter: nothing else changes
    EXPECT_TRUE(b.IsPending(Pending::SM3));
}

TEST_F(Accessors, DirectTextIsTakenOnceAndAlwaysReportsSuccess)
{
    CCorvan c;
    char text[corvan::kDirectTextSize] = "old";
    EXPECT_EQ(c.RcvDataDirect(text), 1);
    EXPECT_STREQ(text, "");
    corvan::detail::DirectDataIO("READY\r\n", 7, Global());
    EXPECT_EQ(c.RcvDataDirect(text), 1);
    EXPECT_STREQ(text, "READY\r\n");
    EXPECT_EQ(c.RcvDataDirect(text), 1);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(c.RcvDataDirect(nullptr), 1);
}

TEST_F(Accessors, NullOutParametersAreSkipped)
{
    corvan::testing::SetModelType(3);
    corvan::testing::Decode("AC101;FA00014200000;", 20);
    CCorvan c;
    std::uint32_t b = 9;
    EXPECT_EQ(c.RcvDataAC(nullptr, &b, nullptr), 1);
    EXPECT_EQ(b, 0u);
    EXPECT_EQ(c.RcvDataFA(nullptr), 1);
}

TEST(NumericCheck, DigitsOnly)
{
    struct Probe : CCorvan {
        static std::int32_t Check(const char* t) { return NumericCheck(t); }
        static char* Bits(char* h, char* o) { return Hex2BinayChar(h, o); }
    };
    EXPECT_EQ(Probe::Check("0123456789"), 1);
    EXPECT_EQ(Probe::Check(""), 1);
    EXPECT_EQ(Probe::Check("12a"), 0);
    EXPECT_EQ(Probe::Check(" 1"), 0);
    char hex[] = "a5";
    char out[9] = {};
    EXPECT_NE(Probe::Bits(hex, out), nullptr);
    EXPECT_STREQ(out, "10100101");
    EXPECT_STREQ(hex, "A5"); // upper-cased in place
    char bad[] = "1G";
    char part[9] = {};
    EXPECT_EQ(Probe::Bits(bad, part), nullptr);
    EXPECT_STREQ(part, "0001"); // what came before the bad character stays
}

} // namespace
