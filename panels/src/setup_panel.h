// setup_panel.h - the setup panel ("Setup").
//
// Holds the power state that enables the two reset buttons and performs the
// full and VFO resets: a confirmation, the SR command, and UM_RADIO_RESET to
// the main window (wParam 2 full, 1 VFO).
#pragma once

#include "panel_base.h"

#include <kestrin.h>

#include <QPointer>

#include <cstdint>

namespace pandor {

class CSetupPanel final : public CPanelBase {
    Q_OBJECT
public:
    enum class Reset : std::uint32_t { Vfo = 1, Full = 2 };

    explicit CSetupPanel(QWidget* parent);

    // 0 disables both reset buttons, 1 enables them; other values and
    // repeats of the current state change nothing.
    void OnPowerState(std::uint32_t state);
    // Asks the operator; on Yes sends the reset and tells the main window.
    // Returns true when the reset was sent.
    bool ResetRadio(Reset kind);

    bool resetEnabled() const { return m_powerOn; }

protected:
    void OnInitDialog() override;

private:
    bool m_powerOn = false;
    QPointer<CButtonEx> m_resetAll;
    QPointer<CButtonEx> m_resetVfo;
};

} // namespace pandor
