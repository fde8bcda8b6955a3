// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one auto-mode frequency window per process.
#include <trevan.h>

#include "trevan_internal.h"
#include "plugin_exports.h"

namespace trevan {

namespace {
plugin_exports::OneWindow<CAutoModeWindow> g_window;
} // namespace

QPointer<CAutoModeWindow>& TheWindow() { return g_window.held(); }

} // namespace trevan

using trevan::TheWindow;

void TrevanView(QWidget* parent) {
    trevan::g_window.ViewInFront([&] { return new (std::nothrow) trevan::CAutoModeWindow(parent); });
}

void TrevanDestroy() { trevan::g_window.Destroy(); }
