// SPDX-License-Identifier: GPL-3.0-or-later
// The link against the radio: for every builder with a read form, set a
// value, see the radio take it, read it back and get it from the accessor.
// The radio must never have to answer "?" to what the link sends.
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using namespace std::chrono_literals;
using qxsim_test::Linked;
using qxsim_test::SharedLinkTest;
using qxsim_test::until;

namespace {

struct Trip {
    std::string name;
    std::function<std::int32_t(CCorvan&)> set;
    std::function<bool(const qxsim::Radio&)> applied;
    std::function<std::int32_t(CCorvan&)> read;
    std::function<bool(CCorvan&)> got;
};

std::ostream& operator<<(std::ostream& os, const Trip& t)
{
    return os << t.name;
}

using U = std::uint32_t;
using SetOne = std::int32_t (CCorvan::*)(const char*, U);
using GetOne = std::int32_t (CCorvan::*)(U*);

// A builder with one value whose reply has one number.
Trip one(const char* code, SetOne set, GetOne get, U v)
{
    return {code,
            [=](CCorvan& l) { return (l.*set)("W", v); },
            [=](const qxsim::Radio& r) { return r.value(code) == static_cast<long long>(v); },
            [=](CCorvan& l) { return (l.*set)("R", 0); },
            [=](CCorvan& l) {
                U got = 12345;
                return (l.*get)(&got) == 1 && got == v;
            }};
}

std::vector<Trip> trips()
{
    std::vector<Trip> t = {
        one("AL", &CCorvan::ConnAL, &CCorvan::RcvDataAL, 3),
        one("AM", &CCorvan::ConnAM, &CCorvan::RcvDataAM, 1),
        one("AN", &CCorvan::ConnAN, &CCorvan::RcvDataAN, 2),
        one("BC", &CCorvan::ConnBC, &CCorvan::RcvDataBC, 2),
        one("BP", &CCorvan::ConnBP, &CCorvan::RcvDataBP, 40),
        one("CA", &CCorvan::ConnCA, &CCorvan::RcvDataCA, 1),
        one("CG", &CCorvan::ConnCG, &CCorvan::RcvDataCG, 70),
        one("CM", &CCorvan::ConnCM, &CCorvan::RcvDataCM, 1),
        one("CN", &CCorvan::ConnCN, &CCorvan::RcvDataCN, 12),
        one("CT", &CCorvan::ConnCT, &CCorvan::RcvDataCT, 1),
        one("DQ", &CCorvan::ConnDQ, &CCorvan::RcvDataDQ, 1),
        one("FS", &CCorvan::ConnFS, &CCorvan::RcvDataFS, 1),
        one("FW", &CCorvan::ConnFW, &CCorvan::RcvDataFW, 500),
        one("GT", &CCorvan::ConnGT, &CCorvan::RcvDataGT, 15),
        one("KS", &CCorvan::ConnKS, &CCorvan::RcvDataKS, 30),
        one("LM", &CCorvan::ConnLM, &CCorvan::RcvDataLM, 2),
        one("LT", &CCorvan::ConnLT, &CCorvan::RcvDataLT, 1),
        one("MF", &CCorvan::ConnMF, &CCorvan::RcvDataMF, 1),
        one("MG", &CCorvan::ConnMG, &CCorvan::RcvDataMG, 80),
        one("ML", &CCorvan::ConnML, &CCorvan::RcvDataML, 5),
        one("MO", &CCorvan::ConnMO, &CCorvan::RcvDataMO, 1),
        one("NB", &CCorvan::ConnNB, &CCorvan::RcvDataNB, 1),
        one("NL", &CCorvan::ConnNL, &CCorvan::RcvDataNL, 300),
        one("NR", &CCorvan::ConnNR, &CCorvan::RcvDataNR, 2),
        one("NT", &CCorvan::ConnNT, &CCorvan::RcvDataNT, 1),
        one("OF", &CCorvan::ConnOF, &CCorvan::RcvDataOF, 1'000'000),
        one("OS", &CCorvan::ConnOS, &CCorvan::RcvDataOS, 2),
        one("PB", &CCorvan::ConnPB, &CCorvan::RcvDataPB, 2),
        one("PC", &CCorvan::ConnPC, &CCorvan::RcvDataPC, 50),
        one("PM", &CCorvan::ConnPM, &CCorvan::RcvDataPM, 3),
        one("PR", &CCorvan::ConnPR, &CCorvan::RcvDataPR, 1),
        one("QC", &CCorvan::ConnQC, &CCorvan::RcvDataQC, 50),
        one("RG", &CCorvan::ConnRG, &CCorvan::RcvDataRG, 100),
        one("RL", &CCorvan::ConnRL, &CCorvan::RcvDataRL, 5),
        one("RT", &CCorvan::ConnRT, &CCorvan::RcvDataRT, 1),
        one("SB", &CCorvan::ConnSB, &CCorvan::RcvDataSB, 1),
        one("SD", &CCorvan::ConnSD, &CCorvan::RcvDataSD, 300),
        one("SH", &CCorvan::ConnSH, &CCorvan::RcvDataSH, 5),
        one("SL", &CCorvan::ConnSL, &CCorvan::RcvDataSL, 3),
        one("SS", &CCorvan::ConnSS, &CCorvan::RcvDataSS, 1),
        one("ST", &CCorvan::ConnST, &CCorvan::RcvDataST, 3),
        one("TN", &CCorvan::ConnTN, &CCorvan::RcvDataTN, 20),
        one("TO", &CCorvan::ConnTO, &CCorvan::RcvDataTO, 2),
        one("TS", &CCorvan::ConnTS, &CCorvan::RcvDataTS, 1),
        one("VD", &CCorvan::ConnVD, &CCorvan::RcvDataVD, 2000),
        one("VG", &CCorvan::ConnVG, &CCorvan::RcvDataVG, 7),
        one("VX", &CCorvan::ConnVX, &CCorvan::RcvDataVX, 1),
        one("XT", &CCorvan::ConnXT, &CCorvan::RcvDataXT, 1),
    };
    t.push_back({"AC", [](CCorvan& l) { return l.ConnAC("W", 1, 1, 2); },
                 [](const qxsim::Radio& r) { return r.value("AC", 0) == 1 && r.value("AC", 2) == 2; },
                 [](CCorvan& l) { return l.ConnAC("R", 0, 0, 0); },
                 [](CCorvan& l) {
                     U a, b, c;
                     return l.RcvDataAC(&a, &b, &c) == 1 && a == 1 && b == 1 && c == 2;
                 }});
    t.push_back({"AG", [](CCorvan& l) { return l.ConnAG("W", 1, 200); },
                 [](const qxsim::Radio& r) { return r.value("AG1") == 200; },
                 [](CCorvan& l) { return l.ConnAG("R", 1, 0); },
                 [](CCorvan& l) {
                     U g;
                     return l.RcvDataAG(1, &g) == 1 && g == 200;
                 }});
    t.push_back({"AR", [](CCorvan& l) { return l.ConnAR("W", 1, 1, 1); },
                 [](const qxsim::Radio& r) { return r.value("AR1", 0) == 1 && r.value("AR1", 1) == 1; },
                 [](CCorvan& l) { return l.ConnAR("R", 1, 0, 0); },
                 [](CCorvan& l) {
                     U a, b;
                     return l.RcvDataAR(1, &a, &b) == 1 && a == 1 && b == 1;
                 }});
    t.push_back({"AS", [](CCorvan& l) { return l.ConnAS("W", 1, 2, "00014250000", 3); },
                 [](const qxsim::Radio& r) { return r.value("AS102", 0) == 14'250'000; },
                 [](CCorvan& l) { return l.ConnAS("R", 1, 2, "0", 0); },
                 [](CCorvan& l) {
                     U a, b, c;
                     char f[corvan::kFrequencyTextSize] = {};
                     return l.RcvDataAS(&a, &b, f, &c) == 1 && a == 1 && b == 2 &&
                            std::string(f) == "00014250000" && c == 3;
                 }});
    t.push_back({"DC", [](CCorvan& l) { return l.ConnDC("W", 1, 0); },
                 [](const qxsim::Radio& r) { return r.state().transmitBand == 1 && r.state().controlBand == 0; },
                 [](CCorvan& l) { return l.ConnDC("R", 0, 0); },
                 [](CCorvan& l) {
                     U a, b;
                     return l.RcvDataDC(&a, &b) == 1 && a == 1 && b == 0;
                 }});
    t.push_back({"EX", [](CCorvan& l) { return l.ConnEX("W", 19, 1, 0, 0, "1"); },
                 [](const qxsim::Radio& r) { return r.menuValue(19, 1) == "1"; },
                 [](CCorvan& l) { return l.ConnEX("R", 19, 1, 0, 0, ""); },
                 [](CCorvan& l) {
                     U m, s, a, b;
                     char text[corvan::kNameTextSize] = {};
                     return l.RcvDataEX(&m, &s, &a, &b, text) == 1 && m == 19 && s == 1 &&
                            std::string(text) == "1";
                 }});
    const auto frequency = [](const char* code, auto set, auto get, std::int64_t qxsim::State::*field) {
        return Trip{code, [=](CCorvan& l) { return (l.*set)("W", "00007123450"); },
                    [=](const qxsim::Radio& r) { return r.state().*field == 7'123'450; },
                    [=](CCorvan& l) { return (l.*set)("R", ""); },
                    [=](CCorvan& l) {
                        char f[corvan::kFrequencyTextSize] = {};
                        return (l.*get)(f) == 1 && std::string(f) == "00007123450";
                    }};
    };
    t.push_back(frequency("FA", &CCorvan::ConnFA, &CCorvan::RcvDataFA, &qxsim::State::vfoA));
    t.push_back(frequency("FB", &CCorvan::ConnFB, &CCorvan::RcvDataFB, &qxsim::State::vfoB));
    t.push_back(frequency("FC", &CCorvan::ConnFC, &CCorvan::RcvDataFC, &qxsim::State::subFrequency));
    t.push_back({"FR", [](CCorvan& l) { return l.ConnFR("W", 1); },
                 [](const qxsim::Radio& r) { return r.state().rxVfo == 1; },
                 [](CCorvan& l) { return l.ConnFR("R", 0); },
                 [](CCorvan& l) {
                     U v = 9;
                     return l.RcvDataFR(&v) == 1 && v == 1;
                 }});
    t.push_back({"FT", [](CCorvan& l) { return l.ConnFT("W", 0); },
                 [](const qxsim::Radio& r) { return r.state().txVfo == 0; },
                 [](CCorvan& l) { return l.ConnFT("R", 0); },
                 [](CCorvan& l) {
                     U v = 9;
                     return l.RcvDataFT(&v) == 1 && v == 0;
                 }});
    t.push_back({"IS", [](CCorvan& l) { return l.ConnIS("W", " ", 700); },
                 [](const qxsim::Radio& r) { return r.value("IS") == 700; },
                 [](CCorvan& l) { return l.ConnIS("R", " ", 0); },
                 [](CCorvan& l) {
                     char sign[corvan::kSignTextSize] = {};
                     U v;
                     return l.RcvDataIS(sign, &v) == 1 && v == 700 && sign[0] == ' ';
                 }});
    t.push_back({"KY", [](CCorvan& l) { return l.ConnKY("W", "CQ"); },
                 [](const qxsim::Radio& r) { return r.state().keyerText == "CQ" + std::string(22, ' '); },
                 [](CCorvan& l) { return l.ConnKY("R", ""); },
                 [](CCorvan& l) {
                     U v = 9;
                     return l.RcvDataKY(&v) == 1 && v <= 1;
                 }});
    t.push_back({"LK", [](CCorvan& l) { return l.ConnLK("W", 1, 2); },
                 [](const qxsim::Radio& r) { return r.value("LK", 0) == 1 && r.value("LK", 1) == 2; },
                 [](CCorvan& l) { return l.ConnLK("R", 0, 0); },
                 [](CCorvan& l) {
                     U a, b;
                     return l.RcvDataLK(&a, &b) == 1 && a == 1 && b == 2;
                 }});
    t.push_back({"MC", [](CCorvan& l) { return l.ConnMC("W", 1, 23); },
                 [](const qxsim::Radio& r) { return r.state().bank == 1 && r.state().channel == 23; },
                 [](CCorvan& l) { return l.ConnMC("R", 0, 0); },
                 [](CCorvan& l) {
                     U b, c;
                     return l.RcvDataMC(&b, &c) == 1 && b == 1 && c == 23;
                 }});
    t.push_back({"MD", [](CCorvan& l) { return l.ConnMD("W", 3); },
                 [](const qxsim::Radio& r) {
                     const auto st = r.state();  // the mode of the VFO that receives
                     return (st.rxVfo == 1 ? st.modeB : st.modeA) == 3;
                 },
                 [](CCorvan& l) { return l.ConnMD("R", 0); },
                 [](CCorvan& l) {
                     U v;
                     return l.RcvDataMD(&v) == 1 && v == 3;
                 }});
    t.push_back({"MU", [](CCorvan& l) { return l.ConnMU("W", 1, 0, 1, 0, 1, 0, 1, 0, 1, 1); },
                 [](const qxsim::Radio& r) { return r.value("MU", 0) == 1 && r.value("MU", 9) == 1 && r.value("MU", 1) == 0; },
                 [](CCorvan& l) { return l.ConnMU("R", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0); },
                 [](CCorvan& l) {
                     U v[10];
                     return l.RcvDataMU(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9]) == 1 &&
                            v[0] == 1 && v[1] == 0 && v[8] == 1 && v[9] == 1;
                 }});
    t.push_back({"PA", [](CCorvan& l) { return l.ConnPA("W", 1); },
                 [](const qxsim::Radio& r) { return r.value("PA", 0) == 1; },
                 [](CCorvan& l) { return l.ConnPA("R", 0); },
                 [](CCorvan& l) {
                     U a, b;
                     return l.RcvDataPA(&a, &b) == 1 && a == 1 && b == 0;
                 }});
    t.push_back({"PL", [](CCorvan& l) { return l.ConnPL("W", 30, 60); },
                 [](const qxsim::Radio& r) { return r.value("PL", 0) == 30 && r.value("PL", 1) == 60; },
                 [](CCorvan& l) { return l.ConnPL("R", 0, 0); },
                 [](CCorvan& l) {
                     U a, b;
                     return l.RcvDataPL(&a, &b) == 1 && a == 30 && b == 60;
                 }});
    t.push_back({"PS", [](CCorvan& l) { return l.ConnPS("W", 1); },
                 [](const qxsim::Radio& r) { return r.state().power == 1; },
                 [](CCorvan& l) { return l.ConnPS("R", 0); },
                 [](CCorvan& l) {
                     U v;
                     return l.RcvDataPS(&v) == 1 && v == 1;
                 }});
    t.push_back({"QR", [](CCorvan& l) { return l.ConnQR("W", 1, 5); },
                 [](const qxsim::Radio& r) { return r.state().quickOn == 1 && r.state().quickChannel == 5; },
                 [](CCorvan& l) { return l.ConnQR("R", 0, 0); },
                 [](CCorvan& l) {
                     U a, b;
                     return l.RcvDataQR(&a, &b) == 1 && a == 1 && b == 5;
                 }});
    t.push_back({"RA", [](CCorvan& l) { return l.ConnRA("W", 1); },
                 [](const qxsim::Radio& r) { return r.value("RA", 0) == 1; },
                 [](CCorvan& l) { return l.ConnRA("R", 0); },
                 [](CCorvan& l) {
                     U a, b;
                     return l.RcvDataRA(&a, &b) == 1 && a == 1 && b == 0;
                 }});
    t.push_back({"RM", [](CCorvan& l) { return l.ConnRM("W", 3); },
                 [](const qxsim::Radio& r) { return r.state().meter == 3; },
                 [](CCorvan& l) { return l.ConnRM("R", 0); },
                 [](CCorvan& l) {
                     U k, v = 99;
                     return l.RcvDataRM(&k, &v) == 1 && k == 3 && v == 0;
                 }});
    t.push_back({"SA", [](CCorvan& l) { return l.ConnSI(2, "SAT2") == 1 ? l.ConnSA("W", 0, 2, 0, 0, 0, 0, 1, "") : 0; },
                 [](const qxsim::Radio& r) { return r.state().satellite[1] == 2 && r.state().satelliteName == "SAT2"; },
                 [](CCorvan& l) { return l.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, ""); },
                 [](CCorvan& l) {
                     U v[7];
                     char name[corvan::kShortTextSize] = {};
                     return l.RcvDataSA(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], name) == 1 &&
                            v[1] == 2 && v[6] == 1 && std::string(name) == "SAT2";
                 }});
    t.push_back({"SQ", [](CCorvan& l) { return l.ConnSQ("W", 0, 40); },
                 [](const qxsim::Radio& r) { return r.value("SQ0") == 40; },
                 [](CCorvan& l) { return l.ConnSQ("R", 0, 0); },
                 [](CCorvan& l) {
                     U v;
                     return l.RcvDataSQ(0, &v) == 1 && v == 40;
                 }});
    t.push_back({"SU", [](CCorvan& l) { return l.ConnSU("W", 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1); },
                 [](const qxsim::Radio& r) { return r.value("SU1", 2) == 1 && r.value("SU1", 10) == 1; },
                 [](CCorvan& l) { return l.ConnSU("R", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0); },
                 [](CCorvan& l) {
                     U v[11];
                     return l.RcvDataSU(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10]) == 1 &&
                            v[0] == 1 && v[2] == 1 && v[3] == 1 && v[4] == 0 && v[10] == 1;
                 }});
    t.push_back({"MW", [](CCorvan& l) { return l.ConnMW(0, 1, 5, "00145600000", 4, 0, 2, 0, 14, 0, 0, 1, 600000, 5, 2, "RPT"); },
                 [](const qxsim::Radio& r) {
                     const auto st = r.state();
                     const auto& m = st.memory[105].half[0];
                     return m.frequency == 145'600'000 && m.ctcss == 14 && m.offset == 600000 && m.name == "RPT";
                 },
                 [](CCorvan& l) { return l.ConnMR(0, 1, 5); },
                 [](CCorvan& l) {
                     U bank, ch, mode, lock, tone, tn, ctcss, dcs, rev, shift, off, step, group;
                     char f[corvan::kFrequencyTextSize] = {};
                     char name[corvan::kNameTextSize] = {};
                     return l.RcvDataMR(0, &bank, &ch, f, &mode, &lock, &tone, &tn, &ctcss, &dcs, &rev, &shift,
                                        &off, &step, &group, name) == 1 &&
                            bank == 1 && ch == 5 && std::string(f) == "00145600000" && mode == 4 && tone == 2 &&
                            ctcss == 14 && shift == 1 && off == 600000 && step == 5 && group == 2 &&
                            std::string(name) == "RPT";
                 }});
    return t;
}

class RoundTrip : public SharedLinkTest<Trip> {};

TEST_P(RoundTrip, SetIsTakenAndReadBack)
{
    ASSERT_TRUE(linked && linked->connected());
    ASSERT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
    const Trip& t = GetParam();
    auto& radio = linked->radio;
    radio.clearSent();
    ASSERT_EQ(t.set(linked->link), 1);
    EXPECT_TRUE(until([&] { return t.applied(radio); })) << "the radio did not take the setting";
    ASSERT_EQ(t.read(linked->link), 1);
    EXPECT_TRUE(until([&] { return t.got(linked->link); })) << "the accessor did not give the value back";
    for (const auto& s : radio.sent())
        EXPECT_NE(s, "?") << "the radio refused something the link sent";
}

INSTANTIATE_TEST_SUITE_P(Link, RoundTrip, ::testing::ValuesIn(trips()),
                         [](const ::testing::TestParamInfo<Trip>& i) { return i.param.name; });

}  // namespace
