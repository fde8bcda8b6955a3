// SPDX-License-Identifier: GPL-3.0-or-later
// The builders of one value: a set form "XX" plus a fixed-width number, and
// the read query "XX;".
#include "builders.h"

#include <corvan.h>

using namespace corvan::detail;

namespace {

constexpr std::uint8_t kNone = 0;

#define VALUE_BUILDER(name, ...)                                                                   \
    std::int32_t CCorvan::name(const char* mode, std::uint32_t v)                                  \
    {                                                                                              \
        static constexpr ValueCommand c = __VA_ARGS__;                                             \
        return ValueBuilder(c, mode, v);                                                           \
    }

} // namespace

// clang-format off
VALUE_BUILDER(ConnAL, {"AL", Rec::AL, M3,   {{M3, 0, 4}},                              "AL%03u;", M3})
VALUE_BUILDER(ConnAM, {"AM", Rec::AM, M123, {{M3, 0, 1}},                              "AM%01u;", kNone})
VALUE_BUILDER(ConnAN, {"AN", Rec::AN, M123, {{M123, 1, 2}},                            "AN%01u;", kNone})
VALUE_BUILDER(ConnBC, {"BC", Rec::BC, M13,  {{M1, 0, 1}, {M3, 0, 2}},                  "BC%01u;", kNone})
VALUE_BUILDER(ConnBP, {"BP", Rec::BP, M3,   {{M3, 0, 63}},                             "BP%03u;", M3})
VALUE_BUILDER(ConnCA, {"CA", Rec::CA, M13,  {{M13, 0, 1}},                             "CA%01u;", kNone})
VALUE_BUILDER(ConnCG, {"CG", Rec::CG, M23,  {{M2, 0, 255}, {M3, 0, 100}},              "CG%03u;", M3})
VALUE_BUILDER(ConnCM, {"CM", Rec::CM, M3,   {{M3, 0, 1}},                              "CM%01u;", kNone})
VALUE_BUILDER(ConnCN, {"CN", Rec::CN, M13,  {{M13, 1, 38}},                            "CN%02u;", M3})
VALUE_BUILDER(ConnCT, {"CT", Rec::CT, M123, {{M123, 0, 1}},                            "CT%01u;", kNone})
VALUE_BUILDER(ConnDQ, {"DQ", Rec::DQ, M3,   {{M3, 0, 1}},                              "DQ%01u;", kNone})
VALUE_BUILDER(ConnFR, {"FR", Rec::FR, M13,  {{M1, 0, 2}, {M3, 0, 3}},                  "FR%01u;", kNone})
VALUE_BUILDER(ConnFS, {"FS", Rec::FS, M123, {{M123, 0, 1}},                            "FS%01u;", kNone})
VALUE_BUILDER(ConnFT, {"FT", Rec::FT, M13,  {{M1, 0, 2}, {M3, 0, 3}},                  "FT%01u;", kNone})
VALUE_BUILDER(ConnFW, {"FW", Rec::FW, M123, {{M123, 0, 9999}},                         "FW%04u;", kNone})
VALUE_BUILDER(ConnGT, {"GT", Rec::GT, M123, {{M1, 0, 999}, {M2, 0, 255}, {M3, 0, 20}}, "GT%03u;", M3})
VALUE_BUILDER(ConnKS, {"KS", Rec::KS, M123, {{M13, 10, 60}, {M2, 10, 100}},            "KS%03u;", M3})
VALUE_BUILDER(ConnLM, {"LM", Rec::LM, M123, {{M13, 0, 3}, {M2, 0, 4}},                 "LM%01u;", kNone})
VALUE_BUILDER(ConnLT, {"LT", Rec::LT, M3,   {{M3, 0, 1}},                              "LT%01u;", kNone})
VALUE_BUILDER(ConnMD, {"MD", Rec::MD, M123, {{M123, 0, 9}},                            "MD%01u;", kNone})
VALUE_BUILDER(ConnMF, {"MF", Rec::MF, M3,   {{M3, 0, 1}},                              "MF%01u;", kNone})
VALUE_BUILDER(ConnMG, {"MG", Rec::MG, M123, {{M13, 0, 100}, {M2, 0, 255}},             "MG%03u;", M3})
VALUE_BUILDER(ConnML, {"ML", Rec::ML, M3,   {{M3, 0, 9}},                              "ML%03u;", M3})
VALUE_BUILDER(ConnMO, {"MO", Rec::MO, M3,   {{M3, 0, 1}},                              "MO%01u;", kNone})
VALUE_BUILDER(ConnNB, {"NB", Rec::NB, M123, {{M123, 0, 1}},                            "NB%01u;", kNone})
VALUE_BUILDER(ConnNL, {"NL", Rec::NL, M23,  {{M2, 0, 255}, {M3, 0, 999}},              "NL%03u;", M3})
VALUE_BUILDER(ConnNR, {"NR", Rec::NR, M13,  {{M13, 0, 2}},                             "NR%01u;", kNone})
VALUE_BUILDER(ConnNT, {"NT", Rec::NT, M23,  {{M23, 0, 1}},                             "NT%01u;", kNone})
VALUE_BUILDER(ConnOF, {"OF", Rec::OF, M3,   {{M3, 0, 59950000}},                       "OF%09u;", kNone})
VALUE_BUILDER(ConnOS, {"OS", Rec::OS, M3,   {{M3, 0, 3}},                              "OS%01u;", kNone})
VALUE_BUILDER(ConnPA, {"PA", Rec::PA, M123, {{M123, 0, 1}},                            "PA%01u;", kNone})
VALUE_BUILDER(ConnPB, {"PB", Rec::PB, M123, {{M13, 0, 3}, {M2, 0, 4}},                 "PB%01u;", kNone})
VALUE_BUILDER(ConnPC, {"PC", Rec::PC, M123, {{M1, 5, 100}, {M2, 10, 100}, {M3, 1, 100}}, "PC%03u;", M3})
VALUE_BUILDER(ConnPM, {"PM", Rec::PM, M3,   {{M3, 0, 5}},                              "PM%01u;", kNone})
VALUE_BUILDER(ConnPR, {"PR", Rec::PR, M123, {{M123, 0, 1}},                            "PR%01u;", kNone})
VALUE_BUILDER(ConnPS, {"PS", Rec::PS, M123, {{M12, 0, 1}, {M3, 0, 3}},                 "PS%01u;", kNone})
VALUE_BUILDER(ConnQC, {"QC", Rec::QC, M3,   {{M3, 0, 103}},                            "QC%03u;", M3})
VALUE_BUILDER(ConnRA, {"RA", Rec::RA, M123, {{M1, 0, 1}, {M2, 0, 3}, {M3, 0, 99}},     "RA%02u;", kNone})
VALUE_BUILDER(ConnRG, {"RG", Rec::RG, M123, {{M123, 0, 255}},                          "RG%03u;", M3})
VALUE_BUILDER(ConnRL, {"RL", Rec::RL, M3,   {{M3, 0, 9}},                              "RL%02u;", M3})
VALUE_BUILDER(ConnRM, {"RM", Rec::RM, M123, {{M123, 0, 6}},                            "RM%01u;", kNone})
VALUE_BUILDER(ConnRT, {"RT", Rec::RT, M123, {{M123, 0, 1}},                            "RT%01u;", kNone})
VALUE_BUILDER(ConnSB, {"SB", Rec::SB, M3,   {{M3, 0, 1}},                              "SB%01u;", kNone})
VALUE_BUILDER(ConnSC, {"SC", Rec::SC, M13,  {{M1, 0, 1}, {M3, 0, 6}},                  "SC%01u;", kNone})
VALUE_BUILDER(ConnSD, {"SD", Rec::SD, M123, {{M13, 0, 1000}, {M2, 0, 950}},            "SD%04u;", M3})
VALUE_BUILDER(ConnSH, {"SH", Rec::SH, M123, {{M1, 0, 20}, {M3, 0, 11}},                "SH%02u;", kNone})
VALUE_BUILDER(ConnSL, {"SL", Rec::SL, M123, {{M1, 0, 20}, {M3, 0, 11}},                "SL%02u;", kNone})
VALUE_BUILDER(ConnSS, {"SS", Rec::SS, M3,   {{M3, 0, 2}},                              "SS%01u;", kNone})
VALUE_BUILDER(ConnST, {"ST", Rec::ST, M3,   {{M3, 0, 9}},                              "ST%02u;", kNone})
VALUE_BUILDER(ConnTN, {"TN", Rec::TN, M13,  {{M13, 1, 39}},                            "TN%02u;", M3})
VALUE_BUILDER(ConnTO, {"TO", Rec::TO, M123, {{M12, 0, 1}, {M3, 0, 3}},                 "TO%01u;", kNone})
VALUE_BUILDER(ConnTS, {"TS", Rec::TS, M3,   {{M3, 0, 1}},                              "TS%01u;", kNone})
VALUE_BUILDER(ConnVD, {"VD", Rec::VD, M123, {{M13, 0, 3000}, {M2, 0, 2700}},           "VD%04u;", M3})
VALUE_BUILDER(ConnVG, {"VG", Rec::VG, M13,  {{M13, 0, 9}},                             "VG%03u;", M3})
VALUE_BUILDER(ConnVX, {"VX", Rec::VX, M123, {{M123, 0, 1}},                            "VX%01u;", kNone})
VALUE_BUILDER(ConnXT, {"XT", Rec::XT, M13,  {{M13, 0, 1}},                             "XT%01u;", kNone})
// clang-format on
