// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's power state, the console's power-off values and the ending of
// a pending operator mode.
#include "console_link.h"

#include <platform.h>

namespace zephyra {

void ConsoleLink::PowerState(int value) {
    // A report still queued from a closed link changes nothing.
    if (!m_state.connected)
        return;
    if (value == 0) {
        if (m_state.consoleReady) {
            ReportLoss(RadioLoss::SwitchedOff);
            PowerOffBranch();
        }
        return;
    }
    if (value < 1 || value > 3)
        return;
    if (!m_state.consoleReady) {
        PowerOnBranch(value);
        return;
    }
    // On in a ZUL state: in command state the ZUL line tells whether HF is off.
    if ((value == 2 || value == 3) && m_state.zulState == 2) {
        std::uint32_t unlocked = 1;
        bool read = false;
        for (int attempt = 0; attempt < 10 && !read; ++attempt)
            read = m_link.RcvDataUL(&unlocked) == 1;
        if (read && unlocked == 0)
            m_surface.SetZulLine(value == 2 ? QStringLiteral(" ZUL : COMMAND  HF OFF ")
                                            : QStringLiteral(" ZUL : COMMAND "));
    }
}

void ConsoleLink::PowerOnBranch(int /*value*/) {
    ReportLoss(RadioLoss::None);
    m_surface.ShowLiveDisplay(true);
    m_state.consoleReady = 1;
    m_surface.SetPowerPicture(true);
    m_link.ConnKY("R", "");
    m_link.ConnRM("R", 0);
    if (!m_state.initialReadDone) {
        ReadAllSettings();
        return;
    }
    // Power came back after a read: refresh what a power cycle changes.
    if (m_state.satelliteMode) {
        m_link.ConnAI("W", 2);
        m_state.satelliteMode = 0;
        m_link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
    }
    m_link.ConnBY();
}

void ConsoleLink::PowerOffBranch() {
    if (m_state.transmitting[0] || m_state.transmitting[1]) {
        m_surface.EndTransmitDisplay();
        m_state.transmitting = {0, 0};
    }
    m_surface.ShowLiveDisplay(false);
    CancelPendingMode();
    m_peers.GlimraScanStop();
    // The read already done stays done until the link closes: the radio
    // switched on again is refreshed, not read again.
    m_state.consoleReady = 0;
    m_surface.SetPowerPicture(false);
    m_surface.StopBlinkTimers();
    Pump();
    m_surface.PaintDisplayDark();
}

void ResetConsoleState(ConsoleState& state) {
    ConsoleState fresh;
    // The connection and a running operation outlive the reset.
    fresh.connected = state.connected;
    fresh.baudRate = state.baudRate;
    fresh.busy = state.busy;
    fresh.savedLock = state.savedLock;
    fresh.tncMode = state.tncMode;
    // A window that stays open stays known as open: the visual scan lives
    // until the operator closes it, whatever the link does meanwhile.
    fresh.visualScanOpen = state.visualScanOpen;
    int dialWait = platform::GetProfileInt(QStringLiteral("Setting"), QStringLiteral("DialWait"), 5);
    if (dialWait < 0 || dialWait > 9)
        dialWait = 5;
    fresh.dialWait = dialWait;
    state = fresh;
}

void ConsoleLink::ResetConsoleState() { zephyra::ResetConsoleState(m_state); }

int ConsoleLink::CancelPendingMode() {
    ConsoleState& s = m_state;
    const int band = s.controlBand == 1 ? 1 : 0;

    if (s.memoryScroll) {
        if (s.entryCount != 0) {
            // Digits were typed: put the channel of the control band back.
            s.entryCount = 0;
            const MemoryPosition at = s.memory[band];
            m_link.ConnMR(0, static_cast<std::uint32_t>(at.bank), static_cast<std::uint32_t>(at.channel));
            m_link.ConnMR(1, static_cast<std::uint32_t>(at.bank), static_cast<std::uint32_t>(at.channel));
        } else if (!s.satelliteMode) {
            if (s.panelOpen) {
                m_peers.RadioMchDestroy();
                s.panelOpen = 0;
            }
            s.memoryScroll = 0;
            m_surface.LeaveOperatorMode(OperatorMode::MemoryScroll);
        } else {
            if (s.panelOpen) {
                m_peers.RadioSmnDestroy();
                s.panelOpen = 0;
            }
            s.memoryScroll = 0;
            m_surface.LeaveOperatorMode(OperatorMode::MemoryScroll);
            m_link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
        }
        return 1;
    }
    if (s.mouseWheelSelection) {
        s.mouseWheelSelection = 0;
        m_surface.LeaveOperatorMode(OperatorMode::MouseWheelSelection);
        return 1;
    }
    struct Flagged {
        int* flag;
        OperatorMode mode;
    };
    for (const Flagged& f : {Flagged{&s.voiceRecallDigits, OperatorMode::VoiceRecallDigits},
                             Flagged{&s.readChannel, OperatorMode::ReadChannel},
                             Flagged{&s.writeChannel, OperatorMode::WriteChannel},
                             Flagged{&s.dtmfDigits, OperatorMode::DtmfDigits}}) {
        if (*f.flag) {
            *f.flag = 0;
            m_surface.LeaveOperatorMode(f.mode);
            return 1;
        }
    }
    if (s.tfSetActive) {
        m_link.ConnTS("W", 0);
        return 1;
    }
    if (s.scanRunning[band]) {
        m_link.ConnSC("W", 0);
        return 1;
    }
    if (s.entryMode) {
        s.entryMode = 0;
        s.entryCount = 0;
        m_surface.LeaveOperatorMode(OperatorMode::Entry);
        return 1;
    }
    if (s.recording) {
        m_link.ConnLM("W", 0);
        return 1;
    }
    if (s.playback) {
        m_link.ConnPB("W", 0);
        return 1;
    }
    if (s.funcMode) {
        s.funcMode = 0;
        m_surface.LeaveOperatorMode(OperatorMode::Func);
        return 1;
    }
    if (s.quickMemory) {
        s.quickMemory = 0;
        m_surface.LeaveOperatorMode(OperatorMode::QuickMemory);
        return 1;
    }
    if (s.satelliteMode) {
        m_link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
        return 1;
    }
    return 0;
}

} // namespace zephyra
