// SPDX-License-Identifier: GPL-3.0-or-later
// Every builder against a pseudo-terminal: the test reads exactly what went
// on the wire, or checks that a refused command wrote nothing.
#include "block.h"
#include "pty_radio.h"
#include "row_groups.h"
#include "testing.h"

#include <corvan.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct BuilderRow {
    std::string name;
    std::uint32_t model;
    std::function<std::int32_t(CCorvan&)> call;
    std::int32_t result;
    std::string wire; // what the radio receives; empty for a refusal
};

#define SENDS(name, model, expr, wire) BuilderRow{name, model, [](CCorvan& c) { return c.expr; }, 1, wire}
#define REFUSES(name, model, expr) BuilderRow{name, model, [](CCorvan& c) { return c.expr; }, 0, ""}

const std::string kMW3 = std::string("MW0") + "9" + "99" + "00145000000" + "9" + "1" + "3" + "39" + "38" + "103" +
                         "1" + "9" + "999999999" + "99" + "9" + "MYCALL" + ";";
const std::string kMW1 = std::string("MW1 05") + "00014200000" + "911" + "39" + " ;";

// clang-format off
const BuilderRow kRows[] = {
    SENDS("AC_set", 3, ConnAC("W", 1, 1, 2), "AC112;"),
    REFUSES("AC_model1_c2", 1, ConnAC("W", 1, 1, 2)),
    SENDS("AC_read_model2", 2, ConnAC("R", 9, 9, 9), "AC;"),
    REFUSES("AC_model0", 0, ConnAC("W", 0, 0, 0)),
    SENDS("AG_model1", 1, ConnAG("W", 0, 100), "AG100;"),
    REFUSES("AG_model1_receiver1", 1, ConnAG("W", 1, 100)),
    SENDS("AG_model3_readback", 3, ConnAG("W", 1, 255), "AG1255;AG1;"),
    REFUSES("AG_gain256", 3, ConnAG("W", 0, 256)),
    REFUSES("AG_model2_set", 2, ConnAG("W", 0, 1)),
    REFUSES("AG_model2_read", 2, ConnAG("R", 0, 0)),
    SENDS("AG_read_model1", 1, ConnAG("R", 0, 0), "AG;"),
    SENDS("AG_read_model3", 3, ConnAG("R", 1, 0), "AG1;"),
    REFUSES("AG_read_receiver2", 3, ConnAG("R", 2, 0)),
    SENDS("AI_set", 3, ConnAI("W", 2), "AI2;"),
    REFUSES("AI_one", 3, ConnAI("W", 1)),
    SENDS("AI_read", 1, ConnAI("R", 0), "AI;"),
    SENDS("AL_readback", 3, ConnAL("W", 4), "AL004;AL;"),
    REFUSES("AL_5", 3, ConnAL("W", 5)),
    REFUSES("AL_model1", 1, ConnAL("W", 1)),
    SENDS("AM_set", 3, ConnAM("W", 1), "AM1;"),
    REFUSES("AM_model1_set", 1, ConnAM("W", 1)),
    SENDS("AM_model1_read", 1, ConnAM("R", 1), "AM;"),
    SENDS("AN_set", 1, ConnAN("W", 2), "AN2;"),
    REFUSES("AN_zero", 1, ConnAN("W", 0)),
    SENDS("AR_set", 3, ConnAR("W", 1, 1, 5), "AR115;"),
    REFUSES("AR_a2", 3, ConnAR("W", 1, 2, 0)),
    REFUSES("AR_b10_would_shift_fields", 3, ConnAR("W", 1, 1, 10)),
    SENDS("AR_read", 3, ConnAR("R", 0, 0, 0), "AR0;"),
    REFUSES("AR_model1", 1, ConnAR("W", 0, 0, 0)),
    SENDS("AS_set", 3, ConnAS("W", 3, 99, "00014200000", 9), "AS399000142000009;"),
    SENDS("AS_read", 3, ConnAS("R", 1, 5, "", 0), "AS105;"),
    REFUSES("AS_a4", 3, ConnAS("W", 4, 0, "1", 0)),
    REFUSES("AS_bad_frequency", 3, ConnAS("W", 0, 0, "14.2", 0)),
    SENDS("BC_model1", 1, ConnBC("W", 1), "BC1;"),
    REFUSES("BC_model1_2", 1, ConnBC("W", 2)),
    SENDS("BC_model3", 3, ConnBC("W", 2), "BC2;"),
    REFUSES("BC_model2_read", 2, ConnBC("R", 0)),
    SENDS("BP_readback", 3, ConnBP("W", 63), "BP063;BP;"),
    REFUSES("BP_64", 3, ConnBP("W", 64)),
    SENDS("CA_set", 1, ConnCA("W", 1), "CA1;"),
    REFUSES("CA_model2", 2, ConnCA("W", 1)),
    SENDS("CG_model2", 2, ConnCG("W", 255), "CG255;"),
    SENDS("CG_model3_readback", 3, ConnCG("W", 100), "CG100;CG;"),
    REFUSES("CG_model3_101", 3, ConnCG("W", 101)),
    SENDS("CM_set", 3, ConnCM("W", 1), "CM1;"),
    SENDS("CN_model1", 1, ConnCN("W", 38), "CN38;"),
    SENDS("CN_model3_readback", 3, ConnCN("W", 1), "CN01;CN;"),
    REFUSES("CN_zero", 3, ConnCN("W", 0)),
    REFUSES("CN_39", 1, ConnCN("W", 39)),
    SENDS("CT_set", 2, ConnCT("W", 1), "CT1;"),
    SENDS("DC_set", 3, ConnDC("W", 1, 0), "DC10;"),
    REFUSES("DC_a2", 3, ConnDC("W", 2, 0)),
    SENDS("DQ_set", 3, ConnDQ("W", 1), "DQ1;"),
    SENDS("EX_model1", 1, ConnEX("W", 46, 74, 9, 9, "x;"), "EX0460074;"),
    REFUSES("EX_model1_menu47", 1, ConnEX("W", 47, 0, 0, 0, "")),
    SENDS("EX_model1_read", 1, ConnEX("R", 5, 5, 5, 5, ""), "EX;"),
    SENDS("EX_model3_readback", 3, ConnEX("W", 12, 3, 4, 5, "ABC"), "EX0120345ABC;EX0120345;"),
    SENDS("EX_model3_text16", 3, ConnEX("W", 1, 0, 0, 0, "ABCDEFGHIJKLMNOP"), "EX0010000ABCDEFGHIJKLMNOP;EX0010000;"),
    REFUSES("EX_model3_text17", 3, ConnEX("W", 1, 0, 0, 0, "ABCDEFGHIJKLMNOPQ")),
    REFUSES("EX_model3_semicolon", 3, ConnEX("W", 1, 0, 0, 0, "A;B")),
    REFUSES("EX_model3_null_text", 3, ConnEX("W", 1, 0, 0, 0, nullptr)),
    SENDS("EX_model3_read", 3, ConnEX("R", 55, 0, 0, 1, ""), "EX0550001;"),
    SENDS("FA_set", 1, ConnFA("W", "00014200000"), "FA00014200000;"),
    SENDS("FA_eleven_nines", 3, ConnFA("W", "99999999999"), "FA99999999999;"),
    REFUSES("FA_twelve_digits", 3, ConnFA("W", "100000000000")),
    REFUSES("FA_negative", 3, ConnFA("W", "-1")),
    REFUSES("FA_not_a_number", 3, ConnFA("W", "14.2")),
    REFUSES("FA_empty", 3, ConnFA("W", "")),
    REFUSES("FA_null", 3, ConnFA("W", nullptr)),
    SENDS("FA_short_number", 2, ConnFA("W", "5"), "FA00000000005;"),
    SENDS("FA_read", 3, ConnFA("R", nullptr), "FA;"),
    REFUSES("FA_model0", 0, ConnFA("R", nullptr)),
    REFUSES("FA_null_mode", 3, ConnFA(nullptr, "1")),
    SENDS("FB_read", 2, ConnFB("R", ""), "FB;"),
    SENDS("FB_set", 1, ConnFB("W", "00007000000"), "FB00007000000;"),
    SENDS("FC_set", 3, ConnFC("W", "00145000000"), "FC00145000000;"),
    REFUSES("FC_model1", 1, ConnFC("W", "00145000000")),
    SENDS("FR_model1", 1, ConnFR("W", 2), "FR2;"),
    REFUSES("FR_model1_3", 1, ConnFR("W", 3)),
    SENDS("FR_model3", 3, ConnFR("W", 3), "FR3;"),
    SENDS("FS_set", 3, ConnFS("W", 0), "FS0;"),
    SENDS("FT_model3", 3, ConnFT("W", 3), "FT3;"),
    REFUSES("FT_model1_3", 1, ConnFT("W", 3)),
    SENDS("FW_set", 1, ConnFW("W", 9999), "FW9999;"),
    REFUSES("FW_10000", 1, ConnFW("W", 10000)),
    SENDS("GT_model1", 1, ConnGT("W", 999), "GT999;"),
    REFUSES("GT_model2_256", 2, ConnGT("W", 256)),
    SENDS("GT_model3_readback", 3, ConnGT("W", 20), "GT020;GT;"),
    REFUSES("GT_model3_21", 3, ConnGT("W", 21)),
    SENDS("IS_model1_minus", 1, ConnIS("W", "-", 1100), "IS-1100;"),
    REFUSES("IS_model2_minus", 2, ConnIS("W", "-", 500)),
    SENDS("IS_model2_plus", 2, ConnIS("W", "+", 500), "IS+500;"),
    SENDS("IS_model3", 3, ConnIS("W", " ", 9999), "IS 9999;"),
    REFUSES("IS_model3_plus", 3, ConnIS("W", "+", 1)),
    REFUSES("IS_no_sign", 1, ConnIS("W", "", 1)),
    SENDS("IS_read", 2, ConnIS("R", nullptr, 0), "IS;"),
    SENDS("KS_model1", 1, ConnKS("W", 60), "KS060;"),
    SENDS("KS_model2", 2, ConnKS("W", 100), "KS100;"),
    SENDS("KS_model3_readback", 3, ConnKS("W", 10), "KS010;KS;"),
    REFUSES("KS_9", 3, ConnKS("W", 9)),
    SENDS("KY_padded", 3, ConnKY("W", "CQ TEST"), "KY CQ TEST                 ;"),
    SENDS("KY_24", 1, ConnKY("W", "ABCDEFGHIJKLMNOPQRSTUVWX"), "KY ABCDEFGHIJKLMNOPQRSTUVWX;"),
    REFUSES("KY_25", 1, ConnKY("W", "ABCDEFGHIJKLMNOPQRSTUVWXY")),
    REFUSES("KY_semicolon", 1, ConnKY("W", "CQ;DE")),
    SENDS("KY_read", 2, ConnKY("R", nullptr), "KY;"),
    SENDS("LK_model1", 1, ConnLK("W", 2, 9), "LK2;"),
    SENDS("LK_model3", 3, ConnLK("W", 1, 2), "LK12;"),
    REFUSES("LK_model3_b3", 3, ConnLK("W", 1, 3)),
    SENDS("LM_model2", 2, ConnLM("W", 4), "LM4;"),
    REFUSES("LM_model3_4", 3, ConnLM("W", 4)),
    SENDS("LT_set", 3, ConnLT("W", 1), "LT1;"),
    SENDS("MC_model1", 1, ConnMC("W", 0, 5), "MC 05;"),
    SENDS("MC_model3", 3, ConnMC("W", 9, 99), "MC999;"),
    REFUSES("MC_bank10", 3, ConnMC("W", 10, 0)),
    REFUSES("MC_model2", 2, ConnMC("W", 0, 0)),
    SENDS("MD_set", 2, ConnMD("W", 9), "MD9;"),
    REFUSES("MD_10", 2, ConnMD("W", 10)),
    SENDS("MF_set", 3, ConnMF("W", 1), "MF1;"),
    SENDS("MG_model1", 1, ConnMG("W", 100), "MG100;"),
    SENDS("MG_model2", 2, ConnMG("W", 255), "MG255;"),
    SENDS("MG_model3_readback", 3, ConnMG("W", 50), "MG050;MG;"),
    SENDS("ML_readback", 3, ConnML("W", 9), "ML009;ML;"),
    SENDS("MO_set", 3, ConnMO("W", 1), "MO1;"),
    SENDS("MU_readback", 3, ConnMU("W", 1, 0, 1, 0, 1, 0, 1, 0, 1, 0), "MU1010101010;MU;"),
    REFUSES("MU_2", 3, ConnMU("W", 2, 0, 0, 0, 0, 0, 0, 0, 0, 0)),
    SENDS("NB_set", 1, ConnNB("W", 1), "NB1;"),
    SENDS("NL_model2", 2, ConnNL("W", 255), "NL255;"),
    SENDS("NL_model3_readback", 3, ConnNL("W", 999), "NL999;NL;"),
    SENDS("NR_set", 3, ConnNR("W", 2), "NR2;"),
    SENDS("NT_set", 2, ConnNT("W", 1), "NT1;"),
    REFUSES("NT_model1", 1, ConnNT("W", 1)),
    SENDS("OF_set", 3, ConnOF("W", 59950000), "OF059950000;"),
    REFUSES("OF_over", 3, ConnOF("W", 59950001)),
    SENDS("OS_set", 3, ConnOS("W", 3), "OS3;"),
    SENDS("PA_set", 1, ConnPA("W", 1), "PA1;"),
    SENDS("PB_model2", 2, ConnPB("W", 4), "PB4;"),
    REFUSES("PB_model1_4", 1, ConnPB("W", 4)),
    SENDS("PC_model1", 1, ConnPC("W", 5), "PC005;"),
    REFUSES("PC_model1_4", 1, ConnPC("W", 4)),
    SENDS("PC_model2", 2, ConnPC("W", 10), "PC010;"),
    SENDS("PC_model3_readback", 3, ConnPC("W", 1), "PC001;PC;"),
    SENDS("PL_model2", 2, ConnPL("W", 255, 255), "PL255255;"),
    SENDS("PL_model3_readback", 3, ConnPL("W", 100, 50), "PL100050;PL;"),
    REFUSES("PL_model3_101", 3, ConnPL("W", 101, 0)),
    SENDS("PM_set", 3, ConnPM("W", 5), "PM5;"),
    SENDS("PR_set", 2, ConnPR("W", 1), "PR1;"),
    SENDS("PS_model1", 1, ConnPS("W", 1), "PS1;"),
    REFUSES("PS_model1_2", 1, ConnPS("W", 2)),
    SENDS("PS_model3", 3, ConnPS("W", 3), "PS3;"),
    SENDS("QC_readback", 3, ConnQC("W", 103), "QC103;QC;"),
    SENDS("QR_set", 3, ConnQR("W", 1, 9), "QR19;"),
    REFUSES("QR_a2", 3, ConnQR("W", 2, 0)),
    SENDS("RA_model1", 1, ConnRA("W", 1), "RA01;"),
    SENDS("RA_model2", 2, ConnRA("W", 3), "RA03;"),
    SENDS("RA_model3", 3, ConnRA("W", 99), "RA99;"),
    SENDS("RD_model1_set", 1, ConnRD("W", 12345), "RD;"),
    SENDS("RD_model1_read", 1, ConnRD("R", 0), "RD;"),
    SENDS("RD_model3_zero", 3, ConnRD("W", 0), "RD;"),
    SENDS("RD_model3_no_scan", 3, ConnRD("W", 100), "RD00100;"),
    REFUSES("RD_model3_100000", 3, ConnRD("W", 100000)),
    REFUSES("RD_model2", 2, ConnRD("W", 1)),
    SENDS("RU_model2", 2, ConnRU("W", 7), "RU;"),
    SENDS("RU_model3", 3, ConnRU("W", 50), "RU00050;"),
    SENDS("RG_model1", 1, ConnRG("W", 255), "RG255;"),
    SENDS("RG_model3_readback", 3, ConnRG("W", 0), "RG000;RG;"),
    SENDS("RL_readback", 3, ConnRL("W", 9), "RL09;RL;"),
    SENDS("RM_set", 1, ConnRM("W", 6), "RM6;"),
    REFUSES("RM_7", 1, ConnRM("W", 7)),
    SENDS("RT_set", 2, ConnRT("W", 1), "RT1;"),
    SENDS("SA_name_not_sent", 3, ConnSA("W", 1, 9, 1, 1, 1, 1, 1, "NAME"), "SA1911111;"),
    REFUSES("SA_second_10", 3, ConnSA("W", 1, 10, 1, 1, 1, 1, 1, "")),
    SENDS("SA_read", 3, ConnSA("R", 0, 0, 0, 0, 0, 0, 0, nullptr), "SA;"),
    SENDS("SB_set", 3, ConnSB("W", 1), "SB1;"),
    REFUSES("SB_model2", 2, ConnSB("W", 1)),
    SENDS("SC_model1", 1, ConnSC("W", 1), "SC1;"),
    REFUSES("SC_model1_2", 1, ConnSC("W", 2)),
    SENDS("SC_model3", 3, ConnSC("W", 6), "SC6;"),
    SENDS("SD_model1", 1, ConnSD("W", 1000), "SD1000;"),
    SENDS("SD_model2", 2, ConnSD("W", 950), "SD0950;"),
    SENDS("SD_model3_readback", 3, ConnSD("W", 0), "SD0000;SD;"),
    SENDS("SH_model1", 1, ConnSH("W", 20), "SH20;"),
    SENDS("SH_model3", 3, ConnSH("W", 11), "SH11;"),
    REFUSES("SH_model2_set", 2, ConnSH("W", 1)),
    SENDS("SH_model2_read", 2, ConnSH("R", 1), "SH;"),
    SENDS("SL_model1", 1, ConnSL("W", 20), "SL20;"),
    REFUSES("SL_model3_12", 3, ConnSL("W", 12)),
    SENDS("SQ_model1", 1, ConnSQ("W", 0, 255), "SQ255;"),
    SENDS("SQ_model3_readback", 3, ConnSQ("W", 1, 10), "SQ1010;SQ1;"),
    SENDS("SQ_model1_read", 1, ConnSQ("R", 0, 0), "SQ;"),
    SENDS("SQ_model3_read", 3, ConnSQ("R", 0, 0), "SQ0;"),
    SENDS("SS_set", 3, ConnSS("W", 2), "SS2;"),
    SENDS("ST_set", 3, ConnST("W", 9), "ST09;"),
    SENDS("SU_readback", 3, ConnSU("W", 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1), "SU10101010101;SU1;"),
    REFUSES("SU_2", 3, ConnSU("W", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2)),
    SENDS("TC_leave_terminal", 3, ConnTC("W", 0, 1), "\x03;\rTC 1;\r"),
    SENDS("TC_enter_terminal", 3, ConnTC("W", 0, 0), "\rTC 0;"),
    SENDS("TC_read", 3, ConnTC("R", 0, 0), "TC;"),
    REFUSES("TC_2", 3, ConnTC("W", 0, 2)),
    SENDS("TN_model1", 1, ConnTN("W", 39), "TN39;"),
    SENDS("TN_model3_readback", 3, ConnTN("W", 1), "TN01;TN;"),
    SENDS("TO_model2", 2, ConnTO("W", 1), "TO1;"),
    SENDS("TO_model3", 3, ConnTO("W", 3), "TO3;"),
    SENDS("TS_set", 3, ConnTS("W", 1), "TS1;"),
    SENDS("VD_model1", 1, ConnVD("W", 3000), "VD3000;"),
    SENDS("VD_model2", 2, ConnVD("W", 2700), "VD2700;"),
    SENDS("VD_model3_readback", 3, ConnVD("W", 0), "VD0000;VD;"),
    SENDS("VG_readback", 3, ConnVG("W", 9), "VG009;VG;"),
    SENDS("VX_set", 2, ConnVX("W", 1), "VX1;"),
    SENDS("XT_set", 1, ConnXT("W", 1), "XT1;"),
    REFUSES("XT_model2", 2, ConnXT("W", 1)),
    // Builders without a mode.
    SENDS("BD", 3, ConnBD(), "BD;"),
    REFUSES("BD_model1", 1, ConnBD()),
    SENDS("BU", 3, ConnBU(), "BU;"),
    SENDS("BY", 1, ConnBY(), "BY;"),
    REFUSES("BY_model0", 0, ConnBY()),
    SENDS("CH", 3, ConnCH(1), "CH1;"),
    REFUSES("CH_2", 3, ConnCH(2)),
    SENDS("CI", 3, ConnCI(), "CI;"),
    SENDS("DN_model1", 1, ConnDN(7), "DN;"),
    SENDS("DN_model3_zero", 3, ConnDN(0), "DN;"),
    SENDS("DN_model3_steps", 3, ConnDN(5), "DN05;"),
    REFUSES("DN_model3_100", 3, ConnDN(100)),
    SENDS("FD", 2, ConnFD(), "FD;"),
    REFUSES("FD_model1", 1, ConnFD()),
    SENDS("ID_model0", 0, ConnID(), "ID;"),
    SENDS("IF", 1, ConnIF(), "IF;"),
    SENDS("MR_model1", 1, ConnMR(1, 5, 7), "MR1 07;"),
    SENDS("MR_model3", 3, ConnMR(0, 9, 99), "MR0999;"),
    REFUSES("MR_bank10", 3, ConnMR(0, 10, 0)),
    REFUSES("MR_split2", 3, ConnMR(2, 0, 0)),
    SENDS("MW_model1", 1, ConnMW(1, 0, 5, "00014200000", 9, 1, 1, 39, 0, 0, 0, 0, 0, 0, 0, "x;"), kMW1),
    REFUSES("MW_model1_f8_zero", 1, ConnMW(1, 0, 5, "00014200000", 9, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, "")),
    SENDS("MW_model3", 3, ConnMW(0, 9, 99, "00145000000", 9, 1, 3, 39, 38, 103, 1, 9, 999999999, 99, 9, "MYCALL"), kMW3),
    REFUSES("MW_model3_name9", 3, ConnMW(0, 0, 0, "1", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "ABCDEFGHI")),
    REFUSES("MW_model3_semicolon", 3, ConnMW(0, 0, 0, "1", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "AB;")),
    REFUSES("MW_model3_f11_10", 3, ConnMW(0, 0, 0, "1", 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0, "")),
    REFUSES("MW_model3_f13_over", 3, ConnMW(0, 0, 0, "1", 0, 0, 0, 0, 0, 0, 0, 0, 1000000000, 0, 0, "")),
    REFUSES("MW_bad_frequency", 3, ConnMW(0, 0, 0, "x", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "")),
    SENDS("OI", 3, ConnOI(), "OI;"),
    SENDS("PI", 3, ConnPI(5), "PI5;"),
    REFUSES("PI_6", 3, ConnPI(6)),
    SENDS("QI", 3, ConnQI(), "QI;"),
    SENDS("RC", 2, ConnRC(), "RC;"),
    SENDS("RX", 1, ConnRX(), "RX;"),
    SENDS("SI", 3, ConnSI(9, "SATNAME1"), "SI9SATNAME1;"),
    REFUSES("SI_name9", 3, ConnSI(9, "SATNAME12")),
    REFUSES("SI_semicolon", 3, ConnSI(1, "A;")),
    REFUSES("SI_index10", 3, ConnSI(10, "A")),
    SENDS("SM_model1", 1, ConnSM(0), "SM;"),
    REFUSES("SM_model1_index4", 1, ConnSM(4)),
    SENDS("SM_model3", 3, ConnSM(3), "SM3;"),
    REFUSES("SM_model3_index4", 3, ConnSM(4)),
    SENDS("SR", 1, ConnSR(2), "SR2;"),
    REFUSES("SR_3", 1, ConnSR(3)),
    SENDS("SV", 3, ConnSV(), "SV;"),
    SENDS("TD", 3, ConnTD(9), "TD09;"),
    REFUSES("TD_10", 3, ConnTD(10)),
    SENDS("TI", 3, ConnTI(), "TI;"),
    SENDS("TX", 2, ConnTX(), "TX;"),
    SENDS("TY", 3, ConnTY(), "TY;"),
    REFUSES("TY_model1", 1, ConnTY()),
    SENDS("UP", 3, ConnUP(99), "UP99;"),
    SENDS("UR", 1, ConnUR("abc"), "UR" + std::string(125, ' ') + "abc;"),
    SENDS("UR_128", 3, ConnUR(std::string(128, 'z').c_str()), "UR" + std::string(128, 'z') + ";"),
    REFUSES("UR_129", 3, ConnUR(std::string(129, 'z').c_str())),
    REFUSES("UR_semicolon", 3, ConnUR("a;b")),
    REFUSES("UR_model2", 2, ConnUR("a")),
    SENDS("UT", 3, ConnUT("x"), "UT" + std::string(127, ' ') + "x;"),
    REFUSES("UT_semicolon", 1, ConnUT(";")),
    SENDS("VR", 1, ConnVR(1), "VR1;"),
    REFUSES("VR_3", 3, ConnVR(3)),
    SENDS("Direct_raw", 0, ConnDirect("any;thing\r"), "any;thing\r"),
};
// clang-format on

// The rows of one builder run in one test (one connection).
using BuilderGroup = RowGroup<BuilderRow>;

class Builders : public ::testing::TestWithParam<BuilderGroup> {
protected:
    LinkOnPty pty;
};

TEST_P(Builders, WriteExactlyTheirCommand)
{
    ASSERT_EQ(pty.connected, 1);
    for (const BuilderRow& row : GetParam().rows) {
        SCOPED_TRACE(row.name);
        corvan::testing::SetModelType(row.model);
        EXPECT_EQ(row.call(pty.link), row.result);
        pty.link.ConnDirect("#"); // marks the end of what the builder wrote
        EXPECT_EQ(pty.radio.takeAtLeast(row.wire.size() + 1), row.wire + "#");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Builders,
                         ::testing::ValuesIn(GroupRows<BuilderRow>(kRows, [](const BuilderRow& r) { return NamePrefix(r.name); })),
                         GroupName<BuilderRow>);

using corvan::detail::Global;
using corvan::detail::Pending;
using corvan::detail::Rec;

TEST(BuildersClosed, RefuseAndLeaveTheStoreAlone)
{
    corvan::testing::ClearStore();
    corvan::testing::SetModelType(3);
    corvan::testing::Decode("FA00014200000;", 14);
    CCorvan c;
    ASSERT_FALSE(CCorvan::IsOpen());
    EXPECT_EQ(c.ConnFA("R", nullptr), 0);
    EXPECT_EQ(Global().Get(Rec::FA).valid, 1u);
    EXPECT_EQ(c.ConnMD("W", 1), 0);
    EXPECT_EQ(c.ConnDirect("MD1;"), 0);
    EXPECT_EQ(c.ConnID(), 0);
    EXPECT_EQ(c.ConnTC("R", 0, 0), 0);
    EXPECT_EQ(c.ConnBY(), 0);
    corvan::testing::ClearStore();
    corvan::testing::SetModelType(0);
}

TEST(BuildersDirectMode, OnlyTerminalAndDirectCommandsGoOut)
{
    LinkOnPty pty;
    corvan::testing::SetModelType(3);
    corvan::testing::SetDirectMode(true);
    EXPECT_EQ(pty.link.ConnMD("W", 1), 0);
    EXPECT_EQ(pty.link.ConnFA("R", nullptr), 0);
    EXPECT_EQ(pty.link.ConnID(), 0);
    EXPECT_EQ(pty.link.ConnBY(), 0);
    EXPECT_EQ(pty.link.ConnTC("R", 0, 0), 1);
    EXPECT_EQ(pty.link.ConnDirect("hello\r"), 1);
    EXPECT_EQ(pty.radio.takeAtLeast(9), "TC;hello\r");
    EXPECT_TRUE(CCorvan::IsDirectMode());
    EXPECT_EQ(pty.link.ConnTC("W", 0, 1), 1); // leaves terminal mode before writing
    EXPECT_FALSE(CCorvan::IsDirectMode());
    EXPECT_EQ(pty.link.ConnMD("W", 1), 1);
    EXPECT_EQ(pty.radio.takeAtLeast(13), "\x03;\rTC 1;\rMD1;");
}

TEST(BuildersReadForms, ClearTheirRecordButNotThePendingFlag)
{
    LinkOnPty pty;
    RecordingTarget target;
    pty.link.WinMsgSendReg(&target);
    corvan::testing::SetModelType(3);
    const std::string replies = std::string("FA00014200000;MD3;MR0") + "1" + "12" + "00145000000" + "310" + "05" +
                                "12" + "103" + "10" + "000600000" + "07" + "2" + "MYCALL  ;";
    corvan::testing::Decode(replies.data(), replies.size());
    ASSERT_TRUE(Global().IsPending(Pending::FA));
    ASSERT_EQ(Global().Get(Rec::MR0).valid, 1u);
    EXPECT_EQ(pty.link.ConnFA("R", nullptr), 1);
    EXPECT_EQ(pty.link.ConnMD("R", 0), 1);
    EXPECT_EQ(pty.link.ConnMR(0, 1, 12), 1);
    EXPECT_EQ(Global().Get(Rec::FA).valid, 0u);
    EXPECT_STREQ(Global().Get(Rec::FA).text[0].data(), "");
    EXPECT_TRUE(Global().IsPending(Pending::FA));
    EXPECT_EQ(Global().Get(Rec::MD).valid, 0u);
    EXPECT_EQ(Global().Get(Rec::MR0).valid, 0u);
    EXPECT_STREQ(Global().Get(Rec::MR0).text[1].data(), "");
    // A set form leaves the record alone.
    corvan::testing::Decode("MD3;", 4);
    EXPECT_EQ(pty.link.ConnMD("W", 2), 1);
    EXPECT_EQ(Global().Get(Rec::MD).num[0], 3u);
}

TEST(BuildersReadForms, ClearingQueriesClearForAnyModelType)
{
    LinkOnPty pty;
    corvan::testing::SetModelType(3);
    corvan::testing::Decode("TY2A0;", 6);
    corvan::testing::SetModelType(1);
    EXPECT_EQ(pty.link.ConnTY(), 0); // model type 1 has no TY command...
    EXPECT_EQ(Global().Get(Rec::TY).valid, 0u); // ...but the record is cleared
}

TEST(BuildersReadBack, ScanSpeedIsReadBackOnlyWhileAScanRuns)
{
    LinkOnPty pty;
    corvan::testing::SetModelType(3);
    corvan::testing::Decode("SC1;", 4);
    EXPECT_EQ(pty.link.ConnRD("W", 100), 1);
    EXPECT_EQ(pty.link.ConnRU("W", 5), 1);
    EXPECT_EQ(pty.radio.takeAtLeast(22), "RD00100;RD;RU00005;RU;");
}

} // namespace
