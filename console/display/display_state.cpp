// display_state.cpp - the indicators of the front-panel display: the status
// words, lamps and sliders each reply sets, the mode label, the status
// lines, the sub receiver, the tuner and the automatic simplex check.
#include "console_display.h"

#include "../console_controls.h"
#include "../console_ids.h"
#include "../console_menu.h"

#include <ConsoleLink.h>
#include <corvan.h>
#include <platform.h>

#include <QAbstractButton>
#include <QAction>
#include <QScrollBar>

namespace {

constexpr std::uint32_t kBlack = 0;

int Band(int band) { return band == 1 ? 1 : 0; }

} // namespace

// ------------------------------------------------------------ helpers

namespace display_state {

void SetText(ConsoleDisplay& d, int id, const QString& text) {
    if (CStaticEx* label = d.controls.label(id))
        label->setText(text);
    else if (CEditEx* line = d.controls.edit(id))
        line->setText(text);
}

QString TextOf(ConsoleDisplay& d, int id) { return d.controls.caption(id); }

// A word on background colour 0 when shown, empty on the display colour.
void SetLit(ConsoleDisplay& d, int id, bool on, const QString& text) {
    if (CStaticEx* label = d.controls.label(id)) {
        label->setText(on ? text : QString());
        label->SetBackColor(on ? kBlack : ConsoleDisplay::kDisplayColour);
    }
}

void SetChecked(ConsoleDisplay& d, int id, bool on) {
    if (QAbstractButton* button = d.controls.button(id)) {
        if (button->isCheckable())
            button->setChecked(on);
    }
}

void SetEnabled(ConsoleDisplay& d, int id, bool on) {
    if (QWidget* w = d.controls.widget(id))
        w->setEnabled(on);
}

void SetSlider(ConsoleDisplay& d, int id, int level) {
    if (QScrollBar* bar = d.controls.scrollBar(id))
        bar->setValue(level);
}

// The label of a word that a reply turns on with 1 and off with 0.
void OnOff(ConsoleDisplay& d, int id, int value, const char* word) {
    if (value == 1)
        SetText(d, id, QString::fromLatin1(word));
    else if (value == 0)
        SetText(d, id, QString());
}

// The band whose indicators a control-band reply sets: the sub's when the
// control band is sub outside satellite mode.
int IndicatorBand(const zephyra::ConsoleState& s) { return s.controlBand == 1 && !s.satelliteMode ? 1 : 0; }

} // namespace display_state

using namespace display_state;

QString ConsoleDisplay::ModeName(int mode) {
    switch (mode) {
    case 1: return QStringLiteral(" LSB");
    case 2: return QStringLiteral(" USB");
    case 3: return QStringLiteral(" CW");
    case 4: return QStringLiteral(" FM");
    case 5: return QStringLiteral(" AM");
    case 6: return QStringLiteral(" FSK");
    case 7: return QStringLiteral(" CW-R");
    case 8: return QStringLiteral(" TUNE");
    case 9: return QStringLiteral(" FSK-R");
    default: return {};
    }
}

// ---------------------------------------------------- simple indicators

void ConsoleDisplay::OnAM(int value) { OnOff(*this, idc::Auto, value, "AUTO"); }
void ConsoleDisplay::OnFS(int value) { OnOff(*this, idc::Fine, value, "FINE"); }
void ConsoleDisplay::OnLT(int value) { OnOff(*this, idc::Alt, value, "ALT"); }
void ConsoleDisplay::OnNB(int value) { OnOff(*this, idc::Nb, value, "NB"); }

void ConsoleDisplay::OnNT(int value) {
    OnOff(*this, idc::ANotch, value, "A.NOTCH");
    if (value == 0 || value == 1)
        SetChecked(*this, idc::ANotchButton, value == 1);
}

void ConsoleDisplay::OnLK(int first, int /*second*/) {
    if (first == 1)
        SetText(*this, idc::FLock, QStringLiteral("F.LOCK"));
    else if (first == 2)
        SetText(*this, idc::FLock, QStringLiteral("A.LOCK"));
    else if (first == 0)
        SetText(*this, idc::FLock, QString());
}

void ConsoleDisplay::OnPA(int mainValue, int subValue) {
    OnOff(*this, idc::MainPre, mainValue, "PRE");
    if (subValue == 1 && !state.subReceiver)
        return;
    OnOff(*this, idc::SubPre, subValue, "PRE");
}

void ConsoleDisplay::OnRA(int mainValue, int subValue) {
    OnOff(*this, idc::MainAtt, mainValue, "ATT");
    if (subValue == 1 && !state.subReceiver)
        return;
    OnOff(*this, idc::SubAtt, subValue, "ATT");
}

void ConsoleDisplay::OnBC(int value) {
    if (value < 0 || value > 2)
        return;
    static const char* const kWords[] = {"", "B.C.", "M.B.C."};
    SetText(*this, idc::Mbc, QString::fromLatin1(kWords[value]));
    SetChecked(*this, idc::BeatCancel, value != 0);
    SetChecked(*this, idc::BcAuto, value == 1);
    SetChecked(*this, idc::BcManual, value == 2);
}

void ConsoleDisplay::OnGT(int value) {
    if (state.radioIdentification == 18)
        SetText(*this, idc::Agc, value == 2 ? QStringLiteral("FAST") : QString());
    else if (state.radioIdentification == 19)
        SetText(*this, idc::Agc, value != 0 ? QStringLiteral("AGC") : QString());
    state.agc[IndicatorBand(state)] = value;
}

void ConsoleDisplay::OnAN(int value) {
    if (value < 0)
        return;
    SetLit(*this, idc::Ant, value != 0, QStringLiteral("ANT"));
    SetLit(*this, idc::AntNumber, value != 0, QString::number(value));
}

void ConsoleDisplay::OnNR(int value) {
    if (value < 0 || value > 2)
        return;
    const int band = IndicatorBand(state);
    static const char* const kWords[] = {"", "N.R. 1", "N.R. 2"};
    SetText(*this, band == 1 ? idc::SubNr : idc::MainNr, QString::fromLatin1(kWords[value]));
    SetChecked(*this, idc::Nr1, value == 1);
    SetChecked(*this, idc::Nr2, value == 2);
    if (state.zulState != 2)
        return;
    // In ZUL command state only the next step of off, N.R. 1, N.R. 2, off.
    const bool one = value == 0, two = value != 0, off = value == 2;
    SetEnabled(*this, idc::Nr1, one);
    SetEnabled(*this, idc::Nr2, two);
    if (host.menuAction) {
        if (QAction* a = host.menuAction(cmd::NoiseReduction1))
            a->setEnabled(one);
        if (QAction* a = host.menuAction(cmd::NoiseReduction2))
            a->setEnabled(value == 1);
        if (QAction* a = host.menuAction(cmd::NoiseReductionOff))
            a->setEnabled(off);
    }
}

// TO, CT and DQ share the tone label of the control band.
namespace {
void ToneWord(ConsoleDisplay& d, int value, const char* word, std::array<int, 2>& stored) {
    if (value != 0 && value != 1)
        return;
    const int band = IndicatorBand(d.state);
    const int id = band == 1 ? idc::SubTone : idc::MainTone;
    if (value == 1)
        SetText(d, id, QString::fromLatin1(word));
    else if (TextOf(d, id) == QLatin1String(word))
        SetText(d, id, QString());
    if (!d.state.toneScan)
        stored[band] = value;
}
} // namespace

void ConsoleDisplay::OnTO(int value) { ToneWord(*this, value, "TONE", state.tone); }
void ConsoleDisplay::OnCT(int value) { ToneWord(*this, value, "CTCSS", state.ctcss); }
void ConsoleDisplay::OnDQ(int value) { ToneWord(*this, value, "DCS", state.dcs); }

void ConsoleDisplay::OnOS(int value) {
    if (value < 0 || value > 3)
        return;
    const int band = IndicatorBand(state);
    static const char* const kSigns[] = {"", "+", "-", "="};
    SetText(*this, band == 1 ? idc::SubShift : idc::MainShift, QString::fromLatin1(kSigns[value]));
    if (value == 0) {
        SetText(*this, band == 1 ? idc::SubReverse : idc::MainReverse, QString());
        state.reverse[band] = 0;
    }
    state.shift[band] = value;
    link.ConnOF("R", 0);
    link.ConnTS("R", 0);
}

void ConsoleDisplay::OnOF(int value) { state.offsetFrequency[Band(state.controlBand)] = value; }

namespace {
void Lamp(ConsoleDisplay& d, int id, int value, int& stored) {
    if (value != 0 && value != 1)
        return;
    if (CStaticEx* lamp = d.controls.label(id))
        lamp->SetBackColor(value == 1 ? ConsoleDisplay::kLitColour : kBlack);
    stored = value;
}
} // namespace

void ConsoleDisplay::OnPR(int value) { Lamp(*this, idc::ProcLamp, value, state.processorOn); }
void ConsoleDisplay::OnVX(int value) { Lamp(*this, idc::VoxLamp, value, state.voxOn); }

void ConsoleDisplay::OnSS(int value) {
    const bool show = value == 1 && ((state.memory[0].bank == 2 && state.memory[0].channel >= 90) ||
                                     state.scanRunning[0]);
    SetText(*this, idc::MainStar, show ? QStringLiteral("*") : QString());
}

void ConsoleDisplay::OnTI(int first, int second, int third) {
    SetText(*this, idc::Dcd, first == 1 ? QStringLiteral("9.6k") : QString());
    SetText(*this, idc::Sta, second == 1 ? QStringLiteral("STA") : QString());
    SetText(*this, idc::Con, third == 1 ? QStringLiteral("CON") : QString());
}

void ConsoleDisplay::OnAG(int band, int level) {
    SetSlider(*this, Band(band) == 1 ? idc::AfSubBar : idc::AfMainBar, level);
}
void ConsoleDisplay::OnSQ(int band, int level) {
    SetSlider(*this, Band(band) == 1 ? idc::SqlSubBar : idc::SqlMainBar, level);
}
void ConsoleDisplay::OnRG(int value) { SetSlider(*this, idc::RfGainBar, value); }
void ConsoleDisplay::OnBP(int value) { SetSlider(*this, idc::BcPointBar, value); }

void ConsoleDisplay::OnAI(int value) {
    if (value != 2)
        link.ConnAI("W", 2);
}

void ConsoleDisplay::OnPM(int value) {
    if (QAbstractButton* pm = controls.cbutton(idc::Pm))
        pm->setText(value != 0 ? QStringLiteral("PM %1").arg(value) : QStringLiteral("PM"));
}

// ---------------------------------------------------------- status lines

void ConsoleDisplay::ShowMainStatus() {
    QString text;
    if (state.cwTune == 1)
        text = QStringLiteral("CW TUNE");
    else if (state.recording >= 1 && state.recording <= 3)
        text = QStringLiteral("REC %1").arg(state.recording);
    else if (state.playback >= 1 && state.playback <= 3)
        text = QStringLiteral("PLAY %1").arg(state.playback);
    else if (state.mainVfo == 2 && !state.record[0].name.empty())
        text = QStringLiteral(" %1").arg(QString::fromStdString(state.record[0].name));
    SetText(*this, idc::MainText, text);
}

void ConsoleDisplay::OnCA(int value) {
    if (value != 0 && value != 1)
        return;
    state.cwTune = value;
    ShowMainStatus();
}

void ConsoleDisplay::OnLM(int value) {
    if (value < 0 || value > 3)
        return;
    state.recording = value;
    ShowMainStatus();
}

void ConsoleDisplay::OnPB(int value) {
    if (value < 0 || value > 3)
        return;
    state.playback = value;
    ShowMainStatus();
}

// ------------------------------------------------------------ mode label

void ConsoleDisplay::ShowModeLabel(int band) {
    band = Band(band);
    const int mode = state.mode[band];
    QString text = ModeName(mode);
    if (mode == 4 || (mode == 5 && band == 0)) {
        if (state.filterWidth[band] == 0)
            text += QStringLiteral(" NAR");
    }
    const int vfo = band == 0 ? (state.transmitting[0] ? state.mainTransmitVfo : state.mainVfo) : state.subVfo;
    if (vfo == 2 && state.zulState != 2)
        text += QStringLiteral(" Group %1").arg(state.record[band].group);
    if (band == 1 && (state.memoryScroll || (state.satelliteMode && (state.ritOn || state.xitOn))))
        return;
    SetText(*this, band == 1 ? idc::SubMode : idc::MainMode, text);
}

void ConsoleDisplay::OnMD(int mode) {
    if (mode < 0 || mode > 9)
        return;
    const int band = Band(state.controlBand);
    state.mode[band] = mode;
    if (mode == 4 || (mode == 5 && band == 0))
        link.ConnFW("R", 0);
    ShowModeLabel(band);
}

void ConsoleDisplay::OnFW(int value) {
    const int band = Band(state.controlBand);
    state.filterWidth[band] = value;
    const int mode = state.mode[band];
    if (mode == 4 || (mode == 5 && band == 0))
        ShowModeLabel(band);
}

// ----------------------------------------------------------- busy, sub

void ConsoleDisplay::OnBY(int mainBusy, int subBusy) {
    if (!state.transmitting[0] && (mainBusy == 0 || mainBusy == 1))
        SetLit(*this, idc::MainBusy, mainBusy == 1, QStringLiteral("BUSY"));
    if (!state.transmitting[1] && (subBusy == 0 || subBusy == 1))
        SetLit(*this, idc::SubBusy, subBusy == 1, QStringLiteral("BUSY"));
    state.busySignal = {mainBusy, subBusy};
}

void ConsoleDisplay::OnSB(int value) {
    if (value == 0) {
        timers().KillTimer(kSubReverseBlinkTimer);
        for (const int id : std::initializer_list<int>{static_cast<int>(idc::SubChDigit0), idc::SubChDigit0 + 1, idc::SubChDigit2, idc::SubMch, idc::SubMode,
                             idc::SubText, idc::SubAtt, idc::SubPre, idc::SubShift, idc::SubReverse, idc::SubTone,
                             idc::SubTnc, idc::SubNr, idc::SubBusy})
            SetText(*this, id, QString());
        if (CStaticMeterEx* meter = controls.meter(idc::SubMeter))
            meter->ResetMeter();
        if (CStaticMeterEx* meter = controls.meter(idc::SubMeterOver))
            meter->ResetMeter();
        if (!(state.ritOn || state.xitOn || state.split || state.satelliteMode))
            ShowSubFrequency(0);
        state.subReceiver = 0;
    } else if (value == 1 && !state.subReceiver) {
        state.subReceiver = 1;
        if (state.controlBand == 0 && state.zulState == 0 && !state.pct)
            link.ConnFC("R", "");
        if (TextOf(*this, idc::MainTnc).isEmpty())
            SetText(*this, idc::SubTnc, QStringLiteral("TNC"));
        link.ConnSM(1);
        link.ConnPA("R", 0);
        link.ConnRA("R", 0);
    }
    if (value == 0 || value == 1)
        SetChecked(*this, idc::SubButton, value == 1);
}

// ------------------------------------------------------ tuner, reverse

void ConsoleDisplay::OnAC(int rxTuner, int txTuner, int tuning) {
    timers().KillTimer(kTunerBlinkTimer);
    SetLit(*this, idc::TunerRx, rxTuner == 1, QStringLiteral("RX"));
    SetLit(*this, idc::TunerTx, txTuner == 1, QStringLiteral("TX"));
    const bool anyTuner = rxTuner == 1 || txTuner == 1;
    if (tuning == 0) {
        SetText(*this, idc::TunerAt, anyTuner ? QStringLiteral("AT") : QString());
    } else if (tuning == 1) {
        SetText(*this, idc::TunerAt, QStringLiteral("AT"));
        m_blinkLit = true;
        m_blinkFirst = true;
        timers().SetTimer(kTunerBlinkTimer, 500);
    } else if (tuning == 2) {
        platform::MessageBox(QStringLiteral("AT TUNE was failed."), QStringLiteral("Zephyra"),
                             platform::MbOk | platform::MbIconWarning, host.window);
    } else {
        SetText(*this, idc::TunerAt, QString());
    }
}

void ConsoleDisplay::OnAR(int band, int checkOn, int checkRunning) {
    band = Band(band);
    std::uint32_t ts = 0;
    const bool readable = link.RcvDataTS(&ts) == 1;
    const int id = band == 1 ? idc::SubReverse : idc::MainReverse;
    if (readable && (checkOn == 1 || (checkOn == 0 && checkRunning == 0)))
        SetText(*this, id, checkOn == 1 ? QStringLiteral("[R]") : QString());
    const int timer = band == 1 ? kSubReverseBlinkTimer : kMainReverseBlinkTimer;
    if (checkRunning == 1)
        timers().SetTimer(timer, 250);
    else
        timers().KillTimer(timer);
}

void ConsoleDisplay::OnTimer(int id) {
    if (id == kTunerBlinkTimer) {
        if (m_blinkFirst) {
            m_blinkFirst = false;
            timers().SetTimer(kTunerBlinkTimer, 700);
        }
        link.ConnAC("R", 0, 0, 0);
        m_blinkLit = !m_blinkLit;
        std::uint32_t rx = 0, tx = 0, tuning = 0;
        if (link.RcvDataAC(&rx, &tx, &tuning) != 1)
            return;
        if (rx == 1)
            SetLit(*this, idc::TunerRx, m_blinkLit, QStringLiteral("RX"));
        if (tx == 1)
            SetLit(*this, idc::TunerTx, m_blinkLit, QStringLiteral("TX"));
    } else if (id == kMainReverseBlinkTimer || id == kSubReverseBlinkTimer) {
        const int label = id == kSubReverseBlinkTimer ? idc::SubReverse : idc::MainReverse;
        SetText(*this, label, TextOf(*this, label).isEmpty() ? QStringLiteral("[R]") : QString());
    }
}

// ---------------------------------------------------------- TF-SET, CM

void ConsoleDisplay::OnTS(int value) {
    if (value != 0 && value != 1)
        return;
    const int band = Band(state.controlBand);
    if (state.mode[band] == 4 && state.shift[band] != 0) {
        link.ConnAR("R", static_cast<std::uint32_t>(band), 0, 0);
        SetText(*this, band == 1 ? idc::SubReverse : idc::MainReverse, value == 1 ? QStringLiteral("R") : QString());
        state.reverse[band] = value;
        RedrawFrequencies();
        return;
    }
    if (value == 1 && state.split) {
        SetText(*this, idc::TfSet, QStringLiteral("TF-SET"));
        state.tfSetActive = 1;
    } else if (value == 0) {
        SetText(*this, idc::TfSet, QString());
        state.tfSetActive = 0;
    }
    RedrawFrequencies();
}

void ConsoleDisplay::OnCM(int value) {
    if (value == 1) {
        SetText(*this, idc::Pct, QStringLiteral("P.C.T."));
        state.pct = 1;
        if (state.split)
            link.ConnOI();
        windows.GlimraScanStop();
    } else if (value == 0) {
        SetText(*this, idc::Pct, QString());
        state.pct = 0;
        if (state.split)
            link.ConnFR("R", 0);
    }
}

// ---------------------------------------------------------------- DC

void ConsoleDisplay::OnDC(int transmitBand, int controlBand) {
    if ((transmitBand != 0 && transmitBand != 1) || (controlBand != 0 && controlBand != 1))
        return;
    if (state.satelliteMode)
        return;
    SetText(*this, idc::MainPtt, transmitBand == 0 ? QStringLiteral("PTT") : QString());
    SetText(*this, idc::SubPtt, transmitBand == 1 ? QStringLiteral("PTT") : QString());
    SetText(*this, idc::MainCtrl, controlBand == 0 ? QStringLiteral("CTRL") : QString());
    SetText(*this, idc::SubCtrl, controlBand == 1 ? QStringLiteral("CTRL") : QString());
    const bool transmitChanged = transmitBand != state.transmitBand;
    const bool controlChanged = controlBand != state.controlBand;
    state.transmitBand = transmitBand;
    state.controlBand = controlBand;
    if (transmitChanged) {
        link.ConnPC("R", 0);
        if (transmitBand == 0 && state.zulState == 0)
            link.ConnFT("R", 0);
    }
    if (controlChanged && controlBand == 1)
        for (int i = 0; i < 9; ++i)
            SetText(*this, idc::VfoMark0 + i, QString());
    link.ConnAR("R", static_cast<std::uint32_t>(controlBand), 0, 0);
    if (controlChanged)
        link.ConnFR("R", 0);
    if (state.subVfo != 2 && state.subVfo != 3)
        for (const int id : std::initializer_list<int>{static_cast<int>(idc::SubChDigit0), idc::SubChDigit0 + 1, idc::SubChDigit2})
            SetText(*this, id, QString());
    if (state.entryMode && state.entryBand != controlBand)
        connection.CancelPendingMode();
    link.ConnMD("R", 0);
    if (state.filterWidth[controlBand] < 0)
        link.ConnFW("R", 0);
    link.ConnOS("R", 0);
    link.ConnCT("R", 0);
    link.ConnDQ("R", 0);
    link.ConnTO("R", 0);
    link.ConnBY();
    link.ConnNR("R", 0);
    link.ConnSC("R", 0);
}

// ---------------------------------------------------------- memory lamp

void ConsoleDisplay::UpdateMemoryLamp() {
    bool on = false;
    if (state.memoryScroll || state.quickMemory)
        on = true;
    else if (state.satelliteMode)
        on = state.satelliteMemoryFlag == 1;
    else
        on = state.controlBand == 0 ? state.mainVfo == 2 : state.subVfo == 2;
    if (CStaticLEDEx* lamp = controls.lamp(idc::MemoryLamp))
        lamp->SetLEDON(on ? 1 : 0);
}
