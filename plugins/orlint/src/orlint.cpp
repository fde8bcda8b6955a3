// SPDX-License-Identifier: GPL-3.0-or-later
// The exports: one window per process, and what the console tells the
// library, kept so that a window opened later starts from it.
#include <orlint.h>

#include "orlint_internal.h"

#include "plugin_exports.h"

#include <corvan.h>

#include <cstring>

namespace orlint {

namespace {

struct Module {
    RadioState radio;
};

// Defined before the window, so it is destroyed after it.
Module g_module;
plugin_exports::OneWindow<CMenuWindow> g_window;

using plugin_exports::Signed;

template <typename Change>
void StateChange(Change change) {
    change(g_module.radio);
    if (CMenuWindow* window = g_window.get())
        window->OnStateChanged();
}

} // namespace

CMenuWindow* TheWindow() { return g_window.get(); }
const RadioState& LastState() { return g_module.radio; }
void ForgetState() { g_module.radio = RadioState{}; }

} // namespace orlint

using orlint::RadioState;
using orlint::StateChange;

std::int32_t OrlintView(QWidget* parent) {
    if (!plugin_exports::WidgetsRunning())
        return 0;
    if (orlint::CMenuWindow* window = orlint::g_window.get()) {
        window->View(false);
        return 1;
    }
    orlint::CMenuWindow* window = orlint::g_window.Open([&] {
        return new (std::nothrow) orlint::CMenuWindow(parent, orlint::g_module.radio);
    });
    if (window == nullptr)
        return 0;
    window->View(true);
    return 1;
}

void OrlintDestroy() { orlint::g_window.Destroy(); }

void OrlintSetZulParams(std::uint32_t zul, std::uint32_t repeater, std::uint32_t remote) {
    StateChange([&](RadioState& r) {
        r.zul = zul;
        r.repeater = repeater;
        r.remote = remote;
    });
}

void OrlintSetScrollLock(std::uint32_t on) {
    orlint::g_module.radio.scrollLock = on != 0;
    if (orlint::CMenuWindow* window = orlint::g_window.get())
        window->OnScrollLock();
}

void OrlintMsgCM(std::uint32_t pct) {
    StateChange([&](RadioState& r) { r.pct = orlint::Signed(pct); });
}

void OrlintMsgEX(std::uint32_t menu, std::uint32_t sub, std::uint32_t a, std::uint32_t b, const char* text) {
    const orlint::MenuItem item{menu, sub, a, b};
    // The text is at most the link's field; anything beyond it is not a value.
    std::string value;
    if (text != nullptr)
        value.assign(text, strnlen(text, corvan::kNameTextSize));
    RadioState& radio = orlint::g_module.radio;
    radio.values[item] = value;
    // The radio's item, except while the console reads the menu.
    if (!radio.scrollLock)
        radio.current = item;
    if (orlint::CMenuWindow* window = orlint::g_window.get())
        window->OnValue(item);
}

void OrlintMsgMF(std::uint32_t bank) {
    RadioState& radio = orlint::g_module.radio;
    const int value = orlint::Signed(bank);
    const bool changed = radio.bank >= 0 && radio.bank != value;
    radio.bank = value;
    if (changed)
        radio.values.clear();
    if (orlint::CMenuWindow* window = orlint::g_window.get()) {
        if (changed)
            window->OnBankChanged();
        else
            window->OnStateChanged();
    }
}

void OrlintMsgRX(std::uint32_t) {
    StateChange([](RadioState& r) { r.transmitting = -1; });
}

void OrlintMsgSC(std::uint32_t scan) {
    StateChange([&](RadioState& r) { r.scan = orlint::Signed(scan); });
}

void OrlintMsgTC(std::uint32_t terminal) {
    StateChange([&](RadioState& r) { r.terminal = orlint::Signed(terminal); });
}

void OrlintMsgTX(std::uint32_t band) {
    StateChange([&](RadioState& r) { r.transmitting = band == 1 ? 1 : 0; });
}
