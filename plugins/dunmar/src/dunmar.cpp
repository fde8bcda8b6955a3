// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one window per process, and the values the console forwards,
// kept so that a window opened later starts from them.
#include <dunmar.h>

#include "dunmar_internal.h"
#include "plugin_exports.h"

#include <cstring>

namespace dunmar {

namespace {

struct Module {
    Reported reported;
};

// Defined before the window, so it is destroyed after it.
Module g_module;
plugin_exports::OneWindow<CFilterWindow> g_window;

// Every message keeps the value and shows it when the window exists.
template <typename Change>
void Report(Change change) {
    change(g_module.reported);
    if (CFilterWindow* window = g_window.get())
        window->Apply(g_module.reported);
}

using plugin_exports::Signed;

} // namespace

CFilterWindow* TheWindow() { return g_window.get(); }
const Reported& LastReported() { return g_module.reported; }
void ForgetReported() { g_module.reported = Reported{}; }

} // namespace dunmar

using dunmar::Report;
using dunmar::Reported;

void DunmarView(QWidget* parent, std::uint32_t filter) {
    if (!plugin_exports::WidgetsRunning())
        return;
    dunmar::g_module.reported.preset = dunmar::Signed(filter);
    if (dunmar::CFilterWindow* window = dunmar::g_window.get()) {
        window->Apply(dunmar::g_module.reported);
        window->View();
        return;
    }
    dunmar::CFilterWindow* window = dunmar::g_window.Open([&] {
        return new (std::nothrow) dunmar::CFilterWindow(parent, dunmar::g_module.reported);
    });
    if (window != nullptr)
        window->View();
}

void DunmarDestroy() { dunmar::g_window.Destroy(); }

void DunmarMsgDC(std::uint32_t transmitBand, std::uint32_t controlBand) {
    Report([&](Reported& r) {
        r.transmitBand = dunmar::Signed(transmitBand);
        r.controlBand = dunmar::Signed(controlBand);
    });
}

void DunmarMsgFW(std::uint32_t width) {
    Report([&](Reported& r) { r.width = dunmar::Signed(width); });
}

void DunmarMsgIS(const char* sign, std::uint32_t shift) {
    Report([&](Reported& r) {
        const int value = dunmar::Signed(shift);
        r.shift = sign != nullptr && sign[0] == '-' && value > 0 ? -value : value;
    });
}

void DunmarMsgMD(std::uint32_t mode) {
    Report([&](Reported& r) { r.mode = dunmar::Signed(mode); });
}

void DunmarMsgSH(std::uint32_t highCut) {
    Report([&](Reported& r) { r.highCut = dunmar::Signed(highCut); });
}

void DunmarMsgSL(std::uint32_t lowCut) {
    Report([&](Reported& r) { r.lowCut = dunmar::Signed(lowCut); });
}

void DunmarMsgPFil(std::uint32_t filter) {
    Report([&](Reported& r) { r.preset = dunmar::Signed(filter); });
}
