// SPDX-License-Identifier: GPL-3.0-or-later
// frequency_display.cpp - the two frequency displays and the receive VFO.
//
// A display is eleven digit labels (10 GHz first) and four separators
// (after the GHz, MHz, kHz and Hz digits). What it shows is the radio's
// frequency plus the transverter offset of the profile and, while the band
// transmits (or receives in reverse), the repeater shift. Leading zeros and
// the separators in front of the first significant digit are blank. While
// RIT or XIT is on, the sub display shows their offset instead.
//
// Which display a frequency reply goes to depends on the satellite mode,
// the control band, the VFOs, split, transmit, TF-SET, RIT and XIT: the
// FA and FB replies share one decision (FrequencyReply), FC has its own.
#include "console_display.h"
#include "display_controls.h"

#include "console_controls.h"
#include "console_ids.h"

#include <console_link.h>
#include <corvan.h>
#include <platform.h>

#include <QByteArray>
#include <QSignalBlocker>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>

using namespace display_controls;

namespace {

// The largest frequency the eleven digits hold.
constexpr std::int64_t kMaxShown = 99'999'999'999;
// The fixed minus shift, and the one of the 1.2 GHz band (band 14).
constexpr std::int64_t kFixedMinusShift = 7'600'000;
constexpr std::int64_t kFixedMinusShift1200 = 6'000'000;
constexpr unsigned kBand1200 = 14;

std::int64_t Bounded(std::int64_t hz) {
    return std::clamp(hz, -kMaxShown, kMaxShown);
}

// A transverter offset of section "Setting": a decimal number of hertz,
// read as far as it is one ("" and anything else read as 0), saturated.
std::int64_t TransverterOffset(const char* key) {
    const QByteArray text =
        platform::GetProfileString(QStringLiteral("Setting"), QString::fromLatin1(key),
                                   QStringLiteral("0"))
            .toLatin1();
    errno = 0;
    const long long value = std::strtoll(text.constData(), nullptr, 10);
    return Bounded(static_cast<std::int64_t>(value));
}

// The third SA value (the satellite VFO flag) as the radio last reported
// it, asked up to ten times; nothing when it cannot be read.
std::optional<std::uint32_t> SatelliteSwap(CCorvan& link) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        std::uint32_t v[7] = {};
        char name[corvan::kShortTextSize + 8] = {};
        if (link.RcvDataSA(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], name) == 1)
            return v[2];
    }
    return std::nullopt;
}

// The reverse indicator of a band holds one character while reverse is on
// ("[R]" of the simplex check is not reverse).
bool ReverseOn(const ConsoleControls& controls, int band) {
    return TextOf(controls, band == 0 ? idc::MainReverse : idc::SubReverse).size() == 1;
}

// The repeater shift is shown while the band transmits in normal
// operation, and while it receives in reverse.
bool ShiftApplies(int transmitting, bool reverse) {
    return (transmitting != 0) != reverse;
}

std::int64_t ShiftOffset(int shift, std::int64_t offsetFrequency, std::int64_t fixedMinus) {
    switch (shift) {
    case 1:
        return Bounded(offsetFrequency);
    case 2:
        return -Bounded(offsetFrequency);
    case 3:
        return -fixedMinus;
    default:
        return 0;
    }
}

// Draws `hz` on one display. The value shown stays within the eleven
// digits (0 to 99,999,999,999). `blankWhenZero` blanks the separators of a
// zero frequency too (the sub display switched off).
void DrawFrequency(const ConsoleControls& controls, bool sub, std::int64_t hz, bool blankWhenZero) {
    const std::int64_t shown = std::clamp<std::int64_t>(hz, 0, kMaxShown);
    QString digits = QString::asprintf("%011lld", static_cast<long long>(shown));
    QString separators = QStringLiteral("... ");
    int first = 0;
    while (first < 11 && digits[first] == QLatin1Char('0'))
        digits[first++] = QLatin1Char(' ');
    if (first == 11) {
        if (blankWhenZero)
            separators = QStringLiteral("    ");
    } else {
        if (first >= 2)
            separators[0] = QLatin1Char(' ');
        if (first >= 5)
            separators[1] = QLatin1Char(' ');
        if (first >= 8)
            separators[2] = QLatin1Char(' ');
    }
    const int sep0 = sub ? idc::SubSep0 : idc::MainSep0;
    const int digit0 = sub ? idc::SubDigit0 : idc::MainDigit0;
    for (int i = 0; i < 4; ++i) {
        const QString text(separators[i]);
        if (TextOf(controls, sep0 + i) != text)
            SetText(controls, sep0 + i, text);
    }
    for (int i = 0; i < 11; ++i)
        SetText(controls, digit0 + i, QString(digits[i]));
}

// The offset the main display adds to its own VFO: RIT while receiving,
// XIT while transmitting, none in ZUL command state.
std::int64_t MainOffset(const zephyra::ConsoleState& s) {
    if (s.zulState == 2)
        return 0;
    return s.transmitting[0] ? Xit(s) : Rit(s);
}

void ShowOnMain(ConsoleDisplay& d, std::int64_t frequency, std::int64_t shown) {
    d.state.mainFrequency = frequency;
    d.ShowMainFrequency(shown);
}

// FA (vfo 0) and FB (vfo 1).
void FrequencyReply(ConsoleDisplay& d, int vfo, std::int64_t f) {
    zephyra::ConsoleState& s = d.state;
    if (f < 0 || f > kMaxShown)
        return;
    if (s.satelliteMode) {
        // The satellite VFO flag set: VFO A on the main display, B on the sub.
        const bool onMain = (vfo == 0) == (s.satelliteVfoFlag == 1);
        if (onMain) {
            ShowOnMain(d, f, f + Rit(s));
            return;
        }
        s.subFrequency = f;
        if (s.entryMode && s.entryBand == 1)
            return;
        if (RitOrXit(s))
            d.ShowRitXitOffset(s.ritXitOffset);
        else
            d.ShowSubFrequency(f);
        return;
    }
    if (s.controlBand == 1) {
        if (!s.transmitting[0] && s.mainVfo == vfo)
            ShowOnMain(d, f, f + Rit(s));
        return;
    }
    // TF-SET in split while receiving: the receive VFO on the sub display,
    // the transmit VFO on the main one, as the TS report drew them.
    const bool swapped = s.tfSetActive && s.split && !s.transmitting[0];
    if (s.mainVfo == vfo) {
        if (s.memoryScroll || s.erasedChannel)
            return;
        if (swapped) {
            s.mainFrequency = f;
            d.ShowSubFrequency(f);
        } else if (!s.split || !s.transmitting[0]) {
            ShowOnMain(d, f, f + MainOffset(s));
        } else if (s.zulState == 0) {
            // Transmitting in split: the receive VFO moves to the sub display
            // (TF-SET keeps it on the main one).
            if (s.tfSetActive) {
                ShowOnMain(d, f, f);
            } else {
                s.subFrequency = f;
                d.ShowSubFrequency(f);
            }
        }
        return;
    }
    // The split partner: receive on the other VFO, transmit on this one
    // (while the main band transmits: with the sub band transmitting, the
    // sub display is the sub receiver's).
    if (s.mainVfo == 1 - vfo && s.mainTransmitVfo == vfo && s.zulState != 2 && s.transmitBand == 0) {
        if (s.memoryScroll) {
            if (RitOrXit(s))
                d.ShowRitXitOffset(s.ritXitOffset);
            return;
        }
        s.subFrequency = f;
        if (swapped) {
            d.ShowMainFrequency(f + Xit(s));
        } else if (!s.transmitting[0]) {
            if (!RitOrXit(s))
                d.ShowSubFrequency(f);
        } else if (s.tfSetActive) {
            d.ShowSubFrequency(f);
        } else {
            d.ShowMainFrequency(f + Xit(s));
        }
    }
}

constexpr int kRowA = 0, kRowB = 1, kRowM = 2;

int RowOf(int vfo) {
    switch (vfo) {
    case 0:
        return kRowA;
    case 1:
        return kRowB;
    case 2:
    case 3:
        return kRowM;
    default:
        return -1;
    }
}

void ShowMark(const ConsoleControls& controls, int row, int column) {
    static const char* const kMarks[3][3] = {{"<", "A", ">"}, {"<", "B", ">"}, {"<", "M", ">"}};
    SetText(controls, idc::VfoMark0 + row * 3 + column, QString::fromLatin1(kMarks[row][column]));
}

// The three channel characters of a band: blank, blank and "C" for the
// call channel.
void ShowCallChannel(const ConsoleControls& controls, int band) {
    const int digit0 = band == 0 ? idc::MainChDigit0 : idc::SubChDigit0;
    SetText(controls, digit0 + 0, QString());
    SetText(controls, digit0 + 1, QString());
    SetText(controls, digit0 + 2, QStringLiteral("C"));
    SetText(controls, band == 0 ? idc::MainChSep : idc::SubChSep, QString());
}

void ClearChannelField(const ConsoleControls& controls, int band) {
    const int digit0 = band == 0 ? idc::MainChDigit0 : idc::SubChDigit0;
    for (int i = 0; i < 3; ++i)
        SetText(controls, digit0 + i, QString());
    SetText(controls, band == 0 ? idc::MainChSep : idc::SubChSep, QString());
    SetText(controls, band == 0 ? idc::MainMch : idc::SubMch, QString());
}

// MR for a band's memory channel; a channel not read yet is asked for
// first (its MC reply asks for the channel).
void RequestMemoryChannel(ConsoleDisplay& d, int band) {
    const zephyra::MemoryPosition& m = d.state.memory[static_cast<std::size_t>(band)];
    if (m.bank < 0 || m.bank > 3 || m.channel < 0 || m.channel > 99)
        d.link.ConnMC("R", 0, 0);
    else
        d.link.ConnMR(0, static_cast<std::uint32_t>(m.bank), static_cast<std::uint32_t>(m.channel));
}

} // namespace

std::int64_t ConsoleDisplay::TransverterOffsetOf(int band) {
    if (!state.transverter)
        return 0;
    if (state.satelliteMode) {
        // The main display belongs to VFO A while the satellite VFO flag is
        // set; the sub display to the other one.
        const auto swap = SatelliteSwap(link);
        if (!swap)
            return 0;
        const bool down = band == 0 ? *swap == 1 : *swap != 1;
        return TransverterOffset(down ? "TransFreqDown" : "TransFreqUp");
    }
    if (band == 0)
        return TransverterOffset("TransFreqMain");
    if (state.controlBand == 1)
        return TransverterOffset("TransFreqSub");
    if (state.split)
        return TransverterOffset("TransFreqMain");
    if (state.subReceiver)
        return TransverterOffset("TransFreqSub");
    return 0;
}

void ConsoleDisplay::ShowMainFrequency(std::int64_t frequency) {
    // The operator is typing a frequency into this display.
    if (state.entryMode && !state.memoryScroll && state.controlBand == 0 && state.consoleReady)
        return;
    const std::int64_t f = Bounded(frequency);
    std::int64_t offset = TransverterOffsetOf(0);
    if (f + offset > kMaxShown)
        offset = kMaxShown - f;
    if (!state.memoryScroll && ShiftApplies(state.transmitting[0], ReverseOn(controls, 0))) {
        // The 1.2 GHz band is told by the frequency this display shows, on
        // the VFO it shows it from.
        std::int64_t fixedMinus = kFixedMinusShift;
        if (state.shift[0] == 3 && f > 0 &&
            link.GetRcvBand(state.mainVfo == 1 ? 1u : 0u, f) == kBand1200)
            fixedMinus = kFixedMinusShift1200;
        offset += ShiftOffset(state.shift[0], state.offsetFrequency[0], fixedMinus);
    }
    DrawFrequency(controls, false, f + offset, false);
    if (state.transmitBand == 0 && state.controlBand == 0) {
        if (const std::uint32_t band = link.GetRcvBand(0, f))
            windows.PandorFreqChg(band);
    }
    UpdateExtLabel();
}

void ConsoleDisplay::ShowSubFrequency(std::int64_t frequency) {
    if (state.entryMode && !state.memoryScroll && state.controlBand == 1 && state.consoleReady)
        return;
    state.subShowsOffset = 0;
    const std::int64_t f = Bounded(frequency);
    if (f == 0) {
        // The sub display switched off: digits and separators blank.
        DrawFrequency(controls, true, 0, true);
        return;
    }
    std::int64_t offset = TransverterOffsetOf(1);
    if (f + offset > kMaxShown)
        offset = kMaxShown - f;
    if (!state.memoryScroll && ShiftApplies(state.transmitting[1], ReverseOn(controls, 1))) {
        const int shift = state.controlBand == state.transmitBand
                              ? state.shift[state.controlBand == 1 ? 1 : 0]
                          : state.transmitBand == 1 ? state.shift[1]
                                                    : state.shift[0];
        offset += ShiftOffset(shift, state.offsetFrequency[1], kFixedMinusShift);
    }
    DrawFrequency(controls, true, f + offset, true);
    if (state.transmitBand == 1 && state.controlBand == 1) {
        if (const std::uint32_t band = link.GetRcvBand(2, f))
            windows.PandorFreqChg(band);
    }
}

void ConsoleDisplay::OnFA(std::int64_t frequency) {
    FrequencyReply(*this, 0, frequency);
}

void ConsoleDisplay::OnFB(std::int64_t frequency) {
    FrequencyReply(*this, 1, frequency);
}

void ConsoleDisplay::OnFC(std::int64_t frequency) {
    const std::int64_t f = frequency;
    // The sub receiver has no part in the satellite displays (VFO A and B).
    if (f < 0 || f > kMaxShown || state.satelliteMode)
        return;
    if (state.controlBand == 1) {
        if (state.subVfo == 0 && !state.memoryScroll && !state.erasedChannel) {
            state.subFrequency = f;
            ShowSubFrequency(f);
        }
        return;
    }
    const bool subReceiverShown = !RitOrXit(state) && !state.memoryScroll && state.subReceiver &&
                                  !(state.split && state.transmitBand == state.controlBand);
    if (subReceiverShown || state.zulState > 0) {
        state.subFrequency = f;
        ShowSubFrequency(f);
    }
}

void ConsoleDisplay::ShowVfoMarks() {
    for (int i = 0; i < 9; ++i)
        SetText(controls, idc::VfoMark0 + i, QString());
    const int rx = RowOf(state.mainVfo);
    if (rx < 0)
        return;
    const int tx = RowOf(state.mainTransmitVfo);
    ShowMark(controls, rx, 1);
    if (tx < 0 || tx == rx) {
        ShowMark(controls, rx, 0);
        ShowMark(controls, rx, 2);
        return;
    }
    // Split: the transmit row shows its letter; its ">" only with ZUL off
    // and the transmit band on main, unless "P.C.T." owns the sub display.
    ShowMark(controls, tx, 1);
    const bool transmitMarks = state.zulState == 0 && !state.pct && state.transmitBand == 0;
    if (state.transmitting[0] && !state.tfSetActive) {
        // The main display shows the transmit frequency.
        if (transmitMarks) {
            ShowMark(controls, tx, 0);
            ShowMark(controls, tx, 2);
        }
    } else {
        ShowMark(controls, rx, 0);
        if (transmitMarks)
            ShowMark(controls, tx, 2);
    }
}

void ConsoleDisplay::SelectRxVfo(int vfo) {
    if (vfo < 0 || vfo > 3)
        return;
    if (state.entryMode && state.entryBand == state.controlBand && vfo != state.entryVfo)
        connection.CancelPendingMode();
    if (!state.satelliteMode && !state.memoryScroll) {
        if (state.controlBand == 0) {
            if (state.mainVfo == 2 && vfo != 2)
                link.ConnMD("R", 0);
            if (state.erasedChannel)
                return;
            state.mainVfo = vfo;
            state.mainTransmitVfo = vfo;
            NoteMainVfo(state, vfo);
            ShowVfoMarks();
            if (vfo < 2 && !state.quickMemory) {
                // Back on a VFO: nothing of the channel stays on the display
                // (the quick memory shows its own number there).
                ClearChannelField(controls, 0);
                SetText(controls, idc::MainLockOut, QString());
                ShowMainStatus();
            }
            switch (vfo) {
            case 2:
                RequestMemoryChannel(*this, 0);
                break;
            case 3:
                ShowCallChannel(controls, 0);
                link.ConnMR(0, 3, 0);
                link.ConnIF();
                break;
            default:
                AskVfoFrequency(link, vfo);
                break;
            }
            link.ConnFT("R", 0);
            if (RitOrXit(state))
                ShowRitXitOffset(state.ritXitOffset);
        } else if (vfo != 1) { // the sub band has no VFO B
            if (state.subVfo == 2 && vfo != 2)
                link.ConnMD("R", 0);
            state.subVfo = vfo;
            if (vfo == 0) {
                ClearChannelField(controls, 1);
                SetText(controls, idc::SubLockOut, QString());
                link.ConnFC("R", "");
                if (state.mode[1] == 0)
                    link.ConnMD("R", 0);
            } else if (vfo == 2) {
                RequestMemoryChannel(*this, 1);
            } else {
                state.memory[1] = zephyra::MemoryPosition{3, 0};
                ShowCallChannel(controls, 1);
                link.ConnMR(0, 3, 0);
            }
        }
    }
    UpdateMemoryLamp();
    UpdateSlowScanCommand();
}

void ConsoleDisplay::OnFR(int vfo) {
    SelectRxVfo(vfo);
}

void ConsoleDisplay::UpdateExtLabel() {
    if (state.transmitting[0] || state.memoryScroll)
        return;
    CStaticEx* ext = controls.label(idc::Ext);
    if (!ext)
        return;
    if (state.antennaFlag && state.mainFrequency < 30'000'000) {
        ext->setText(QStringLiteral("EXT"));
        ext->SetBackColor(0);
    } else {
        ext->setText(QString());
        ext->SetBackColor(kDisplayColour);
    }
}

void ConsoleDisplay::RedrawFrequencies() {
    if (state.tfSetActive && state.split && !state.transmitting[0] && state.controlBand != 1 &&
        !state.satelliteMode) {
        // TF-SET: the transmit frequency on the main display, the receive
        // frequency on the sub display.
        const std::string& text = state.record[0].txFrequency;
        const std::int64_t transmit = state.mainVfo == 2 && !text.empty()
                                          ? std::strtoll(text.c_str(), nullptr, 10)
                                          : state.subFrequency;
        ShowMainFrequency(transmit + Xit(state));
        ShowSubFrequency(state.mainFrequency);
        return;
    }
    ShowMainFrequency(state.mainFrequency + MainOffset(state));
    if (state.subShowsOffset)
        ShowRitXitOffset(state.ritXitOffset);
    else if (state.satelliteMode || state.controlBand == 1 || state.split || state.subReceiver)
        ShowSubFrequency(state.subFrequency);
    else
        ShowSubFrequency(0);
}

// While RIT or XIT is on the sub display shows the offset instead of a
// frequency: kilohertz with three decimals, the sign on the 100 kHz digit.
void ConsoleDisplay::ShowRitXitOffset(int offset) {
    if (offset < -kMaxRitXitOffset || offset > kMaxRitXitOffset)
        return;
    const QString blank(QLatin1Char(' '));
    for (int i = 0; i < 11; ++i)
        SetText(controls, idc::SubDigit0 + i, blank);
    for (int i = 0; i < 4; ++i)
        SetText(controls, idc::SubSep0 + i, blank);
    if (state.radioIdentification == 18 || state.radioIdentification == 19) {
        for (int i = 0; i < 3; ++i)
            SetText(controls, idc::SubChDigit0 + i, QString());
        SetText(controls, idc::SubChSep, QString());
        SetText(controls, idc::SubMch, QString());
        SetText(controls, idc::SubMode, QString());
        if (!state.scanRunning[1])
            ClearEdit(controls, idc::SubText);
    }
    // Sign (blank for plus) on the 100 kHz digit, then "kk.hhh".
    QString text = QString::asprintf("%+06d", offset);
    if (text.startsWith(QLatin1Char('+')))
        text[0] = QLatin1Char(' ');
    for (int i = 0; i < 3; ++i)
        SetText(controls, idc::SubDigit0 + 5 + i, QString(text[i]));
    SetText(controls, idc::SubSep0 + 2, QStringLiteral("."));
    for (int i = 0; i < 3; ++i)
        SetText(controls, idc::SubDigit0 + 8 + i, QString(text[3 + i]));
    state.subShowsOffset = 1;
    if (QScrollBar* bar = controls.scrollBar(idc::RitBar)) {
        if (bar->value() != offset) {
            const QSignalBlocker quiet(bar);
            bar->setValue(offset);
        }
    }
}
