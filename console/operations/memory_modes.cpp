// SPDX-License-Identifier: GPL-3.0-or-later
// memory_modes.cpp - the memory modes of the front panel: memory scroll
// mode (channels shown without selecting them on the radio), the quick
// memory's "M. IN" and "MR", and the programmable memories' "PM" and
// "PM IN".
#include "console_operations.h"
#include "read_toggle.h"

#include "console_controls.h"
#include "console_ids.h"
#include "console_menu.h"
#include "../display/console_display.h"
#include "../display/display_controls.h"

#include <console_link.h>
#include <corvan.h>

using namespace display_controls;
using namespace operations;

namespace {

bool ValidChannel(const zephyra::MemoryPosition& at) {
    return at.bank >= 0 && at.bank <= 2 && at.channel >= 0 && at.channel <= 99;
}

void RequestBothHalves(CCorvan& link, const zephyra::MemoryPosition& at) {
    link.ConnMR(0, static_cast<u32>(at.bank), static_cast<u32>(at.channel));
    link.ConnMR(1, static_cast<u32>(at.bank), static_cast<u32>(at.channel));
}

// A programmable-memory mode turned on: its key lit, its prompt shown and
// the keypad typing its digit.
void StartProgrammableMode(ConsoleOperations& o, int& flag, int button, const QString& prompt) {
    flag = 1;
    o.SetEntryMode(1);
    if (CCButtonEx* key = o.controls.cbutton(button))
        key->SetBackColor(ConsoleDisplay::kDisplayColour);
    SetText(o.controls, idc::SubText, prompt);
}

} // namespace

void ConsoleOperations::SetMemoryScroll(int on) {
    zephyra::ConsoleState& s = state;
    const int band = s.controlBand == 1 ? 1 : 0;
    if (on) {
        s.memoryScroll = 1;
        s.scrollFrom = s.memory[band];
        s.scrollShown = zephyra::MemoryPosition{-1, 0};
        s.scrollTransmitShown = 0;
        if (!s.satelliteMode && ValidChannel(s.memory[band]))
            RequestBothHalves(link, s.memory[band]);
        for (int i = 0; i < 3; ++i)
            SetText(controls, idc::SubChDigit0 + i, QString());
        SetText(controls, idc::SubMch, QString());
        if (!s.satelliteMode)
            SetText(controls, idc::SubMode, QString());
        SetText(controls, idc::SubText, QStringLiteral("M.SCR MODE"));
        SetEnabled(controls, idc::Ent, false);
        SetEntryMode(1);
    } else {
        s.memoryScroll = 0;
        for (int i = 0; i < 3; ++i)
            SetText(controls, idc::MainChDigit0 + i, QString());
        for (const int id : {idc::MainChSep, idc::MainLockOut, idc::MainMch, idc::SubText})
            SetText(controls, id, QString());
        SetEnabled(controls, idc::Ent, true);
        s.record[band] = zephyra::MemoryRecord{};
        // The digits typed while browsing chose a channel to show, not the
        // one the radio stands on.
        if (ValidChannel(s.scrollFrom) || s.scrollFrom.bank == 3)
            s.memory[band] = s.scrollFrom;
        SetEntryMode(0);
        if (!s.satelliteMode && s.consoleReady) {
            display.SelectRxVfo(band == 0 ? s.mainVfo : s.subVfo);
            if (s.subReceiver) {
                display.ShowSubFrequency(s.subFrequency);
                display.ShowModeLabel(1);
            }
            link.ConnIF();
        }
        if (!s.subReceiver)
            link.ConnMD("R", 0);
    }
    display.UpdateMemoryLamp();
    SetCommandEnabled(display.host, cmd::MemoryName, s.memoryScroll != 0);
}

void ConsoleOperations::QuickMemoryIn() {
    zephyra::ConsoleState& s = state;
    // The release after a long press on a program-scan channel.
    if (m_quickMemoryHeld) {
        m_quickMemoryHeld = false;
        return;
    }
    const int band = s.controlBand == 1 ? 1 : 0;
    const int vfo = band == 0 ? s.mainVfo : s.subVfo;
    if (vfo != 2) {
        if (!s.funcMode)
            link.ConnQI();
        return;
    }
    const zephyra::MemoryPosition at = s.memory[band];
    if (!zephyra::IsProgramScanChannel(s.radioIdentification, at))
        return;
    u32 slow = 0;
    if (!ReadOnce(link, &CCorvan::RcvDataSS, slow))
        link.ConnSS("R", 0);
    else
        link.ConnSS("W", slow == 0 ? 1 : 0);
}

void ConsoleOperations::QuickMemoryRead() {
    zephyra::ConsoleState& s = state;
    if (s.transmitting[0] || s.transmitting[1]) {
        // While transmitting the key picks a DTMF memory; pressed again it
        // ends the digits as CLR does (they are the pending mode).
        if (s.dtmfDigits) {
            connection.CancelPendingMode();
        } else if (!s.entryMode) {
            s.dtmfDigits = 1;
            SetEntryMode(1);
            display.ShowSubStatus();
        }
        return;
    }
    const int vfo = s.controlBand == 1 ? s.subVfo : s.mainVfo;
    if (vfo == 2)
        return;
    u32 on = 0, channel = 0;
    if (!ReadQuickMemory(link, on, channel))
        link.ConnQR("R", 0, 0);
    else
        link.ConnQR("W", on == 0 ? 1 : 0, channel);
}

void ConsoleOperations::ProgrammableMemory() {
    zephyra::ConsoleState& s = state;
    if (!s.consoleReady || s.satelliteMode || s.scanRunning[0] || s.scanRunning[1] || s.writeChannel)
        return;
    if (s.readChannel) {
        s.readChannel = 0;
        LeaveKeypadMode(static_cast<int>(zephyra::OperatorMode::ReadChannel));
        return;
    }
    if (s.entryMode || s.funcMode)
        return;
    StartProgrammableMode(*this, s.readChannel, idc::Pm, QStringLiteral("Enter Read CH"));
}

void ConsoleOperations::ProgrammableMemoryIn() {
    zephyra::ConsoleState& s = state;
    if (!s.consoleReady || s.scanRunning[0] || s.scanRunning[1])
        return;
    if (s.writeChannel) {
        s.writeChannel = 0;
        LeaveKeypadMode(static_cast<int>(zephyra::OperatorMode::WriteChannel));
        return;
    }
    if (s.satelliteMode || s.entryMode || s.funcMode || s.readChannel)
        return;
    StartProgrammableMode(*this, s.writeChannel, idc::PmIn, QStringLiteral("Enter Write CH"));
}
