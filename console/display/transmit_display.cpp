// SPDX-License-Identifier: GPL-3.0-or-later
// transmit_display.cpp - transmit, split and RIT/XIT switched on and off.
//
// The IF reply is the radio's summary of the control band (frequency,
// RIT/XIT, memory channel, transmit, mode, split); OI is the same for the
// other side of a split. TX and RX move the "ONAIR" labels and the
// transmitting flags, and switch the displays to the transmit frequency and
// back. While RIT or XIT is on, the sub display shows the offset instead of
// a frequency (ShowRitXitOffset, with the frequency displays); RT and XT
// switch between the two.
#include "console_display.h"
#include "display_controls.h"

#include "console_controls.h"
#include "console_ids.h"

#include <console_link.h>
#include <corvan.h>
#include <platform.h>

#include <QSignalBlocker>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace display_controls;

namespace {

constexpr std::int64_t kMaxFrequency = 99'999'999'999;

bool Checked(const ConsoleControls& controls, int id) {
    const CButtonEx* button = controls.button(id);
    return button && button->isChecked();
}

// "ONAIR" on black while the band transmits, empty on the display colour.
void ShowOnAir(const ConsoleControls& controls, int band, bool on) {
    CStaticEx* label = controls.label(band == 0 ? idc::MainBusy : idc::SubBusy);
    if (!label)
        return;
    label->setText(on ? QStringLiteral("ONAIR") : QString());
    label->SetBackColor(on ? 0u : ConsoleDisplay::kDisplayColour);
}

// The meter scale of a bar (0 main, 2 sub) for transmit (1) or receive
// (0); `frequency` is the transmit frequency whose band chooses the power
// scale (negative: the stored one of the transmit band).
void SwitchMeterScale(ConsoleDisplay& d, int meter, int transmit, std::int64_t frequency = -1) {
    d.ShowMeterScale(meter, transmit, frequency);
}

// After a transmission: the meters read again.
void RequestMeterValues(ConsoleDisplay& d) {
    d.link.ConnSM(0);
    d.link.ConnRM("R", 0);
}

// A record's frequency text as a number; 0 when there is none.
std::int64_t RecordFrequency(const std::string& text) {
    return text.empty() ? 0 : std::strtoll(text.c_str(), nullptr, 10);
}

// The memory position of an IF or OI report, when it is one the radio has
// (banks 0 to 2 and the call channel 3, channels 0 to 99; bank 0 only for
// identification 18).
bool StoreMemoryPosition(zephyra::ConsoleState& s, int band, int bank, int channel) {
    if (s.radioIdentification == 18)
        bank = 0;
    if (bank < 0 || bank > 3 || channel < 0 || channel > 99)
        return false;
    s.memory[static_cast<std::size_t>(band)] = zephyra::MemoryPosition{bank, channel};
    return true;
}

void ShowSplit(ConsoleDisplay& d, bool on) {
    d.state.split = on ? 1 : 0;
    SetText(d.controls, idc::Split, on ? QStringLiteral("SPLIT") : QString());
}

// The RIT and XIT displays follow the report where the buttons disagree.
void FollowRitXit(ConsoleDisplay& d, const IfReport& r) {
    if (static_cast<int>(Checked(d.controls, idc::Rit)) != r.rit)
        d.OnRT(r.rit);
    if (static_cast<int>(Checked(d.controls, idc::Xit)) != r.xit)
        d.OnXT(r.xit);
}

bool ValidReport(const IfReport& r) {
    return r.frequency >= 0 && r.frequency <= kMaxFrequency && r.offset >= -kMaxRitXitOffset &&
           r.offset <= kMaxRitXitOffset;
}

void TakeReportedOffset(ConsoleDisplay& d, int offset) {
    d.state.ritXitOffset = offset;
    if (d.state.ritXitWorking == 1)
        d.state.ritXitWorking = offset;
}

// IF in satellite mode: the offset and the RIT/XIT state.
void SatelliteIf(ConsoleDisplay& d, const IfReport& r) {
    zephyra::ConsoleState& s = d.state;
    if (r.offset != s.ritXitOffset) {
        if (QScrollBar* bar = d.controls.scrollBar(idc::RitBar)) {
            const QSignalBlocker quiet(bar);
            bar->setValue(r.offset);
        }
        TakeReportedOffset(d, r.offset);
    }
    if (r.rit == 1 || r.xit == 1) {
        if ((r.rit == 1 && s.transmitBand == 1) || (r.xit == 1 && s.transmitBand == 0))
            d.ShowMainFrequency(s.mainFrequency + s.ritXitOffset);
        if (!(s.entryMode && s.entryBand == 1 && !s.memoryScroll))
            d.ShowRitXitOffset(s.ritXitOffset);
    }
    FollowRitXit(d, r);
}

// IF with the control band on main.
void MainBandIf(ConsoleDisplay& d, const IfReport& r) {
    zephyra::ConsoleState& s = d.state;
    zephyra::MemoryRecord& record = s.record[0];
    const std::int64_t f = r.frequency;
    const bool splitOn = s.split || r.split == 1;
    if (!s.transmitting[0]) {
        if (!s.tfSetActive) {
            s.mainFrequency = f;
            if (s.mainVfo == 2)
                record.rxFrequency = ConsoleDisplay::RecordFrequencyText(f);
        } else if (s.transmitBand == 0) {
            s.subFrequency = f;
            if (s.mainVfo == 2)
                record.txFrequency = ConsoleDisplay::RecordFrequencyText(f);
        }
    } else if (splitOn) {
        if (s.zulState == 0) {
            s.subFrequency = f;
            if ((s.tfSetActive ? s.mainVfo : s.mainTransmitVfo) == 2)
                record.txFrequency = ConsoleDisplay::RecordFrequencyText(f);
        }
    } else {
        s.mainFrequency = f;
        if (s.mainVfo == 2)
            record.rxFrequency = ConsoleDisplay::RecordFrequencyText(f);
    }

    std::int64_t shown = f;
    if (s.zulState != 2) {
        const bool receiving = r.transmitting == 0;
        if ((r.rit == 1 && receiving && !s.tfSetActive) ||
            (r.xit == 1 && receiving && s.tfSetActive) || (r.xit == 1 && r.transmitting == 1))
            shown += r.offset;
    }
    if (!s.erasedChannel)
        d.ShowMainFrequency(shown);

    TakeReportedOffset(d, r.offset);
    if (r.rit == 1 || r.xit == 1)
        d.ShowRitXitOffset(s.ritXitOffset);
    FollowRitXit(d, r);

    d.OnMC(r.bank, r.channel);

    if (r.split == 1) {
        ShowSplit(d, true);
        // The transmit half of the memory or call channel.
        const zephyra::MemoryPosition& m = s.memory[0];
        if (s.mainVfo == 2 && m.bank >= 0 && m.bank <= 2)
            d.link.ConnMR(1, static_cast<std::uint32_t>(m.bank),
                          static_cast<std::uint32_t>(m.channel));
        else if (s.mainVfo == 3)
            d.link.ConnMR(1, 3, 0);
    } else if (r.split == 0) {
        if (s.subReceiver) {
            if (s.split && s.transmitBand == 0 && s.zulState == 0 && !s.quickMemory)
                d.connection.ReadOtherBandAntenna();
        } else if (r.rit != 1 && r.xit != 1) {
            d.ShowSubFrequency(0);
            SetText(d.controls, idc::SubMode, QString());
        }
        ShowSplit(d, false);
    }

    if (r.scan != 0)
        d.OnMD(r.mode);
    else if (s.zulState == 2 && s.mode[0] != r.mode)
        d.link.ConnMD("R", 0);
}

// IF with the control band on sub.
void SubBandIf(ConsoleDisplay& d, const IfReport& r) {
    zephyra::ConsoleState& s = d.state;
    if (!s.erasedChannel && !s.memoryScroll) {
        s.subFrequency = r.frequency;
        d.ShowSubFrequency(r.frequency);
    }
    d.OnMC(r.bank, r.channel);
    if (r.scan != 0)
        d.OnMD(r.mode);
}

const QString& ToneWord(int tone) {
    static const QString kWords[4] = {QString(), QStringLiteral("TONE"), QStringLiteral("CTCSS"),
                                      QStringLiteral("DCS")};
    return kWords[tone >= 0 && tone <= 3 ? tone : 0];
}

} // namespace

void ConsoleDisplay::OnIF(const IfReport& report) {
    if (!ValidReport(report))
        return;
    const int c = state.controlBand == 1 ? 1 : 0;
    if (!state.memoryScroll) {
        if (state.satelliteMode) {
            SatelliteIf(*this, report);
            return;
        }
        if (c == 0)
            MainBandIf(*this, report);
        else
            SubBandIf(*this, report);
    }
    if (state.satelliteMode)
        return;
    // "ONAIR" and the transmit display belong to the band that transmits,
    // which need not be the controlled one.
    const int t = state.transmitBand == 1 ? 1 : 0;
    if (report.transmitting == 0 && state.transmitting[static_cast<std::size_t>(t)])
        OnRX(t);
    else if (report.transmitting == 1 && !state.transmitting[static_cast<std::size_t>(t)])
        OnTX(t);
}

void ConsoleDisplay::ResetBandMeters(int band) {
    if (band != 0 && band != 1)
        return;
    for (const int id : band == 0 ? std::array<int, 2>{idc::MainMeter, idc::MainMeterOver}
                                  : std::array<int, 2>{idc::SubMeter, idc::SubMeterOver})
        if (CStaticMeterEx* meter = controls.meter(id))
            meter->ResetMeter();
}

void ConsoleDisplay::OnOI(const IfReport& report) {
    if (!ValidReport(report) || state.satelliteMode)
        return;
    const std::int64_t f = report.frequency;
    if (state.transmitting[0] && (state.split || report.split == 1)) {
        // The transmit frequency of a split transmission, whichever band is
        // controlled (with the sub band controlled TX and RX ask for OI).
        ShowMainFrequency(f + Xit(state));
        SwitchMeterScale(*this, 0, 1, f);
        return;
    }
    if (state.controlBand == 1) {
        // The main band's receive side while the sub band is controlled.
        if (report.function < 0 || report.function > 3)
            return;
        state.mainVfo = report.function;
        if (report.function == 2 && report.split == 1) {
            ShowMainFrequency(f + Rit(state));
            ShowSplit(*this, true);
            if (StoreMemoryPosition(state, 0, report.bank, report.channel) &&
                state.memory[0].bank <= 2) {
                state.record[0].transmitHalf = 0;
                link.ConnMR(0, static_cast<std::uint32_t>(state.memory[0].bank),
                            static_cast<std::uint32_t>(state.memory[0].channel));
            }
        } else {
            if (report.split == 0 || report.split == 1)
                ShowSplit(*this, report.split == 1);
            for (int i = 0; i < 3; ++i)
                SetText(controls, idc::MainChDigit0 + i, QString());
            SetText(controls, idc::MainChSep, QString());
            ShowVfoMarks();
        }
        return;
    }
    if (state.split || report.split == 1) {
        // The other side of a split.
        state.subFrequency = f;
        if (!RitOrXit(state))
            ShowSubFrequency(f);
        SetText(controls, idc::SubMode, ModeName(report.mode));
        if (report.tone >= 0 && report.tone <= 3)
            SetText(controls, idc::SubTone, ToneWord(report.tone));
    }
}

void ConsoleDisplay::OnTX(int band) {
    if (band != 0 && band != 1)
        return;
    if (state.entryMode)
        connection.CancelPendingMode();
    if (!state.toneScan)
        state.meterTransmitStarted = 1;
    const std::size_t b = static_cast<std::size_t>(band);
    if (state.satelliteMode) {
        ShowOnAir(controls, band, true);
        if (band == 0)
            SwitchMeterScale(*this, 0, 1);
        state.transmitting[b] = 1;
        return;
    }
    if (band == 1) {
        state.transmitting[1] = 1;
        ShowOnAir(controls, 1, true);
        SwitchMeterScale(*this, 2, 1);
        if (state.split && state.controlBand == 0 && state.zulState != 2) {
            link.ConnOI();
            return;
        }
        if (state.zulState == 0)
            ShowSubFrequency(state.subFrequency);
        return;
    }
    state.transmitting[0] = 1;
    ShowOnAir(controls, 0, true);
    SwitchMeterScale(*this, 0, 1);
    if (state.split && state.controlBand == 0)
        ShowVfoMarks();
    if (state.tfSetActive)
        return;
    if (!state.split) {
        ShowMainFrequency(state.mainFrequency + Xit(state));
    } else if (state.zulState <= 0 && state.controlBand == 0) {
        std::int64_t transmit = state.subFrequency;
        if (state.mainTransmitVfo == 2 && !state.record[0].txFrequency.empty())
            transmit = RecordFrequency(state.record[0].txFrequency);
        ShowMainFrequency(transmit + Xit(state));
        SwitchMeterScale(*this, 0, 1, transmit);
    } else if (state.controlBand == 1) {
        link.ConnOI();
    }
}

namespace {

// The receive display of a band after its transmission: "ONAIR" off, the
// meters back to receive, the VFO marks and the display back to the
// receive frequency. `ask` sends the requests that refresh the values a
// transmission changed (not while the radio is switched off).
void ShowReceive(ConsoleDisplay& d, int band, bool ask) {
    zephyra::ConsoleState& state = d.state;
    const std::size_t b = static_cast<std::size_t>(band);
    if (state.satelliteMode) {
        ShowOnAir(d.controls, band, false);
        state.transmitting[b] = 0;
        if (band == 0)
            SwitchMeterScale(d, 0, 0);
        if (ask)
            d.link.ConnBY();
        return;
    }
    if (band == 1) {
        if (state.transmitting[1]) {
            ShowOnAir(d.controls, 1, false);
            state.transmitting[1] = 0;
            SwitchMeterScale(d, 2, 0);
            if (ask)
                d.link.ConnBY();
        }
        if (state.subReceiver && !state.memoryScroll && !state.erasedChannel) {
            if (RitOrXit(state)) {
                d.ShowRitXitOffset(state.ritXitOffset);
            } else {
                if (state.split && state.controlBand == 0)
                    d.ShowVfoMarks();
                if (state.zulState == 0)
                    d.ShowSubFrequency(state.subFrequency);
            }
        }
        return;
    }
    if (state.transmitting[0]) {
        ShowOnAir(d.controls, 0, false);
        state.transmitting[0] = 0;
        SwitchMeterScale(d, 0, 0);
        if (ask) {
            RequestMeterValues(d);
            d.link.ConnBY();
        }
    }
    if (state.controlBand == 0)
        d.ShowVfoMarks();
    if (!state.memoryScroll && !state.erasedChannel && state.zulState <= 0 && !state.tfSetActive) {
        std::int64_t receive = state.mainFrequency;
        if (state.mainVfo == 2 && !state.record[0].rxFrequency.empty())
            receive = RecordFrequency(state.record[0].rxFrequency);
        d.ShowMainFrequency(receive + Rit(state));
    }
    if (ask && state.controlBand == 1 && state.transmitBand == 0)
        d.link.ConnOI();
}

} // namespace

void ConsoleDisplay::OnRX(int band) {
    if (band != 0 && band != 1)
        return;
    ShowReceive(*this, band, true);
}

void ConsoleDisplay::EndTransmitDisplay() {
    for (const int band : {0, 1})
        if (state.transmitting[static_cast<std::size_t>(band)])
            ShowReceive(*this, band, false);
}

void ConsoleDisplay::OnFT(int vfo) {
    if (vfo < 0 || vfo > 3)
        return;
    if (state.controlBand == 1 || state.memoryScroll || state.erasedChannel || state.satelliteMode)
        return;
    state.mainTransmitVfo = vfo;
    NoteMainVfo(state, vfo);
    if (vfo != state.mainVfo) {
        ShowSplit(*this, true);
        ShowVfoMarks();
        if (state.pct || state.transmitBand == 1)
            return;
        // The sub display takes the transmit VFO.
        SetText(controls, idc::SubMode, QString());
        if (!state.scanRunning[1])
            ClearEdit(controls, idc::SubText);
        const zephyra::MemoryPosition& m = state.memory[0];
        switch (vfo) {
        case 2:
            if (m.bank >= 0 && m.bank <= 2 && m.channel >= 0 && m.channel <= 99)
                link.ConnMR(1, static_cast<std::uint32_t>(m.bank),
                            static_cast<std::uint32_t>(m.channel));
            break;
        case 3:
            link.ConnMR(1, 3, 0);
            break;
        default:
            AskVfoFrequency(link, vfo);
            break;
        }
        return;
    }
    const bool wasSplit = state.split != 0;
    ShowSplit(*this, false);
    ShowVfoMarks();
    if (!wasSplit)
        return;
    if (!state.subReceiver && !RitOrXit(state))
        ShowSubFrequency(0);
    if (state.subReceiver)
        link.ConnFC("R", "");
    if (RitOrXit(state))
        ShowRitXitOffset(state.ritXitOffset);
}

namespace {

// RT (rit) and XT (xit) on or off.
void RitXitSwitched(ConsoleDisplay& d, int& flag, int buttonId, int on) {
    if (on != 0 && on != 1)
        return;
    zephyra::ConsoleState& s = d.state;
    flag = on;
    SetChecked(d.controls, buttonId, on == 1);
    if (on == 1) {
        if (s.satelliteMode) {
            if (s.transmitBand == 1)
                d.ShowMainFrequency(s.mainFrequency + s.ritXitOffset);
            if (!(s.entryMode && s.entryBand == 1))
                d.ShowRitXitOffset(s.ritXitOffset);
        } else if (!s.memoryScroll && s.controlBand == 0) {
            d.ShowRitXitOffset(s.ritXitOffset);
            if (!s.transmitting[0])
                d.ShowMainFrequency(s.mainFrequency + (s.zulState == 2 ? 0 : Rit(s)));
        }
        return;
    }
    if (!s.satelliteMode && !s.memoryScroll && s.controlBand == 0 && !s.transmitting[0])
        d.ShowMainFrequency(s.mainFrequency + (s.zulState == 2 ? 0 : Rit(s)));
    // The other of the two still on keeps the offset shown.
    if (!RitOrXit(s))
        d.RestoreSubDisplay();
}

} // namespace

void ConsoleDisplay::OnRT(int on) {
    RitXitSwitched(*this, state.ritOn, idc::Rit, on);
}

void ConsoleDisplay::OnXT(int on) {
    RitXitSwitched(*this, state.xitOn, idc::Xit, on);
}

void ConsoleDisplay::RestoreSubDisplay() {
    if (state.satelliteMode) {
        link.ConnFA("R", "");
        link.ConnFB("R", "");
        ShowModeLabel(1);
        return;
    }
    if (!state.subShowsOffset)
        return;
    if (state.split) {
        ShowSubFrequency(state.subFrequency);
        return;
    }
    if (!state.subReceiver) {
        ShowSubFrequency(0);
        return;
    }
    ShowSubFrequency(state.subFrequency);
    if (state.subVfo == 2) {
        const zephyra::MemoryPosition& m = state.memory[1];
        if (m.bank >= 0 && m.bank <= 2 && m.channel >= 0 && m.channel <= 99) {
            const QString number = QString::asprintf("%d%02d", m.bank, m.channel);
            for (int i = 0; i < 3; ++i)
                SetText(controls, idc::SubChDigit0 + i, QString(number[i]));
            SetText(controls, idc::SubMch, QStringLiteral("M.CH"));
            SetText(controls, idc::SubLockOut,
                    state.record[1].lockout == 1 ? QStringLiteral("L .OUT") : QString());
        }
    } else if (state.subVfo == 3) {
        for (int i = 0; i < 2; ++i)
            SetText(controls, idc::SubChDigit0 + i, QString());
        SetText(controls, idc::SubChDigit0 + 2, QStringLiteral("C"));
    }
    ShowModeLabel(1);
}
