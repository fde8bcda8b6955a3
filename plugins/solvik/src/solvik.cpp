// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one window per process; terminal text kept while none exists.
#include <solvik.h>

#include "solvik_internal.h"
#include "terminal_text.h"

#include <corvan.h>

#include <QApplication>
#include <QPointer>

#include <cstring>
#include <new>

namespace solvik {

namespace {

struct Module {
    QPointer<CTerminalWindow> window;
    std::string kept;
    bool pendingCr = false;
    int terminal = 1;
};

// Defined before the exit clean-up, so it is destroyed after it.
Module g_module;

void DestroyWindow() {
    CTerminalWindow* window = g_module.window.data();
    g_module.window = nullptr;
    if (window == nullptr)
        return;
    window->DestroyWindow();
    delete window;
}

platform::ExitCleanup g_exitCleanup{{&DestroyWindow}};

} // namespace

CTerminalWindow* TheWindow() { return g_module.window.data(); }
const std::string& KeptText() { return g_module.kept; }
int TerminalMode() { return g_module.terminal; }
void ForgetState() {
    g_module.kept.clear();
    g_module.pendingCr = false;
    g_module.terminal = 1;
}

} // namespace solvik

void SolvikView(QWidget* parent, std::uint32_t) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    solvik::Module& module = solvik::g_module;
    if (solvik::CTerminalWindow* window = module.window.data()) {
        window->View();
        return;
    }
    auto* window = new (std::nothrow) solvik::CTerminalWindow(parent, module.kept, module.terminal);
    if (window == nullptr)
        return;
    module.kept.clear();
    solvik::g_exitCleanup.Arm();
    window->Create();
    module.window = window;
    window->View();
}

void SolvikDestroy() { solvik::DestroyWindow(); }

void SolvikMsgTC(std::uint32_t terminal) {
    solvik::g_module.terminal = terminal == 0 ? 0 : 1;
    if (solvik::CTerminalWindow* window = solvik::g_module.window.data())
        window->OnMode(solvik::g_module.terminal);
}

void SolvikRXData(const char* text) {
    if (text == nullptr)
        return;
    solvik::Module& module = solvik::g_module;
    const std::string cleaned =
        solvik::CleanReceived(std::string_view(text, strnlen(text, corvan::kDirectTextSize)), module.pendingCr);
    if (solvik::CTerminalWindow* window = module.window.data())
        window->OnText(cleaned);
    else
        solvik::AppendBounded(module.kept, cleaned, solvik::kKeptLimit);
}
