// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one packet-cluster window per process and the spots the
// library keeps while none exists.
#include <yarrel.h>

#include "yarrel_internal.h"

#include <QApplication>

#include <new>

namespace yarrel {

namespace {
// Defined before the exit clean-up below, so they outlive it.
QPointer<CClusterWindow> g_window;
SpotList g_spots;
} // namespace

QPointer<CClusterWindow>& TheWindow() { return g_window; }
SpotList& Spots() { return g_spots; }

namespace {

void DestroyTheWindow() {
    CClusterWindow* window = TheWindow().data();
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
} // namespace yarrel

using yarrel::TheWindow;

void YarrelView(QWidget* parent, std::uint32_t cm) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    if (yarrel::CClusterWindow* window = TheWindow().data()) {
        window->MsgCM(cm);
        if (cm != 0) {
            window->BringUp();
        }
        return;
    }
    auto* window = new (std::nothrow) yarrel::CClusterWindow(yarrel::Spots(), parent);
    if (window == nullptr) {
        return;
    }
    yarrel::g_exitCleanup.Arm();
    window->Create();
    window->MsgCM(cm);
    TheWindow() = window;
    if (cm != 0) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

void YarrelDestroy() { yarrel::DestroyTheWindow(); }

void YarrelMsgPK(std::int64_t frequency, const char* call, const char* comment, const char* time) {
    yarrel::Spot spot;
    spot.hz = frequency;
    spot.call = yarrel::CleanText(call, 19);
    spot.comment = yarrel::CleanText(comment, 39);
    spot.time = yarrel::CleanText(time, 11);
    yarrel::Spots().Add(std::move(spot));
    if (TheWindow()) {
        TheWindow()->Refresh();
    }
}
