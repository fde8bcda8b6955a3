// SPDX-License-Identifier: GPL-3.0-or-later
// library_windows.cpp - the calls of the console's window table, each passed
// to the export of the library that owns the window. Every view gets the
// desktop as its parent: a null parent makes an independent top-level
// window that stays usable beside the console.
#include "library_windows.h"

#include <dunmar.h>
#include <glimra.h>
#include <orlint.h>
#include <pandor.h>
#include <pimbel.h>
#include <solvik.h>
#include <tonwell.h>
#include <trevan.h>
#include <yarrel.h>

namespace {

QWidget* const kDesktop = nullptr;

std::int32_t Signed(std::uint32_t value) { return static_cast<std::int32_t>(value); }

} // namespace

void LibraryWindows::PandorView(u32 mode) { ::PandorView(kDesktop, mode); }
void LibraryWindows::PandorDestroy() { ::PandorDestroy(); }
void LibraryWindows::RadioAgcView() { ::RadioAgcView(kDesktop); }
void LibraryWindows::RadioAgcDestroy() { ::RadioAgcDestroy(); }
void LibraryWindows::RadioMchView() { ::RadioMchView(kDesktop); }
void LibraryWindows::RadioMchDestroy() { ::RadioMchDestroy(); }

void LibraryWindows::PandorSetMemVal(const zephyra::MemoryValues& v) {
    const auto low = [](std::int64_t f) { return static_cast<u32>(static_cast<std::uint64_t>(f) & 0xFFFFFFFFu); };
    const auto high = [](std::int64_t f) { return static_cast<u32>(static_cast<std::uint64_t>(f) >> 32); };
    ::PandorSetMemVal(low(v.rxFrequency), high(v.rxFrequency), v.rxMode, v.rxStep, low(v.txFrequency),
                      high(v.txFrequency), v.txMode, v.txStep, v.offset, v.shift, v.reverse, v.toneNumber,
                      v.ctcssNumber, v.dcsCode, v.toneType, v.group, v.name, v.lockout);
}

void LibraryWindows::PandorGetMemVal(zephyra::MemoryValues& v) {
    ::PandorGetMemVal(&v.rxFrequency, &v.rxMode, &v.rxStep, &v.txFrequency, &v.txMode, &v.txStep,
                      &v.offset, &v.shift, &v.reverse, &v.toneNumber, &v.ctcssNumber, &v.dcsCode,
                      &v.toneType, &v.group, v.name, &v.lockout);
    v.name[sizeof v.name - 1] = '\0';
}

void LibraryWindows::RadioSmnView() { ::RadioSmnView(kDesktop); }
void LibraryWindows::RadioSmnDestroy() { ::RadioSmnDestroy(); }
void LibraryWindows::PandorSetSmn(const char* name) { ::PandorSetSmn(name); }
void LibraryWindows::PandorGetSmn(char* buffer) { ::PandorGetSmn(buffer); }
void LibraryWindows::RadioMgrView() { ::RadioMgrView(kDesktop); }
void LibraryWindows::RadioMgrDestroy() { ::RadioMgrDestroy(); }
void LibraryWindows::RadioSgrView() { ::RadioSgrView(kDesktop); }
void LibraryWindows::RadioSgrDestroy() { ::RadioSgrDestroy(); }
void LibraryWindows::QuorelView() { ::QuorelView(kDesktop); }
void LibraryWindows::QuorelDestroy() { ::QuorelDestroy(); }
void LibraryWindows::PandorFreqChg(u32 band) { ::PandorFreqChg(band); }
void LibraryWindows::RadioAgcMsgMD(u32 mode) { ::RadioAgcMsgMD(mode); }
void LibraryWindows::PandorMsgAL(u32 value) { ::PandorMsgAL(value); }
void LibraryWindows::PandorMsgCG(u32 value) { ::PandorMsgCG(value); }
void LibraryWindows::PandorMsgCN(u32 value) { ::PandorMsgCN(value); }
void LibraryWindows::PandorMsgDC(u32 transmitBand, u32 controlBand) { ::PandorMsgDC(transmitBand, controlBand); }
void LibraryWindows::PandorMsgEX(u32 menu, u32 sub, u32 a, u32 b, const char* text) {
    ::PandorMsgEX(menu, sub, a, b, text);
}
void LibraryWindows::PandorMsgGT(u32 value) { ::PandorMsgGT(value); }
void LibraryWindows::PandorMsgID(u32 value) { ::PandorMsgID(value); }
void LibraryWindows::PandorMsgKS(u32 value) { ::PandorMsgKS(value); }
void LibraryWindows::PandorMsgMD(u32 mode) { ::PandorMsgMD(mode); }
void LibraryWindows::PandorMsgMG(u32 value) { ::PandorMsgMG(value); }
void LibraryWindows::PandorMsgML(u32 value) { ::PandorMsgML(value); }
void LibraryWindows::PandorMsgMU(const u32 (&g)[10]) {
    ::PandorMsgMU(g[0], g[1], g[2], g[3], g[4], g[5], g[6], g[7], g[8], g[9]);
}
void LibraryWindows::PandorMsgNL(u32 value) { ::PandorMsgNL(value); }
void LibraryWindows::PandorMsgNR(u32 value) { ::PandorMsgNR(value); }
void LibraryWindows::PandorMsgOF(u32 value) { ::PandorMsgOF(value); }
void LibraryWindows::PandorMsgPC(u32 value) { ::PandorMsgPC(value); }
void LibraryWindows::PandorMsgPL(u32 input, u32 output) { ::PandorMsgPL(input, output); }
void LibraryWindows::PandorMsgPS(u32 value) { ::PandorMsgPS(value); }
void LibraryWindows::PandorMsgQC(u32 value) { ::PandorMsgQC(value); }
void LibraryWindows::PandorMsgRL(u32 value) { ::PandorMsgRL(value); }
void LibraryWindows::PandorMsgSD(u32 value) { ::PandorMsgSD(value); }
void LibraryWindows::PandorMsgSU(const u32 (&v)[11]) {
    ::PandorMsgSU(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
}
void LibraryWindows::PandorMsgTN(u32 value) { ::PandorMsgTN(value); }
void LibraryWindows::PandorMsgVD(u32 value) { ::PandorMsgVD(value); }
void LibraryWindows::PandorMsgVG(u32 value) { ::PandorMsgVG(value); }

void LibraryWindows::RadioEqsView() { ::RadioEqsView(kDesktop); }
void LibraryWindows::RadioEqsDestroy() { ::RadioEqsDestroy(); }
void LibraryWindows::RadioEqgView() { ::RadioEqgView(kDesktop); }
void LibraryWindows::RadioEqgDestroy() { ::RadioEqgDestroy(); }

void LibraryWindows::GlimraView() { ::GlimraView(kDesktop); }
void LibraryWindows::GlimraDestroy() { ::GlimraDestroy(); }
void LibraryWindows::GlimraScanStop() { ::GlimraScanStop(); }
void LibraryWindows::GlimraLinkClosing(u32 writable) { ::GlimraLinkClosing(Signed(writable)); }
void LibraryWindows::GlimraMsgDC(u32 transmitBand, u32 controlBand) {
    ::GlimraMsgDC(Signed(transmitBand), Signed(controlBand));
}
void LibraryWindows::GlimraMsgEX(u32 menu, u32 sub, u32 a, u32 b, const char* text) {
    ::GlimraMsgEX(Signed(menu), Signed(sub), Signed(a), Signed(b), text);
}
void LibraryWindows::GlimraMsgFR(u32 value) { ::GlimraMsgFR(Signed(value)); }
void LibraryWindows::GlimraMsgSC(u32 value) { ::GlimraMsgSC(Signed(value)); }
void LibraryWindows::GlimraMsgTX(u32 band) { ::GlimraMsgTX(Signed(band)); }
void LibraryWindows::GlimraMsgRX(u32 band) { ::GlimraMsgRX(Signed(band)); }

void LibraryWindows::DunmarView(u32 filter) { ::DunmarView(kDesktop, filter); }
void LibraryWindows::DunmarDestroy() { ::DunmarDestroy(); }
void LibraryWindows::DunmarMsgDC(u32 transmitBand, u32 controlBand) { ::DunmarMsgDC(transmitBand, controlBand); }
void LibraryWindows::DunmarMsgFW(u32 value) { ::DunmarMsgFW(value); }
void LibraryWindows::DunmarMsgIS(const char* sign, u32 value) { ::DunmarMsgIS(sign, value); }
void LibraryWindows::DunmarMsgMD(u32 mode) { ::DunmarMsgMD(mode); }
void LibraryWindows::DunmarMsgSH(u32 value) { ::DunmarMsgSH(value); }
void LibraryWindows::DunmarMsgSL(u32 value) { ::DunmarMsgSL(value); }
void LibraryWindows::DunmarMsgPFil(u32 filter) { ::DunmarMsgPFil(filter); }

int LibraryWindows::OrlintView() { return ::OrlintView(kDesktop); }
void LibraryWindows::OrlintDestroy() { ::OrlintDestroy(); }
void LibraryWindows::OrlintSetZulParams(u32 zul, u32 repeater, u32 remote) {
    ::OrlintSetZulParams(zul, repeater, remote);
}
void LibraryWindows::OrlintSetScrollLock(u32 on) { ::OrlintSetScrollLock(on); }
void LibraryWindows::OrlintMsgCM(u32 value) { ::OrlintMsgCM(value); }
void LibraryWindows::OrlintMsgEX(u32 menu, u32 sub, u32 a, u32 b, const char* text) {
    ::OrlintMsgEX(menu, sub, a, b, text);
}
void LibraryWindows::OrlintMsgMF(u32 value) { ::OrlintMsgMF(value); }
void LibraryWindows::OrlintMsgRX(u32 band) { ::OrlintMsgRX(band); }
void LibraryWindows::OrlintMsgSC(u32 value) { ::OrlintMsgSC(value); }
void LibraryWindows::OrlintMsgTC(u32 value) { ::OrlintMsgTC(value); }
void LibraryWindows::OrlintMsgTX(u32 band) { ::OrlintMsgTX(band); }

void LibraryWindows::SolvikView(u32 open) { ::SolvikView(kDesktop, open); }
void LibraryWindows::SolvikDestroy() { ::SolvikDestroy(); }
void LibraryWindows::SolvikMsgTC(u32 value) { ::SolvikMsgTC(value); }
void LibraryWindows::SolvikRXData(const char* text) { ::SolvikRXData(text); }

void LibraryWindows::PimbelView() { ::PimbelView(kDesktop); }
void LibraryWindows::PimbelDestroy() { ::PimbelDestroy(); }
void LibraryWindows::PimbelMsgKY(u32 value) { ::PimbelMsgKY(value); }
void LibraryWindows::PimbelMsgPS(u32 value) { ::PimbelMsgPS(value); }

void LibraryWindows::TrevanView() { ::TrevanView(kDesktop); }
void LibraryWindows::TrevanDestroy() { ::TrevanDestroy(); }

void LibraryWindows::YarrelView(u32 cm) { ::YarrelView(kDesktop, cm); }
void LibraryWindows::YarrelDestroy() { ::YarrelDestroy(); }
void LibraryWindows::YarrelMsgPK(std::int64_t frequency, const char* call, const char* comment,
                                 const char* time) {
    ::YarrelMsgPK(frequency, call, comment, time);
}
