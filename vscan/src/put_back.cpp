// SPDX-License-Identifier: GPL-3.0-or-later
// What the visual scan owes the radio, and settling it.
#include "put_back.h"

#include <corvan.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace glimra {

OwedToRadio& Owed() {
    static OwedToRadio owed;
    return owed;
}

bool TuneReceiver(CCorvan& link, std::uint32_t selector, std::int64_t hz) {
    if (hz <= 0) {
        return true; // no centre known: nothing to tune back to
    }
    char text[24];
    std::snprintf(text, sizeof text, "%011lld", static_cast<long long>(hz));
    switch (selector) {
    case 1:
        return link.ConnFB("W", text) == 1;
    case 2:
        return link.ConnFC("W", text) == 1;
    default:
        return link.ConnFA("W", text) == 1;
    }
}

bool OwedToRadio::Tuning::LeftByWindow(std::int64_t at) const {
    if (at == hz) {
        return false; // already on the centre: nothing to put back
    }
    if (step <= 0 || span <= 0 || at < low) {
        return false;
    }
    const std::int64_t offset = at - low;
    return offset % step == 0 && offset / step < span;
}

namespace {

bool AskFrequency(CCorvan& link, std::uint32_t selector) {
    switch (selector) {
    case 1:
        return link.ConnFB("R", "") == 1;
    case 2:
        return link.ConnFC("R", "") == 1;
    default:
        return link.ConnFA("R", "") == 1;
    }
}

// The receiver's frequency as last answered, when one is stored.
bool StoredFrequency(CCorvan& link, std::uint32_t selector, std::int64_t& hz) {
    char text[corvan::kFrequencyTextSize] = {};
    std::int32_t ok = 0;
    switch (selector) {
    case 1:
        ok = link.RcvDataFB(text);
        break;
    case 2:
        ok = link.RcvDataFC(text);
        break;
    default:
        ok = link.RcvDataFA(text);
        break;
    }
    if (ok != 1 || text[0] == '\0') {
        return false;
    }
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text) {
        return false;
    }
    hz = value;
    return true;
}

// The owed tune-back, step by step: ask where the receiver stands (the
// stored value may be from before the radio went away), then tune back only
// from a channel the window left it on. True when nothing more is owed.
bool SettleTuning(CCorvan& link, OwedToRadio::Tuning& tuning) {
    if (!tuning.asked) {
        tuning.asked = AskFrequency(link, tuning.selector);
        return false;
    }
    std::int64_t at = 0;
    if (!StoredFrequency(link, tuning.selector, at)) {
        return false; // no answer yet
    }
    if (!tuning.LeftByWindow(at)) {
        return true;
    }
    return TuneReceiver(link, tuning.selector, tuning.hz);
}

} // namespace

bool RadioTakesPutBack(CCorvan& link) {
    if (!CCorvan::IsOpen() || CCorvan::IsDirectMode()) {
        return false;
    }
    std::uint32_t power = 0;
    return link.RcvDataPS(&power) == 1 && power != 0;
}

void SettleOwed(CCorvan& link, bool windowHoldsMenu015) {
    OwedToRadio& owed = Owed();
    if (owed.empty() || !RadioTakesPutBack(link)) {
        return;
    }
    if (owed.tuning && SettleTuning(link, *owed.tuning)) {
        owed.tuning.reset();
    }
    if (owed.receiveVfo && link.ConnFR("W", *owed.receiveVfo) == 1) {
        owed.receiveVfo.reset();
    }
    if (owed.subStep && link.ConnST("W", *owed.subStep) == 1) {
        owed.subStep.reset();
    }
    if (owed.menu015) {
        if (windowHoldsMenu015) {
            owed.menu015.reset();
        } else if (link.ConnEX("W", 15, 0, 0, 0, std::to_string(*owed.menu015).c_str()) == 1) {
            owed.menu015.reset();
        }
    }
}

} // namespace glimra
