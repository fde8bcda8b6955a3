// exports.cpp - the library's exported functions: creating, showing and
// destroying the two windows, and clean-up when the application or the
// library goes away.
#include "eqg_window.h"
#include "eqs_window.h"

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

void UnloadAtApplicationExit();
bool g_postRoutineAdded = false;

// Widgets may only be deleted while the QApplication lives; its destructor
// runs the post routines before it tears any widget down.
void EnsureUnloadAtApplicationExit() {
    if (!g_postRoutineAdded) {
        qAddPostRoutine(&UnloadAtApplicationExit);
        g_postRoutineAdded = true;
    }
}

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
    EnsureUnloadAtApplicationExit();
    window->show();
}

template <class Window>
void DestroyWindow(QPointer<Window>& slot) {
    Window* window = slot.data();
    slot = nullptr;
    if (window != nullptr) {
        window->DestroyWindow();
        delete window;
    }
}

// Samples window first, then the design window.
void Unload() {
    DestroyWindow(g_windows.samples);
    DestroyWindow(g_windows.design);
}

void UnloadAtApplicationExit() {
    g_postRoutineAdded = false;
    Unload();
}

struct UnloadGuard {
    UnloadGuard() = default;
    UnloadGuard(const UnloadGuard&) = delete;
    UnloadGuard& operator=(const UnloadGuard&) = delete;
    ~UnloadGuard() {
        if (g_postRoutineAdded) {
            qRemovePostRoutine(&UnloadAtApplicationExit);
            g_postRoutineAdded = false;
        }
        if (QCoreApplication::instance() != nullptr) {
            Unload();
        }
    }
};
UnloadGuard g_unloadGuard;

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
