// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one window per process, held here while it exists.
#include <glimra.h>

#include <corvan.h>

#include "glimra_internal.h"
#include "put_back.h"
#include "vscan_window.h"

namespace glimra {

// The window of this process (null while none exists). Reached only by the
// exports and by tests, never from paint code.
QPointer<CVisualScanDlg>& TheWindow() {
    static QPointer<CVisualScanDlg> window;
    return window;
}

} // namespace glimra

using glimra::TheWindow;

namespace {

// Every call from the console may come with the radio back: what the visual
// scan owes it is given now.
void SettleWithRadio() {
    CCorvan link;
    glimra::CVisualScanDlg* window = TheWindow();
    glimra::SettleOwed(link, window != nullptr && window->isOpen());
    if (window != nullptr) {
        window->RadioMayBeBack();
    }
}

// Hands a report to the window, if one is open.
template <auto Report, typename... Args>
void ToWindow(Args... args) {
    if (glimra::CVisualScanDlg* window = TheWindow()) {
        (window->*Report)(args...);
    }
}

// The same, once what is owed to the radio is settled.
template <auto Report, typename... Args>
void SettledToWindow(Args... args) {
    SettleWithRadio();
    ToWindow<Report>(args...);
}

using glimra::CVisualScanDlg;

} // namespace

void GlimraView(QWidget* parent) {
    SettleWithRadio();
    const bool created = !TheWindow();
    if (created) {
        TheWindow() = new glimra::CVisualScanDlg(parent);
    }
    TheWindow()->View(created);
}

void GlimraDestroy() {
    if (glimra::CVisualScanDlg* window = TheWindow()) {
        TheWindow() = nullptr;
        delete window;
    }
}

void GlimraScanStop() { SettledToWindow<&CVisualScanDlg::Stop>(); }

void GlimraMsgEX(std::int32_t menu, std::int32_t item, std::int32_t a, std::int32_t b,
                 const char* text) {
    SettledToWindow<&CVisualScanDlg::MsgEX>(menu, item, a, b, text);
}

void GlimraMsgDC(std::int32_t first, std::int32_t second) {
    SettledToWindow<&CVisualScanDlg::MsgDC>(first, second);
}

void GlimraMsgFR(std::int32_t value) { SettledToWindow<&CVisualScanDlg::MsgFR>(value); }

void GlimraMsgSC(std::int32_t value) { SettledToWindow<&CVisualScanDlg::MsgSC>(value); }

void GlimraMsgTX(std::int32_t value) { ToWindow<&CVisualScanDlg::MsgTX>(value); }

void GlimraMsgRX(std::int32_t value) { SettledToWindow<&CVisualScanDlg::MsgRX>(value); }

void GlimraLinkClosing(std::int32_t writable) { ToWindow<&CVisualScanDlg::LinkClosing>(writable != 0); }
