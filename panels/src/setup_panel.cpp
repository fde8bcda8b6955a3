#include "setup_panel.h"

#include <corvan.h>
#include <kestrin.h>
#include <platform.h>

#include <QPointer>

namespace pandor {

namespace {
constexpr int kResetFrameId = 24048;
constexpr int kResetAllId = 24008;
constexpr int kResetVfoId = 24009;
} // namespace

CSetupPanel::CSetupPanel(QWidget* parent) : CPanelBase(kSetupTraits, parent) {}

void CSetupPanel::OnInitDialog() {
    auto* frame = new CStaticFrameEx(this, kResetFrameId, QRect(12, 226, 150, 56), QStringLiteral("Reset"));
    frame->SetTextSize(16);
    m_resetAll = new CButtonEx(this, kResetAllId, QRect(22, 246, 60, 26), QStringLiteral("&ALL"));
    m_resetVfo = new CButtonEx(this, kResetVfoId, QRect(92, 246, 60, 26), QStringLiteral("&VFO"));
    connect(m_resetAll, &QPushButton::clicked, this, [this] { ResetRadio(Reset::Full); });
    connect(m_resetVfo, &QPushButton::clicked, this, [this] { ResetRadio(Reset::Vfo); });
    m_powerOn = false;
    m_resetAll->setEnabled(false);
    m_resetVfo->setEnabled(false);
}

void CSetupPanel::OnPowerState(std::uint32_t state) {
    if (state > 1 || (state == 1) == m_powerOn) {
        return;
    }
    m_powerOn = state == 1;
    if (m_resetAll != nullptr) {
        m_resetAll->setEnabled(m_powerOn);
    }
    if (m_resetVfo != nullptr) {
        m_resetVfo->setEnabled(m_powerOn);
    }
}

bool CSetupPanel::ResetRadio(Reset kind) {
    const QString question = kind == Reset::Full ? QStringLiteral("All Reset OK?")
                                                 : QStringLiteral("VFO Reset OK?");
    // The question runs an event loop of its own, in which the console may
    // destroy this panel: nothing of it is touched after that.
    const QPointer<CSetupPanel> alive(this);
    const int answer = platform::MessageBox(
        question, QStringLiteral("Zephyra"),
        platform::MbYesNo | platform::MbIconQuestion | platform::MbDefButton2, this);
    if (alive.isNull() || answer != platform::IdYes || link() == nullptr) {
        return false;
    }
    // The console answers UM_RADIO_RESET by clearing the transverter
    // offsets and quick memories; a reset the link refused must not do that.
    const auto code = static_cast<std::uint32_t>(kind);
    if (link()->ConnSR(code) == 0) {
        return false;
    }
    platform::PostToMainWindow(platform::kUmRadioReset, code, 0);
    return true;
}

} // namespace pandor
