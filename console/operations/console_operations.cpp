// SPDX-License-Identifier: GPL-3.0-or-later
// console_operations.cpp - the operations' shared parts: construction, the
// hold and repeat timers, the waits inside an operation and the end of an
// operator mode.
#include "console_operations.h"
#include "read_toggle.h"

#include "../console_controls.h"
#include "../console_ids.h"
#include "../display/console_display.h"
#include "../display/display_controls.h"

#include <ConsoleLink.h>
#include <corvan.h>
#include <platform.h>

#include <QWidget>

#include <chrono>
#include <thread>

using namespace display_controls;
using namespace operations;

ConsoleOperations::ConsoleOperations(zephyra::ConsoleState& state_, ConsoleControls& controls_,
                                     CCorvan& link_, zephyra::SecondaryWindows& windows_,
                                     zephyra::ConsoleLink& connection_, ConsoleDisplay& display_,
                                     OperationsHost host_)
    : state(state_), controls(controls_), link(link_), windows(windows_), connection(connection_),
      display(display_), host(std::move(host_)),
      m_timers(std::make_unique<platform::TimerTable>([this](int id) { OnTimer(id); })) {}

ConsoleOperations::~ConsoleOperations() = default;

void ConsoleOperations::Pause(int milliseconds) {
    const double scale = connection.Timing().scale;
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::microseconds(static_cast<long long>(milliseconds * 1000 * scale));
    do {
        platform::PumpMessages(100);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < end);
}

bool ConsoleOperations::WaitFor(const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        platform::PumpMessages(100);
        if (done())
            return true;
        Pause(100);
    }
    return done();
}

void ConsoleOperations::StartHold(int timer, int milliseconds) { m_timers->SetTimer(timer, milliseconds); }

void ConsoleOperations::StopRepeats() {
    for (const int id : {kTuneRepeatTimer, kRitRepeatTimer, kMultiRepeatTimer, kBandRepeatTimer,
                         kMemoryClearTimer, kDigitRepeatTimer, kMainSimplexHoldTimer,
                         kSubSimplexHoldTimer, kQuickMemoryHoldTimer})
        m_timers->KillTimer(id);
    m_repeatDirection = 0;
    if (m_rxMonitor)
        RxMonitor(false);
    if (m_dspMonitor)
        DspMonitor(false);
    if (m_toneHold) {
        m_toneHold = false;
        state.toneScan = 0;
        link.ConnTO("W", 3);
    }
}

void ConsoleOperations::OnTimer(int id) {
    m_timers->KillTimer(id);
    // Nothing repeats into a closed link or across an operation.
    if (!state.connected || (host.running && host.running())) {
        if (id != kMemoryClearTimer)
            return;
    }
    switch (id) {
    case kRitRepeatTimer: {
        const int control = m_ritStep == -1    ? idc::RitDown
                            : m_ritStep == -10 ? idc::RitDownFast
                            : m_ritStep == 1   ? idc::RitUp
                                               : idc::RitUpFast;
        OnControl(control);
        m_timers->SetTimer(id, 100);
        break;
    }
    case kTuneRepeatTimer:
        if (m_repeatDirection > 0)
            link.ConnUP(1);
        else if (m_repeatDirection < 0)
            link.ConnDN(1);
        m_timers->SetTimer(id, 100);
        break;
    case kMultiRepeatTimer: {
        bool allowed = !state.satelliteMode;
        if (!allowed) {
            SatelliteValues values;
            allowed = ReadSatellite(link, values) && values.v[6] == 0;
        }
        if (allowed && m_repeatDirection != 0)
            MultiStep(m_repeatDirection);
        m_timers->SetTimer(id, 200);
        break;
    }
    case kBandRepeatTimer:
        if (m_repeatDirection > 0)
            BandUp();
        else if (m_repeatDirection < 0)
            BandDown();
        m_timers->SetTimer(id, 200);
        break;
    case kMemoryClearTimer:
        ClearMemoryChannel();
        break;
    case kMainSimplexHoldTimer:
    case kSubSimplexHoldTimer:
        AutoSimplexCheck();
        m_tfSetHeld = true;
        break;
    case kDigitRepeatTimer:
        StepDigit(m_digitBand, m_digitPosition, m_digitDirection);
        m_timers->SetTimer(id, 100);
        break;
    case kQuickMemoryHoldTimer: {
        m_quickMemoryHeld = true;
        if (zephyra::OnProgramScanChannel(state))
            link.ConnSS("W", 2);
        break;
    }
    default:
        break;
    }
}

void ConsoleOperations::LeaveOperatorMode(int mode) {
    using zephyra::OperatorMode;
    switch (static_cast<OperatorMode>(mode)) {
    case OperatorMode::Entry:
    case OperatorMode::VoiceRecallDigits:
    case OperatorMode::ReadChannel:
    case OperatorMode::WriteChannel:
    case OperatorMode::DtmfDigits:
        if (static_cast<OperatorMode>(mode) == OperatorMode::ReadChannel ||
            static_cast<OperatorMode>(mode) == OperatorMode::WriteChannel) {
            const int button = static_cast<OperatorMode>(mode) == OperatorMode::ReadChannel ? idc::Pm : idc::PmIn;
            if (CCButtonEx* key = controls.cbutton(button))
                key->SetBackColor(host.faceColour);
            SetText(controls, idc::SubText, QString());
        }
        if (static_cast<OperatorMode>(mode) == OperatorMode::DtmfDigits)
            display.ShowSubStatus();
        SetEntryMode(0);
        break;
    case OperatorMode::Func:
        SetFuncMode(false);
        break;
    case OperatorMode::MouseWheelSelection:
        SetWheelSelection(0);
        break;
    case OperatorMode::MemoryScroll:
        SetMemoryScroll(0);
        break;
    case OperatorMode::QuickMemory: {
        // The radio leaves its quick memory too, on the channel it shows.
        u32 on = 0, channel = 0;
        if (!ReadQuickMemory(link, on, channel))
            channel = state.quickChannel >= 0 && state.quickChannel <= 9 ? static_cast<u32>(state.quickChannel) : 0;
        link.ConnQR("W", 0, channel);
        break;
    }
    }
}
