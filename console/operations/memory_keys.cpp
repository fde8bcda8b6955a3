// SPDX-License-Identifier: GPL-3.0-or-later
// memory_keys.cpp - the keys that write, leave or change a memory channel:
// "M. IN" (browse to a channel, then write the VFO into it), the keypad's
// CLR (which first ends any pending mode), VFO / M, CALL, and clearing the
// shown channel (CLR held, or Memory > Clear Memory).
#include "console_operations.h"
#include "read_toggle.h"

#include "../console_controls.h"
#include "../console_ids.h"
#include "../display/console_display.h"
#include "../display/display_controls.h"

#include <ConsoleLink.h>
#include <corvan.h>

#include <platform.h>

#include <cstdlib>

using namespace display_controls;
using namespace operations;


namespace {

// A frequency text that names a frequency: a record with none is empty, and
// written it would clear the channel.
bool HoldsFrequency(const std::string& text) {
    return std::strtoll(text.c_str(), nullptr, 10) > 0;
}

// A mode the radio stores in a channel (8 is the tuner's, not a mode).
bool ChannelMode(int mode) {
    return (mode >= 1 && mode <= 7) || mode == 9;
}

// A frequency some receive band of the connected radio holds; the radio
// answers an MW at any other with "?" and keeps what the channel held.
bool Receivable(CCorvan& link, const std::string& text) {
    const std::int64_t hz = std::strtoll(text.c_str(), nullptr, 10);
    for (u32 selector = 0; selector <= 2; ++selector)
        if (link.GetRcvBand(selector, hz) != 0)
            return true;
    return false;
}

QString MegahertzOf(const std::string& text) {
    return QString::number(static_cast<double>(std::strtoll(text.c_str(), nullptr, 10)) / 1e6, 'f', 6);
}

void SayNotWritten(ConsoleOperations& o, const QString& text) {
    platform::MessageBox(text, QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning, o.host.window);
}

} // namespace

void ConsoleOperations::MemoryIn() {
    zephyra::ConsoleState& s = state;
    if (!s.consoleReady)
        return;
    const int band = s.controlBand == 1 ? 1 : 0;
    if (s.satelliteMode) {
        if (!s.memoryScroll) {
            if (s.entryMode)
                return;
            SetMemoryScroll(1);
            return;
        }
        if (s.panelOpen)
            return;
        // The units field holds the satellite channel typed.
        const QString typed = TextOf(controls, idc::MainChDigit0 + 2);
        const bool written = typed.size() == 1 && typed[0].isDigit() &&
                             link.ConnSI(static_cast<u32>(typed[0].digitValue()), s.satelliteName.c_str()) == 1;
        if (!written)
            SayNotWritten(*this, QStringLiteral("No satellite channel was typed, or the radio link refused it.\n"
                                                "The satellite memory name was not written."));
        KeypadClear();
        return;
    }
    if (s.zulState != 0 || s.repeaterValue != 0 || s.remoteValue != 0 || s.tncMode)
        return;
    const int vfo = band == 0 ? s.mainVfo : s.subVfo;
    if (vfo == 3)
        return;
    if (!s.memoryScroll) {
        // The first press: browse to the channel to write.
        if (s.entryMode || s.quickMemory || s.funcMode || s.scanRunning[0] || s.scanRunning[1])
            return;
        s.splitAtEntry = s.split;
        if (vfo != 2)
            CaptureVfoRecord();
        SetMemoryScroll(1);
        s.entryCount = 0;
        return;
    }
    if (s.panelOpen)
        return;
    // One or two digits of a channel typed: no channel is chosen yet, and
    // the one shown before the digits is not the one on the display.
    if (s.entryCount != 0)
        return;
    // The second press writes the record into the channel shown.
    const zephyra::MemoryPosition at = s.memory[band];
    if (at.bank < 0 || at.bank > 2 || at.channel < 0 || at.channel > 99)
        return;
    // The channel typed or stepped to is not on the display yet (its record
    // has not come back): the operator has not seen what would be
    // overwritten, so the press waits for nothing and writes nothing.
    if (s.scrollShown.bank != at.bank || s.scrollShown.channel != at.channel)
        return;
    zephyra::MemoryRecord& record = s.record[band];
    const int number = at.bank * 100 + at.channel;
    // Nothing was read to write (the VFO's frequency never came): the
    // channel keeps what it holds.
    if (!HoldsFrequency(record.rxFrequency)) {
        KeypadClear();
        return;
    }
    // A record without a mode would be written as something the operator
    // never saw.
    if (!ChannelMode(record.rxMode)) {
        SayNotWritten(*this, QStringLiteral("No mode is known for the record to write.\nChannel %1 was not written.")
                                 .arg(QString::asprintf("%d%02d", at.bank, at.channel)));
        return;
    }
    // A frequency outside every band of the radio: it would refuse the
    // write, and the channel would not hold what the display showed.
    const bool hasTransmit = HoldsFrequency(record.txFrequency) && (s.splitAtEntry || number >= 290);
    for (const std::string* text : {&record.rxFrequency, &record.txFrequency}) {
        if ((text == &record.txFrequency && !hasTransmit) || Receivable(link, *text))
            continue;
        SayNotWritten(*this, QStringLiteral("The radio has no band for %1 MHz.\nChannel %2 was not written.")
                                 .arg(MegahertzOf(*text), QString::asprintf("%d%02d", at.bank, at.channel)));
        return;
    }
    record.transmitHalf = 0;
    if (WriteMemoryHalf(link, 0, at, record) != 1) {
        SayNotWritten(*this, QStringLiteral("The radio link refused the channel.\nChannel %1 was not written.")
                                 .arg(QString::asprintf("%d%02d", at.bank, at.channel)));
        KeypadClear();
        return;
    }
    if (!s.splitAtEntry && number < 290) {
        Pause(500);
        KeypadClear();
        return;
    }
    if (!record.txFrequency.empty() && std::strtoll(record.txFrequency.c_str(), nullptr, 10) != 0) {
        Pause(500);
        if (!ChannelMode(record.txMode) || WriteMemoryHalf(link, 1, at, record) != 1)
            SayNotWritten(*this, QStringLiteral("The transmit half of channel %1 was not written.")
                                     .arg(QString::asprintf("%d%02d", at.bank, at.channel)));
    }
    Pause(500);
    KeypadClear();
}

void ConsoleOperations::KeypadClear() {
    zephyra::ConsoleState& s = state;
    if (connection.CancelPendingMode())
        return;
    if (s.cwTune) {
        link.ConnCA("W", 0);
        return;
    }
    const int band = s.controlBand == 1 ? 1 : 0;
    const bool onMemory = (band == 0 ? s.mainVfo : s.subVfo) == 2;
    if (onMemory && !s.erasedChannel) {
        if (s.scanRunning[0] || s.scanRunning[1])
            return;
        zephyra::MemoryRecord& record = s.record[band];
        const zephyra::MemoryPosition at = s.memory[band];
        if (at.bank < 0 || at.bank > 2)
            return;
        // A record not read back yet would write an empty channel over the
        // one the radio holds: read it first, the next press toggles.
        if (!HoldsFrequency(record.rxFrequency)) {
            link.ConnMR(0, static_cast<u32>(at.bank), static_cast<u32>(at.channel));
            return;
        }
        record.lockout = record.lockout == 0 ? 1 : 0;
        record.transmitHalf = 0;
        if (WriteMemoryHalf(link, 0, at, record) != 1) {
            record.lockout = record.lockout == 0 ? 1 : 0;
            SayNotWritten(*this, QStringLiteral("The radio link refused the channel.\nThe lock-out of channel %1 "
                                                "was not changed.")
                                     .arg(QString::asprintf("%d%02d", at.bank, at.channel)));
            return;
        }
        // The transmit half only as it was read: one not read yet would be
        // written as eleven zeros, and the channel would lose it.
        if ((s.split || at.bank * 100 + at.channel >= 290) && HoldsFrequency(record.txFrequency))
            WriteMemoryHalf(link, 1, at, record);
        link.ConnMR(0, static_cast<u32>(at.bank), static_cast<u32>(at.channel));
        if (s.split)
            link.ConnIF();
        return;
    }
    if (!s.consoleReady)
        return;
    if (s.satelliteMode) {
        s.satelliteMode = 0;
        link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
        return;
    }
    s.erasedChannel = 0;
    link.ConnFR("R", 0);
    if (band == 0) {
        link.ConnFT("R", 0);
        link.ConnIF();
        link.ConnSB("R", 0);
    }
}

void ConsoleOperations::VfoMemory() {
    zephyra::ConsoleState& s = state;
    if (s.memoryScroll)
        return;
    if (s.funcMode) {
        SetFuncMode(false);
        if (s.radioIdentification == 19)
            windows.RadioMgrView();
        return;
    }
    if (s.entryMode)
        return;
    if (s.satelliteMode) {
        ToggleSatellite(6);
        return;
    }
    const int band = s.controlBand == 1 ? 1 : 0;
    const int vfo = band == 0 ? s.mainVfo : s.subVfo;
    if (vfo != 2 && vfo != 3) {
        s.record[band].transmitHalf = 0;
        link.ConnFR("W", 2);
        return;
    }
    if (band == 1) {
        const int back = vfo == 3 ? s.nonCallVfo : s.lastVfo[1];
        link.ConnFR("W", static_cast<u32>(back > 2 ? 0 : back));
        return;
    }
    int back = vfo == 3 ? s.nonCallVfo : s.lastVfo[0];
    if (back > 3)
        back = 0;
    link.ConnFR("W", static_cast<u32>(back));
    if (s.mainTransmitVfo != back && s.mainTransmitVfo >= 0 && s.mainTransmitVfo <= 1)
        link.ConnFT("W", static_cast<u32>(s.mainTransmitVfo));
    link.ConnMD("R", 0);
    Pause(200);
    link.ConnIF();
}

void ConsoleOperations::CallChannel() {
    zephyra::ConsoleState& s = state;
    if (s.zulState == 2)
        return;
    if (s.funcMode) {
        link.ConnCI();
        SetFuncMode(false);
        return;
    }
    if (s.entryMode)
        return;
    const int band = s.controlBand == 1 ? 1 : 0;
    const int vfo = band == 0 ? s.mainVfo : s.subVfo;
    if (vfo != 3) {
        link.ConnFR("W", 3);
        return;
    }
    int back = s.nonCallVfo;
    if (band == 1) {
        link.ConnFR("W", static_cast<u32>(back > 2 ? 0 : back));
        return;
    }
    if (back > 3)
        back = 0;
    link.ConnFR("W", static_cast<u32>(back));
    if (s.mainTransmitVfo != back && s.mainTransmitVfo >= 0 && s.mainTransmitVfo <= 2)
        link.ConnFT("W", static_cast<u32>(s.mainTransmitVfo));
}

void ConsoleOperations::AutoSimplexCheck() {
    const u32 band = state.controlBand == 1 ? 1 : 0;
    u32 check = 0, running = 0;
    if (!Stored([&] { return link.RcvDataAR(band, &check, &running) == 1; })) {
        link.ConnAR("R", band, 0, 0);
        return;
    }
    link.ConnAR("W", band, check == 0 ? 1 : 0, running);
    link.ConnAR("R", band, 0, 0);
}

void ConsoleOperations::ClearMemoryAsked() {
    zephyra::ConsoleState& s = state;
    if (s.satelliteMode || s.memoryScroll)
        return;
    const int band = s.controlBand == 1 ? 1 : 0;
    // Only the channel on the display is cleared: on a VFO there is none.
    if ((band == 0 ? s.mainVfo : s.subVfo) != 2)
        return;
    const zephyra::MemoryPosition asked = s.memory[band];
    const int answer = platform::MessageBox(QStringLiteral("Clear this Memory?"), QStringLiteral("Zephyra"),
                                            platform::MbOkCancel | platform::MbIconQuestion | platform::MbDefButton2,
                                            host.window);
    if (answer != platform::IdOk)
        return;
    // The question named the channel on the display; the timer below clears
    // only that one.
    m_clearBand = band;
    m_clearAsked = asked;
    timers().SetTimer(kMemoryClearTimer, 100);
    for (int i = 0; i < 5; ++i) {
        if (host.pump)
            host.pump();
        Pause(100);
    }
    timers().KillTimer(kMemoryClearTimer);
    const bool cleared = s.erasedChannel != 0;
    m_clearBand = -1;
    // CLR leaves the cleared channel; without a clear it would toggle the
    // lock-out of whatever channel the radio stands on now.
    if (cleared)
        OnControl(idc::Clear);
}

void ConsoleOperations::ClearMemoryChannel() {
    zephyra::ConsoleState& s = state;
    const int band = s.controlBand == 1 ? 1 : 0;
    // Only the channel on the display: on a VFO no channel is shown, and the
    // one the radio last reported is not the operator's to lose.
    if ((band == 0 ? s.mainVfo : s.subVfo) != 2)
        return;
    const zephyra::MemoryPosition at = s.memory[band];
    if (at.bank < 0 || at.bank > 2 || at.channel < 0 || at.channel > 99)
        return;
    // Asked from the menu: the radio may have moved since the question.
    if (m_clearBand >= 0 && (m_clearBand != band || m_clearAsked.bank != at.bank ||
                             m_clearAsked.channel != at.channel)) {
        const int asked = m_clearAsked.bank * 100 + m_clearAsked.channel;
        m_clearBand = -1;
        SayNotWritten(*this, QStringLiteral("The radio moved to another channel.\nChannel %1 was not cleared.")
                                 .arg(QString::asprintf("%03d", asked)));
        return;
    }
    // The older family's MW takes tone numbers from 1 only.
    const u32 tone = CCorvan::GetModelType() == corvan::kModelQX410 ? 1 : 0;
    if (link.ConnMW(0, static_cast<u32>(at.bank), static_cast<u32>(at.channel), "00000000000", 0, 0, 0,
                    tone, 0, 0, 0, 0, 0, 0, 0, "") != 1) {
        SayNotWritten(*this, QStringLiteral("The radio link refused the command.\nChannel %1 was not cleared.")
                                 .arg(QString::asprintf("%d%02d", at.bank, at.channel)));
        return;
    }
    s.erasedChannel = 1;
    zephyra::MemoryRecord& r = s.record[band];
    r.rxMode = r.lockout = r.toneType = r.toneNumber = r.ctcssNumber = r.dcsCode = 0;
    r.reverse = r.shift = r.offset = r.rxStep = r.group = 0;
    r.rxFrequency = "00000000000";
    r.name.clear();
    if (band == 0)
        display.ShowMainFrequency(0);
    if (band == 1 || s.split) {
        display.ShowSubFrequency(0);
        s.split = 0;
        SetText(controls, idc::Split, QString());
    }
    if (band == 1)
        for (int i = 0; i < 3; ++i)
            SetText(controls, idc::SubSep0 + i, QStringLiteral("."));
}
