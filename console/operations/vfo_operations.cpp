// SPDX-License-Identifier: GPL-3.0-or-later
// vfo_operations.cpp - the VFO keys: A = B, A / B, SPLIT, TUNE, BAND and
// MULTI (the click encoder, which steps channels in memory scroll mode).
#include "console_operations.h"

#include "console_controls.h"
#include "console_ids.h"
#include "../display/console_display.h"
#include "../display/display_controls.h"

#include <console_link.h>
#include <corvan.h>

#include <cstdio>
#include <cstdlib>

using namespace display_controls;

namespace {

using u32 = std::uint32_t;

bool ReadVfo(CCorvan& link, std::int32_t (CCorvan::*read)(u32*), int& vfo) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        u32 v = 0;
        if ((link.*read)(&v) == 1) {
            vfo = static_cast<int>(v);
            return true;
        }
    }
    return false;
}

bool ReadFrequency(CCorvan& link, int vfo, std::int64_t& hz) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        char text[corvan::kFrequencyTextSize] = {};
        const int ok = vfo == 0 ? link.RcvDataFA(text) : link.RcvDataFB(text);
        if (ok == 1) {
            hz = std::strtoll(text, nullptr, 10);
            return true;
        }
    }
    return false;
}

bool IsAB(int vfo) { return vfo == 0 || vfo == 1; }

} // namespace

void ConsoleOperations::AEqualsB() {
    zephyra::ConsoleState& s = state;
    if (s.zulState == 2 || s.scanRunning[0] || s.memoryScroll || s.entryMode || s.controlBand == 1 ||
        s.satelliteMode)
        return;
    int rx = -1, tx = -1;
    if (!ReadVfo(link, &CCorvan::RcvDataFR, rx) || !ReadVfo(link, &CCorvan::RcvDataFT, tx) ||
        !IsAB(rx) || !IsAB(tx))
        return;
    std::int64_t hz = 0;
    if (!ReadFrequency(link, rx, hz) || hz < 0 || hz > 99'999'999'999)
        return;
    u32 mode = 0;
    const bool modeRead = zephyra::ReadStored([&] { return link.RcvDataMD(&mode) == 1; });
    const int other = rx == 0 ? 1 : 0;
    const bool split = rx != tx;
    auto vfoIs = [this](std::int32_t (CCorvan::*read)(u32*), int expected) {
        return [this, read, expected] {
            u32 v = 0;
            return (link.*read)(&v) == 1 && static_cast<int>(v) == expected;
        };
    };

    const zephyra::OperationGuard guard(connection);
    link.ConnFR("W", static_cast<u32>(other));
    WaitFor(vfoIs(&CCorvan::RcvDataFR, other));
    if (split) {
        link.ConnFT("W", static_cast<u32>(rx));
        WaitFor(vfoIs(&CCorvan::RcvDataFT, rx));
    }
    Pause(100);
    if (host.pump)
        host.pump();
    char text[16];
    std::snprintf(text, sizeof text, "%011lld", static_cast<long long>(hz));
    if (rx == 0)
        link.ConnFB("W", text);
    else
        link.ConnFA("W", text);
    Pause(100);
    const bool copied = WaitFor([&] {
        std::int64_t now = -1;
        char shown[corvan::kFrequencyTextSize] = {};
        if ((other == 0 ? link.RcvDataFA(shown) : link.RcvDataFB(shown)) == 1)
            now = std::strtoll(shown, nullptr, 10);
        return now == hz;
    });
    if (copied && modeRead && mode != 0) {
        link.ConnMD("W", mode);
        WaitFor([&] {
            u32 now = 0;
            return link.RcvDataMD(&now) == 1 && now == mode;
        });
    }
    link.ConnFR("W", static_cast<u32>(rx));
    WaitFor(vfoIs(&CCorvan::RcvDataFR, rx));
    if (split) {
        link.ConnFT("W", static_cast<u32>(tx));
        WaitFor(vfoIs(&CCorvan::RcvDataFT, tx));
    }
}

void ConsoleOperations::ASlashB() {
    const zephyra::ConsoleState& s = state;
    if (s.memoryScroll || s.entryMode || s.satelliteMode || s.controlBand == 1)
        return;
    int rx = -1, tx = -1;
    if (!ReadVfo(link, &CCorvan::RcvDataFR, rx) || !ReadVfo(link, &CCorvan::RcvDataFT, tx) ||
        !IsAB(rx) || !IsAB(tx))
        return;
    if (rx == tx) {
        link.ConnFR("W", rx == 0 ? 1u : 0u);
        return;
    }
    // Split: receive and transmit trade places.
    link.ConnFR("W", static_cast<u32>(tx));
    link.ConnFT("W", static_cast<u32>(rx));
}

void ConsoleOperations::Split() {
    const zephyra::ConsoleState& s = state;
    if (s.memoryScroll || s.entryMode || s.controlBand == 1)
        return;
    int rx = -1, tx = -1;
    if (!ReadVfo(link, &CCorvan::RcvDataFR, rx) || !ReadVfo(link, &CCorvan::RcvDataFT, tx))
        return;
    const bool option = s.memoryTransmitOption != 0;
    int next = -1;
    if (rx == tx) {
        if (rx == 0)
            next = 1;
        else if (rx == 1 || rx == 2)
            next = 0;
    } else if (rx == 0) {
        next = option && tx != 2 ? 2 : 0;
    } else if (rx == 1) {
        if (tx == 0)
            next = option ? 2 : 1;
        else if (tx == 2)
            next = 1;
        else
            next = 0;
    } else if (rx == 2 && option) {
        next = tx == 0 ? 1 : tx == 1 ? 2 : 0;
    }
    if (next < 0)
        return;
    link.ConnFT("W", static_cast<u32>(next));
    if (option && next >= 2) {
        // The radio refuses a memory transmit it cannot use: back to simplex.
        Pause(200);
        int now = -1;
        if (ReadVfo(link, &CCorvan::RcvDataFT, now) && now != 2)
            link.ConnFT("W", static_cast<u32>(rx));
    }
}

void ConsoleOperations::TuneUp() {
    if (state.entryMode || state.memoryScroll)
        return;
    link.ConnUP(state.radioIdentification == 18 ? 0 : 1);
}

void ConsoleOperations::TuneDown() {
    if (state.entryMode || state.memoryScroll)
        return;
    link.ConnDN(state.radioIdentification == 18 ? 0 : 1);
}

void ConsoleOperations::BandUp() {
    if (state.entryMode || state.memoryScroll || state.radioIdentification != 19)
        return;
    link.ConnBU();
}

void ConsoleOperations::BandDown() {
    if (state.entryMode || state.memoryScroll || state.radioIdentification != 19)
        return;
    link.ConnBD();
}

void ConsoleOperations::MultiStep(int direction) {
    zephyra::ConsoleState& s = state;
    if (!s.memoryScroll) {
        if (!s.entryMode)
            link.ConnCH(direction > 0 ? 0 : 1);
        return;
    }
    if (s.satelliteMode) {
        // The satellite channel in the units field, 0 to 9 around.
        const QString shown = TextOf(controls, idc::MainChDigit0 + 2);
        int digit = shown.size() == 1 && shown[0].isDigit() ? shown[0].digitValue() : 0;
        digit = (digit + (direction > 0 ? 1 : 9)) % 10;
        SetText(controls, idc::MainChDigit0 + 2, QString::number(digit));
        return;
    }
    const int band = s.controlBand == 1 ? 1 : 0;
    zephyra::MemoryPosition at = s.memory[band];
    if (at.bank < 0 || at.bank > 2)
        at = {0, 0};
    const int lastBank = s.radioIdentification == 19 ? 2 : 0;
    if (direction > 0) {
        if (++at.channel > 99) {
            at.channel = 0;
            at.bank = at.bank >= lastBank ? 0 : at.bank + 1;
        }
    } else if (--at.channel < 0) {
        at.channel = 99;
        at.bank = at.bank <= 0 ? lastBank : at.bank - 1;
    }
    s.memory[band] = at;
    link.ConnMR(0, static_cast<u32>(at.bank), static_cast<u32>(at.channel));
    link.ConnMR(1, static_cast<u32>(at.bank), static_cast<u32>(at.channel));
}
