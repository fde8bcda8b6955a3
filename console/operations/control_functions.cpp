// SPDX-License-Identifier: GPL-3.0-or-later
// control_functions.cpp - the front panel's functions: each reads what the
// radio last reported, works out the next value and sends it. A value that
// cannot be read sends only the read request; the next press toggles.
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

bool Empty(const ConsoleControls& controls, int id) { return TextOf(controls, id).isEmpty(); }

// A key of two modes: from one to the other, from any other mode to `otherwise`.
int OtherOfPair(u32 mode, int first, int second, int otherwise) {
    if (mode == static_cast<u32>(first))
        return second;
    if (mode == static_cast<u32>(second))
        return first;
    return otherwise;
}

} // namespace

void ConsoleOperations::Power() {
    zephyra::ConsoleState& s = state;
    u32 power = 0;
    const bool read = zephyra::ReadStored([&] { return link.RcvDataPS(&power) == 1; });
    if (s.funcMode && s.zulState == 2) {
        SetFuncMode(false);
        if (read && (power == 2 || power == 3))
            link.ConnPS("W", power == 2 ? 3 : 2);
        else if (!read)
            link.ConnPS("R", 0);
        return;
    }
    if (!read) {
        link.ConnPS("R", 0);
        return;
    }
    if (power != 0) {
        // A sweep stops and tunes back while the radio still listens: the
        // radio switched off takes no frequency.
        windows.GlimraScanStop();
        link.ConnPS("W", 0);
        Pause(200);
        link.ConnPS("R", 0);
        return;
    }
    link.ConnPS("W", 1);
    connection.ReadAllSettings();
}

void ConsoleOperations::SetLock(u32 (*next)(u32)) {
    u32 lock = 0, second = 0;
    if (!zephyra::ReadStored([&] { return link.RcvDataLK(&lock, &second) == 1; })) {
        link.ConnLK("R", 0, 0);
        return;
    }
    link.ConnLK("W", next(lock), second);
}

void ConsoleOperations::Att() {
    zephyra::ConsoleState& s = state;
    if (TakeFunc()) {
        SetLock([](u32 lock) -> u32 { return lock == 0 ? 1 : lock == 1 ? 0 : lock == 2 ? 1 : lock; });
        return;
    }
    const int label = s.satelliteMode || s.controlBand == 0 ? idc::MainAtt : idc::SubAtt;
    link.ConnRA("W", Empty(controls, label) ? 1 : 0);
}

void ConsoleOperations::Pre() {
    zephyra::ConsoleState& s = state;
    if (TakeFunc()) {
        SetLock([](u32 lock) -> u32 { return lock < 2 ? 2 : 0; });
        return;
    }
    const int label = s.satelliteMode || s.controlBand == 0 ? idc::MainPre : idc::SubPre;
    link.ConnPA("W", Empty(controls, label) ? 1 : 0);
}

void ConsoleOperations::Send() {
    const zephyra::ConsoleState& s = state;
    bool receive = false;
    if (s.satelliteMode)
        receive = s.transmitting[0] || s.transmitting[1];
    else
        receive = s.transmitting[s.transmitBand == 1 ? 1 : 0] != 0;
    // A visual-scan sweep stops and tunes back to its centre before the
    // radio keys: it transmits on the frequency the operator chose, not on
    // a sweep channel.
    if (!receive)
        windows.GlimraScanStop();
    // The transmitter's owner keys and unkeys when there is one, so the
    // sharing clients know the operator holds the transmission.
    if (host.transmit)
        host.transmit(!receive);
    else if (receive)
        link.ConnRX();
    else
        link.ConnTX();
}

bool ConsoleOperations::ReadMode(std::uint32_t& mode) {
    if (zephyra::ReadStored([&] { return link.RcvDataMD(&mode) == 1; }))
        return true;
    // Unknown: ask, and let the next press act on the answer.
    if (state.funcMode)
        SetFuncMode(false);
    link.ConnMD("R", 0);
    return false;
}

void ConsoleOperations::SendModeKey(int& last, int next) {
    last = next;
    link.ConnMD("W", static_cast<u32>(next));
}

void ConsoleOperations::LsbUsb() {
    if (state.memoryScroll)
        return;
    if (TakeFunc()) {
        ReadToggle(link, &CCorvan::RcvDataAM, &CCorvan::ConnAM);
        return;
    }
    u32 mode = 0;
    if (!ReadMode(mode))
        return;
    SendModeKey(m_lastSideband, OtherOfPair(mode, 1, 2, m_lastSideband == 2 ? 2 : 1));
}

void ConsoleOperations::CwFsk() {
    u32 mode = 0;
    if (state.memoryScroll || !ReadMode(mode))
        return;
    if (TakeFunc()) {
        const u32 reversed = mode == 3 ? 7 : mode == 7 ? 3 : mode == 6 ? 9 : mode == 9 ? 6 : 0;
        if (reversed != 0)
            link.ConnMD("W", reversed);
        return;
    }
    int next = m_lastCwFsk;
    if (mode == 3 || mode == 7) {
        m_lastCw = static_cast<int>(mode);
        next = m_lastFsk;
    } else if (mode == 6 || mode == 9) {
        m_lastFsk = static_cast<int>(mode);
        next = m_lastCw;
    }
    SendModeKey(m_lastCwFsk, next);
}

void ConsoleOperations::FmAm() {
    zephyra::ConsoleState& s = state;
    u32 mode = 0;
    if (s.memoryScroll || !ReadMode(mode))
        return;
    if (TakeFunc()) {
        if (mode == 4 || (mode == 5 && s.controlBand == 0))
            ReadToggle(link, &CCorvan::RcvDataFW, &CCorvan::ConnFW);
        return;
    }
    SendModeKey(m_lastFmAm, OtherOfPair(mode, 4, 5, m_lastFmAm));
}

void ConsoleOperations::TfSet() {
    zephyra::ConsoleState& s = state;
    if (s.entryMode)
        return;
    if (TakeFunc()) {
        ReadToggle(link, &CCorvan::RcvDataLT, &CCorvan::ConnLT);
        return;
    }
    // One press, one function: a press held long enough to switch the
    // automatic simplex check does nothing more on its release, in any mode.
    if (m_tfSetHeld) {
        m_tfSetHeld = false;
        return;
    }
    u32 mode = 0;
    const bool read = WaitFor([&] { return link.RcvDataMD(&mode) == 1; });
    const int band = s.controlBand == 1 ? 1 : 0;
    if (read && mode == 4 && s.shift[band] != 0) {
        u32 ts = 0;
        if (zephyra::ReadStored([&] { return link.RcvDataTS(&ts) == 1; }))
            link.ConnTS("W", 1);
        else
            link.ConnTS("R", 0);
        return;
    }
    ReadToggle(link, &CCorvan::RcvDataTS, &CCorvan::ConnTS);
}

void ConsoleOperations::Disp() {
    zephyra::ConsoleState& s = state;
    if (s.memoryScroll) {
        if (!s.satelliteMode) {
            windows.RadioMchView();
            windows.PandorSetMemVal(MemoryValuesOf(s.record[s.controlBand == 1 ? 1 : 0]));
        } else {
            windows.RadioSmnView();
            windows.PandorSetSmn(s.satelliteName.c_str());
        }
        s.panelOpen = 1;
        return;
    }
    if (TakeFunc()) {
        ReadToggle(link, &CCorvan::RcvDataCA, &CCorvan::ConnCA);
        return;
    }
    if (s.zulState != 2)
        RunCommand(cmd::RxFilter);
}

void ConsoleOperations::VoiceMemory(int channel) {
    if (TakeFunc()) {
        u32 recording = 0;
        if (!ReadOrAsk(link, &CCorvan::RcvDataLM, &CCorvan::ConnLM, recording))
            return;
        link.ConnLM("W", static_cast<int>(recording) == channel ? 0 : static_cast<u32>(channel));
        return;
    }
    link.ConnPB("W", static_cast<u32>(channel));
}

void ConsoleOperations::Tone() {
    zephyra::ConsoleState& s = state;
    u32 number = 0;
    if (!ReadOrAsk(link, &CCorvan::RcvDataTN, &CCorvan::ConnTN, number))
        return;
    if (s.mode[s.controlBand == 1 ? 1 : 0] != 4 || number == corvan::kToneBurstNumber)
        return;
    u32 tone = 0;
    if (!ReadOrAsk(link, &CCorvan::RcvDataTO, &CCorvan::ConnTO, tone))
        return;
    link.ConnTO("W", tone == 0 ? 1 : 0);
    if (tone == 0 && s.radioIdentification == 18)
        link.ConnCT("W", 0);
}

void ConsoleOperations::Shift() {
    u32 shift = 0;
    if (!ReadOrAsk(link, &CCorvan::RcvDataOS, &CCorvan::ConnOS, shift))
        return;
    const u32 next = shift >= 3 ? 0 : shift + 1;
    if (shift == 2)
        link.ConnOS("W", 0);
    link.ConnOS("W", next);
}

void ConsoleOperations::Agc() {
    zephyra::ConsoleState& s = state;
    if (s.radioIdentification == 18) {
        link.ConnGT("W", Empty(controls, idc::Agc) ? 0 : 4);
        return;
    }
    if (s.radioIdentification == 19 && s.consoleReady)
        windows.RadioAgcView();
}

void ConsoleOperations::MainSub() {
    zephyra::ConsoleState& s = state;
    if (s.memoryScroll || s.entryMode)
        return;
    if (s.zulState == 2) {
        link.ConnDC("W", 0, 0);
        return;
    }
    if (s.satelliteMode) {
        ToggleSatellite(2);
        return;
    }
    const u32 other = s.controlBand == 1 ? 0 : 1;
    link.ConnDC("W", other, other);
}

void ConsoleOperations::ControlBand() {
    zephyra::ConsoleState& s = state;
    if (s.satelliteMode) {
        ToggleSatellite(3);
        return;
    }
    if (s.entryMode)
        return;
    if (s.zulState == 2) {
        link.ConnDC("W", 1, 1);
        return;
    }
    link.ConnDC("W", static_cast<u32>(s.transmitBand == 1 ? 1 : 0), s.controlBand == 1 ? 0 : 1);
}

void ConsoleOperations::RitButtons(int step) {
    zephyra::ConsoleState& s = state;
    const int band = s.controlBand == 1 ? 1 : 0;
    const bool down = step < 0;
    const bool fast = step == -10 || step == 10;
    if (!s.satelliteMode && s.scanRunning[band]) {
        if (down)
            link.ConnRD("W", 1);
        else
            link.ConnRU("W", 1);
        return;
    }
    if (RitOrXit(s)) {
        const bool fine = !Empty(controls, idc::Fine);
        const u32 hertz = fast ? (fine ? 10 : 100) : (fine ? 1 : 10);
        if (down)
            link.ConnRD("W", hertz);
        else
            link.ConnRU("W", hertz);
        return;
    }
    for (int i = 0; i < (fast ? 4 : 1); ++i) {
        if (down)
            link.ConnRD("W", 0);
        else
            link.ConnRU("W", 0);
    }
}

void ConsoleOperations::NoiseReduction(int button) {
    u32 nr = 0;
    if (!ReadOrAsk(link, &CCorvan::RcvDataNR, &CCorvan::ConnNR, nr))
        return;
    SetChecked(controls, idc::Nr1, nr == 1);
    SetChecked(controls, idc::Nr2, nr == 2);
    u32 next = 0;
    if (button == 1)
        next = nr == 1 ? 0 : 1;
    else
        next = nr == 2 ? 0 : 2;
    link.ConnNR("W", next);
}

void ConsoleOperations::BeatCancel() {
    u32 bc = 0;
    if (!ReadOrAsk(link, &CCorvan::RcvDataBC, &CCorvan::ConnBC, bc))
        return;
    SetChecked(controls, idc::BeatCancel, bc != 0);
    if (bc == 0) {
        const CButtonEx* automatic = controls.button(idc::BcAuto);
        link.ConnBC("W", automatic && automatic->isChecked() ? 1 : 2);
    } else {
        link.ConnBC("W", 0);
    }
}

void ConsoleOperations::BeatCancelMode(int mode) {
    u32 bc = 0;
    if (!ReadOrAsk(link, &CCorvan::RcvDataBC, &CCorvan::ConnBC, bc))
        return;
    if (mode == 1 && bc == 2)
        link.ConnBC("W", 1);
    else if (mode == 2 && bc == 1)
        link.ConnBC("W", 2);
}

void ConsoleOperations::ToggleSatellite(int index) {
    SatelliteValues values;
    if (!ReadSatelliteOrAsk(link, values))
        return;
    values.v[static_cast<std::size_t>(index)] = values.v[static_cast<std::size_t>(index)] == 0 ? 1 : 0;
    WriteSatellite(link, values);
}

void ConsoleOperations::Satellite() {
    zephyra::ConsoleState& s = state;
    if (s.memoryScroll || s.mainVfo == 2 || !s.consoleReady)
        return;
    SatelliteValues values;
    if (!ReadSatelliteOrAsk(link, values))
        return;
    values.v[0] = values.v[0] == 0 ? 1 : 0;
    // The visual scan cannot run beside satellite mode.
    if (values.v[0] == 1)
        windows.GlimraScanStop();
    WriteSatellite(link, values);
}

void ConsoleOperations::SatelliteReverse() {
    if (!state.satelliteMode)
        return;
    SatelliteValues values;
    if (!ReadSatelliteOrAsk(link, values))
        return;
    if (values.v[4] != 1)
        return;
    values.v[5] = values.v[5] == 0 ? 1 : 0;
    WriteSatellite(link, values);
}
