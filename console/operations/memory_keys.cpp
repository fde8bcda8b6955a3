// memory_keys.cpp - the keys that leave or change a memory channel: the
// keypad's CLR (which first ends any pending mode), VFO / M, CALL, and
// clearing the shown channel (CLR held, or Memory > Clear Memory).
#include "console_operations.h"
#include "read_toggle.h"

#include "../console_controls.h"
#include "../console_ids.h"
#include "../display/console_display.h"
#include "../display/display_controls.h"

#include <ConsoleLink.h>
#include <corvan.h>

using namespace display_controls;
using namespace operations;

namespace {

void WriteHalf(CCorvan& link, u32 half, const zephyra::MemoryPosition& at, const zephyra::MemoryRecord& r) {
    const std::string& frequency = half == 0 ? r.rxFrequency : r.txFrequency;
    link.ConnMW(half, static_cast<u32>(at.bank), static_cast<u32>(at.channel),
                frequency.empty() ? "00000000000" : frequency.c_str(),
                static_cast<u32>(half == 0 ? r.rxMode : r.txMode), static_cast<u32>(r.lockout),
                static_cast<u32>(r.toneType), static_cast<u32>(r.toneNumber),
                static_cast<u32>(r.ctcssNumber), static_cast<u32>(r.dcsCode),
                static_cast<u32>(r.reverse), static_cast<u32>(r.shift), static_cast<u32>(r.offset),
                static_cast<u32>(half == 0 ? r.rxStep : r.txStep), static_cast<u32>(r.group),
                r.name.c_str());
}

} // namespace

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
        record.lockout = record.lockout == 0 ? 1 : 0;
        record.transmitHalf = 0;
        WriteHalf(link, 0, at, record);
        if (s.split || at.bank * 100 + at.channel >= 290)
            WriteHalf(link, 1, at, record);
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

void ConsoleOperations::ClearMemoryChannel() {
    zephyra::ConsoleState& s = state;
    const int band = s.controlBand == 1 ? 1 : 0;
    const zephyra::MemoryPosition at = s.memory[band];
    if (at.bank < 0 || at.bank > 2)
        return;
    s.erasedChannel = 1;
    zephyra::MemoryRecord& r = s.record[band];
    r.rxMode = r.lockout = r.toneType = r.toneNumber = r.ctcssNumber = r.dcsCode = 0;
    r.reverse = r.shift = r.offset = r.rxStep = r.group = 0;
    r.rxFrequency = "00000000000";
    r.name.clear();
    link.ConnMW(0, static_cast<u32>(at.bank), static_cast<u32>(at.channel), "00000000000", 0, 0, 0,
                0, 0, 0, 0, 0, 0, 0, 0, "");
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
