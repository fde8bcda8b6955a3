// SPDX-License-Identifier: GPL-3.0-or-later
// display_state_modes.cpp - the parts of the front-panel display that
// follow the radio's operating state: the mode labels, busy, the sub
// receiver, the antenna tuner and its blink, the automatic simplex check,
// TF-SET, P.C.T. and the transmit and control band marks.
#include "console_display.h"
#include "display_controls.h"

#include "console_controls.h"
#include "console_ids.h"

#include <console_link.h>
#include <corvan.h>
#include <platform.h>

#include <QComboBox>

#include <cstdlib>
#include <initializer_list>

using namespace display_controls;

namespace {

constexpr int kTunerFirstTick = 500; // ms
constexpr int kTunerBlinkPeriod = 700;
constexpr int kReverseBlinkPeriod = 250;
constexpr int kMaxFilterWidth = 9999;
constexpr int kReadTries = 10;

bool ValidBand(int band) {
    return band == 0 || band == 1;
}

std::size_t At(int band) {
    return static_cast<std::size_t>(band);
}

int ReverseMark(int band) {
    return band == 1 ? idc::SubReverse : idc::MainReverse;
}

// The modes whose label names the filter: FM on either band, AM on main.
bool NamesFilter(int band, int mode) {
    return mode == 4 || (mode == 5 && band == 0);
}

// The TS value (TF-SET or reverse) as the radio last reported it.
bool ReadTs(CCorvan& link, std::uint32_t& value) {
    for (int attempt = 0; attempt < kReadTries; ++attempt) {
        if (link.RcvDataTS(&value) == 1)
            return true;
    }
    return false;
}

// The automatic simplex check of a band is on (the first AR value).
bool SimplexCheckOn(CCorvan& link, int band) {
    for (int attempt = 0; attempt < kReadTries; ++attempt) {
        std::uint32_t on = 0, running = 0;
        if (link.RcvDataAR(static_cast<std::uint32_t>(band), &on, &running) == 1)
            return on == 1;
    }
    return false;
}

// The sub bar's scale follows the main band: transmit while it transmits.
void SwitchSubMeterScale(ConsoleDisplay& d) {
    d.ShowMeterScale(2, d.state.transmitting[0] ? 1 : 0);
}

// The sub bar switched off with the sub receiver: no scale, no name, empty.
void ClearSubMeters(ConsoleDisplay& d) {
    SetText(d.controls, idc::SubScale, QString());
    SetText(d.controls, idc::SubMeterName, QString());
    for (const int id : {idc::SubMeter, idc::SubMeterOver}) {
        if (CStaticMeterEx* bar = d.controls.meter(id))
            bar->ResetMeter();
    }
}

void ClearSubChannelField(const ConsoleControls& controls) {
    for (const int id :
         {idc::SubChDigit0 + 0, idc::SubChDigit0 + 1, idc::SubChDigit0 + 2, int{idc::SubChSep}})
        SetText(controls, id, QString());
}

// The main band's transmit frequency in split: the memory channel's
// transmit half on memory, else the other VFO the sub display shows.
std::int64_t SplitTransmitFrequency(const zephyra::ConsoleState& s) {
    const std::string& text = s.record[0].txFrequency;
    if (s.mainVfo == 2 && !text.empty())
        return std::strtoll(text.c_str(), nullptr, 10);
    return s.subFrequency;
}

} // namespace

// ------------------------------------------------------------ mode label

// The mode name, " NAR" for the narrow filter where the mode names one,
// and the memory group while the band shows a memory channel (not in ZUL
// command state). In memory scroll mode, and in satellite mode while RIT
// or XIT is on, the sub label belongs to what the sub display shows then.
void ConsoleDisplay::ShowModeLabel(int band) {
    if (!ValidBand(band))
        return;
    const int mode = state.mode[At(band)];
    QString text = ModeName(mode);
    if (NamesFilter(band, mode) && state.filterWidth[At(band)] == 0)
        text += QStringLiteral(" NAR");
    const int vfo =
        band == 0 ? (state.transmitting[0] ? state.mainTransmitVfo : state.mainVfo) : state.subVfo;
    if (vfo == 2 && state.zulState != 2)
        text += QStringLiteral(" Group %1").arg(state.record[At(band)].group);
    if (band == 1 && (state.memoryScroll || (state.satelliteMode && (state.ritOn || state.xitOn))))
        return;
    SetText(controls, band == 1 ? idc::SubMode : idc::MainMode, text);
}

// The control band's mode. Where the label names the filter its width is
// asked for; its reply draws the label again.
void ConsoleDisplay::OnMD(int mode) {
    if (mode < 0 || mode > 9)
        return;
    const int band = state.controlBand == 1 ? 1 : 0;
    state.mode[At(band)] = mode;
    if (NamesFilter(band, mode))
        link.ConnFW("R", 0);
    ShowModeLabel(band);
    // A mode of another class has other channel steps: the list follows,
    // and the radio's step for the new mode selects its entry.
    if (const QComboBox* list = controls.comboBox(idc::StepList)) {
        const bool ssbSteps = mode != 0 && mode != 4 && mode != 5 && mode != 8;
        const bool fmSteps = mode == 4 || (mode == 5 && ModeClass() == 2);
        if ((ssbSteps && list->count() != 4) || (fmSteps && list->count() != 10)) {
            FillStepList(-1);
            link.ConnST("R", 0);
        }
    }
}

void ConsoleDisplay::OnFW(int value) {
    if (value < 0 || value > kMaxFilterWidth)
        return;
    const int band = state.controlBand == 1 ? 1 : 0;
    state.filterWidth[At(band)] = value;
    if (NamesFilter(band, state.mode[At(band)]))
        ShowModeLabel(band);
}

// ------------------------------------------------------------------ busy

// "BUSY" while the squelch is open; a transmitting band keeps "ONAIR".
void ConsoleDisplay::OnBY(int mainBusy, int subBusy) {
    if (mainBusy == 0 || mainBusy == 1) {
        state.busySignal[0] = mainBusy;
        if (!state.transmitting[0])
            SetLit(controls, idc::MainBusy, mainBusy == 1, QStringLiteral("BUSY"));
    }
    if (subBusy == 0 || subBusy == 1) {
        state.busySignal[1] = subBusy;
        if (!state.transmitting[1])
            SetLit(controls, idc::SubBusy, subBusy == 1, QStringLiteral("BUSY"));
    }
}

// ----------------------------------------------------------- sub receiver

void ConsoleDisplay::OnSB(int value) {
    if (value != 0 && value != 1)
        return;
    if (value == 0) {
        timers().KillTimer(kSubReverseBlinkTimer);
        ClearSubChannelField(controls);
        for (const int id : {idc::SubMch, idc::SubLockOut, idc::SubMode, idc::SubText, idc::SubAtt,
                             idc::SubPre, idc::SubShift, idc::SubReverse, idc::SubTone, idc::SubTnc,
                             idc::SubNr, idc::SubBusy, idc::SubStar})
            SetText(controls, id, QString());
        ClearSubMeters(*this);
        if (!(state.ritOn == 1 || state.xitOn == 1 || state.split || state.satelliteMode))
            ShowSubFrequency(0);
        state.subReceiver = 0;
    } else if (!state.subReceiver) {
        state.subReceiver = 1;
        if (state.controlBand == 0 && state.zulState == 0 && !state.pct)
            link.ConnFC("R", "");
        if (TextOf(controls, idc::MainTnc).isEmpty())
            SetText(controls, idc::SubTnc, QStringLiteral("TNC"));
        SwitchSubMeterScale(*this);
        link.ConnSM(1);
        link.ConnPA("R", 0);
        link.ConnRA("R", 0);
    }
    SetChecked(controls, idc::SubButton, value == 1);
}

// ---------------------------------------------------------------- tuner

// "RX" and "TX" light for the tuners that are in line. While the tuner
// tunes (state 1) they blink; a failed tune (state 2) is said in a box.
void ConsoleDisplay::OnAC(int rxTuner, int txTuner, int tuning) {
    timers().KillTimer(kTunerBlinkTimer);
    SetLit(controls, idc::TunerRx, rxTuner == 1, QStringLiteral("RX"));
    SetLit(controls, idc::TunerTx, txTuner == 1, QStringLiteral("TX"));
    if (tuning == 0) {
        SetText(controls, idc::TunerAt,
                rxTuner == 1 || txTuner == 1 ? QStringLiteral("AT") : QString());
    } else if (tuning == 1) {
        SetText(controls, idc::TunerAt, QStringLiteral("AT"));
        m_blinkLit = true;
        m_blinkFirst = true;
        timers().SetTimer(kTunerBlinkTimer, kTunerFirstTick);
    } else if (tuning == 2) {
        // One box at a time: a report arriving while it is open is the same failure.
        if (m_tuneFailureOpen)
            return;
        m_tuneFailureOpen = true;
        platform::MessageBox(QStringLiteral("AT TUNE was failed."), QStringLiteral("Zephyra"),
                             platform::MbOk | platform::MbIconWarning, host.window);
        m_tuneFailureOpen = false;
    } else {
        SetText(controls, idc::TunerAt, QString());
    }
}

// One blink step of the tuner words, or of a band's simplex-check mark.
void ConsoleDisplay::OnTimer(int id) {
    if (id == kTunerBlinkTimer) {
        if (m_blinkFirst) {
            m_blinkFirst = false;
            timers().SetTimer(kTunerBlinkTimer, kTunerBlinkPeriod);
        }
        // The tuners as last reported; asking again would end the blink,
        // since every AC reply starts it afresh.
        std::uint32_t rx = 0, tx = 0, tuning = 0;
        if (link.RcvDataAC(&rx, &tx, &tuning) != 1)
            return;
        m_blinkLit = !m_blinkLit;
        if (rx == 1)
            SetLit(controls, idc::TunerRx, m_blinkLit, QStringLiteral("RX"));
        if (tx == 1)
            SetLit(controls, idc::TunerTx, m_blinkLit, QStringLiteral("TX"));
    } else if (id == kMainReverseBlinkTimer || id == kSubReverseBlinkTimer) {
        const int mark = ReverseMark(id == kSubReverseBlinkTimer ? 1 : 0);
        SetOnDisplay(controls, mark,
                TextOf(controls, mark).isEmpty() ? QStringLiteral("[R]") : QString());
    }
}

// ------------------------------------------------------ simplex check, TS

// The automatic simplex check shares the band's reverse mark: "[R]" while
// it is on, blinking while it checks. Once it is off the mark shows the
// band's reverse again.
void ConsoleDisplay::OnAR(int band, int checkOn, int checkRunning) {
    if (!ValidBand(band) || checkOn < 0 || checkOn > 1 || checkRunning < 0 || checkRunning > 1)
        return;
    std::uint32_t ts = 0;
    if (ReadTs(link, ts) && (checkOn == 1 || checkRunning == 0)) {
        QString mark;
        if (checkOn == 1)
            mark = QStringLiteral("[R]");
        else if (state.reverse[At(band)] == 1)
            mark = QStringLiteral("R");
        SetOnDisplay(controls, ReverseMark(band), mark);
    }
    const int timer = band == 1 ? kSubReverseBlinkTimer : kMainReverseBlinkTimer;
    if (checkRunning == 1)
        timers().SetTimer(timer, kReverseBlinkPeriod);
    else
        timers().KillTimer(timer);
}

// TS is the reverse of a repeater shift in FM, and TF-SET (listening on
// the transmit frequency in split) otherwise.
void ConsoleDisplay::OnTS(int value) {
    if (value != 0 && value != 1)
        return;
    const int band = state.controlBand == 1 ? 1 : 0;
    if (state.mode[At(band)] == 4 && state.shift[At(band)] != 0) {
        state.reverse[At(band)] = value;
        if (!SimplexCheckOn(link, band))
            SetOnDisplay(controls, ReverseMark(band), value == 1 ? QStringLiteral("R") : QString());
        RedrawFrequencies();
        return;
    }
    if (value == 1) {
        if (!state.split)
            return;
        SetText(controls, idc::TfSet, QStringLiteral("TF-SET"));
        state.tfSetActive = 1;
        // The displays swap: transmit frequency on main, receive on sub.
        ShowMainFrequency(SplitTransmitFrequency(state) + Xit(state));
        ShowSubFrequency(state.mainFrequency);
        return;
    }
    const bool wasActive = state.tfSetActive != 0;
    SetText(controls, idc::TfSet, QString());
    state.tfSetActive = 0;
    if (wasActive)
        RedrawFrequencies();
}

// ---------------------------------------------------------------- P.C.T.

void ConsoleDisplay::OnCM(int value) {
    if (value == 1) {
        SetText(controls, idc::Pct, QStringLiteral("P.C.T."));
        state.pct = 1;
        if (state.split)
            link.ConnOI();
        windows.GlimraScanStop();
    } else if (value == 0) {
        SetText(controls, idc::Pct, QString());
        state.pct = 0;
        if (state.split)
            link.ConnFR("R", 0);
    }
}

// ------------------------------------------------ transmit and control band

// "PTT" on the transmit band, "CTRL" on the controlled one; every word of
// the new control band is asked for again. In satellite mode the bands are
// the satellite report's.
void ConsoleDisplay::OnDC(int transmitBand, int controlBand) {
    if (!ValidBand(transmitBand) || !ValidBand(controlBand) || state.satelliteMode)
        return;
    SetOnDisplay(controls, idc::MainPtt, transmitBand == 0 ? QStringLiteral("PTT") : QString());
    SetOnDisplay(controls, idc::SubPtt, transmitBand == 1 ? QStringLiteral("PTT") : QString());
    SetText(controls, idc::MainCtrl, controlBand == 0 ? QStringLiteral("CTRL") : QString());
    SetText(controls, idc::SubCtrl, controlBand == 1 ? QStringLiteral("CTRL") : QString());
    const bool transmitChanged = transmitBand != state.transmitBand;
    const bool controlChanged = controlBand != state.controlBand;
    state.transmitBand = transmitBand;
    state.controlBand = controlBand;
    if (transmitChanged) {
        link.ConnPC("R", 0);
        if (transmitBand == 0 && state.zulState == 0)
            link.ConnFT("R", 0);
        // In split the sub display shows the transmit side: the main band's
        // transmit VFO, or the sub receiver once the sub band transmits.
        if (state.split && controlBand == 0)
            link.ConnFC("R", "");
    }
    if (controlChanged && controlBand == 1) {
        for (int i = 0; i < 9; ++i)
            SetText(controls, idc::VfoMark0 + i, QString());
    }
    link.ConnAR("R", static_cast<std::uint32_t>(controlBand), 0, 0);
    if (controlChanged)
        link.ConnFR("R", 0);
    if (state.subVfo != 2 && state.subVfo != 3)
        ClearSubChannelField(controls);
    if (state.entryMode && state.entryBand != controlBand)
        connection.CancelPendingMode();
    link.ConnMD("R", 0);
    if (state.filterWidth[At(controlBand)] < 0)
        link.ConnFW("R", 0);
    link.ConnOS("R", 0);
    link.ConnCT("R", 0);
    link.ConnDQ("R", 0);
    link.ConnTO("R", 0);
    link.ConnBY();
    link.ConnNR("R", 0);
    link.ConnSC("R", 0);
    if (controlChanged)
        UpdateMemoryLamp();
}
