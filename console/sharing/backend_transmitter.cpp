// SPDX-License-Identifier: GPL-3.0-or-later
// backend_transmitter.cpp - the transmitter on the sharing backend's side:
// keying and releasing it (PTT) and whether it is on the air.
//
// This is the backend's one home of the transmitter. Who may key and release
// it among the clients and the console is decided by the sharing library's
// Transmitter (its one owner), which keys through SetPtt here. Every change
// that would move a transmission on the air (another receive VFO, split, a
// memory channel, the other VFO's mode, A = B in split, A / B) is refused
// while Transmitting() says the radio is on the air.
#include "backend_support.h"

#include <corvan.h>

namespace zephyra {

using zshare::Result;
using namespace backend;

bool ConsoleBackend::Transmitting() {
    SettlePtt();
    if (const auto f = StoredIf(); f && f->transmitting)
        return true;
    return m_state.transmitting[0] != 0;
}

// ---------------------------------------------------------------- PTT

Result ConsoleBackend::GetPtt(bool& on) {
    on = false;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (auto f = ReadIf()) {
        on = f->transmitting != 0;
        return Result::Ok;
    }
    on = m_state.transmitting[0] != 0;
    return Result::Ok;
}

void ConsoleBackend::SettlePtt() {
    if (m_pttAwaitingIf < 0)
        return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(AnswerWaitMs());
    while (std::chrono::steady_clock::now() < until) {
        const auto f = StoredIf();
        if (f && f->transmitting == m_pttAwaitingIf)
            break;
        Sleep1();
    }
    m_pttAwaitingIf = -1;
}

Result ConsoleBackend::SetPtt(bool on) {
    // Releasing is always tried, also on a radio that is not ready.
    if (const Result r = Check(on); r != Result::Ok)
        return r;
    CCorvan* link = Link();
    // The IF report that follows the last change made here goes through
    // before the next change: PTT switched back to back cannot run ahead of
    // what the line carries (a TX or RX report still queued for an earlier
    // change would confirm the next one).
    SettlePtt();
    // The radio answers TX and RX with their own report (cleared by the
    // builder before it writes), well before the IF that follows.
    const Result r = SetAndConfirm([&] { return (on ? link->ConnTX() : link->ConnRX()) == 1; },
                         [this, link, on]() -> std::optional<long long> {
                             u32 x = 0;
                             if ((on ? link->RcvDataTX(&x) : link->RcvDataRX(&x)) == 1)
                                 return on ? 1 : 0;
                             if (auto f = StoredIf())
                                 return f->transmitting;
                             return std::nullopt;
                         },
                         on ? 1 : 0, [link] { link->ConnIF(); });
    if (r == Result::Ok)
        m_pttAwaitingIf = on ? 1 : 0;
    return r;
}

} // namespace zephyra
