// SPDX-License-Identifier: GPL-3.0-or-later
// reply_table.cpp - the console's side of the link's notifications.
//
// One row per reply code: read the value with the code's accessor (the
// band or meter number from wParam where the code is numbered), stop when
// the accessor has no fresh value, run the display operation of the code,
// then call the secondary windows' exports in the row's order with the
// row's conditions.
//
// The connection (ConsoleLink) sees every notification first: it clears the
// no-reply count for every code that has a row here, and it owns the rows
// that drive the connection itself (ID, PS, EX, TY, MF and TC: power state,
// terminal mode, the menu bank and the extended-menu values that shape the
// settings read), including their exports. Their rows here run the display.
// The codes without a row (BD, BU, CI, DN, MW, RC, SR, TD, UP, UR, UT, VR)
// are ignored.
#include "reply_table.h"

#include "console_display.h"

#include <console_link.h>
#include <corvan.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

using u32 = std::uint32_t;
using Row = void (*)(ConsoleDisplay& d, std::uintptr_t wParam);

int I(u32 value) { return static_cast<int>(value); }

std::int64_t Frequency(const char* text) { return std::strtoll(text, nullptr, 10); }

// The transmit and control band of the moment: the DC reply's values, in
// satellite mode those of the SA reply.
bool SameBands(const ConsoleDisplay& d) { return d.state.controlBand == d.state.transmitBand; }

template <std::int32_t (CCorvan::*Read)(u32*), void (ConsoleDisplay::*Show)(int)>
void One(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if ((d.link.*Read)(&v) == 1)
        (d.*Show)(I(v));
}

template <std::int32_t (CCorvan::*Read)(u32*, u32*), void (ConsoleDisplay::*Show)(int, int)>
void Two(ConsoleDisplay& d, std::uintptr_t) {
    u32 a = 0, b = 0;
    if ((d.link.*Read)(&a, &b) == 1)
        (d.*Show)(I(a), I(b));
}

// A value only forwarded to one export.
template <std::int32_t (CCorvan::*Read)(u32*), void (zephyra::SecondaryWindows::*Forward)(u32)>
void Forwarded(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if ((d.link.*Read)(&v) == 1)
        (d.windows.*Forward)(v);
}

template <std::int32_t (CCorvan::*Read)(u32*)>
void Dropped(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    (d.link.*Read)(&v);
}

bool ReadIf(std::int32_t (CCorvan::*read)(char*, u32*, u32*, u32*, u32*, u32*, u32*, u32*, u32*,
                                          u32*, u32*, u32*, u32*, u32*, u32*),
            CCorvan& link, IfReport& r) {
    char text[20] = {};
    u32 n[14] = {};
    if ((link.*read)(text, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9],
                     &n[10], &n[11], &n[12], &n[13]) != 1)
        return false;
    text[sizeof text - 1] = '\0';
    r.frequency = Frequency(text);
    r.step = I(n[0]);
    r.offset = I(n[1]);
    r.rit = I(n[2]);
    r.xit = I(n[3]);
    r.bank = I(n[4]);
    r.channel = I(n[5]);
    r.transmitting = I(n[6]);
    r.mode = I(n[7]);
    r.function = I(n[8]);
    r.scan = I(n[9]);
    r.split = I(n[10]);
    r.tone = I(n[11]);
    r.toneNumber = I(n[12]);
    r.shift = I(n[13]);
    return true;
}

void OnAC(ConsoleDisplay& d, std::uintptr_t) {
    u32 a = 0, b = 0, c = 0;
    if (d.link.RcvDataAC(&a, &b, &c) == 1)
        d.OnAC(I(a), I(b), I(c));
}

void OnAG(ConsoleDisplay& d, std::uintptr_t band) {
    u32 level = 0;
    if (d.link.RcvDataAG(static_cast<u32>(band), &level) == 1)
        d.OnAG(static_cast<int>(band), I(level));
}

void OnAR(ConsoleDisplay& d, std::uintptr_t band) {
    u32 a = 0, b = 0;
    if (d.link.RcvDataAR(static_cast<u32>(band), &a, &b) == 1)
        d.OnAR(static_cast<int>(band), I(a), I(b));
}

void OnAS(ConsoleDisplay& d, std::uintptr_t) {
    u32 a = 0, b = 0, c = 0;
    char text[20] = {};
    d.link.RcvDataAS(&a, &b, text, &c);
}

void OnCM(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if (d.link.RcvDataCM(&v) != 1)
        return;
    d.state.cmValue = I(v);
    d.OnCM(I(v));
    d.windows.OrlintMsgCM(v);
    d.windows.YarrelView(v);
}

void OnDC(ConsoleDisplay& d, std::uintptr_t) {
    u32 t = 0, c = 0;
    if (d.link.RcvDataDC(&t, &c) != 1)
        return;
    d.OnDC(I(t), I(c));
    d.windows.DunmarMsgDC(t, c);
    d.windows.PandorMsgDC(t, c);
    d.windows.GlimraMsgDC(t, c);
}

void OnEX(ConsoleDisplay& d, std::uintptr_t) {
    u32 menu = 0, sub = 0, a = 0, b = 0;
    char text[20] = {};
    if (d.link.RcvDataEX(&menu, &sub, &a, &b, text) != 1)
        return;
    text[sizeof text - 1] = '\0';
    d.OnEX(I(menu), I(sub), I(a), I(b), text);
}

template <std::int32_t (CCorvan::*Read)(char*), void (ConsoleDisplay::*Show)(std::int64_t)>
void FrequencyRow(ConsoleDisplay& d, std::uintptr_t) {
    char text[20] = {};
    if ((d.link.*Read)(text) != 1)
        return;
    text[sizeof text - 1] = '\0';
    (d.*Show)(Frequency(text));
}

void OnFD(ConsoleDisplay& d, std::uintptr_t) {
    char text[12] = {};
    d.link.RcvDataFD(text);
}

void OnFR(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if (d.link.RcvDataFR(&v) != 1)
        return;
    d.OnFR(I(v));
    d.windows.GlimraMsgFR(v);
}

void OnFW(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if (d.link.RcvDataFW(&v) != 1)
        return;
    d.OnFW(I(v));
    d.windows.DunmarMsgFW(v);
}

void OnGT(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if (d.link.RcvDataGT(&v) != 1)
        return;
    d.OnGT(I(v));
    d.windows.PandorMsgGT(v);
}

// ID: the identification and PandorMsgID are the connection's.
void OnID(ConsoleDisplay&, std::uintptr_t) {}

void OnIF(ConsoleDisplay& d, std::uintptr_t) {
    IfReport r;
    if (ReadIf(&CCorvan::RcvDataIF, d.link, r))
        d.OnIF(r);
}

void OnOI(ConsoleDisplay& d, std::uintptr_t) {
    IfReport r;
    if (ReadIf(&CCorvan::RcvDataOI, d.link, r))
        d.OnOI(r);
}

void OnIS(ConsoleDisplay& d, std::uintptr_t) {
    char sign[4] = {};
    u32 v = 0;
    if (d.link.RcvDataIS(sign, &v) == 1)
        d.windows.DunmarMsgIS(sign, v);
}

void OnMD(ConsoleDisplay& d, std::uintptr_t) {
    u32 mode = 0;
    if (d.link.RcvDataMD(&mode) != 1)
        return;
    d.OnMD(I(mode));
    d.windows.RadioAgcMsgMD(mode);
    if (SameBands(d))
        d.windows.PandorMsgMD(mode);
    if (!(d.state.satelliteMode && SameBands(d)))
        d.windows.DunmarMsgMD(mode);
}

// MC, MR and QR: the memory channel display.
void OnMC(ConsoleDisplay& d, std::uintptr_t) {
    u32 bank = 0, channel = 0;
    if (d.link.RcvDataMC(&bank, &channel) == 1)
        d.OnMC(I(bank), I(channel));
}

void OnMR(ConsoleDisplay& d, std::uintptr_t index) {
    u32 n[13] = {};
    char text[corvan::kFrequencyTextSize + 4] = {}, name[corvan::kNameTextSize + 4] = {};
    if (d.link.RcvDataMR(static_cast<u32>(index), &n[0], &n[1], text, &n[2], &n[3], &n[4], &n[5], &n[6],
                         &n[7], &n[8], &n[9], &n[10], &n[11], &n[12], name) != 1)
        return;
    MemoryReport r;
    r.half = static_cast<int>(index);
    r.bank = I(n[0]);
    r.channel = I(n[1]);
    r.frequencyText = text;
    r.frequency = std::strtoll(text, nullptr, 10);
    r.mode = I(n[2]);
    r.lockout = I(n[3]);
    r.toneType = I(n[4]);
    r.toneNumber = I(n[5]);
    r.ctcssNumber = I(n[6]);
    r.dcsCode = I(n[7]);
    r.reverse = I(n[8]);
    r.shift = I(n[9]);
    r.offset = I(n[10]);
    r.step = I(n[11]);
    r.group = I(n[12]);
    r.name = name;
    d.OnMR(r);
}

void OnQR(ConsoleDisplay& d, std::uintptr_t) {
    u32 on = 0, channel = 0;
    if (d.link.RcvDataQR(&on, &channel) == 1)
        d.OnQR(I(on), I(channel));
}

void OnMU(ConsoleDisplay& d, std::uintptr_t) {
    u32 g[10] = {};
    if (d.link.RcvDataMU(&g[0], &g[1], &g[2], &g[3], &g[4], &g[5], &g[6], &g[7], &g[8], &g[9]) == 1)
        d.windows.PandorMsgMU(g);
}

void OnNR(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if (d.link.RcvDataNR(&v) != 1)
        return;
    d.OnNR(I(v));
    d.windows.PandorMsgNR(v);
}

void OnOF(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if (d.link.RcvDataOF(&v) != 1)
        return;
    d.OnOF(I(v));
    d.windows.PandorMsgOF(v);
}

void OnPK(ConsoleDisplay& d, std::uintptr_t) {
    char t[4][64] = {};
    if (d.link.RcvDataPK(t[0], t[1], t[2], t[3]) != 1)
        return;
    for (auto& text : t)
        text[sizeof text - 1] = '\0';
    d.windows.YarrelMsgPK(Frequency(t[0]), t[1], t[2], t[3]);
}

void OnPL(ConsoleDisplay& d, std::uintptr_t) {
    u32 a = 0, b = 0;
    if (d.link.RcvDataPL(&a, &b) == 1)
        d.windows.PandorMsgPL(a, b);
}

// PS: the power-state handling and its exports are the connection's; the
// display shows what the power state means for the operating state.
void OnPS(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if (d.link.RcvDataPS(&v) == 1)
        d.OnPS(I(v));
}

void OnRM(ConsoleDisplay& d, std::uintptr_t) {
    u32 selector = 0, value = 0;
    if (d.link.RcvDataRM(&selector, &value) == 1)
        d.OnRM(I(selector), I(value));
}

template <bool Transmit>
void OnTransmit(ConsoleDisplay& d, std::uintptr_t) {
    u32 band = 0;
    if ((Transmit ? d.link.RcvDataTX(&band) : d.link.RcvDataRX(&band)) != 1)
        return;
    d.ResetBandMeters(I(band));
    if (Transmit)
        d.OnTX(I(band));
    else
        d.OnRX(I(band));
    if (Transmit) {
        d.windows.OrlintMsgTX(band);
        d.windows.GlimraMsgTX(band);
    } else {
        d.windows.OrlintMsgRX(band);
        d.windows.GlimraMsgRX(band);
    }
}

void OnSA(ConsoleDisplay& d, std::uintptr_t) {
    u32 v[7] = {};
    char name[20] = {};
    if (d.link.RcvDataSA(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], name) != 1)
        return;
    name[sizeof name - 1] = '\0';
    SatelliteReport r{I(v[0]), I(v[1]), I(v[2]), I(v[3]), I(v[4]), I(v[5]), I(v[6]),
                      QString::fromLatin1(name)};
    d.OnSA(r);
    d.windows.PandorSetSmn(name);
}

void OnSC(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if (d.link.RcvDataSC(&v) != 1)
        return;
    d.OnSC(I(v));
    d.windows.OrlintMsgSC(v);
    d.windows.GlimraMsgSC(v);
}

// SM: only while the console is ready. Meters 1 and 3 read 0..15 and are
// shown doubled; meters 0 and 2 read 0..30.
void OnSM(ConsoleDisplay& d, std::uintptr_t meter) {
    u32 v = 0;
    if (d.link.RcvDataSM(static_cast<u32>(meter), &v) != 1)
        return;
    if (!d.state.consoleReady)
        return;
    int value = I(v);
    if (meter == 1 || meter == 3)
        value = std::min(value, 15) * 2;
    else
        value = std::min(value, 30);
    d.OnSM(static_cast<int>(meter), value);
}

void OnSQ(ConsoleDisplay& d, std::uintptr_t band) {
    u32 level = 0;
    if (d.link.RcvDataSQ(static_cast<u32>(band), &level) == 1)
        d.OnSQ(static_cast<int>(band), I(level));
}

void OnSU(ConsoleDisplay& d, std::uintptr_t) {
    u32 v[11] = {};
    if (d.link.RcvDataSU(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9],
                         &v[10]) == 1)
        d.windows.PandorMsgSU(v);
}

// TC: the terminal-mode switch and OrlintMsgTC are the connection's.
void OnTC(ConsoleDisplay& d, std::uintptr_t) {
    u32 a = 0, b = 0;
    if (d.link.RcvDataTC(&a, &b) == 1)
        d.OnTC(I(b));
}

void OnTI(ConsoleDisplay& d, std::uintptr_t) {
    u32 a = 0, b = 0, c = 0;
    if (d.link.RcvDataTI(&a, &b, &c) == 1)
        d.OnTI(I(a), I(b), I(c));
}

// TY: the two flags are the connection's.
void OnTY(ConsoleDisplay&, std::uintptr_t) {}

// MF: the menu bank and the menu read are the connection's.
void OnMF(ConsoleDisplay&, std::uintptr_t) {}

// The terminal's text while the radio's terminal mode owns the line.
void OnDirect(ConsoleDisplay& d, std::uintptr_t) {
    char text[corvan::kDirectTextSize + 1] = {};
    if (d.link.RcvDataDirect(text) != 1)
        return;
    text[corvan::kDirectTextSize] = '\0';
    d.windows.SolvikRXData(text);
}

// A display operation that the memory and scan topics own; the value is
// read (the no-reply count was cleared) and dropped until they exist.
void ReadRT(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if (d.link.RcvDataRT(&v) == 1)
        d.OnRT(I(v));
}

void ReadXT(ConsoleDisplay& d, std::uintptr_t) {
    u32 v = 0;
    if (d.link.RcvDataXT(&v) == 1)
        d.OnXT(I(v));
}

struct Entry {
    const char* code;
    Row row;
};

using D = ConsoleDisplay;
using W = zephyra::SecondaryWindows;
using C = CCorvan;

const Entry kRows[] = {
    {"AC", &OnAC},
    {"AG", &OnAG},
    {"AI", &One<&C::RcvDataAI, &D::OnAI>},
    {"AL", &Forwarded<&C::RcvDataAL, &W::PandorMsgAL>},
    {"AM", &One<&C::RcvDataAM, &D::OnAM>},
    {"AN", &One<&C::RcvDataAN, &D::OnAN>},
    {"AR", &OnAR},
    {"AS", &OnAS},
    {"BC", &One<&C::RcvDataBC, &D::OnBC>},
    {"BP", &One<&C::RcvDataBP, &D::OnBP>},
    {"BY", &Two<&C::RcvDataBY, &D::OnBY>},
    {"CA", &One<&C::RcvDataCA, &D::OnCA>},
    {"CG", &Forwarded<&C::RcvDataCG, &W::PandorMsgCG>},
    {"CM", &OnCM},
    {"CN", &Forwarded<&C::RcvDataCN, &W::PandorMsgCN>},
    {"CT", &One<&C::RcvDataCT, &D::OnCT>},
    {"DC", &OnDC},
    {"DQ", &One<&C::RcvDataDQ, &D::OnDQ>},
    {"EX", &OnEX},
    {"FA", &FrequencyRow<&C::RcvDataFA, &D::OnFA>},
    {"FB", &FrequencyRow<&C::RcvDataFB, &D::OnFB>},
    {"FC", &FrequencyRow<&C::RcvDataFC, &D::OnFC>},
    {"FD", &OnFD},
    {"FR", &OnFR},
    {"FS", &One<&C::RcvDataFS, &D::OnFS>},
    {"FT", &One<&C::RcvDataFT, &D::OnFT>},
    {"FW", &OnFW},
    {"GT", &OnGT},
    {"ID", &OnID},
    {"IF", &OnIF},
    {"IS", &OnIS},
    {"KS", &Forwarded<&C::RcvDataKS, &W::PandorMsgKS>},
    {"KY", &Forwarded<&C::RcvDataKY, &W::PimbelMsgKY>},
    {"LK", &Two<&C::RcvDataLK, &D::OnLK>},
    {"LM", &One<&C::RcvDataLM, &D::OnLM>},
    {"LT", &One<&C::RcvDataLT, &D::OnLT>},
    {"MC", &OnMC},
    {"MD", &OnMD},
    {"MF", &OnMF},
    {"MG", &Forwarded<&C::RcvDataMG, &W::PandorMsgMG>},
    {"ML", &Forwarded<&C::RcvDataML, &W::PandorMsgML>},
    {"MO", &Dropped<&C::RcvDataMO>},
    {"MR", &OnMR},
    {"MU", &OnMU},
    {"NB", &One<&C::RcvDataNB, &D::OnNB>},
    {"NL", &Forwarded<&C::RcvDataNL, &W::PandorMsgNL>},
    {"NR", &OnNR},
    {"NT", &One<&C::RcvDataNT, &D::OnNT>},
    {"OF", &OnOF},
    {"OI", &OnOI},
    {"OS", &One<&C::RcvDataOS, &D::OnOS>},
    {"PA", &Two<&C::RcvDataPA, &D::OnPA>},
    {"PB", &One<&C::RcvDataPB, &D::OnPB>},
    {"PC", &Forwarded<&C::RcvDataPC, &W::PandorMsgPC>},
    {"PK", &OnPK},
    {"PL", &OnPL},
    {"PM", &One<&C::RcvDataPM, &D::OnPM>},
    {"PR", &One<&C::RcvDataPR, &D::OnPR>},
    {"PS", &OnPS},
    {"QC", &Forwarded<&C::RcvDataQC, &W::PandorMsgQC>},
    {"QR", &OnQR},
    {"RA", &Two<&C::RcvDataRA, &D::OnRA>},
    {"RD", &One<&C::RcvDataRD, &D::OnScanSpeed>},
    {"RG", &One<&C::RcvDataRG, &D::OnRG>},
    {"RL", &Forwarded<&C::RcvDataRL, &W::PandorMsgRL>},
    {"RM", &OnRM},
    {"RT", &ReadRT},
    {"RU", &One<&C::RcvDataRU, &D::OnScanSpeed>},
    {"RX", &OnTransmit<false>},
    {"SA", &OnSA},
    {"SB", &One<&C::RcvDataSB, &D::OnSB>},
    {"SC", &OnSC},
    {"SD", &Forwarded<&C::RcvDataSD, &W::PandorMsgSD>},
    {"SH", &Forwarded<&C::RcvDataSH, &W::DunmarMsgSH>},
    {"SL", &Forwarded<&C::RcvDataSL, &W::DunmarMsgSL>},
    {"SM", &OnSM},
    {"SQ", &OnSQ},
    {"SS", &One<&C::RcvDataSS, &D::OnSS>},
    {"ST", &One<&C::RcvDataST, &D::FillStepList>},
    {"SU", &OnSU},
    {"TC", &OnTC},
    {"TI", &OnTI},
    {"TN", &Forwarded<&C::RcvDataTN, &W::PandorMsgTN>},
    {"TO", &One<&C::RcvDataTO, &D::OnTO>},
    {"TS", &One<&C::RcvDataTS, &D::OnTS>},
    {"TX", &OnTransmit<true>},
    {"TY", &OnTY},
    {"UL", &One<&C::RcvDataUL, &D::OnUL>},
    {"VD", &Forwarded<&C::RcvDataVD, &W::PandorMsgVD>},
    {"VG", &Forwarded<&C::RcvDataVG, &W::PandorMsgVG>},
    {"VX", &One<&C::RcvDataVX, &D::OnVX>},
    {"XT", &ReadXT},
};

const std::map<unsigned, Row>& Rows() {
    static const std::map<unsigned, Row> rows = [] {
        std::map<unsigned, Row> built;
        for (const Entry& e : kRows)
            built.emplace(corvan::MessageOf(e.code), e.row);
        built.emplace(corvan::kMessageDirect, &OnDirect);
        return built;
    }();
    return rows;
}

} // namespace

bool HasReplyRow(unsigned message) { return Rows().count(message) != 0; }

bool HandleReply(ConsoleDisplay& display, unsigned message, std::uintptr_t wParam) {
    const auto it = Rows().find(message);
    if (it == Rows().end())
        return false;
    it->second(display, wParam);
    return true;
}
