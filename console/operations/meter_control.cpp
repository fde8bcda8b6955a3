// SPDX-License-Identifier: GPL-3.0-or-later
// meter_control.cpp - METER: steps the second meter through the kinds the
// transmit band allows. SWR is offered only up to 60 MHz (bands 1 to 11),
// COMP only with the speech processor on.
#include "console_operations.h"
#include "read_toggle.h"

#include <corvan.h>

using namespace operations;

void ConsoleOperations::Meter() {
    const zephyra::ConsoleState& s = state;
    u32 processor = 0;
    const bool processorRead = ReadOnce(link, &CCorvan::RcvDataPR, processor);
    u32 kind = 0, level = 0;
    if (!zephyra::ReadStored([&] { return link.RcvDataRM(&kind, &level) == 1; })) {
        link.ConnRM("R", 0);
        return;
    }
    const std::int64_t frequency = s.transmitBand == 1 ? s.subFrequency : s.mainFrequency;
    const u32 band = link.GetRcvBand(0, frequency);
    const bool swr = band >= 1 && band <= 11;
    const bool comp = processorRead && processor != 0;
    u32 next = 3;
    switch (kind) {
    case 1: next = 3; break;
    case 2: next = swr ? 1 : 3; break;
    default: next = comp ? 2 : swr ? 1 : 3; break;
    }
    link.ConnRM("W", next);
}
