// SPDX-License-Identifier: GPL-3.0-or-later
// exports.cpp - the library's exported functions: creating, showing and
// destroying the two windows, and clean-up when the application or the
// library goes away.
#include "eqg_window.h"
#include "eqs_window.h"

#include <platform.h>
#include <tonwell.h>

#include <QApplication>
#include <QPointer>

#include <new>

namespace tonwell {

namespace {

// The two windows; null while a window does not exist.
struct Windows {
    QPointer<CEqsWindow> design;
    QPointer<CEqgWindow> samples;
};
Windows g_windows;

template <class Window>
void DestroyWindow(QPointer<Window>& slot) {
    Window* window = slot.data();
    slot = nullptr;
    if (window != nullptr) {
        window->DestroyWindow();
        delete window;
    }
}

// Windows left open when the application ends (or the library goes first)
// are destroyed here: samples window first, then the design window. Defined
// after the windows, so it is destroyed before them.
platform::ExitCleanup g_exitCleanup{{
    [] { DestroyWindow(g_windows.samples); },
    [] { DestroyWindow(g_windows.design); },
}};

template <class Window>
void ViewWindow(QPointer<Window>& slot, QWidget* parent) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    if (Window* existing = slot.data()) {
        existing->BringUp();
        return;
    }
    auto* window = new (std::nothrow) Window(parent);
    if (window == nullptr) {
        return;
    }
    window->Create();
    slot = window;
    g_exitCleanup.Arm();
    window->show();
}

} // namespace

} // namespace tonwell

void RadioEqsView(QWidget* parent) {
    tonwell::ViewWindow(tonwell::g_windows.design, parent);
}

void RadioEqsDestroy() {
    tonwell::DestroyWindow(tonwell::g_windows.design);
}

void RadioEqgView(QWidget* parent) {
    tonwell::ViewWindow(tonwell::g_windows.samples, parent);
}

void RadioEqgDestroy() {
    tonwell::DestroyWindow(tonwell::g_windows.samples);
}
