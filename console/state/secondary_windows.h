// SPDX-License-Identifier: GPL-3.0-or-later
// secondary_windows.h - every call the console makes to a secondary window.
//
// The console owns no secondary window: each lives in its library and is
// reached only through that library's exports. This is the one table of
// those calls. The console's implementation (LibraryWindows) calls the real
// libraries: the panels, the visual scan, the equaliser and the six outside
// windows (filter, menu, keyer, terminal, auto-mode frequencies, packet
// cluster). The defaults here do nothing, which is what the console may
// rely on for a window that is not open (and what a test's recorder keeps).
//
// Every call is safe at any time, window open or not. The parent of every
// view is the desktop: no hosted window is a child of the console.
// Threading: UI thread only.
#pragma once

#include <cstdint>

namespace zephyra {

struct MemoryValues {
    std::int64_t rxFrequency = 0;
    std::uint32_t rxMode = 0, rxStep = 0;
    std::int64_t txFrequency = 0;
    std::uint32_t txMode = 0, txStep = 0;
    std::uint32_t offset = 0, shift = 0, reverse = 0, toneNumber = 0, ctcssNumber = 0;
    std::uint32_t dcsCode = 0, toneType = 0, group = 0;
    char name[16] = {};
    std::uint32_t lockout = 0;
};

class SecondaryWindows;

// The destroy calls in the order the console closes every window (at its
// end and on a radio reset), with their names for observers.
struct DestroyCall {
    const char* name;
    void (SecondaryWindows::*destroy)();
};

class SecondaryWindows {
public:
    using u32 = std::uint32_t;
    virtual ~SecondaryWindows() = default;

    // ---- panels
    virtual void PandorView(u32 /*mode*/) {}
    virtual void PandorDestroy() {}
    virtual void RadioAgcView() {}
    virtual void RadioAgcDestroy() {}
    virtual void RadioMchView() {}
    virtual void RadioMchDestroy() {}
    virtual void PandorSetMemVal(const MemoryValues& /*values*/) {}
    virtual void PandorGetMemVal(MemoryValues& /*values*/) {}
    virtual void RadioSmnView() {}
    virtual void RadioSmnDestroy() {}
    virtual void PandorSetSmn(const char* /*name*/) {}
    // Copies the edited satellite name into `buffer` (at least 10 bytes).
    virtual void PandorGetSmn(char* buffer) { buffer[0] = '\0'; }
    virtual void RadioMgrView() {}
    virtual void RadioMgrDestroy() {}
    virtual void RadioSgrView() {}
    virtual void RadioSgrDestroy() {}
    virtual void QuorelView() {}
    virtual void QuorelDestroy() {}
    virtual void PandorFreqChg(u32 /*band*/) {}
    virtual void RadioAgcMsgMD(u32 /*mode*/) {}
    virtual void PandorMsgAL(u32 /*value*/) {}
    virtual void PandorMsgCG(u32 /*value*/) {}
    virtual void PandorMsgCN(u32 /*value*/) {}
    virtual void PandorMsgDC(u32 /*transmitBand*/, u32 /*controlBand*/) {}
    virtual void PandorMsgEX(u32 /*menu*/, u32 /*sub*/, u32 /*a*/, u32 /*b*/, const char* /*text*/) {}
    virtual void PandorMsgGT(u32 /*value*/) {}
    virtual void PandorMsgID(u32 /*value*/) {}
    virtual void PandorMsgKS(u32 /*value*/) {}
    virtual void PandorMsgMD(u32 /*mode*/) {}
    virtual void PandorMsgMG(u32 /*value*/) {}
    virtual void PandorMsgML(u32 /*value*/) {}
    virtual void PandorMsgMU(const u32 (&/*groups*/)[10]) {}
    virtual void PandorMsgNL(u32 /*value*/) {}
    virtual void PandorMsgNR(u32 /*value*/) {}
    virtual void PandorMsgOF(u32 /*value*/) {}
    virtual void PandorMsgPC(u32 /*value*/) {}
    virtual void PandorMsgPL(u32 /*input*/, u32 /*output*/) {}
    virtual void PandorMsgPS(u32 /*value*/) {}
    virtual void PandorMsgQC(u32 /*value*/) {}
    virtual void PandorMsgRL(u32 /*value*/) {}
    virtual void PandorMsgSD(u32 /*value*/) {}
    virtual void PandorMsgSU(const u32 (&/*values*/)[11]) {}
    virtual void PandorMsgTN(u32 /*value*/) {}
    virtual void PandorMsgVD(u32 /*value*/) {}
    virtual void PandorMsgVG(u32 /*value*/) {}

    // ---- equaliser
    virtual void RadioEqsView() {}
    virtual void RadioEqsDestroy() {}
    virtual void RadioEqgView() {}
    virtual void RadioEqgDestroy() {}

    // ---- visual scan
    virtual void GlimraView() {}
    virtual void GlimraDestroy() {}
    virtual void GlimraScanStop() {}
    virtual void GlimraLinkClosing(u32 /*writable*/) {}
    virtual void GlimraMsgDC(u32 /*transmitBand*/, u32 /*controlBand*/) {}
    virtual void GlimraMsgEX(u32 /*menu*/, u32 /*sub*/, u32 /*a*/, u32 /*b*/, const char* /*text*/) {}
    virtual void GlimraMsgFR(u32 /*value*/) {}
    virtual void GlimraMsgSC(u32 /*value*/) {}
    virtual void GlimraMsgTX(u32 /*band*/) {}
    virtual void GlimraMsgRX(u32 /*band*/) {}

    // ---- filter window
    virtual void DunmarView(u32 /*filter*/) {}
    virtual void DunmarDestroy() {}
    virtual void DunmarMsgDC(u32 /*transmitBand*/, u32 /*controlBand*/) {}
    virtual void DunmarMsgFW(u32 /*value*/) {}
    virtual void DunmarMsgIS(const char* /*sign*/, u32 /*value*/) {}
    virtual void DunmarMsgMD(u32 /*mode*/) {}
    virtual void DunmarMsgSH(u32 /*value*/) {}
    virtual void DunmarMsgSL(u32 /*value*/) {}
    virtual void DunmarMsgPFil(u32 /*filter*/) {}

    // ---- menu window
    // Non-zero when the window exists.
    virtual int OrlintView() { return 0; }
    virtual void OrlintDestroy() {}
    virtual void OrlintSetZulParams(u32 /*zul*/, u32 /*repeater*/, u32 /*remote*/) {}
    virtual void OrlintSetScrollLock(u32 /*on*/) {}
    virtual void OrlintMsgCM(u32 /*value*/) {}
    virtual void OrlintMsgEX(u32 /*menu*/, u32 /*sub*/, u32 /*a*/, u32 /*b*/, const char* /*text*/) {}
    virtual void OrlintMsgMF(u32 /*value*/) {}
    virtual void OrlintMsgRX(u32 /*band*/) {}
    virtual void OrlintMsgSC(u32 /*value*/) {}
    virtual void OrlintMsgTC(u32 /*value*/) {}
    virtual void OrlintMsgTX(u32 /*band*/) {}

    // ---- keyer window
    virtual void PimbelView() {}
    virtual void PimbelDestroy() {}
    virtual void PimbelMsgKY(u32 /*value*/) {}
    virtual void PimbelMsgPS(u32 /*value*/) {}

    // ---- terminal window
    virtual void SolvikView(u32 /*open*/ = 1) {}
    virtual void SolvikDestroy() {}
    virtual void SolvikMsgTC(u32 /*value*/) {}
    virtual void SolvikRXData(const char* /*text*/) {}

    // ---- auto-mode frequency window
    virtual void TrevanView() {}
    virtual void TrevanDestroy() {}

    // ---- packet-cluster window
    virtual void YarrelView(u32 /*cm*/) {}
    virtual void YarrelDestroy() {}
    virtual void YarrelMsgPK(std::int64_t /*frequency*/, const char* /*call*/,
                             const char* /*comment*/, const char* /*time*/) {}
};

inline constexpr DestroyCall kDestroyOrder[] = {
    {"TrevanDestroy", &SecondaryWindows::TrevanDestroy},
    {"RadioEqgDestroy", &SecondaryWindows::RadioEqgDestroy},
    {"RadioEqsDestroy", &SecondaryWindows::RadioEqsDestroy},
    {"PimbelDestroy", &SecondaryWindows::PimbelDestroy},
    {"RadioAgcDestroy", &SecondaryWindows::RadioAgcDestroy},
    {"RadioMchDestroy", &SecondaryWindows::RadioMchDestroy},
    {"RadioMgrDestroy", &SecondaryWindows::RadioMgrDestroy},
    {"PandorDestroy", &SecondaryWindows::PandorDestroy},
    {"QuorelDestroy", &SecondaryWindows::QuorelDestroy},
    {"RadioSgrDestroy", &SecondaryWindows::RadioSgrDestroy},
    {"RadioSmnDestroy", &SecondaryWindows::RadioSmnDestroy},
    {"OrlintDestroy", &SecondaryWindows::OrlintDestroy},
    {"DunmarDestroy", &SecondaryWindows::DunmarDestroy},
    {"YarrelDestroy", &SecondaryWindows::YarrelDestroy},
    {"GlimraScanStop", &SecondaryWindows::GlimraScanStop},
    {"GlimraDestroy", &SecondaryWindows::GlimraDestroy},
    {"SolvikDestroy", &SecondaryWindows::SolvikDestroy},
};

} // namespace zephyra
