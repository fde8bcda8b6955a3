// SPDX-License-Identifier: GPL-3.0-or-later
// The link's notifications that the connection sequences depend on: ID, PS,
// EX, TY, MF and TC. Every notification that has a handler in the console
// proves the radio alive.
#include "console_link.h"

#include <platform.h>

#include <cstdlib>

namespace zephyra {

namespace {

constexpr unsigned kFirstNotification = 4096;
constexpr unsigned kLastNotification = 4200;
constexpr unsigned kDirectText = 4240;

constexpr unsigned kEx = 4115;
constexpr unsigned kId = 4125;
constexpr unsigned kMf = 4188;
constexpr unsigned kPs = 4152;
constexpr unsigned kTc = 4174;
constexpr unsigned kTy = 4199;

// Codes the console has no handler for: BD, BU, CI, DN, MW, RC, SR, TD, UP,
// UR, UT, VR.
bool Unhandled(unsigned message) {
    switch (message) {
    case 4102: case 4104: case 4108: case 4113: case 4139: case 4154:
    case 4172: case 4175: case 4178: case 4179: case 4180: case 4183:
        return true;
    default:
        return false;
    }
}

bool IsNotification(unsigned message) {
    return (message >= kFirstNotification && message <= kLastNotification) ||
           message == kDirectText;
}

// The value text of an EX reply as a number; -1 when it is none.
int MenuValue(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text)
        return -1;
    return static_cast<int>(value);
}

} // namespace

bool ConsoleLink::event(QEvent* event) {
    const auto type = static_cast<unsigned>(event->type());
    if (IsNotification(type)) {
        if (auto* message = dynamic_cast<platform::WindowMessage*>(event)) {
            // A report read while the link closes, or delivered after it
            // has closed, is answered by nothing: a handler that sets a
            // value back (auto-information, a menu, a read) would undo the
            // disconnect's own settings or write into a closing line.
            if (m_disconnecting || !m_state.connected)
                return true;
            HandleMessage(message->message(), message->wParam(), message->lParam());
            if (m_forward)
                m_forward(message->message(), message->wParam(), message->lParam());
            return true;
        }
    }
    return QObject::event(event);
}

bool ConsoleLink::HandleMessage(unsigned message, std::uintptr_t /*wParam*/,
                                std::intptr_t /*lParam*/) {
    if (!IsNotification(message))
        return false;
    if (!Unhandled(message))
        m_state.noReplyCount = 0;
    switch (message) {
    case kId: OnId(); break;
    case kPs: OnPs(); break;
    case kEx: OnEx(); break;
    case kTy: OnTy(); break;
    case kMf: OnMf(); break;
    case kTc: OnTc(); break;
    default: break;
    }
    ++m_handled[message - kFirstNotification];
    return true;
}

void ConsoleLink::OnId() {
    std::uint32_t id = 0;
    if (m_link.RcvDataID(&id) != 1)
        return;
    m_peers.PandorMsgID(static_cast<int>(id));
}

void ConsoleLink::OnPs() {
    std::uint32_t power = 0;
    if (m_link.RcvDataPS(&power) != 1)
        return;
    if (m_powerAskedAt) {
        // Handled inside a running sequence, the answer may have waited for
        // the console thread: such a time says nothing about the line.
        if (m_guardDepth == 0 && m_sequenceDepth == 0)
            NoteRoundTrip(std::chrono::steady_clock::now() - *m_powerAskedAt);
        m_powerAskedAt.reset();
    }
    PowerState(static_cast<int>(power));
    m_peers.PimbelMsgPS(static_cast<int>(power));
    m_peers.PandorMsgPS(static_cast<int>(power));
}

void ConsoleLink::OnEx() {
    std::uint32_t menu = 0, sub = 0, third = 0, fourth = 0;
    char text[20] = {};
    if (m_link.RcvDataEX(&menu, &sub, &third, &fourth, text) != 1)
        return;
    text[sizeof text - 1] = '\0';
    const int value = MenuValue(text);
    // Only the values these menus have: any other leaves the state as it was.
    if (value >= 0 && third == 0 && fourth == 0) {
        if (menu == 61 && sub == 1 && value <= 2)
            m_state.repeaterValue = value;
        else if (menu == 61 && sub == 5 && value <= 1)
            m_state.remoteValue = value;
        else if (menu == 62 && sub == 5 && value <= 3)
            m_state.zulState = value;
    }
    const int m = static_cast<int>(menu), s = static_cast<int>(sub);
    const int a = static_cast<int>(third), b = static_cast<int>(fourth);
    m_peers.OrlintMsgEX(m, s, a, b, text);
    // Menu 55 is the radio's terminal mode: 1 on, 0 off.
    if (menu == 55 && m_state.connected) {
        if (value == 1)
            RequestTncSwitch(0);
        else if (value == 0)
            RequestTncSwitch(1);
    }
    if (menu == 23)
        m_peers.PandorMsgEX(23, s, a, b, text);
    m_peers.GlimraMsgEX(m, s, a, b, text);
}

void ConsoleLink::OnTy() {
    std::uint32_t bits[8] = {};
    std::uint32_t digit = 0;
    if (m_link.RcvDataTY(&bits[0], &bits[1], &bits[2], &bits[3], &bits[4], &bits[5], &bits[6],
                         &bits[7], &digit) != 1)
        return;
    m_state.extendedOptions = bits[7] == 0 ? 1 : 0;
    m_state.typeSixthFlag = bits[5] == 0 ? 1 : 0;
}

void ConsoleLink::OnMf() {
    std::uint32_t bank = 0;
    if (m_link.RcvDataMF(&bank) != 1)
        return;
    const int previous = m_state.menuBank;
    m_state.menuBank = static_cast<int>(bank);
    m_peers.OrlintMsgMF(static_cast<int>(bank));
    // A changed menu bank holds other values: read them again. The first
    // report only tells which bank the radio uses.
    if (previous < 0 || previous == m_state.menuBank)
        return;
    if (!m_state.connected || !m_state.consoleReady || m_state.tncMode)
        return;
    if (m_menuReadDepth > 0 || m_settingsReadDepth > 0) {
        m_menuReadPending = true;
        return;
    }
    ReadExtendedMenu();
}

void ConsoleLink::OnTc() {
    std::uint32_t first = 0, second = 0;
    if (m_link.RcvDataTC(&first, &second) != 1)
        return;
    if (m_state.connected)
        RequestTncSwitch(static_cast<int>(second));
    m_peers.OrlintMsgTC(static_cast<int>(second));
}

} // namespace zephyra
