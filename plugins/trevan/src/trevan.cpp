// The exports: one auto-mode frequency window per process.
#include <trevan.h>

#include "trevan_internal.h"

#include <QApplication>

#include <new>

namespace trevan {

QPointer<CAutoModeWindow>& TheWindow() {
    static QPointer<CAutoModeWindow> window;
    return window;
}

namespace {

void DestroyTheWindow() {
    CAutoModeWindow* window = TheWindow().data();
    TheWindow() = nullptr;
    if (window != nullptr) {
        window->DestroyWindow();
        delete window;
    }
}

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
