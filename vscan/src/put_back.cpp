// SPDX-License-Identifier: GPL-3.0-or-later
// What the visual scan owes the radio, and settling it.
#include "put_back.h"

#include <corvan.h>

#include <cstdio>
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
    if (owed.tuning && TuneReceiver(link, owed.tuning->selector, owed.tuning->hz)) {
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
