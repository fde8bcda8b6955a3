// SPDX-License-Identifier: GPL-3.0-or-later
// The operation guard: the radio's knobs are locked and the console is
// disabled while an operation of several dependent commands runs.
#include "console_link.h"

namespace zephyra {

namespace {
// The first value of a saved lock state that was not read.
constexpr int kLockNotRead = 10;
} // namespace

OperationGuard::OperationGuard(ConsoleLink& link) : m_link(&link) { m_link->GuardBegin(); }

OperationGuard::~OperationGuard() { End(); }

void OperationGuard::End() {
    if (!m_link)
        return;
    ConsoleLink* link = m_link;
    m_link = nullptr;
    link->GuardEnd();
}

void OperationGuard::TakeLock() {
    if (m_link)
        m_link->TakeLock();
}

void ConsoleLink::GuardBegin() {
    if (m_guardDepth++ > 0)
        return;
    m_state.busy = 1;
    m_state.savedLock = {kLockNotRead, 0};
    TakeLock();
    m_surface.SetOperationBusy(true);
}

void ConsoleLink::GuardEnd() {
    if (m_guardDepth == 0 || --m_guardDepth > 0)
        return;
    ReleaseLock(true);
    m_surface.SetOperationBusy(false);
    m_state.busy = 0;
}

void ConsoleLink::TakeLock() {
    // Without a link in command mode there is no lock to read or set.
    if (m_guardDepth == 0 || m_state.savedLock[0] != kLockNotRead || !m_state.connected ||
        m_state.tncMode)
        return;
    std::uint32_t first = 0, second = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (m_link.RcvDataLK(&first, &second) == 1) {
            m_state.savedLock = {static_cast<int>(first), static_cast<int>(second)};
            break;
        }
    }
    const auto& saved = m_state.savedLock;
    if (!(saved[0] == 2 && saved[1] == 1) && saved[0] < 3) {
        m_link.ConnLK("W", 2, 1);
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (SleepUntil(100, [&] {
                    std::uint32_t a = 0, b = 0;
                    return m_link.RcvDataLK(&a, &b) == 1 && a == 2 && b == 1;
                }))
                break;
        }
    }
}

void ConsoleLink::ReleaseLock(bool awaitReadBack) {
    const auto saved = m_state.savedLock;
    m_state.savedLock = {kLockNotRead, 0};
    if (saved[0] == kLockNotRead || !m_state.connected || m_state.tncMode)
        return;
    m_link.ConnLK("W", static_cast<std::uint32_t>(saved[0]), static_cast<std::uint32_t>(saved[1]));
    for (int attempt = 0; awaitReadBack && attempt < 10; ++attempt) {
        if (SleepUntil(100, [&] {
                std::uint32_t a = 0, b = 0;
                return m_link.RcvDataLK(&a, &b) == 1 && static_cast<int>(a) == saved[0];
            }))
            break;
    }
}

} // namespace zephyra
