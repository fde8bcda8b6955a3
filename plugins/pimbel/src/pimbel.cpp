// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one keyer window per process and the radio state the library
// keeps while none exists.
#include <pimbel.h>

#include "pimbel_internal.h"
#include "plugin_exports.h"

namespace pimbel {

namespace {
RadioState g_radio;
plugin_exports::OneWindow<CKeyerWindow> g_window;
} // namespace

QPointer<CKeyerWindow>& TheWindow() { return g_window.held(); }
RadioState& LastRadioState() { return g_radio; }

} // namespace pimbel

using pimbel::TheWindow;

void PimbelView(QWidget* parent) {
    pimbel::g_window.ViewInFront([&] {
        return new (std::nothrow) pimbel::CKeyerWindow(pimbel::LastRadioState(), parent);
    });
}

void PimbelDestroy() { pimbel::g_window.Destroy(); }

// With a window the window keeps the record; without one it is kept here.
void PimbelMsgKY(std::uint32_t value) {
    if (TheWindow()) {
        TheWindow()->MsgKY(value);
        return;
    }
    pimbel::LastRadioState().buffer = value == 0 ? 0 : 1;
}

void PimbelMsgPS(std::uint32_t value) {
    if (TheWindow()) {
        TheWindow()->MsgPS(value);
        return;
    }
    pimbel::RadioState& state = pimbel::LastRadioState();
    state.power = static_cast<int>(value);
    if (value == 0) {
        state.buffer = -1;
    }
}
