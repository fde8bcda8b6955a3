// SPDX-License-Identifier: GPL-3.0-or-later
// put_back.h - what the visual scan gives back to the radio, kept until the
// radio can take it.
//
// A sweep stopped or a window closed puts the radio back as it was: the
// swept receiver on its centre, the receive VFO and the sub band's step it
// switched, menu 015 it cleared. When such a command cannot be written (the
// link closed under the window, or its device has gone), it is owed: kept
// here, beyond the window's life, and written once the link is open again
// with the radio switched on. Only the last owed value of each kind counts.
//
// Threading: UI thread only.
#pragma once

#include <cstdint>
#include <optional>

class CCorvan;

namespace glimra {

struct OwedToRadio {
    struct Tuning {
        std::uint32_t selector = 0; // 0 FA, 1 FB, 2 FC
        std::int64_t hz = 0;
        // The channels the window tunes (sweep and slider): low + k x step,
        // k = 0 .. span - 1. The radio found on one of them is where the
        // window left it; found anywhere else, its operator has tuned it
        // meanwhile, and the tune-back is no longer owed.
        std::int64_t low = 0;
        std::int64_t step = 0;
        std::int32_t span = 0;
        // The receiver's frequency has been asked since the radio came back:
        // only an answer after that tells where the radio stands now.
        bool asked = false;

        bool LeftByWindow(std::int64_t at) const;
    };
    std::optional<Tuning> tuning;              // the centre of a sweep
    std::optional<std::uint32_t> receiveVfo;   // FR before the sweep
    std::optional<std::uint32_t> subStep;      // the sub band's own ST
    std::optional<std::uint32_t> menu015;      // the operator's menu 015

    bool empty() const { return !tuning && !receiveVfo && !subStep && !menu015; }
};

// The one record of the process.
OwedToRadio& Owed();

// Tunes the receiver of `selector` (FA, FB or FC "W"); false when the link
// did not take the command.
bool TuneReceiver(CCorvan& link, std::uint32_t selector, std::int64_t hz);

// True while the link is open in command mode and the radio is known to be
// switched on: what is owed can be written now.
bool RadioTakesPutBack(CCorvan& link);

// Writes what is owed, when the radio takes it; what the link refuses stays
// owed. An owed tune-back first asks where the receiver stands and is
// written, at a later call, only when the answer is a channel the window
// left it on. With `windowHoldsMenu015` (a window open now keeps menu 015 cleared)
// an owed menu 015 is not written: the open window owns it.
void SettleOwed(CCorvan& link, bool windowHoldsMenu015);

} // namespace glimra
