// SPDX-License-Identifier: GPL-3.0-or-later
// monitors.cpp - press to monitor: "RX M." opens the squelch and switches
// the tone squelch off while held, "DSP M." opens the filter; the release
// puts back what the press found.
#include "console_operations.h"
#include "read_toggle.h"

#include <console_state.h>
#include <corvan.h>

using namespace operations;

void ConsoleOperations::RxMonitor(bool on) {
    zephyra::ConsoleState& s = state;
    if (on) {
        if (m_rxMonitor)
            return;
        m_rxMonitor = true;
        m_monitorBand = s.controlBand == 1 ? 1 : 0;
        const u32 band = static_cast<u32>(m_monitorBand);
        m_keptSquelchRead =
            zephyra::ReadStored([&] { return link.RcvDataSQ(band, &m_keptSquelch) == 1; });
        m_keptCtRead = ReadOnce(link, &CCorvan::RcvDataCT, m_keptCt);
        m_keptDqRead = ReadOnce(link, &CCorvan::RcvDataDQ, m_keptDq);
        link.ConnSQ("W", band, 0);
        link.ConnCT("W", 0);
        link.ConnDQ("W", 0);
        return;
    }
    if (!m_rxMonitor)
        return;
    m_rxMonitor = false;
    // Only what was known comes back; an unknown value is asked for.
    const u32 band = static_cast<u32>(m_monitorBand);
    if (m_keptSquelchRead)
        link.ConnSQ("W", band, m_keptSquelch);
    else
        link.ConnSQ("R", band, 0);
    if (m_keptCtRead)
        link.ConnCT("W", m_keptCt);
    else
        link.ConnCT("R", 0);
    if (m_keptDqRead)
        link.ConnDQ("W", m_keptDq);
    else
        link.ConnDQ("R", 0);
}

void ConsoleOperations::DspMonitor(bool on) {
    zephyra::ConsoleState& s = state;
    const bool preset = s.filterNumber == 1;
    if (on) {
        if (m_dspMonitor)
            return;
        m_dspMonitor = true;
        m_keptShRead = ReadOnce(link, &CCorvan::RcvDataSH, m_keptSh);
        m_keptSlRead = ReadOnce(link, &CCorvan::RcvDataSL, m_keptSl);
        m_keptFwRead = ReadOnce(link, &CCorvan::RcvDataFW, m_keptFw);
        m_monitorMode = s.mode[s.controlBand == 1 ? 1 : 0];
        if (preset) {
            link.ConnSL("W", 1);
            return;
        }
        switch (m_monitorMode) {
        case 1: case 2: case 4:
            link.ConnSH("W", 11);
            Pause(100);
            link.ConnSL("W", 0);
            break;
        case 5:
            link.ConnSH("W", 3);
            Pause(100);
            link.ConnSL("W", 0);
            break;
        case 3: case 7:
            link.ConnFW("W", 2000);
            break;
        case 6: case 9:
            link.ConnFW("W", 1500);
            break;
        default:
            break;
        }
        return;
    }
    if (!m_dspMonitor)
        return;
    m_dspMonitor = false;
    if (preset) {
        if (m_keptSlRead)
            link.ConnSL("W", m_keptSl);
        return;
    }
    switch (m_monitorMode) {
    case 1: case 2: case 4: case 5:
        if (m_keptShRead)
            link.ConnSH("W", m_keptSh);
        Pause(100);
        if (m_keptSlRead)
            link.ConnSL("W", m_keptSl);
        break;
    case 3: case 6: case 7: case 9:
        if (m_keptFwRead)
            link.ConnFW("W", m_keptFw);
        break;
    default:
        break;
    }
}
