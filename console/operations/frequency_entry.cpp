// SPDX-License-Identifier: GPL-3.0-or-later
// frequency_entry.cpp - typing and stepping a frequency: the click-to-step
// digits, the keypad's entry mode, its digits and decimal point, and ENT.
//
// A frequency goes on the wire as eleven digits of whole hertz. Nothing
// outside 0..99,999,999,999 Hz is ever sent, and an entry of all zeros is
// not sent at all.
#include "console_operations.h"

#include "console_controls.h"
#include "console_ids.h"
#include "../display/console_display.h"
#include "../display/display_controls.h"

#include <console_link.h>
#include <corvan.h>
#include <platform.h>

#include <QString>

#include <algorithm>
#include <array>
#include <cstdio>

using namespace display_controls;

namespace {

constexpr std::int64_t kMaxFrequency = 99'999'999'999;

// The keypad keys that type a digit in entry mode, with their captions.
struct KeypadKey {
    int id;
    const char* normal;
    const char* entry;
};
constexpr std::array<KeypadKey, 11> kKeypad{{
    {idc::Ch1, "CH1", "1"},
    {idc::Ch2, "CH2", "2"},
    {idc::Ch3, "CH3", "3"},
    {idc::Tone, "TONE", "4"},
    {idc::Meter, "METER", "5"},
    {idc::Ctcss, "CTCSS", "6"},
    {idc::NbButton, "NB", "7"},
    {idc::AgcButton, "AGC", "8"},
    {idc::FineButton, "FINE", "9"},
    {idc::Dcs, "DCS", "."},
    {idc::Shift, "SHIFT", "0"},
}};

// The eleven-digit text of a frequency; false when it cannot go on the wire.
bool FrequencyText(std::int64_t hz, char (&text)[16]) {
    if (hz < 0 || hz > kMaxFrequency)
        return false;
    std::snprintf(text, sizeof text, "%011lld", static_cast<long long>(hz));
    return true;
}

int DigitId(int band, int index) { return (band == 1 ? idc::SubDigit0 : idc::MainDigit0) + index; }
int SeparatorId(int band, int index) { return (band == 1 ? idc::SubSep0 : idc::MainSep0) + index; }
int ChannelDigitId(int band, int index) {
    return (band == 1 ? idc::SubChDigit0 : idc::MainChDigit0) + index;
}

// The separator that follows digit `index` (1 GHz, 1 MHz, 1 kHz), or -1.
int SeparatorAfter(int index) {
    switch (index) {
    case 1: return 0;
    case 4: return 1;
    case 7: return 2;
    default: return -1;
    }
}

bool IsDigit(const QString& text) { return text.size() == 1 && text[0].isDigit(); }

} // namespace

ConsoleOperations::DigitTarget ConsoleOperations::DigitTargetOf(int band) const {
    const zephyra::ConsoleState& s = state;
    // 0 VFO A (FA), 1 VFO B (FB), 2 the sub receiver (FC).
    auto vfo = [](int code) { return code == 0 || code == 1 ? code : -1; };
    // TF-SET in split swaps the displays while the main band receives: the
    // transmit VFO on the main display, the receive VFO on the sub display.
    const bool swapped =
        !s.satelliteMode && s.tfSetActive && s.split && s.controlBand != 1 && !s.transmitting[0];
    if (band == 0) {
        if (s.satelliteMode)
            return {s.satelliteVfoFlag ? 0 : 1, s.mainFrequency, false};
        if (swapped) {
            if (s.mainVfo == 2)
                return {}; // the memory's transmit half: not tuned by a digit
            return {vfo(s.mainTransmitVfo), s.subFrequency, false};
        }
        return {vfo(s.mainVfo), s.mainFrequency, false};
    }
    if (s.satelliteMode) {
        if (RitOrXit(s))
            return {};
        return {s.satelliteVfoFlag ? 1 : 0, s.subFrequency, false};
    }
    if (s.controlBand == 1)
        return {s.subVfo == 0 ? 2 : -1, s.subFrequency, true};
    if (RitOrXit(s))
        return {};
    if (swapped)
        return {vfo(s.mainVfo), s.mainFrequency, false};
    // With the control band on main the sub display shows the sub receiver
    // (its VFO state is learnt only while it is the control band: any state
    // but memory and call is its VFO), or in split the main band's transmit VFO.
    const int subReceiver = s.subVfo == 2 || s.subVfo == 3 ? -1 : 2;
    if (s.split && s.transmitBand == 0)
        return {vfo(s.mainTransmitVfo), s.subFrequency, false};
    if (!s.subReceiver)
        return {}; // the display is blank: there is nothing to step
    return {subReceiver, s.subFrequency, false};
}

void ConsoleOperations::StepFrequencyDigit(int band, int position, int direction) {
    // A new press steps from what the display shows, unless the display
    // still shows one of the last steps' values because the radio has not
    // answered them yet (a slow line, a double click): then it steps on
    // from the value sent last, so that no step is sent twice.
    const DigitTarget target = DigitTargetOf(band);
    const bool answerPending =
        m_digitSent >= 0 && m_digitSentVfo == target.vfo &&
        std::chrono::steady_clock::now() - m_digitSentAt < std::chrono::seconds(1) &&
        std::find(m_digitChain.begin(), m_digitChain.end(), target.shown) != m_digitChain.end();
    if (!answerPending) {
        m_digitSent = -1;
        m_digitChain.clear();
    }
    StepDigit(band, position, direction);
}

void ConsoleOperations::StepDigit(int band, int position, int direction) {
    zephyra::ConsoleState& s = state;
    if (position < 1 || position > 11 || s.memoryScroll)
        return;
    if ((band == 0 ? s.mainVfo : s.subVfo) == 2)
        return;
    const DigitTarget target = DigitTargetOf(band);
    if (target.vfo < 0 || target.shown <= 0)
        return; // no frequency of that VFO reported: nothing to step from
    std::int64_t step = 1;
    for (int i = 1; i < position; ++i)
        step *= 10;
    if (direction == 0)
        step = -step;
    if (target.channelStep) {
        // The sub band tunes by at least its channel step.
        const int channel = display.ChannelStep();
        if (step > 0 && step < channel)
            step = channel;
        if (step < 0 && step > -channel)
            step = -channel;
    }
    // A held digit steps on from the value it sent last, not from the
    // radio's report of it, which a slow line may not have brought yet.
    const bool onFromSent = m_digitSent >= 0 && m_digitSentVfo == target.vfo;
    const std::int64_t next = (onFromSent ? m_digitSent : target.shown) + step;
    char text[16];
    if (!FrequencyText(next, text))
        return;
    if (target.vfo == 0)
        link.ConnFA("W", text);
    else if (target.vfo == 1)
        link.ConnFB("W", text);
    else
        link.ConnFC("W", text);
    if (!onFromSent)
        m_digitChain.assign(1, target.shown);
    if (m_digitChain.size() >= 64) // a long hold: its early values have long been answered
        m_digitChain.erase(m_digitChain.begin() + 1, m_digitChain.begin() + 33);
    m_digitChain.push_back(next);
    m_digitSent = next;
    m_digitSentVfo = target.vfo;
    m_digitSentAt = std::chrono::steady_clock::now();
}

void ConsoleOperations::KeypadCaptions(bool entry) {
    const zephyra::ConsoleState& s = state;
    const bool voice = s.voiceRecallDigits != 0;
    const bool programmable = voice || s.readChannel || s.writeChannel;
    for (const KeypadKey& key : kKeypad) {
        CCButtonEx* button = controls.cbutton(key.id);
        if (!button)
            continue;
        if (!entry) {
            button->setText(QString::fromLatin1(key.normal));
            button->SetBackColor(host.faceColour);
            if (key.id == idc::Dcs)
                button->SetTextBold(0);
            continue;
        }
        QString caption = QString::fromLatin1(key.entry);
        if (key.id == idc::Shift && s.readChannel && !s.writeChannel)
            caption = QStringLiteral("OFF");
        button->setText(caption);
        bool lit = true;
        if (key.id == idc::Ch3 || key.id == idc::Tone || key.id == idc::Meter)
            lit = !voice;
        else if (key.id == idc::Dcs)
            lit = !programmable && !s.memoryScroll;
        else if (key.id != idc::Ch1 && key.id != idc::Ch2)
            lit = !programmable;
        if (lit)
            button->SetBackColor(ConsoleDisplay::kDisplayColour);
        if (key.id == idc::Dcs)
            button->SetTextBold(1);
    }
}

void ConsoleOperations::SetEntryMode(int on) {
    zephyra::ConsoleState& s = state;
    if (on) {
        KeypadCaptions(true);
        SetEnabled(controls, idc::Func, false);
        s.entryBand = s.controlBand == 1 ? 1 : 0;
        if (!s.memoryScroll && !s.voiceRecallDigits && !s.readChannel && !s.writeChannel &&
            !s.dtmfDigits) {
            const int band = s.entryBand;
            s.entryVfo = band == 0 ? s.mainVfo : s.subVfo;
            if (s.entryVfo != 2) {
                for (int i = 0; i < 11; ++i)
                    SetText(controls, DigitId(band, i), QStringLiteral("-"));
                for (int i = 0; i < 3; ++i)
                    SetText(controls, SeparatorId(band, i), QStringLiteral("."));
            } else {
                for (int i = 0; i < 3; ++i)
                    SetText(controls, ChannelDigitId(band, i), QStringLiteral("-"));
                SetText(controls, band == 0 ? idc::MainMch : idc::SubMch, QStringLiteral("M.CH"));
            }
        }
        s.entryCount = 0;
        s.entryMode = 1;
        return;
    }
    KeypadCaptions(false);
    SetEnabled(controls, idc::Func, true);
    s.entryMode = 0;
    s.entryCount = 0;
    if (!s.consoleReady)
        return;
    const int band = s.entryBand;
    if (band == 0 && s.tfSetActive && s.split) {
        display.RedrawFrequencies(); // the swapped displays of TF-SET
    } else if (band == 0) {
        display.ShowMainFrequency(s.mainFrequency + Rit(s));
    } else if (s.satelliteMode && RitOrXit(s)) {
        display.ShowRitXitOffset(s.ritXitOffset);
    } else {
        display.ShowSubFrequency(s.subFrequency);
    }
    if (s.entryVfo == 2) {
        const zephyra::MemoryPosition at = s.memory[band];
        const QString number = QString::asprintf("%d%02d", at.bank == 9 ? 0 : at.bank, at.channel);
        for (int i = 0; i < 3 && i < number.size(); ++i)
            SetText(controls, ChannelDigitId(band, i), QString(number[i]));
        SetText(controls, band == 0 ? idc::MainMch : idc::SubMch, QStringLiteral("M.CH"));
    }
}

// The end of a mode the keypad types in (entry, voice recall, PM, PM IN,
// DTMF): the PM or PM IN key and the sub status line back, entry mode off.
void ConsoleOperations::LeaveKeypadMode(int mode) {
    using zephyra::OperatorMode;
    if (static_cast<OperatorMode>(mode) == OperatorMode::ReadChannel ||
        static_cast<OperatorMode>(mode) == OperatorMode::WriteChannel) {
        const int button = static_cast<OperatorMode>(mode) == OperatorMode::ReadChannel ? idc::Pm : idc::PmIn;
        if (CCButtonEx* key = controls.cbutton(button))
            key->SetBackColor(host.faceColour);
        SetText(controls, idc::SubText, QString());
    }
    if (static_cast<OperatorMode>(mode) == OperatorMode::DtmfDigits)
        display.ShowSubStatus();
    SetEntryMode(0);
}

void ConsoleOperations::EntryEnter() {
    zephyra::ConsoleState& s = state;
    if (!s.entryMode) {
        if (s.funcMode || !s.consoleReady || s.mouseWheelSelection || s.voiceRecallDigits ||
            s.readChannel || s.writeChannel || s.dtmfDigits || s.transmitting[0] ||
            s.transmitting[1])
            return;
        if (s.scanValue[s.controlBand == 1 ? 1 : 0] == 1)
            return;
        if ((s.zulState != 0 && s.zulState != 2) || s.repeaterValue != 0 || s.remoteValue != 0 ||
            s.tncMode)
            return;
        SetEntryMode(1);
        return;
    }
    // Only a frequency typed digit by digit goes on the wire. In the digit
    // modes (voice recall, PM, PM IN, DTMF), in memory scroll mode and in a
    // channel entry the display still shows the radio's frequency, which
    // nobody typed: ENT leaves the mode and sends nothing.
    if (s.voiceRecallDigits || s.readChannel || s.writeChannel || s.dtmfDigits) {
        connection.CancelPendingMode();
        if (s.entryMode)
            SetEntryMode(0);
        return;
    }
    if (s.memoryScroll || s.entryVfo == 2) {
        SetEntryMode(0);
        return;
    }
    const int band = s.entryBand;
    std::int64_t typed = 0;
    for (int i = 0; i < 11; ++i) {
        const QString shown = TextOf(controls, DigitId(band, i));
        typed = typed * 10 + (IsDigit(shown) ? shown[0].digitValue() : 0);
    }
    if (typed == 0) {
        SetEntryMode(0);
        return;
    }
    // The operator types what the display shows: the transverter offset the
    // display adds comes off again before the radio is tuned.
    const std::int64_t frequency = typed - display.TransverterOffsetOf(band);
    // The VFO the entry goes to, and its receiver for the band lookup
    // (0 VFO A, 1 VFO B, 2 the sub receiver).
    int target = -1;
    if (s.satelliteMode)
        target = (band == 0) == (s.satelliteVfoFlag != 0) ? 0 : 1;
    else if (band == 1)
        target = 2;
    else if (s.entryVfo == 0 || s.entryVfo == 1)
        target = DigitTargetOf(0).vfo; // the VFO the main display shows (TF-SET: transmit)
    char text[16];
    if (target >= 0 &&
        (!FrequencyText(frequency, text) || link.GetRcvBand(static_cast<std::uint32_t>(target), frequency) == 0)) {
        SetEntryMode(0);
        platform::MessageBox(QStringLiteral("Invalid Frequency.\nPlease check and try again."),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning,
                             host.window);
        return;
    }
    if (target == 0)
        link.ConnFA("W", text);
    else if (target == 1)
        link.ConnFB("W", text);
    else if (target == 2)
        link.ConnFC("W", text);
    SetEntryMode(0);
}

void ConsoleOperations::EntryDigit(int digit) {
    zephyra::ConsoleState& s = state;
    if (!s.entryMode || digit < 0 || digit > 9)
        return;
    const QString character = QString::number(digit);
    if (s.satelliteMode && s.memoryScroll) {
        SetText(controls, idc::MainChDigit0 + 2, character);
        return;
    }
    if (s.memoryScroll) {
        // Three digits of a channel number; the channels end at 299.
        if (s.entryCount == 0 && s.radioIdentification == 18) {
            SetText(controls, idc::MainChDigit0, QStringLiteral("0"));
            for (int i = 1; i < 3; ++i)
                SetText(controls, idc::MainChDigit0 + i, QStringLiteral("-"));
            s.entryCount = 1;
        }
        if (s.entryCount == 0) {
            if (digit > 2)
                return;
            for (int i = 1; i < 3; ++i)
                SetText(controls, idc::MainChDigit0 + i, QStringLiteral("-"));
        }
        SetText(controls, idc::MainChDigit0 + s.entryCount, character);
        if (++s.entryCount < 3)
            return;
        int number = 0;
        for (int i = 0; i < 3; ++i) {
            const QString shown = TextOf(controls, idc::MainChDigit0 + i);
            number = number * 10 + (IsDigit(shown) ? shown[0].digitValue() : 0);
        }
        s.entryCount = 0;
        const int band = s.controlBand == 1 ? 1 : 0;
        s.memory[band] = {number / 100, number % 100};
        link.ConnMR(0, static_cast<std::uint32_t>(number / 100), static_cast<std::uint32_t>(number % 100));
        link.ConnMR(1, static_cast<std::uint32_t>(number / 100), static_cast<std::uint32_t>(number % 100));
        return;
    }
    if (s.voiceRecallDigits) {
        if (digit == 1 || digit == 2) {
            link.ConnVR(static_cast<std::uint32_t>(digit));
            s.voiceRecallDigits = 0;
            LeaveKeypadMode(static_cast<int>(zephyra::OperatorMode::VoiceRecallDigits));
        }
        return;
    }
    if (s.readChannel) {
        if (digit <= 5) {
            link.ConnPM("W", static_cast<std::uint32_t>(digit));
            s.readChannel = 0;
            LeaveKeypadMode(static_cast<int>(zephyra::OperatorMode::ReadChannel));
        }
        return;
    }
    if (s.writeChannel) {
        if (digit >= 1 && digit <= 5) {
            link.ConnPI(static_cast<std::uint32_t>(digit));
            s.writeChannel = 0;
            LeaveKeypadMode(static_cast<int>(zephyra::OperatorMode::WriteChannel));
        }
        return;
    }
    if (s.dtmfDigits) {
        link.ConnTD(static_cast<std::uint32_t>(digit));
        s.dtmfDigits = 0;
        LeaveKeypadMode(static_cast<int>(zephyra::OperatorMode::DtmfDigits));
        return;
    }
    const int band = s.entryBand;
    if (s.entryVfo == 2) {
        // A channel number into the band's channel field.
        if (s.entryCount == 0 && digit > 2)
            return;
        SetText(controls, ChannelDigitId(band, s.entryCount), character);
        if (++s.entryCount < 3)
            return;
        int number = 0;
        for (int i = 0; i < 3; ++i) {
            const QString shown = TextOf(controls, ChannelDigitId(band, i));
            number = number * 10 + (IsDigit(shown) ? shown[0].digitValue() : 0);
        }
        SetEntryMode(0);
        link.ConnMC("W", static_cast<std::uint32_t>(number / 100), static_cast<std::uint32_t>(number % 100));
        return;
    }
    if (s.entryCount >= 10)
        return;
    bool leadingZero = digit == 0;
    for (int i = 0; leadingZero && i < s.entryCount; ++i) {
        const QString shown = TextOf(controls, DigitId(band, i));
        leadingZero = shown == QStringLiteral("0") || shown == QStringLiteral("-") ||
                      shown == QStringLiteral(" ");
    }
    const int index = s.entryCount;
    if (leadingZero) {
        SetText(controls, DigitId(band, index), QStringLiteral(" "));
        if (const int separator = SeparatorAfter(index); separator >= 0)
            SetText(controls, SeparatorId(band, separator), QStringLiteral(" "));
    } else {
        SetText(controls, DigitId(band, index), character);
    }
    if (++s.entryCount < 10)
        return;
    // The tenth digit finishes the entry (the 1 Hz digit is never typed).
    if (IsDigit(TextOf(controls, DigitId(band, index))))
        EntryEnter();
    else
        PressClear();
}

void ConsoleOperations::EntryPoint() {
    zephyra::ConsoleState& s = state;
    if (!s.entryMode || s.memoryScroll || s.voiceRecallDigits || s.readChannel || s.writeChannel ||
        s.dtmfDigits || s.entryVfo == 2 || s.entryCount >= 5)
        return;
    const int band = s.entryBand;
    int megahertz = 0;
    for (int i = 0; i < s.entryCount; ++i) {
        const QString shown = TextOf(controls, DigitId(band, i));
        megahertz = megahertz * 10 + (IsDigit(shown) ? shown[0].digitValue() : 0);
    }
    const QString aligned = megahertz == 0 ? QStringLiteral("     ") : QString::asprintf("%5d", megahertz);
    for (int i = 0; i < 5; ++i)
        SetText(controls, DigitId(band, i), QString(aligned[i]));
    if (aligned[1] == QLatin1Char(' '))
        SetText(controls, SeparatorId(band, 0), QStringLiteral(" "));
    if (aligned[4] == QLatin1Char(' '))
        SetText(controls, SeparatorId(band, 1), QStringLiteral(" "));
    s.entryCount = 5;
}
