// SPDX-License-Identifier: GPL-3.0-or-later
// exit_cleanup.cpp - libraries' clean-up when the application ends.
//
// The application's post routines are plain functions, run latest-added
// first. Each ExitCleanup takes a slot with a function of its own, so every
// library keeps its own place in that order, as if it had registered its own
// routine.
#include "platform.h"

#include <QCoreApplication>

#include <array>
#include <cstddef>
#include <utility>

namespace platform {

namespace {

constexpr std::size_t kSlots = 16;
// Plain pointers, set and cleared by the objects themselves (UI thread), so
// nothing here needs destroying when the library unloads.
std::array<ExitCleanup*, kSlots> g_slots{};

} // namespace

struct ExitCleanupAccess {
    template <std::size_t Slot>
    static void AtApplicationExit() {
        if (ExitCleanup* cleanup = g_slots[Slot]) {
            cleanup->m_armed = false; // the application clears its list after the call
            cleanup->RunSteps();
        }
    }

    template <std::size_t... Slot>
    static constexpr std::array<void (*)(), kSlots> MakeRoutines(std::index_sequence<Slot...>) {
        return {&AtApplicationExit<Slot>...};
    }
};

namespace {
constexpr std::array<void (*)(), kSlots> kRoutines =
    ExitCleanupAccess::MakeRoutines(std::make_index_sequence<kSlots>());
} // namespace

ExitCleanup::ExitCleanup(std::vector<std::function<void()>> steps) : m_steps(std::move(steps)) {
    for (std::size_t i = 0; i < kSlots; ++i) {
        if (g_slots[i] == nullptr) {
            g_slots[i] = this;
            m_slot = static_cast<int>(i);
            break;
        }
    }
}

ExitCleanup::~ExitCleanup() {
    if (m_armed) {
        qRemovePostRoutine(kRoutines[static_cast<std::size_t>(m_slot)]);
        m_armed = false;
    }
    if (m_slot >= 0) {
        g_slots[static_cast<std::size_t>(m_slot)] = nullptr;
    }
    // The library goes while the application lives: destroy what is left.
    // Without an application the post routine has already run.
    if (QCoreApplication::instance() != nullptr) {
        RunSteps();
    }
}

void ExitCleanup::Arm() {
    // Without a free slot (more than kSlots objects) the clean-up still runs
    // when the object is destroyed while an application exists.
    if (m_armed || m_slot < 0) {
        return;
    }
    qAddPostRoutine(kRoutines[static_cast<std::size_t>(m_slot)]);
    m_armed = true;
}

void ExitCleanup::RunSteps() {
    for (const std::function<void()>& step : m_steps) {
        if (step) {
            step();
        }
    }
}

} // namespace platform
