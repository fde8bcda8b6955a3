// SPDX-License-Identifier: GPL-3.0-or-later
// memory_keys.cpp - the keys that write, leave or change a memory channel:
// "M. IN" (browse to a channel, then write the VFO into it), the keypad's
// CLR (which first ends any pending mode), VFO / M, CALL, clearing the
// shown channel (CLR held, or Memory > Clear Memory) and the menu's
// lock-out (CLR's mark).
#include "console_operations.h"
#include "read_toggle.h"

#include "../accessibility/console_accessibility.h"
#include "console_controls.h"
#include "console_ids.h"
#include "../display/console_display.h"
#include "../display/display_controls.h"

#include <console_link.h>
#include <corvan.h>

#include <memory_channels.h>
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

QString Label(const zephyra::MemoryPosition& at) {
    return QString::asprintf("%d%02d", at.bank, at.channel);
}

// A band's record as a channel of the writer. A transmit frequency of 0 or
// none: the channel has no transmit half.
memory_channels::Channel ChannelOf(const zephyra::MemoryRecord& r, const zephyra::MemoryPosition& at) {
    memory_channels::Channel c;
    c.number = at.bank * 100 + at.channel;
    c.rxFrequency = std::strtoll(r.rxFrequency.c_str(), nullptr, 10);
    c.txFrequency = std::strtoll(r.txFrequency.c_str(), nullptr, 10);
    c.rxMode = r.rxMode;
    c.txMode = r.txMode;
    c.rxStep = r.rxStep;
    c.txStep = r.txStep;
    c.toneType = r.toneType;
    c.toneNumber = r.toneNumber;
    c.ctcssNumber = r.ctcssNumber;
    c.dcsCode = r.dcsCode;
    c.reverse = r.reverse;
    c.shift = r.shift;
    c.offset = r.offset;
    c.group = r.group;
    c.lockout = r.lockout;
    c.name = r.name;
    return memory_channels::Normalised(c);
}

// A recalled channel shows its transmit half only once its answer came
// (from 290 up, or in split).
memory_channels::Seen SeenOf(const zephyra::MemoryRecord& r) {
    return r.transmitHalf && HoldsFrequency(r.txFrequency) ? memory_channels::Seen::WholeChannel
                                                           : memory_channels::Seen::ReceiveHalf;
}

QString Described(const memory_channels::Channel& c) {
    return QString::fromLatin1(memory_channels::DescribeChannel(c).c_str());
}

// What the writer's answer means to the operator, when it is not Written;
// `what` names the change ("The lock-out of channel 007 was not changed.").
void SayWhyNot(ConsoleOperations& o, const memory_channels::WriteResult& result, const zephyra::MemoryPosition& at,
               const QString& what) {
    using memory_channels::WriteStatus;
    switch (result.status) {
    case WriteStatus::Written:
        return;
    case WriteStatus::Changed:
        SayNotWritten(o, QStringLiteral("Channel %1 changed in the radio since it was shown.\nIt holds now: %2\n%3")
                             .arg(Label(at), Described(result.before), what));
        return;
    case WriteStatus::NotRead:
        SayNotWritten(o, QStringLiteral("Channel %1 did not answer before the write.\n%2").arg(Label(at), what));
        return;
    case WriteStatus::Refused:
        SayNotWritten(o, QStringLiteral("The radio link refused the channel.\n%1").arg(what));
        return;
    case WriteStatus::NotConfirmed:
        SayNotWritten(o, QStringLiteral("Channel %1 was written, but the radio does not hold what was sent.\n"
                                        "Sent: %2\nIt holds: %3")
                             .arg(Label(at), Described(result.sent),
                                  result.readBack ? Described(result.after) : QStringLiteral("(no answer)")));
        return;
    case WriteStatus::LinkClosed:
        SayNotWritten(o, QStringLiteral("The link to the radio closed.\n%1").arg(what));
        return;
    }
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
    // The channel typed or stepped to is not on the display yet (both its
    // halves have not come back): the operator has not seen what would be
    // overwritten, so the press waits for nothing and writes nothing.
    if (s.scrollShown.bank != at.bank || s.scrollShown.channel != at.channel || !s.scrollTransmitShown)
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
                                 .arg(Label(at)));
        return;
    }
    // A frequency outside every band of the radio: it would refuse the
    // write, and the channel would not hold what the display showed.
    const bool hasTransmit = HoldsFrequency(record.txFrequency) && (s.splitAtEntry || number >= 290);
    for (const std::string* text : {&record.rxFrequency, &record.txFrequency}) {
        if ((text == &record.txFrequency && !hasTransmit) || Receivable(link, *text))
            continue;
        SayNotWritten(*this, QStringLiteral("The radio has no band for %1 MHz.\nChannel %2 was not written.")
                                 .arg(MegahertzOf(*text), Label(at)));
        return;
    }
    if (hasTransmit && !ChannelMode(record.txMode)) {
        SayNotWritten(*this, QStringLiteral("No mode is known for the transmit half.\nChannel %1 was not written.")
                                 .arg(Label(at)));
        return;
    }
    // The whole channel becomes the record: simplex unless split was on
    // (or a program-scan channel's range), so no old transmit half stays.
    memory_channels::Channel wanted = ChannelOf(record, at);
    if (!hasTransmit)
        wanted.txFrequency = 0;
    wanted = memory_channels::Normalised(wanted);
    record.transmitHalf = 0;
    memory_channels::WriteOptions options;
    options.betweenHalves = [this] { Pause(500); };
    const memory_channels::WriteResult result = memory_channels::WriteChange(
        link, ChannelOf(s.scrollChannel, at), memory_channels::Seen::WholeChannel, wanted, options);
    SayWhyNot(*this, result, at, QStringLiteral("Channel %1 was not written.").arg(Label(at)));
    // A write that went right is said too (a reader hears nothing else of it).
    if (result.status == memory_channels::WriteStatus::Written)
        ConsoleAccessibility::Tell(host.window, QStringLiteral("Stored in channel %1").arg(Label(at)));
    // Nothing sent: still browsing, the display shows what the radio holds
    // now (the fresh read's answers), and "M. IN" again writes over that.
    if (result.status == memory_channels::WriteStatus::Changed ||
        result.status == memory_channels::WriteStatus::NotRead)
        return;
    Pause(500);
    KeypadClear();
}

// CLR as its control runs it: not while an operation runs.
void ConsoleOperations::PressClear() {
    if (!OperationRunning())
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
        // A record not read back yet (none, or only the frequency an IF
        // report gave) is not a channel the operator has seen: read it
        // first, the next press toggles.
        if (record.type == 0 || !HoldsFrequency(record.rxFrequency)) {
            link.ConnMR(0, static_cast<u32>(at.bank), static_cast<u32>(at.channel));
            return;
        }
        // The lock-out toggled on the channel as it was shown, written over
        // a fresh read of it (both halves, the transmit half as the radio
        // holds it even when it was never read here).
        const memory_channels::Channel shown = ChannelOf(record, at);
        memory_channels::Channel wanted = shown;
        wanted.lockout = record.lockout == 0 ? 1 : 0;
        const memory_channels::Seen seen = SeenOf(record);
        record.transmitHalf = 0;
        const memory_channels::WriteResult result = memory_channels::WriteChange(link, shown, seen, wanted);
        if (result.status == memory_channels::WriteStatus::Written)
            record.lockout = wanted.lockout;
        SayWhyNot(*this, result, at,
                  QStringLiteral("The lock-out of channel %1 was not changed.").arg(Label(at)));
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
    if (TakeFunc()) {
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
    if (!zephyra::ReadStored([&] { return link.RcvDataAR(band, &check, &running) == 1; })) {
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
    m_clearShown = s.record[band];
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
        PressClear();
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
    // Only the channel as it was shown (asked from the menu: as it stood
    // when the question was asked; the display may have followed the radio
    // since): a fresh read first, and nothing cleared when the radio holds
    // something else there now.
    const zephyra::MemoryRecord& shownRecord = m_clearBand >= 0 ? m_clearShown : s.record[band];
    if (shownRecord.type == 0) {
        // Its record has not come back from an MR (at most an IF report's
        // frequency is in it): the operator has not seen the channel.
        link.ConnMR(0, static_cast<u32>(at.bank), static_cast<u32>(at.channel));
        SayNotWritten(*this, QStringLiteral("Channel %1 has not been read yet.\nIt was not cleared.").arg(Label(at)));
        return;
    }
    memory_channels::Channel cleared;
    cleared.number = at.bank * 100 + at.channel;
    cleared.rxFrequency = 0;
    const memory_channels::WriteResult result = memory_channels::WriteChange(
        link, ChannelOf(shownRecord, at), SeenOf(shownRecord), cleared);
    if (result.status != memory_channels::WriteStatus::Written) {
        SayWhyNot(*this, result, at, QStringLiteral("Channel %1 was not cleared.").arg(Label(at)));
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

// Outside memory scroll mode CLR toggles the lock-out of the channel the
// band stands on and writes it; while browsing, the mark goes with the
// record the next "M. IN" writes.
void ConsoleOperations::LockOutCommand() {
    zephyra::ConsoleState& s = state;
    if (!s.consoleReady)
        return;
    if (!s.memoryScroll) {
        KeypadClear();
        return;
    }
    if (s.satelliteMode)
        return;
    zephyra::MemoryRecord& record = s.record[s.controlBand == 1 ? 1 : 0];
    record.lockout = record.lockout == 0 ? 1 : 0;
    SetText(controls, idc::MainLockOut, record.lockout == 1 ? QStringLiteral("L .OUT") : QString());
}
