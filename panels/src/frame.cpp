// SPDX-License-Identifier: GPL-3.0-or-later
// The exported functions: creation and destruction of the seven panels, the
// routing of forwarded replies, and the clean-up when the library or the
// application goes away.
#include "frame_registry.h"

#include <pandor.h>
#include <platform.h>

#include <QApplication>
#include <QCoreApplication>

#include <array>
#include <new>

namespace pandor {

namespace {
// Defined before the exit clean-up below, so it is destroyed after it.
Registry g_registry;
} // namespace

Registry& Panels() {
    return g_registry;
}

namespace {

// Whatever the console left open is destroyed (positions saved) when the
// application ends, or when the library goes while the application lives.
// Defined after the registry, so it is destroyed before it.
platform::ExitCleanup g_exitCleanup{{&PandorUnload}};

bool HaveWidgetApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// View: bring up the existing panel, or create, store and show a new one.
// Returns the panel when it was created by this call.
template <class Panel>
Panel* ViewPanel(QPointer<Panel>& slot, QWidget* parent) {
    if (!HaveWidgetApplication()) {
        return nullptr;
    }
    if (Panel* existing = slot.data()) {
        existing->BringUp();
        return nullptr;
    }
    auto* panel = new (std::nothrow) Panel(parent);
    if (panel == nullptr) {
        return nullptr;
    }
    g_exitCleanup.Arm();
    panel->Create();
    slot = panel;
    panel->show();
    panel->raise();
    panel->activateWindow();
    return panel;
}

// Destroy: the window (position, controls, link object), then the object.
template <class Panel>
void DestroyPanel(QPointer<Panel>& slot) {
    Panel* panel = slot.data();
    slot = nullptr;
    if (panel == nullptr) {
        return;
    }
    panel->DestroyWindow();
    delete panel;
}

void ForwardToMulti(MultiReply reply, std::uint32_t value) {
    if (CMultiPanel* panel = Panels().multi.data()) {
        panel->OnReply(reply, value);
    }
}

} // namespace
} // namespace pandor

using pandor::MultiReply;
using pandor::Panels;

// ------------------------------------------------------------------ AGC

void RadioAgcView(QWidget* parent) {
    pandor::ViewPanel(Panels().agc, parent);
}

void RadioAgcDestroy() {
    pandor::DestroyPanel(Panels().agc);
}

void RadioAgcMsgMD(std::uint32_t mode) {
    if (auto* panel = Panels().agc.data()) {
        panel->OnMode(mode);
    }
}

void PandorMsgGT(std::uint32_t value) {
    if (auto* panel = Panels().agc.data()) {
        panel->OnAgcValue(value);
    }
}

// ------------------------------------------------------ memory channel editor

void RadioMchView(QWidget* parent) {
    pandor::ViewPanel(Panels().memory, parent);
}

void RadioMchDestroy() {
    pandor::DestroyPanel(Panels().memory);
}

void PandorSetMemVal(std::uint32_t rxFreqLow, std::uint32_t rxFreqHigh, std::uint32_t rxMode,
                     std::uint32_t rxStep, std::uint32_t txFreqLow, std::uint32_t txFreqHigh,
                     std::uint32_t txMode, std::uint32_t txStep, std::uint32_t offset,
                     std::uint32_t shift, std::uint32_t reverse, std::uint32_t toneNumber,
                     std::uint32_t ctcssNumber, std::uint32_t dcsCode, std::uint32_t toneType,
                     std::uint32_t group, const char* name, std::uint32_t lockout) {
    auto* panel = Panels().memory.data();
    if (panel == nullptr) {
        return;
    }
    pandor::MemoryChannel channel;
    channel.rxFreq = pandor::JoinWords(rxFreqLow, rxFreqHigh);
    channel.rxMode = rxMode;
    channel.rxStep = rxStep;
    channel.txFreq = pandor::JoinWords(txFreqLow, txFreqHigh);
    channel.txMode = txMode;
    channel.txStep = txStep;
    channel.offset = offset;
    channel.shift = shift;
    channel.reverse = reverse;
    channel.toneNumber = toneNumber;
    channel.ctcssNumber = ctcssNumber;
    channel.dcsCode = dcsCode;
    channel.toneType = toneType;
    channel.group = group;
    pandor::CopyName(channel.name.data(), channel.name.size(), name);
    channel.lockout = lockout;
    panel->SetChannel(channel);
}

namespace {
template <class T>
void Put(T* out, T value) {
    if (out != nullptr) {
        *out = value;
    }
}
} // namespace

void PandorGetMemVal(std::int64_t* rxFreq, std::uint32_t* rxMode, std::uint32_t* rxStep,
                     std::int64_t* txFreq, std::uint32_t* txMode, std::uint32_t* txStep,
                     std::uint32_t* offset, std::uint32_t* shift, std::uint32_t* reverse,
                     std::uint32_t* toneNumber, std::uint32_t* ctcssNumber,
                     std::uint32_t* dcsCode, std::uint32_t* toneType, std::uint32_t* group,
                     char* name, std::uint32_t* lockout) {
    const auto* panel = Panels().memory.data();
    // Without the editor every output is cleared (the name's first four bytes).
    const pandor::MemoryChannel channel = panel != nullptr ? panel->channel() : pandor::MemoryChannel{};
    Put(rxFreq, channel.rxFreq);
    Put(rxMode, channel.rxMode);
    Put(rxStep, channel.rxStep);
    Put(txFreq, channel.txFreq);
    Put(txMode, channel.txMode);
    Put(txStep, channel.txStep);
    Put(offset, channel.offset);
    Put(shift, channel.shift);
    Put(reverse, channel.reverse);
    Put(toneNumber, channel.toneNumber);
    Put(ctcssNumber, channel.ctcssNumber);
    Put(dcsCode, channel.dcsCode);
    Put(toneType, channel.toneType);
    Put(group, channel.group);
    if (name != nullptr) {
        if (panel != nullptr) {
            pandor::CopyName(name, pandor::MemoryChannel::kNameSize, channel.name.data());
        } else {
            name[0] = name[1] = name[2] = name[3] = '\0';
        }
    }
    Put(lockout, channel.lockout);
}

// ------------------------------------------------------------ memory group

void RadioMgrView(QWidget* parent) {
    pandor::ViewPanel(Panels().memGroup, parent);
}

void RadioMgrDestroy() {
    pandor::DestroyPanel(Panels().memGroup);
}

void PandorMsgMU(std::uint32_t g0, std::uint32_t g1, std::uint32_t g2, std::uint32_t g3,
                 std::uint32_t g4, std::uint32_t g5, std::uint32_t g6, std::uint32_t g7,
                 std::uint32_t g8, std::uint32_t g9) {
    if (auto* panel = Panels().memGroup.data()) {
        panel->OnGroups({g0, g1, g2, g3, g4, g5, g6, g7, g8, g9});
    }
}

void PandorMsgDC(std::uint32_t transmitBand, std::uint32_t controlBand) {
    if (auto* panel = Panels().memGroup.data()) {
        panel->OnBands(transmitBand, controlBand);
    }
    if (auto* panel = Panels().scanGroup.data()) {
        panel->OnBands(transmitBand, controlBand);
    }
}

// ---------------------------------------------------------- multi-function

void PandorView(QWidget* parent, std::uint32_t mode) {
    if (pandor::ViewPanel(Panels().multi, parent) != nullptr) {
        PandorMsgMD(mode);
        PandorFreqChg(Panels().pendingBand);
    }
}

void PandorDestroy() {
    pandor::DestroyPanel(Panels().multi);
}

void PandorFreqChg(std::uint32_t band) {
    // Kept also while the panel is open, so that a panel opened again after
    // a destroy starts from the current band rather than an older one.
    Panels().pendingBand = band;
    if (auto* panel = Panels().multi.data()) {
        panel->OnBand(band);
    }
}

void PandorMsgAL(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::AL, value); }
void PandorMsgCG(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::CG, value); }
void PandorMsgCN(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::CN, value); }
void PandorMsgID(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::ID, value); }
void PandorMsgKS(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::KS, value); }
void PandorMsgMG(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::MG, value); }
void PandorMsgML(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::ML, value); }
void PandorMsgNL(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::NL, value); }
void PandorMsgNR(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::NR, value); }
void PandorMsgOF(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::OF, value); }
void PandorMsgPC(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::PC, value); }
void PandorMsgQC(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::QC, value); }
void PandorMsgRL(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::RL, value); }
void PandorMsgSD(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::SD, value); }
void PandorMsgTN(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::TN, value); }
void PandorMsgVD(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::VD, value); }
void PandorMsgVG(std::uint32_t value) { pandor::ForwardToMulti(MultiReply::VG, value); }

void PandorMsgMD(std::uint32_t mode) {
    if (auto* panel = Panels().multi.data()) {
        panel->OnMode(mode);
    }
}

void PandorMsgPL(std::uint32_t inputLevel, std::uint32_t outputLevel) {
    if (auto* panel = Panels().multi.data()) {
        panel->OnProcLevels(inputLevel, outputLevel);
    }
}

void PandorMsgEX(std::uint32_t /*menu*/, std::uint32_t /*sub*/, std::uint32_t /*digit1*/,
                 std::uint32_t /*digit2*/, const char* text) {
    if (auto* panel = Panels().multi.data()) {
        panel->OnMenuText(text);
    }
}

// ------------------------------------------------------------------ setup

void QuorelView(QWidget* parent) {
    pandor::ViewPanel(Panels().setup, parent);
}

void QuorelDestroy() {
    pandor::DestroyPanel(Panels().setup);
}

void PandorMsgPS(std::uint32_t powerState) {
    if (auto* panel = Panels().setup.data()) {
        panel->OnPowerState(powerState);
    }
}

// ------------------------------------------------------------- scan group

void RadioSgrView(QWidget* parent) {
    pandor::ViewPanel(Panels().scanGroup, parent);
}

void RadioSgrDestroy() {
    pandor::DestroyPanel(Panels().scanGroup);
}

void PandorMsgSU(std::uint32_t scanType, std::uint32_t g0, std::uint32_t g1, std::uint32_t g2,
                 std::uint32_t g3, std::uint32_t g4, std::uint32_t g5, std::uint32_t g6,
                 std::uint32_t g7, std::uint32_t g8, std::uint32_t g9) {
    if (auto* panel = Panels().scanGroup.data()) {
        panel->OnGroups(scanType, {g0, g1, g2, g3, g4, g5, g6, g7, g8, g9});
    }
}

// --------------------------------------------------------- satellite name

void RadioSmnView(QWidget* parent) {
    pandor::ViewPanel(Panels().satName, parent);
}

void RadioSmnDestroy() {
    pandor::DestroyPanel(Panels().satName);
}

void PandorGetSmn(char* buffer) {
    if (const auto* panel = Panels().satName.data()) {
        panel->CopyName(buffer);
    }
}

void PandorSetSmn(const char* text) {
    if (auto* panel = Panels().satName.data()) {
        panel->SetName(text);
    }
}

// ----------------------------------------------------------------- unload

void PandorUnload() {
    RadioAgcDestroy();
    RadioMgrDestroy();
    RadioMchDestroy();
    PandorDestroy();
    QuorelDestroy();
    RadioSgrDestroy();
    RadioSmnDestroy();
}
