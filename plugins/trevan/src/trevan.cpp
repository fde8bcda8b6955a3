// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one auto-mode frequency window per process.
#include <trevan.h>

#include "trevan_internal.h"

#include <QApplication>

#include <new>

namespace trevan {

namespace {
// Defined before the exit clean-up below, so it outlives it.
QPointer<CAutoModeWindow> g_window;
} // namespace

QPointer<CAutoModeWindow>& TheWindow() { return g_window; }

namespace {

void DestroyTheWindow() {
    CAutoModeWindow* window = TheWindow().data();
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
} // namespace trevan

using trevan::TheWindow;

void TrevanView(QWidget* parent) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    if (trevan::CAutoModeWindow* window = TheWindow().data()) {
        window->BringUp();
        return;
    }
    auto* window = new (std::nothrow) trevan::CAutoModeWindow(parent);
    if (window == nullptr) {
        return;
    }
    trevan::g_exitCleanup.Arm();
    window->Create();
    TheWindow() = window;
    window->show();
    window->raise();
    window->activateWindow();
}

void TrevanDestroy() { trevan::DestroyTheWindow(); }
