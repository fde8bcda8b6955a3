// SPDX-License-Identifier: GPL-3.0-or-later
// The accessor of every notified code, in the accessor's parameter order.
#include "values.h"

#include <functional>
#include <map>

namespace zlink {

namespace {

using U = std::uint32_t;
using Fn = std::function<Reading(CCorvan&, std::uint32_t index)>;

Reading Nums(std::int32_t ok, std::initializer_list<U> v)
{
    Reading r;
    r.ok = ok;
    for (U x : v)
        r.values.emplace_back(x);
    return r;
}

#define ONE(acc) [](CCorvan& c, U) { U v = 0; const auto ok = c.acc(&v); return Nums(ok, {v}); }
#define TWO(acc) [](CCorvan& c, U) { U a = 0, b = 0; const auto ok = c.acc(&a, &b); return Nums(ok, {a, b}); }
#define THREE(acc) [](CCorvan& c, U) { U a = 0, b = 0, d = 0; const auto ok = c.acc(&a, &b, &d); return Nums(ok, {a, b, d}); }
#define TEXT(acc, size) [](CCorvan& c, U) { char t[size] = {}; Reading r; r.ok = c.acc(t); r.values.emplace_back(std::string(t)); return r; }

Reading Information(CCorvan& c, bool oi)
{
    char f[corvan::kFrequencyTextSize] = {};
    U n[14] = {};
    Reading r;
    r.ok = oi ? c.RcvDataOI(f, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9], &n[10],
                            &n[11], &n[12], &n[13])
              : c.RcvDataIF(f, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9], &n[10],
                            &n[11], &n[12], &n[13]);
    r.values.emplace_back(std::string(f));
    for (U x : n)
        r.values.emplace_back(x);
    return r;
}

const std::map<std::string, Fn>& Table()
{
    static const std::map<std::string, Fn> table = {
        {"direct", [](CCorvan& c, U) { char t[corvan::kDirectTextSize] = {}; Reading r; r.ok = c.RcvDataDirect(t); r.values.emplace_back(std::string(t)); return r; }},
        {"AC", THREE(RcvDataAC)},
        {"AG", [](CCorvan& c, U i) { U v = 0; const auto ok = c.RcvDataAG(i, &v); return Nums(ok, {v}); }},
        {"AI", ONE(RcvDataAI)}, {"AL", ONE(RcvDataAL)}, {"AM", ONE(RcvDataAM)}, {"AN", ONE(RcvDataAN)},
        {"AR", [](CCorvan& c, U i) { U a = 0, b = 0; const auto ok = c.RcvDataAR(i, &a, &b); return Nums(ok, {a, b}); }},
        {"AS", [](CCorvan& c, U) {
             U a = 0, b = 0, d = 0;
             char f[corvan::kFrequencyTextSize] = {};
             Reading r;
             r.ok = c.RcvDataAS(&a, &b, f, &d);
             r.values = {a, b, std::string(f), d};
             return r;
         }},
        {"BC", ONE(RcvDataBC)}, {"BP", ONE(RcvDataBP)}, {"BY", TWO(RcvDataBY)}, {"CA", ONE(RcvDataCA)},
        {"CG", ONE(RcvDataCG)}, {"CM", ONE(RcvDataCM)}, {"CN", ONE(RcvDataCN)}, {"CT", ONE(RcvDataCT)},
        {"DC", TWO(RcvDataDC)}, {"DQ", ONE(RcvDataDQ)},
        {"EX", [](CCorvan& c, U) {
             U m = 0, s = 0, a = 0, b = 0;
             char t[corvan::kNameTextSize] = {};
             Reading r;
             r.ok = c.RcvDataEX(&m, &s, &a, &b, t);
             r.values = {m, s, a, b, std::string(t)};
             return r;
         }},
        {"FA", TEXT(RcvDataFA, corvan::kFrequencyTextSize)}, {"FB", TEXT(RcvDataFB, corvan::kFrequencyTextSize)},
        {"FC", TEXT(RcvDataFC, corvan::kFrequencyTextSize)}, {"FD", TEXT(RcvDataFD, corvan::kShortTextSize)},
        {"FR", ONE(RcvDataFR)}, {"FS", ONE(RcvDataFS)}, {"FT", ONE(RcvDataFT)}, {"FW", ONE(RcvDataFW)},
        {"GT", ONE(RcvDataGT)}, {"ID", ONE(RcvDataID)},
        {"IF", [](CCorvan& c, U) { return Information(c, false); }},
        {"IS", [](CCorvan& c, U) {
             char s[corvan::kSignTextSize] = {};
             U v = 0;
             Reading r;
             r.ok = c.RcvDataIS(s, &v);
             r.values = {std::string(s), v};
             return r;
         }},
        {"KS", ONE(RcvDataKS)}, {"KY", ONE(RcvDataKY)}, {"LK", TWO(RcvDataLK)}, {"LM", ONE(RcvDataLM)},
        {"LT", ONE(RcvDataLT)}, {"MC", TWO(RcvDataMC)}, {"MD", ONE(RcvDataMD)}, {"MF", ONE(RcvDataMF)},
        {"MG", ONE(RcvDataMG)}, {"ML", ONE(RcvDataML)}, {"MO", ONE(RcvDataMO)},
        {"MR", [](CCorvan& c, U i) {
             U n[13] = {};
             char f[corvan::kFrequencyTextSize] = {}, name[corvan::kNameTextSize] = {};
             Reading r;
             r.ok = c.RcvDataMR(i, &n[0], &n[1], f, &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9], &n[10],
                                &n[11], &n[12], name);
             r.values = {n[0], n[1], std::string(f)};
             for (int k = 2; k < 13; ++k)
                 r.values.emplace_back(n[k]);
             r.values.emplace_back(std::string(name));
             return r;
         }},
        {"MU", [](CCorvan& c, U) {
             U v[10] = {};
             Reading r;
             r.ok = c.RcvDataMU(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9]);
             for (U x : v)
                 r.values.emplace_back(x);
             return r;
         }},
        {"NB", ONE(RcvDataNB)}, {"NL", ONE(RcvDataNL)}, {"NR", ONE(RcvDataNR)}, {"NT", ONE(RcvDataNT)},
        {"OF", ONE(RcvDataOF)}, {"OI", [](CCorvan& c, U) { return Information(c, true); }},
        {"OS", ONE(RcvDataOS)}, {"PA", TWO(RcvDataPA)}, {"PB", ONE(RcvDataPB)}, {"PC", ONE(RcvDataPC)},
        {"PK", [](CCorvan& c, U) {
             char a[corvan::kFrequencyTextSize] = {}, b[corvan::kFrequencyTextSize] = {};
             char d[corvan::kLongTextSize] = {}, e[corvan::kShortTextSize] = {};
             Reading r;
             r.ok = c.RcvDataPK(a, b, d, e);
             r.values = {std::string(a), std::string(b), std::string(d), std::string(e)};
             return r;
         }},
        {"PL", TWO(RcvDataPL)}, {"PM", ONE(RcvDataPM)}, {"PR", ONE(RcvDataPR)}, {"PS", ONE(RcvDataPS)},
        {"QC", ONE(RcvDataQC)}, {"QR", TWO(RcvDataQR)}, {"RA", TWO(RcvDataRA)}, {"RD", ONE(RcvDataRD)},
        {"RG", ONE(RcvDataRG)}, {"RL", ONE(RcvDataRL)}, {"RM", TWO(RcvDataRM)}, {"RT", ONE(RcvDataRT)},
        {"RU", ONE(RcvDataRU)}, {"RX", ONE(RcvDataRX)},
        {"SA", [](CCorvan& c, U) {
             U v[7] = {};
             char t[corvan::kShortTextSize] = {};
             Reading r;
             r.ok = c.RcvDataSA(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], t);
             for (U x : v)
                 r.values.emplace_back(x);
             r.values.emplace_back(std::string(t));
             return r;
         }},
        {"SB", ONE(RcvDataSB)}, {"SC", ONE(RcvDataSC)}, {"SD", ONE(RcvDataSD)}, {"SH", ONE(RcvDataSH)},
        {"SL", ONE(RcvDataSL)},
        {"SM", [](CCorvan& c, U i) { U v = 0; const auto ok = c.RcvDataSM(i, &v); return Nums(ok, {v}); }},
        {"SQ", [](CCorvan& c, U i) { U v = 0; const auto ok = c.RcvDataSQ(i, &v); return Nums(ok, {v}); }},
        {"SS", ONE(RcvDataSS)}, {"ST", ONE(RcvDataST)},
        {"SU", [](CCorvan& c, U) {
             U v[11] = {};
             Reading r;
             r.ok = c.RcvDataSU(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10]);
             for (U x : v)
                 r.values.emplace_back(x);
             return r;
         }},
        {"TC", TWO(RcvDataTC)}, {"TI", THREE(RcvDataTI)}, {"TN", ONE(RcvDataTN)}, {"TO", ONE(RcvDataTO)},
        {"TS", ONE(RcvDataTS)}, {"TX", ONE(RcvDataTX)},
        {"TY", [](CCorvan& c, U) {
             U v[9] = {};
             Reading r;
             r.ok = c.RcvDataTY(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8]);
             for (U x : v)
                 r.values.emplace_back(x);
             return r;
         }},
        {"UL", ONE(RcvDataUL)}, {"VD", ONE(RcvDataVD)}, {"VG", ONE(RcvDataVG)}, {"VX", ONE(RcvDataVX)},
        {"XT", ONE(RcvDataXT)},
    };
    return table;
}

} // namespace

Reading ReadValues(CCorvan& link, const std::string& code, std::uintptr_t wParam)
{
    const auto& table = Table();
    const auto it = table.find(code);
    if (it == table.end())
        return {};
    return it->second(link, static_cast<U>(wParam));
}

} // namespace zlink
