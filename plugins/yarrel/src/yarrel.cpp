// The exports: one packet-cluster window per process and the spots the
// library keeps while none exists.
#include <yarrel.h>

#include "yarrel_internal.h"

#include <QApplication>

#include <new>

namespace yarrel {

QPointer<CClusterWindow>& TheWindow() {
    static QPointer<CClusterWindow> window;
    return window;
}

SpotList& Spots() {
    static SpotList spots;
    return spots;
}

namespace {

void DestroyTheWindow() {
    CClusterWindow* window = TheWindow().data();
    TheWindow() = nullptr;
    if (window != nullptr) {
        window->DestroyWindow();
        delete window;
    }
}

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
