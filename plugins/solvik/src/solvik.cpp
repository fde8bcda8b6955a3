// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one window per process; terminal text kept while none exists.
#include <solvik.h>

#include "solvik_internal.h"
#include "plugin_exports.h"
#include "terminal_text.h"

#include <corvan.h>

#include <cstring>

namespace solvik {

namespace {

struct Module {
    std::string kept;
    bool pendingCr = false;
    int terminal = 1;
};

// Defined before the window, so it is destroyed after it.
Module g_module;
plugin_exports::OneWindow<CTerminalWindow> g_window;

} // namespace

CTerminalWindow* TheWindow() { return g_window.get(); }
const std::string& KeptText() { return g_module.kept; }
int TerminalMode() { return g_module.terminal; }
void ForgetState() {
    g_module.kept.clear();
    g_module.pendingCr = false;
    g_module.terminal = 1;
}

} // namespace solvik

void SolvikView(QWidget* parent, std::uint32_t) {
    if (!plugin_exports::WidgetsRunning())
        return;
    solvik::Module& module = solvik::g_module;
    if (solvik::CTerminalWindow* window = solvik::g_window.get()) {
        window->View();
        return;
    }
    solvik::CTerminalWindow* window = solvik::g_window.Open([&] {
        return new (std::nothrow) solvik::CTerminalWindow(parent, module.kept, module.terminal);
    });
    if (window == nullptr)
        return;
    // The window took its own copy of the kept text.
    module.kept.clear();
    window->View();
}

void SolvikDestroy() { solvik::g_window.Destroy(); }

void SolvikMsgTC(std::uint32_t terminal) {
    solvik::g_module.terminal = terminal == 0 ? 0 : 1;
    if (solvik::CTerminalWindow* window = solvik::g_window.get())
        window->OnMode(solvik::g_module.terminal);
}

void SolvikRXData(const char* text) {
    if (text == nullptr)
        return;
    solvik::Module& module = solvik::g_module;
    const std::string cleaned =
        solvik::CleanReceived(std::string_view(text, strnlen(text, corvan::kDirectTextSize)), module.pendingCr);
    if (solvik::CTerminalWindow* window = solvik::g_window.get())
        window->OnText(cleaned);
    else
        solvik::AppendBounded(module.kept, cleaned, solvik::kKeptLimit);
}
