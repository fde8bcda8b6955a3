// SPDX-License-Identifier: GPL-3.0-or-later
// display_state.cpp - the indicators of the front-panel display: the status
// words, lamps and sliders each reply sets, the status lines of both bands
// and the memory lamp.
//
// Most replies light one word with 1 and clear it with 0. Any other value
// is not one the radio sends for that word: the element keeps what it
// shows. The mode label, the sub receiver, the tuner, the simplex check,
// TF-SET, P.C.T. and the band marks are in display_state_modes.cpp.
#include "console_display.h"
#include "display_controls.h"

#include "console_controls.h"
#include "console_ids.h"
#include "console_menu.h"

#include <console_link.h>
#include <corvan.h>
#include <platform.h>

#include <QAction>
#include <QScrollBar>
#include <QSignalBlocker>

#include <iterator>

using namespace display_controls;

namespace {

constexpr int kMaxLevel = 255;         // AF GAIN, SQUELCH, RF GAIN
constexpr int kMaxNotch = 63;          // the B.C. point
constexpr int kMaxOffset = 59'950'000; // OF, hertz

// A slider moved to the radio's level. Its signals stay quiet: the radio
// told us the level, nothing is to be sent back.
void SetSlider(const ConsoleControls& controls, int id, int level, int maximum) {
    if (level < 0 || level > maximum)
        return;
    if (QScrollBar* bar = controls.scrollBar(id)) {
        const QSignalBlocker quiet(bar);
        bar->setValue(level);
    }
}

// The word of a reply that lights it with 1 and clears it with 0.
void OnOff(const ConsoleControls& controls, int id, int value, const QString& word) {
    if (value == 1)
        SetText(controls, id, word);
    else if (value == 0)
        SetText(controls, id, QString());
}

// The band whose labels a control-band reply sets: the sub's when the
// control band is sub outside satellite mode.
int IndicatorBand(const zephyra::ConsoleState& s) {
    return s.controlBand == 1 && !s.satelliteMode ? 1 : 0;
}

int ControlBand(const zephyra::ConsoleState& s) {
    return s.controlBand == 1 ? 1 : 0;
}

// TO (tone), CT (CTCSS) and DQ (DCS) share the control band's tone label.
// A 0 clears only its own word: CT 0 leaves "TONE" alone. The value is
// kept per band, except while a tone scan runs through the tones.
void ToneWord(ConsoleDisplay& d, int value, const QString& word, std::array<int, 2>& stored) {
    if (value != 0 && value != 1)
        return;
    const int band = IndicatorBand(d.state);
    const int id = band == 1 ? idc::SubTone : idc::MainTone;
    if (value == 1)
        SetText(d.controls, id, word);
    else if (TextOf(d.controls, id) == word)
        SetText(d.controls, id, QString());
    if (!d.state.toneScan)
        stored[static_cast<std::size_t>(band)] = value;
}

// The processor and VOX lamps: green while on, black while off.
void Lamp(const ConsoleControls& controls, int id, int value, int& stored) {
    if (value != 0 && value != 1)
        return;
    if (CStaticEx* lamp = controls.label(id))
        lamp->SetBackColor(value == 1 ? ConsoleDisplay::kLitColour : kBlack);
    stored = value;
}

// What the main status line shows for CA (1), LM (2) and PB (3); empty
// while that one is off.
QString StatusWord(const zephyra::ConsoleState& s, int source) {
    switch (source) {
    case 1:
        return s.cwTune == 1 ? QStringLiteral("CW TUNE") : QString();
    case 2:
        return s.recording >= 1 && s.recording <= 3 ? QStringLiteral("REC %1").arg(s.recording)
                                                    : QString();
    case 3:
        return s.playback >= 1 && s.playback <= 3 ? QStringLiteral("PLAY %1").arg(s.playback)
                                                  : QString();
    default:
        return {};
    }
}

const QString& DtmfPrompt() {
    static const QString text = QStringLiteral("Select DTMF CH");
    return text;
}

const QString& TncPrompt() {
    static const QString text = QStringLiteral("TNC Mode");
    return text;
}

} // namespace

QString ConsoleDisplay::ModeName(int mode) {
    // The radio's mode numbers from 1 on.
    static const char* const kNames[] = {" LSB", " USB", " CW",   " FM",   " AM",
                                         " FSK", " CW-R", " TUNE", " FSK-R"};
    if (mode < 1 || mode > static_cast<int>(std::size(kNames)))
        return {};
    return QString::fromLatin1(kNames[mode - 1]);
}

// ---------------------------------------------------- simple indicators

void ConsoleDisplay::OnAM(int value) {
    OnOff(controls, idc::Auto, value, QStringLiteral("AUTO"));
}
void ConsoleDisplay::OnFS(int value) {
    OnOff(controls, idc::Fine, value, QStringLiteral("FINE"));
}
void ConsoleDisplay::OnLT(int value) {
    OnOff(controls, idc::Alt, value, QStringLiteral("ALT"));
}
void ConsoleDisplay::OnNB(int value) {
    OnOff(controls, idc::Nb, value, QStringLiteral("NB"));
}

void ConsoleDisplay::OnNT(int value) {
    OnOff(controls, idc::ANotch, value, QStringLiteral("A.NOTCH"));
    if (value == 0 || value == 1)
        SetChecked(controls, idc::ANotchButton, value == 1);
}

// The first LK value: 1 the frequency lock, 2 the all lock.
void ConsoleDisplay::OnLK(int first, int /*second*/) {
    if (first == 2)
        SetText(controls, idc::FLock, QStringLiteral("A.LOCK"));
    else
        OnOff(controls, idc::FLock, first, QStringLiteral("F.LOCK"));
}

// PA and RA: the sub's word lights only while the sub receiver is on.
void ConsoleDisplay::OnPA(int mainValue, int subValue) {
    OnOff(controls, idc::MainPre, mainValue, QStringLiteral("PRE"));
    if (subValue == 0 || state.subReceiver)
        OnOff(controls, idc::SubPre, subValue, QStringLiteral("PRE"));
}

void ConsoleDisplay::OnRA(int mainValue, int subValue) {
    OnOff(controls, idc::MainAtt, mainValue, QStringLiteral("ATT"));
    if (subValue == 0 || state.subReceiver)
        OnOff(controls, idc::SubAtt, subValue, QStringLiteral("ATT"));
}

// Beat cancel: 0 off, 1 automatic ("B.C."), 2 manual ("M.B.C."). Off
// keeps the AUTO / MANUAL choice, which BEAT CANCEL turns on again.
void ConsoleDisplay::OnBC(int value) {
    if (value < 0 || value > 2)
        return;
    static const char* const kWords[] = {"", "B.C.", "M.B.C."};
    SetText(controls, idc::Mbc, QString::fromLatin1(kWords[value]));
    SetChecked(controls, idc::BeatCancel, value != 0);
    if (value == 0)
        return;
    SetChecked(controls, idc::BcAuto, value == 1);
    SetChecked(controls, idc::BcManual, value == 2);
}

// The AGC word: identification 18 names only the fast AGC (2); 19 shows
// "AGC" while any AGC time is set.
void ConsoleDisplay::OnGT(int value) {
    if (value < 0)
        return;
    if (state.radioIdentification == 18)
        SetText(controls, idc::Agc, value == 2 ? QStringLiteral("FAST") : QString());
    else if (state.radioIdentification == 19)
        SetText(controls, idc::Agc, value != 0 ? QStringLiteral("AGC") : QString());
    state.agc[static_cast<std::size_t>(IndicatorBand(state))] = value;
}

void ConsoleDisplay::OnAN(int value) {
    if (value < 0 || value > 9)
        return;
    SetLit(controls, idc::Ant, value != 0, QStringLiteral("ANT"));
    SetLit(controls, idc::AntNumber, value != 0, QString::number(value));
}

// Noise reduction 0 off, 1 N.R. 1, 2 N.R. 2. In ZUL command state the radio
// steps off, N.R. 1, N.R. 2, off: only the control for the next step stays
// available.
void ConsoleDisplay::OnNR(int value) {
    if (value < 0 || value > 2)
        return;
    static const char* const kWords[] = {"", "N.R. 1", "N.R. 2"};
    SetText(controls, IndicatorBand(state) == 1 ? idc::SubNr : idc::MainNr,
            QString::fromLatin1(kWords[value]));
    SetChecked(controls, idc::Nr1, value == 1);
    SetChecked(controls, idc::Nr2, value == 2);
    if (state.zulState != 2)
        return;
    SetEnabled(controls, idc::Nr1, value == 0);
    SetEnabled(controls, idc::Nr2, value != 0);
    SetCommandEnabled(host, cmd::NoiseReduction1, value == 0);
    SetCommandEnabled(host, cmd::NoiseReduction2, value == 1);
    SetCommandEnabled(host, cmd::NoiseReductionOff, value == 2);
}

void ConsoleDisplay::OnTO(int value) {
    ToneWord(*this, value, QStringLiteral("TONE"), state.tone);
}
void ConsoleDisplay::OnCT(int value) {
    ToneWord(*this, value, QStringLiteral("CTCSS"), state.ctcss);
}
void ConsoleDisplay::OnDQ(int value) {
    ToneWord(*this, value, QStringLiteral("DCS"), state.dcs);
}

// The repeater shift of the control band: 0 none, 1 plus, 2 minus, 3 the
// fixed minus shift. Its offset and the reverse state are read after it.
void ConsoleDisplay::OnOS(int value) {
    if (value < 0 || value > 3)
        return;
    const int band = ControlBand(state);
    static const char* const kSigns[] = {"", "+", "-", "="};
    SetText(controls, band == 1 ? idc::SubShift : idc::MainShift,
            QString::fromLatin1(kSigns[value]));
    if (value == 0) {
        SetText(controls, band == 1 ? idc::SubReverse : idc::MainReverse, QString());
        state.reverse[static_cast<std::size_t>(band)] = 0;
    }
    state.shift[static_cast<std::size_t>(band)] = value;
    link.ConnOF("R", 0);
    link.ConnTS("R", 0);
}

void ConsoleDisplay::OnOF(int value) {
    if (value < 0 || value > kMaxOffset)
        return;
    state.offsetFrequency[static_cast<std::size_t>(ControlBand(state))] = value;
}

void ConsoleDisplay::OnPR(int value) {
    Lamp(controls, idc::ProcLamp, value, state.processorOn);
}
void ConsoleDisplay::OnVX(int value) {
    Lamp(controls, idc::VoxLamp, value, state.voxOn);
}

// The "*" mark: the program-scan channels (bank 2, 90 and above) and a
// running main scan.
void ConsoleDisplay::OnSS(int value) {
    if (value < 0 || value > 2)
        return;
    const zephyra::MemoryPosition& m = state.memory[0];
    const bool show = value == 1 && ((m.bank == 2 && m.channel >= 90) || state.scanRunning[0]);
    SetText(controls, idc::MainStar, show ? QStringLiteral("*") : QString());
}

// The packet controller: data carrier at 9600 bd, station, connected.
void ConsoleDisplay::OnTI(int first, int second, int third) {
    SetText(controls, idc::Dcd, first == 1 ? QStringLiteral("9.6k") : QString());
    SetText(controls, idc::Sta, second == 1 ? QStringLiteral("STA") : QString());
    SetText(controls, idc::Con, third == 1 ? QStringLiteral("CON") : QString());
}

void ConsoleDisplay::OnAG(int band, int level) {
    if (band == 0 || band == 1)
        SetSlider(controls, band == 1 ? idc::AfSubBar : idc::AfMainBar, level, kMaxLevel);
}

void ConsoleDisplay::OnSQ(int band, int level) {
    if (band == 0 || band == 1)
        SetSlider(controls, band == 1 ? idc::SqlSubBar : idc::SqlMainBar, level, kMaxLevel);
}

void ConsoleDisplay::OnRG(int value) {
    SetSlider(controls, idc::RfGainBar, value, kMaxLevel);
}
void ConsoleDisplay::OnBP(int value) {
    SetSlider(controls, idc::BcPointBar, value, kMaxNotch);
}

// The console follows the radio only with auto-information 2: any other
// value is answered by setting it back.
void ConsoleDisplay::OnAI(int value) {
    if (value != 2)
        link.ConnAI("W", 2);
}

// The programmable memory in use: "PM %d", or "PM" for none.
void ConsoleDisplay::OnPM(int value) {
    if (value < 0 || value > 5)
        return;
    if (CCButtonEx* pm = controls.cbutton(idc::Pm))
        pm->setText(value != 0 ? QStringLiteral("PM %1").arg(value) : QStringLiteral("PM"));
}

// ---------------------------------------------------------- status lines

// The main status line shows the word of the last of CA, LM and PB that
// turned one on. When that one ends, another still on takes the line;
// otherwise the memory channel's name does, outside memory mode nothing.
void ConsoleDisplay::ShowMainStatus() {
    QString text = StatusWord(state, m_mainStatus);
    for (int source = 1; text.isEmpty() && source <= 3; ++source) {
        text = StatusWord(state, source);
        if (!text.isEmpty())
            m_mainStatus = source;
    }
    if (text.isEmpty()) {
        m_mainStatus = 0;
        const std::string& name = state.record[0].name;
        if (state.mainVfo == 2 && !name.empty() && state.zulState != 2 && !state.scanRunning[0])
            text = QLatin1Char(' ') + QString::fromStdString(name);
    }
    SetText(controls, idc::MainText, text);
}

// CA, LM and PB: a value in range is kept, and one that is on takes the
// main status line.
void ConsoleDisplay::OnMainStatusReply(int value, int highest, int& kept, int status) {
    if (value < 0 || value > highest)
        return;
    kept = value;
    if (value != 0)
        m_mainStatus = status;
    ShowMainStatus();
}

void ConsoleDisplay::OnCA(int value) { OnMainStatusReply(value, 1, state.cwTune, 1); }
void ConsoleDisplay::OnLM(int value) { OnMainStatusReply(value, 3, state.recording, 2); }
void ConsoleDisplay::OnPB(int value) { OnMainStatusReply(value, 3, state.playback, 3); }

// The prompts of the two operator modes that own the sub status line. When
// neither is on, a prompt still shown is cleared; other texts (scan, memory
// name) stay.
void ConsoleDisplay::ShowSubStatus() {
    if (state.dtmfDigits)
        SetText(controls, idc::SubText, DtmfPrompt());
    else if (state.tncMode)
        SetText(controls, idc::SubText, TncPrompt());
    else if (const QString shown = TextOf(controls, idc::SubText);
             shown == DtmfPrompt() || shown == TncPrompt())
        SetText(controls, idc::SubText, QString());
}

// ---------------------------------------------------------- memory lamp

void ConsoleDisplay::UpdateMemoryLamp() {
    bool on = false;
    if (state.memoryScroll || state.quickMemory)
        on = true;
    else if (state.satelliteMode)
        on = state.satelliteMemoryFlag == 1;
    else
        on = state.controlBand == 1 ? state.subVfo == 2 : state.mainVfo == 2;
    if (CStaticLEDEx* lamp = controls.lamp(idc::MemoryLamp))
        lamp->SetLEDON(on ? 1 : 0);
}
