// SPDX-License-Identifier: GPL-3.0-or-later
// library_windows.h - the console's secondary windows, reached through the
// exports of the libraries that own them.
#pragma once

#include <secondary_windows.h>

class LibraryWindows final : public zephyra::SecondaryWindows {
public:
    // ---- panels
    void PandorView(u32 mode) override;
    void PandorDestroy() override;
    void RadioAgcView() override;
    void RadioAgcDestroy() override;
    void RadioMchView() override;
    void RadioMchDestroy() override;
    void PandorSetMemVal(const zephyra::MemoryValues& values) override;
    void PandorGetMemVal(zephyra::MemoryValues& values) override;
    void RadioSmnView() override;
    void RadioSmnDestroy() override;
    void PandorSetSmn(const char* name) override;
    void PandorGetSmn(char* buffer) override;
    void RadioMgrView() override;
    void RadioMgrDestroy() override;
    void RadioSgrView() override;
    void RadioSgrDestroy() override;
    void QuorelView() override;
    void QuorelDestroy() override;
    void PandorFreqChg(u32 band) override;
    void RadioAgcMsgMD(u32 mode) override;
    void PandorMsgAL(u32 value) override;
    void PandorMsgCG(u32 value) override;
    void PandorMsgCN(u32 value) override;
    void PandorMsgDC(u32 transmitBand, u32 controlBand) override;
    void PandorMsgEX(u32 menu, u32 sub, u32 a, u32 b, const char* text) override;
    void PandorMsgGT(u32 value) override;
    void PandorMsgID(u32 value) override;
    void PandorMsgKS(u32 value) override;
    void PandorMsgMD(u32 mode) override;
    void PandorMsgMG(u32 value) override;
    void PandorMsgML(u32 value) override;
    void PandorMsgMU(const u32 (&groups)[10]) override;
    void PandorMsgNL(u32 value) override;
    void PandorMsgNR(u32 value) override;
    void PandorMsgOF(u32 value) override;
    void PandorMsgPC(u32 value) override;
    void PandorMsgPL(u32 input, u32 output) override;
    void PandorMsgPS(u32 value) override;
    void PandorMsgQC(u32 value) override;
    void PandorMsgRL(u32 value) override;
    void PandorMsgSD(u32 value) override;
    void PandorMsgSU(const u32 (&values)[11]) override;
    void PandorMsgTN(u32 value) override;
    void PandorMsgVD(u32 value) override;
    void PandorMsgVG(u32 value) override;

    // ---- equaliser
    void RadioEqsView() override;
    void RadioEqsDestroy() override;
    void RadioEqgView() override;
    void RadioEqgDestroy() override;

    // ---- visual scan
    void GlimraView() override;
    void GlimraDestroy() override;
    void GlimraScanStop() override;
    void GlimraLinkClosing(u32 writable) override;
    void GlimraMsgDC(u32 transmitBand, u32 controlBand) override;
    void GlimraMsgEX(u32 menu, u32 sub, u32 a, u32 b, const char* text) override;
    void GlimraMsgFR(u32 value) override;
    void GlimraMsgSC(u32 value) override;
    void GlimraMsgTX(u32 band) override;
    void GlimraMsgRX(u32 band) override;

    // ---- filter window
    void DunmarView(u32 filter) override;
    void DunmarDestroy() override;
    void DunmarMsgDC(u32 transmitBand, u32 controlBand) override;
    void DunmarMsgFW(u32 value) override;
    void DunmarMsgIS(const char* sign, u32 value) override;
    void DunmarMsgMD(u32 mode) override;
    void DunmarMsgSH(u32 value) override;
    void DunmarMsgSL(u32 value) override;
    void DunmarMsgPFil(u32 filter) override;

    // ---- menu window
    int OrlintView() override;
    void OrlintDestroy() override;
    void OrlintSetZulParams(u32 zul, u32 repeater, u32 remote) override;
    void OrlintSetScrollLock(u32 on) override;
    void OrlintMsgCM(u32 value) override;
    void OrlintMsgEX(u32 menu, u32 sub, u32 a, u32 b, const char* text) override;
    void OrlintMsgMF(u32 value) override;
    void OrlintMsgRX(u32 band) override;
    void OrlintMsgSC(u32 value) override;
    void OrlintMsgTC(u32 value) override;
    void OrlintMsgTX(u32 band) override;

    // ---- terminal window
    void SolvikView(u32 open = 1) override;
    void SolvikDestroy() override;
    void SolvikMsgTC(u32 value) override;
    void SolvikRXData(const char* text) override;

    // ---- keyer window
    void PimbelView() override;
    void PimbelDestroy() override;
    void PimbelMsgKY(u32 value) override;
    void PimbelMsgPS(u32 value) override;

    // ---- auto-mode frequency window
    void TrevanView() override;
    void TrevanDestroy() override;

    // ---- packet-cluster window
    void YarrelView(u32 cm) override;
    void YarrelDestroy() override;
    void YarrelMsgPK(std::int64_t frequency, const char* call, const char* comment,
                     const char* time) override;
};
