// SPDX-License-Identifier: GPL-3.0-or-later
// memory_display.cpp - the memory channels on the display: the MR replies
// that fill the records of both bands (or, in memory scroll mode, only show
// the browsed channel), the MC reply of the radio's current channel, and the
// QR reply of the quick memory.
#include "console_display.h"
#include "display_controls.h"

#include "console_controls.h"
#include "console_ids.h"
#include "console_menu.h"

#include <corvan.h>
#include <platform.h>

#include <chrono>
#include <cstdio>
#include <thread>

using namespace display_controls;

namespace {

constexpr int kCallChannel = 300; // bank 3, channel 0
constexpr int kFirstProgramScan = 290;
constexpr int kMarkMGreater = 2 * 3 + 2; // the ">" of the M row
constexpr unsigned kChannelTextSize = 27;
constexpr unsigned kQuickTextSize = 23;

int ChannelDigit(int band) { return band == 0 ? idc::MainChDigit0 : idc::SubChDigit0; }

QString GroupedModeName(int mode, int group) {
    return ConsoleDisplay::ModeName(mode) + QStringLiteral(" Group %1").arg(group);
}

// Stores what both halves of a channel share.
void StoreSettings(zephyra::ConsoleState& s, zephyra::MemoryRecord& record, const MemoryReport& r) {
    if (s.zulState == 0)
        record.lockout = r.lockout;
    record.toneType = r.toneType;
    record.toneNumber = r.toneNumber;
    record.ctcssNumber = r.ctcssNumber;
    record.dcsCode = r.dcsCode;
    record.reverse = r.reverse;
    record.shift = r.shift;
    record.offset = r.offset;
}

// Lets the console handle its messages for a while (a short wait inside a
// reply's handling).
void PumpFor(ConsoleDisplay& d, std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end && d.state.connected) {
        if (d.host.pump)
            d.host.pump();
        else
            platform::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace

std::string ConsoleDisplay::RecordFrequencyText(std::int64_t hz) {
    char text[24] = {};
    std::snprintf(text, sizeof text, "%011lld", static_cast<long long>(hz));
    return text;
}

void ConsoleDisplay::ShowChannelNumber(int band, int bank, int channel) {
    if (bank < 0 || bank > 2 || channel < 0 || channel > 99)
        return;
    const QString number = QString::asprintf("%d%02d", bank, channel);
    for (int i = 0; i < 3; ++i)
        SetText(controls, ChannelDigit(band) + i, QString(number[i]));
    SetText(controls, band == 0 ? idc::MainMch : idc::SubMch, QStringLiteral("M.CH"));
    const bool lockedOut = state.record[band == 1 ? 1 : 0].lockout == 1 && state.zulState != 2;
    SetText(controls, band == 0 ? idc::MainLockOut : idc::SubLockOut,
            lockedOut ? QStringLiteral("L .OUT") : QString());
}

void ConsoleDisplay::OnMR(const MemoryReport& report) {
    zephyra::ConsoleState& s = state;
    if (report.half != 0 && report.half != 1)
        return;
    MemoryReport r = report;
    if (s.radioIdentification == 18)
        r.bank = 0;
    const int band = s.controlBand == 1 ? 1 : 0;
    const zephyra::MemoryPosition at = s.memory[band];
    // Only the channel the band stands on (or, browsing, the one shown).
    if (r.bank != at.bank || r.channel != at.channel)
        return;
    zephyra::MemoryRecord& record = s.record[band];
    const int number = r.bank * 100 + r.channel;
    const bool receiveHalf = r.half == 0;

    if (s.memoryScroll) {
        // Browsing: the channel is shown, nothing is stored.
        if (receiveHalf) {
            m_browsedFrequency = r.frequency;
            s.scrollShown = zephyra::MemoryPosition{r.bank, r.channel};
            // What the operator is shown of the channel: a write into it is
            // made only while the radio still holds this.
            zephyra::MemoryRecord& shown = s.scrollChannel;
            shown = zephyra::MemoryRecord{};
            shown.rxFrequency = RecordFrequencyText(r.frequency);
            shown.rxMode = r.mode;
            shown.rxStep = r.step;
            StoreSettings(s, shown, r);
            shown.lockout = r.lockout;
            shown.group = r.group;
            shown.name = r.name;
            s.scrollTransmitShown = 0;
            // The browsed channel's own mark, and the one the next "M. IN"
            // writes: a mark toggled on another channel does not follow to a
            // channel that does not show it.
            record.lockout = r.lockout == 1 ? 1 : 0;
            if (!s.erasedChannel) {
                ShowChannelNumber(0, r.bank, r.channel);
                SetText(controls, idc::MainLockOut,
                        r.lockout == 1 && s.zulState != 2 ? QStringLiteral("L .OUT") : QString());
            }
            ShowMainFrequency(r.frequency);
            SetText(controls, idc::MainMode, GroupedModeName(r.mode, r.group));
            return;
        }
        // A channel without a transmit half answers with no frequency.
        const bool simplex = r.frequency == 0 || r.frequency == m_browsedFrequency;
        if (s.scrollShown.bank == r.bank && s.scrollShown.channel == r.channel) {
            s.scrollChannel.txFrequency = RecordFrequencyText(r.frequency);
            s.scrollChannel.txMode = r.mode;
            s.scrollChannel.txStep = r.step;
            s.scrollTransmitShown = 1;
        }
        SetText(controls, idc::Split, simplex ? QString() : QStringLiteral("SPLIT"));
        SetText(controls, idc::VfoMark0 + kMarkMGreater, simplex ? QString() : QStringLiteral(">"));
        ShowSubFrequency(simplex ? 0 : r.frequency);
        return;
    }

    if (receiveHalf) {
        record = zephyra::MemoryRecord{};
        record.rxFrequency = r.frequencyText.empty() ? RecordFrequencyText(r.frequency) : r.frequencyText;
        const bool programScan = s.radioIdentification == 18 ? (r.channel >= 90 && r.channel <= 99)
                                                              : (r.bank == 2 && r.channel >= 90);
        record.type = programScan ? 2 : 1;
        if (programScan && s.radioIdentification != 18)
            link.ConnMR(1, static_cast<std::uint32_t>(r.bank), static_cast<std::uint32_t>(r.channel));
        record.rxMode = r.mode;
        record.rxStep = r.step;
    } else {
        record.txFrequency = r.frequencyText.empty() ? RecordFrequencyText(r.frequency) : r.frequencyText;
        record.txMode = r.mode;
        record.txStep = r.step;
        record.transmitHalf = 1;
    }
    StoreSettings(s, record, r);
    record.group = r.group;
    record.name = r.name.substr(0, 12);

    const bool mainOnMemory = band == 0 && s.mainVfo == 2;
    const bool subOnMemory = band == 1 && s.subVfo == 2;
    if (receiveHalf && !s.erasedChannel && (mainOnMemory || subOnMemory))
        ShowChannelNumber(band, r.bank, r.channel);

    if (receiveHalf && mainOnMemory) {
        const int mode = s.scanRunning[0] ? r.mode : s.mode[0];
        QString label = ModeName(mode);
        if (number != kCallChannel && s.zulState != 2)
            label = GroupedModeName(mode, record.group);
        SetText(controls, idc::MainMode, label);
        if (!s.scanRunning[0] && s.zulState != 2 && number != kCallChannel && m_mainStatus == 0)
            SetText(controls, idc::MainText, QStringLiteral(" %1").arg(QString::fromStdString(record.name)));
        if (!RitOrXit(s) && !s.subReceiver)
            ShowSubFrequency(0);
        SetText(controls, idc::VfoMark0 + kMarkMGreater, QString());
        link.ConnIF();
        if (zephyra::IsProgramScanChannel(s.radioIdentification, zephyra::MemoryPosition{r.bank, r.channel}))
            link.ConnSS("R", 0);
        return;
    }
    if (receiveHalf && subOnMemory) {
        ShowModeLabel(1);
        if (s.zulState != 2 && !s.dtmfDigits && !s.tncMode)
            SetText(controls, idc::SubText, QStringLiteral(" %1").arg(QString::fromStdString(record.name)));
        return;
    }

    if (!receiveHalf && band == 0) {
        const QString name = QStringLiteral(" %1").arg(QString::fromStdString(record.name));
        if (s.split && s.mainVfo != 2 && !s.transmitting[0]) {
            if (s.zulState != 2)
                SetText(controls, idc::SubText, name);
        } else if (m_mainStatus == 0 && s.zulState != 2) {
            SetText(controls, idc::MainText, name);
        }
        if (!s.split || s.mainTransmitVfo != 2)
            return;
        // Split with the transmit VFO on this channel: its transmit half
        // goes to the sub display.
        const std::int64_t transmit = r.frequency;
        s.subFrequency = transmit;
        if (TextOf(controls, idc::VfoMark0 + kMarkMGreater).isEmpty()) {
            for (int i = 0; i < 3; ++i)
                SetText(controls, idc::SubChDigit0 + i, QString());
            SetText(controls, idc::SubMch, QString());
        }
        if (s.mainVfo == s.mainTransmitVfo) {
            SetText(controls, idc::SubMode, QString());
            SetText(controls, idc::SubText, QString());
        } else {
            SetText(controls, idc::SubMode, GroupedModeName(r.mode, record.group));
            SetText(controls, idc::SubText, name);
        }
        const std::int64_t shown = (s.transmitting[0] || s.tfSetActive)
                                       ? std::strtoll(record.rxFrequency.c_str(), nullptr, 10)
                                       : transmit;
        ShowSubFrequency(shown);
        if (number < kFirstProgramScan)
            SetText(controls, idc::VfoMark0 + kMarkMGreater, QStringLiteral(">"));
    }
}

void ConsoleDisplay::OnMC(int bank, int channel) {
    zephyra::ConsoleState& s = state;
    if (s.radioIdentification == 18)
        bank = 0;
    if (bank < 0 || bank > 3 || channel < 0 || channel > 99)
        return;
    const int band = s.controlBand == 1 ? 1 : 0;
    zephyra::MemoryPosition& at = s.memory[band];
    const bool onMemory = (band == 0 ? s.mainVfo : s.subVfo) == 2;
    const bool changed = at.bank != bank || at.channel != channel;
    if (changed) {
        at = zephyra::MemoryPosition{bank, channel};
        // The record is the former channel's until the MR reply of this one
        // arrives: CLR meanwhile would write it over this channel.
        if (!s.memoryScroll)
            s.record[band] = zephyra::MemoryRecord{};
        else
            s.record[band].transmitHalf = 0;
        if (!s.erasedChannel && onMemory)
            link.ConnMR(0, static_cast<std::uint32_t>(bank), static_cast<std::uint32_t>(channel));
    }
    UpdateSlowScanCommand();
    if (!onMemory)
        return;
    if (changed && band == 0 && zephyra::IsProgramScanChannel(s.radioIdentification, at))
        link.ConnSS("R", 0);
}

void ConsoleDisplay::OnQR(int on, int channel) {
    zephyra::ConsoleState& s = state;
    if ((on != 0 && on != 1) || channel < 0 || channel > 9)
        return;
    const int band = s.controlBand == 1 ? 1 : 0;
    const int digit0 = ChannelDigit(band);
    if (on == 1) {
        s.quickMemory = 1;
        SetText(controls, digit0, QStringLiteral(" "));
        SetText(controls, digit0 + 1, QString::number(channel));
        SetText(controls, digit0 + 2, QStringLiteral("_"));
        if (CStaticEx* units = controls.label(digit0 + 2))
            units->SetTextSize(kQuickTextSize);
        SetCommandEnabled(host, cmd::MemoryChannelUp, false);
        SetCommandEnabled(host, cmd::MemoryChannelDown, false);
        if (channel != s.quickChannel) {
            s.quickChannel = channel;
            PumpFor(*this, std::chrono::milliseconds(200));
            std::uint32_t sub = 0;
            bool read = false;
            for (int attempt = 0; attempt < 10 && !read; ++attempt)
                read = link.RcvDataSB(&sub) == 1;
            if (read && sub == 1) {
                ShowSubFrequency(s.subFrequency);
                ShowModeLabel(1);
            }
        }
        link.ConnFR("R", 0);
    } else {
        s.quickChannel = 10;
        const int vfo = band == 0 ? s.mainVfo : s.subVfo;
        if (vfo != 2) {
            // The call channel keeps its "C".
            const int fields = vfo == 3 ? 2 : 3;
            for (int i = 0; i < fields; ++i)
                SetText(controls, digit0 + i, QString());
            if (CStaticEx* units = controls.label(digit0 + 2))
                units->SetTextSize(kChannelTextSize);
            SetText(controls, band == 0 ? idc::MainLockOut : idc::SubLockOut, QString());
        }
        SetCommandEnabled(host, cmd::MemoryChannelUp, true);
        SetCommandEnabled(host, cmd::MemoryChannelDown, true);
        s.quickMemory = 0;
    }
    UpdateMemoryLamp();
}
