// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one keyer window per process and the radio state the library
// keeps while none exists.
#include <pimbel.h>

#include "pimbel_internal.h"

#include <QApplication>

#include <new>

namespace pimbel {

namespace {
// Defined before the exit clean-up below, so they outlive it.
QPointer<CKeyerWindow> g_window;
RadioState g_radio;
} // namespace

QPointer<CKeyerWindow>& TheWindow() { return g_window; }
RadioState& LastRadioState() { return g_radio; }

namespace {

void DestroyTheWindow() {
    CKeyerWindow* window = TheWindow().data();
    TheWindow() = nullptr;
    if (window != nullptr) {
        window->DestroyWindow();
        delete window;
    }
}

// Whatever is left open is destroyed (position saved) when the application
// ends, or when the library goes while the application lives.
platform::ExitCleanup g_exitCleanup{{&DestroyTheWindow}};

} // namespace
} // namespace pimbel

using pimbel::TheWindow;

void PimbelView(QWidget* parent) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    if (pimbel::CKeyerWindow* window = TheWindow().data()) {
        window->BringUp();
        return;
    }
    auto* window = new (std::nothrow) pimbel::CKeyerWindow(pimbel::LastRadioState(), parent);
    if (window == nullptr) {
        return;
    }
    pimbel::g_exitCleanup.Arm();
    window->Create();
    TheWindow() = window;
    window->show();
    window->raise();
    window->activateWindow();
}

void PimbelDestroy() { pimbel::DestroyTheWindow(); }

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
