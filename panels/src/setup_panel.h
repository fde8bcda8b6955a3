// SPDX-License-Identifier: GPL-3.0-or-later
// setup_panel.h - the setup panel ("Setup").
//
// Edits the connection and transverter settings of the profile (section
// "Setting"): the serial device ("PortName", with "PortNo" for the
// traditional /dev/ttyS names), the speed ("Baud"), the dial wait
// ("DialWait") and the four transverter frequencies ("TransFreqMain",
// "TransFreqSub", "TransFreqDown", "TransFreqUp"). Nothing reaches the
// profile before OK.
//
// A transverter row shows eleven digits (10 GHz down to 1 Hz). Outside entry
// mode a left press on a digit steps the row down by that digit's weight and
// a right press up, at once, again after 400 ms and then every 100 ms while
// held. The row's "Ent" button starts typing a frequency into it (see
// setup_entry.h); while it runs only that button, the digit and period keys,
// Esc and Enter act.
//
// The reset buttons follow the power state reported by PS and perform the
// full and VFO resets: a confirmation, the SR command, and UM_RADIO_RESET to
// the main window (wParam 2 full, 1 VFO).
//
// Two check boxes switch the sharing servers ("RigctlOn", "FlrigOn" of
// section "Sharing", their ports from "RigctlPort" and "FlrigPort" shown in
// the texts). OK writes both and posts UM_SETUP_SAVED so that the console
// takes them over.
#pragma once

#include "panel_base.h"
#include "setup_devices.h"
#include "setup_entry.h"

#include <kestrin.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>

#include <array>
#include <cstdint>
#include <memory>

namespace platform {
class TimerTable;
}

namespace pandor {

class CSetupPanel final : public CPanelBase {
    Q_OBJECT
public:
    enum class Reset : std::uint32_t { Vfo = 1, Full = 2 };
    static constexpr int kRows = 4; // Main Band, Sub Band, SATL Down, SATL Up
    static constexpr int kFirstDelayMs = 400;
    static constexpr int kRepeatMs = 100;
    static constexpr int kShares = 2; // rigctld, flrig

    explicit CSetupPanel(QWidget* parent);
    ~CSetupPanel() override;

    // 0 disables both reset buttons, 1 enables them; other values and
    // repeats of the current state change nothing.
    void OnPowerState(std::uint32_t state);
    // Asks the operator; on Yes sends the reset and tells the main window.
    // Returns true when the reset was sent.
    bool ResetRadio(Reset kind);

    bool resetEnabled() const { return m_powerOn; }

    // ---- the rows (also what tests read)
    std::int64_t frequency(int row) const;
    // What row `row` shows now, dots in place ("  0.144.100.000").
    std::string rowShown(int row) const;
    bool inEntry() const { return m_entryRow >= 0; }
    int entryRow() const { return m_entryRow; }
    // The "Ent" button of a row pressed (starts or ends entry).
    void PressEnt(int row);
    // A mouse press on digit `digit` (0 = 1 Hz .. 10 = 10 GHz) of a row, and
    // the release of the button; the repeat timer's tick.
    void PressDigit(int row, int digit, bool up);
    void ReleaseDigits();
    void OnStepTimer(int row);
    bool stepTimerRunning(int row) const;
    int stepTimerInterval(int row) const;

protected:
    void OnInitDialog() override;
    void OnViewAgain() override;
    void OnOK() override;
    void OnCancel() override;
    void OnEnterKey() override;
    void OnEscapeKey() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        std::int64_t hz = 0;
        std::array<QPointer<CStaticEx>, kRowDigits> digits{};
        std::array<QPointer<CStaticEx>, 3> dots{};
        QPointer<CButtonEx> ent;
        int stepDigit = 0;
        bool stepUp = false;
    };

    void CreateControls();
    void FillPortList();
    void LoadProfile();
    void SelectStoredPort();
    void SavePort();
    void OnPortChosen(int index);
    // "Network address...": asks for an address and adds it to the list.
    void AskAddress();
    void ShowRow(int row);
    void ShowText(int row, const RowText& text);
    void StartEntry(int row);
    void EndEntry(bool takeValue);
    void ApplyEnabling();

    std::array<Row, kRows> m_rows{};
    int m_entryRow = -1;
    RowEntry m_entry;
    bool m_powerOn = false;
    std::unique_ptr<platform::TimerTable> m_timers;

    QPointer<QComboBox> m_port;
    // The entry chosen before "Network address..." (given back on cancel).
    int m_lastPortIndex = -1;
    QPointer<QComboBox> m_baud;
    QPointer<QComboBox> m_dialWait;
    QPointer<CButtonEx> m_resetAll;
    QPointer<CButtonEx> m_resetVfo;
    QPointer<CButtonEx> m_ok;
    QPointer<CButtonEx> m_cancel;
    std::array<QPointer<QCheckBox>, kShares> m_share{};
};

} // namespace pandor
