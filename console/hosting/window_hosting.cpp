// SPDX-License-Identifier: GPL-3.0-or-later
// window_hosting.cpp - opening the secondary windows: which command or
// front-panel control opens which window, and when the console lets it.
//
// Every view goes through the console's window table; the windows are
// top-level windows of their libraries (the desktop is their parent) and
// stay open across disconnects until the console closes them.
#include "console_dialog.h"

#include "console_ids.h"
#include "console_menu.h"

#include <corvan.h>

#include <QAbstractButton>

#include <algorithm>

// The CM value the menu window and the visual scan depend on: when none is
// stored, CM is asked for and nothing opens this time.
bool ConsoleDialog::PctAllowsWindow() {
    std::uint32_t cm = 0;
    if (!zephyra::ReadStored([&] { return m_link->RcvDataCM(&cm) == 1; })) {
        m_link->ConnCM("R", 0);
        return false;
    }
    m_state.cmValue = static_cast<int>(cm);
    return cm != 1;
}

void ConsoleDialog::ViewMultiFunction() {
    if (!m_state.consoleReady)
        return;
    const int band = m_state.transmitBand == 1 ? 1 : 0;
    m_windows->PandorView(static_cast<std::uint32_t>(m_state.mode[band]));
}

void ConsoleDialog::ViewVisualScan() {
    const ConsoleState& s = m_state;
    if (!s.consoleReady || !PctAllowsWindow())
        return;
    if (s.satelliteMode || s.tncMode || s.zulState != 0 || s.repeaterValue != 0 ||
        s.remoteValue != 0 || s.transmitting[0] || s.transmitting[1])
        return;
    m_windows->GlimraView();
    m_state.visualScanOpen = 1;
}

void ConsoleDialog::ViewFilter() {
    const ConsoleState& s = m_state;
    if (!s.consoleReady || s.zulState == 2)
        return;
    m_windows->DunmarView(static_cast<std::uint32_t>(std::max(0, s.filterNumber)));
    if (s.satelliteMode) {
        m_windows->DunmarMsgDC(static_cast<std::uint32_t>(s.transmitBand), 0);
        if (s.transmitBand == s.controlBand) {
            // The other band's mode: the satellite's uplink and downlink.
            const int other = s.controlBand == 0 ? 1 : 0;
            m_windows->DunmarMsgMD(static_cast<std::uint32_t>(s.mode[other]));
        }
    }
}

void ConsoleDialog::ViewMenuWindow() {
    const ConsoleState& s = m_state;
    if (!s.consoleReady || !PctAllowsWindow() || s.tncMode)
        return;
    if (m_windows->OrlintView() == 0)
        return;
    m_windows->OrlintSetZulParams(static_cast<std::uint32_t>(s.zulState),
                                  static_cast<std::uint32_t>(s.repeaterValue),
                                  static_cast<std::uint32_t>(s.remoteValue));
    const int scan = s.scanValue[s.controlBand == 1 ? 1 : 0];
    if (scan > 0)
        m_windows->OrlintMsgSC(static_cast<std::uint32_t>(scan));
    if (s.transmitting[0])
        m_windows->OrlintMsgTX(0);
    else if (s.transmitting[1])
        m_windows->OrlintMsgTX(1);
    else
        m_windows->OrlintMsgRX(static_cast<std::uint32_t>(std::max(0, s.cmValue)));
}

void ConsoleDialog::InstallWindowHosting() {
    SetCommandHandler(cmd::RadioMulti, [this] { ViewMultiFunction(); });
    SetCommandHandler(cmd::RadioAgc, [this] {
        // The AGC panel belongs to identity 19; identity 18 switches AGC
        // from its front-panel key instead.
        if (m_state.radioIdentification != 18 && m_state.consoleReady)
            m_windows->RadioAgcView();
    });
    SetCommandHandler(cmd::MemoryGroup, [this] {
        if (m_state.radioIdentification == 19)
            m_windows->RadioMgrView();
    });
    SetCommandHandler(cmd::ScanGroup, [this] {
        m_windows->RadioSgrView();
        m_link->ConnSU("R", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    });
    SetCommandHandler(cmd::Setup, [this] { m_windows->QuorelView(); });
    SetCommandHandler(cmd::AudioEditorDesign, [this] { m_windows->RadioEqsView(); });
    SetCommandHandler(cmd::AudioEditorSamples, [this] { m_windows->RadioEqgView(); });
    // The menu's Visual Scan and the V.SCAN button: the focus goes to the button.
    SetCommandHandler(cmd::VisualScan, [this] {
        if (QWidget* button = m_controls.widget(idc::VScan))
            button->setFocus(Qt::OtherFocusReason);
        ViewVisualScan();
    });
    SetCommandHandler(cmd::RxFilter, [this] { ViewFilter(); });
    SetCommandHandler(cmd::RadioMenu, [this] { ViewMenuWindow(); });
    SetCommandHandler(cmd::Keying, [this] { m_windows->PimbelView(); });
    SetCommandHandler(cmd::AutoModeFreq, [this] { m_windows->TrevanView(); });
}
