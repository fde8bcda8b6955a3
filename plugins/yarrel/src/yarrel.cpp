// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one packet-cluster window per process and the spots the
// library keeps while none exists.
#include <yarrel.h>

#include "yarrel_internal.h"
#include "plugin_exports.h"

namespace yarrel {

namespace {
SpotList g_spots;
plugin_exports::OneWindow<CClusterWindow> g_window;
} // namespace

QPointer<CClusterWindow>& TheWindow() { return g_window.held(); }
SpotList& Spots() { return g_spots; }

} // namespace yarrel

using yarrel::TheWindow;

void YarrelView(QWidget* parent, std::uint32_t cm) {
    if (!plugin_exports::WidgetsRunning()) {
        return;
    }
    if (yarrel::CClusterWindow* window = TheWindow().data()) {
        window->MsgCM(cm);
        if (cm != 0) {
            window->BringUp();
        }
        return;
    }
    yarrel::CClusterWindow* window = yarrel::g_window.Open([&] {
        return new (std::nothrow) yarrel::CClusterWindow(yarrel::Spots(), parent);
    });
    if (window == nullptr) {
        return;
    }
    window->MsgCM(cm);
    if (cm != 0) {
        plugin_exports::ShowInFront(window);
    }
}

void YarrelDestroy() { yarrel::g_window.Destroy(); }

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
