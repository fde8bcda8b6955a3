// SPDX-License-Identifier: GPL-3.0-or-later
// console_input.cpp - the console's pre-filter: every key and pointer event
// for the console or one of its controls passes here first.
//
//  - keys: Enter runs the focused control, Esc the keypad's CLR, Space
//    holds a monitor open, F5 reads everything again, digits and the
//    decimal point type in entry mode, and the arrow and page keys on a
//    level bar raise the level with Up and Page Up;
//  - press and hold: TUNE, MULTI, BAND, the RIT arrows and the frequency
//    digits repeat from their timers while held; TF-SET, CLR, "M. IN" and
//    TONE have hold actions; every button-up stops every repeat;
//  - the tuning dial: a click switches the selection on, then mouse moves
//    with one button held and the wheel turn the radio's dial.
#include "console_operations.h"
#include "read_toggle.h"

#include "console_controls.h"
#include "console_ids.h"
#include "../display/console_display.h"
#include "../display/display_controls.h"

#include <console_link.h>
#include <corvan.h>
#include <platform.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

#include <cstdlib>

using namespace display_controls;
using namespace operations;

namespace {

// The eight scroll bars: six levels, the RIT/XIT offset and the scan speed.
bool IsBar(int id) { return id >= idc::BcPointBar && id <= idc::ScanSpeedBar; }

bool IsKeypadDigitKey(int id) {
    switch (id) {
    case idc::Ch1: case idc::Ch2: case idc::Ch3: case idc::Tone: case idc::Meter:
    case idc::Ctcss: case idc::NbButton: case idc::AgcButton: case idc::FineButton:
    case idc::Shift:
        return true;
    default:
        return false;
    }
}

// The band and position (1 the 1 Hz digit .. 11 the 10 GHz digit) of a
// frequency digit; position 0 when the control is no digit.
int DigitPosition(int id, int& band) {
    if (id >= idc::MainDigit0 && id <= idc::MainDigit10) {
        band = 0;
        return 11 - (id - idc::MainDigit0);
    }
    if (id >= idc::SubDigit0 && id <= idc::SubDigit10) {
        band = 1;
        return 11 - (id - idc::SubDigit0);
    }
    return 0;
}

int NextSelection(int selection, int direction) {
    if (direction > 0)
        return selection >= 8 ? 1 : selection + 1;
    return selection <= 1 ? 8 : selection - 1;
}

} // namespace

bool ConsoleOperations::ControlAt(QObject* receiver, int& id) const {
    for (auto* widget = qobject_cast<QWidget*>(receiver); widget; widget = widget->parentWidget()) {
        const QVariant control = widget->property("consoleControl");
        if (control.isValid()) {
            id = control.toInt();
            return true;
        }
    }
    return false;
}

void ConsoleOperations::SetWheelSelection(int selection) {
    state.mouseWheelSelection = selection;
    if (selection != 0) {
        int wait = platform::GetProfileInt(QStringLiteral("Setting"), QStringLiteral("DialWait"), 5);
        state.dialWait = wait >= 1 && wait <= 9 ? wait : 5;
        m_dialMoves = 0;
    }
    if (host.showDial)
        host.showDial(selection);
}

bool ConsoleOperations::Wheel(int direction) {
    zephyra::ConsoleState& s = state;
    if (s.mouseWheelSelection == 0)
        return false;
    if (s.memoryScroll || direction == 0 || OperationRunning())
        return true;
    if (direction < 0)
        link.ConnDN(1);
    else
        link.ConnUP(1);
    SetWheelSelection(NextSelection(s.mouseWheelSelection, direction));
    return true;
}

// The wheel over a level bar or slider: each notch is one line step, and
// sends what a line step sends (the bar's level, the scan speed; the RIT/XIT
// offset at once, as at the end of a scroll). Up raises, as the Up key does.
void ConsoleOperations::WheelOnBar(int barId, int delta) {
    QScrollBar* bar = controls.scrollBar(barId);
    if (!bar || !bar->isEnabled() || OperationRunning())
        return;
    m_wheelRest += delta;
    const int notches = m_wheelRest / kWheelNotch;
    m_wheelRest %= kWheelNotch;
    for (int i = 0; i < std::abs(notches); ++i) {
        bar->triggerAction(notches > 0 ? QAbstractSlider::SliderSingleStepAdd
                                       : QAbstractSlider::SliderSingleStepSub);
        if (barId == idc::RitBar)
            OnScroll(barId, ScrollCode::End);
    }
}

void ConsoleOperations::PressDigitLabel(int band, int position, int direction, bool repeat) {
    m_digitBand = band;
    m_digitPosition = position;
    m_digitDirection = direction;
    StepFrequencyDigit(band, position, direction);
    if (repeat)
        StartHold(kDigitRepeatTimer, kFirstRepeat);
}

bool ConsoleOperations::PreFilter(QObject* receiver, QEvent* event) {
    zephyra::ConsoleState& s = state;
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowDeactivate) {
        // A button held while the console loses the focus stops repeating.
        StopRepeats();
        LevelGestureEnd();
        return false;
    }
    const bool input = type == QEvent::KeyPress || type == QEvent::KeyRelease ||
                       type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove ||
                       type == QEvent::Wheel;
    if (!input)
        return false;
    int id = 0;
    const bool onControl = ControlAt(receiver, id);
    const bool active = host.window && host.window->isActiveWindow();
    if (active && !QApplication::focusWidget())
        host.window->setFocus(Qt::OtherFocusReason);
    const bool busy = OperationRunning();

    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (busy)
            return true;
        if (onControl && IsLevelBar(id) && !key->isAutoRepeat())
            LevelGestureBegin(id);
        if (onControl && IsBar(id)) {
            QScrollBar* bar = controls.scrollBar(id);
            const int k = key->key();
            // Every bar is drawn low on the left: Right and Up raise, as its
            // right arrow does under the mouse.
            const auto action = k == Qt::Key_Up || k == Qt::Key_Right ? QAbstractSlider::SliderSingleStepAdd
                                : k == Qt::Key_Down || k == Qt::Key_Left ? QAbstractSlider::SliderSingleStepSub
                                : k == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepAdd
                                : k == Qt::Key_PageDown ? QAbstractSlider::SliderPageStepSub
                                                        : QAbstractSlider::SliderNoAction;
            if (bar && action != QAbstractSlider::SliderNoAction) {
                bar->triggerAction(action);
                return true;
            }
        }
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (key->isAutoRepeat())
                return true;
            if (auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
                button && ControlAt(button, id) && button->isEnabled())
                button->click();
            return true;
        case Qt::Key_Escape:
            OnControl(idc::Clear);
            return true;
        case Qt::Key_Space:
            if (onControl && id == idc::RxMonitor && !m_rxMonitor) {
                RxMonitor(true);
                return true;
            }
            if (onControl && id == idc::DspMonitor && !m_dspMonitor) {
                DspMonitor(true);
                return true;
            }
            return onControl && (id == idc::RxMonitor || id == idc::DspMonitor);
        case Qt::Key_F5:
            connection.Refresh();
            return true;
        default:
            break;
        }
        if (s.entryMode) {
            const int k = key->key();
            if (k >= Qt::Key_0 && k <= Qt::Key_9) {
                EntryDigit(k - Qt::Key_0);
                return true;
            }
            if (k == Qt::Key_Period || k == Qt::Key_Comma) {
                EntryPoint();
                return true;
            }
        }
        return false;
    }
    if (type == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat())
            return false;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space) {
            if (m_rxMonitor)
                RxMonitor(false);
            if (m_dspMonitor)
                DspMonitor(false);
        }
        // A level moved while the key was held goes out now, once; a key
        // that moved nothing (Tab, a modifier) sends nothing.
        LevelGestureEnd();
        if (onControl && (id == idc::RitBar || id == idc::ScanSpeedBar))
            OnScroll(id, ScrollCode::End);
        return false;
    }
    if (type == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (Wheel(delta > 0 ? 1 : delta < 0 ? -1 : 0))
            return true;
        if (onControl && IsBar(id)) {
            WheelOnBar(id, delta);
            return true;
        }
        return false;
    }
    if (type == QEvent::MouseMove) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (s.mouseWheelSelection == 0 || s.memoryScroll || !active || busy)
            return false;
        if (++m_dialMoves < s.dialWait)
            return false;
        m_dialMoves = 0;
        const Qt::MouseButtons buttons = mouse->buttons();
        if (buttons == Qt::LeftButton) {
            link.ConnDN(1);
            SetWheelSelection(NextSelection(s.mouseWheelSelection, -1));
        } else if (buttons == Qt::RightButton) {
            link.ConnUP(1);
            SetWheelSelection(NextSelection(s.mouseWheelSelection, +1));
        }
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseButtonRelease) {
        if (mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton)
            StopRepeats();
        if (mouse->button() != Qt::RightButton)
            LevelGestureEnd();
        if (onControl && (id == idc::RitBar || id == idc::ScanSpeedBar) && mouse->button() == Qt::LeftButton)
            OnScroll(id, ScrollCode::End);
        return false;
    }
    // A press on a level bar (the thumb, the groove; the right button opens
    // its menu instead) holds what it moves until the button is up.
    if (onControl && !busy && IsLevelBar(id) && mouse->button() != Qt::RightButton &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick))
        LevelGestureBegin(id);
    if (!onControl || busy)
        return false;
    int band = 0;
    const int position = DigitPosition(id, band);
    if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
        if (s.mouseWheelSelection) {
            SetWheelSelection(0);
            return true;
        }
        // The window system makes the second press of a double click a
        // press of its own, which would click a button again: only the
        // keypad keys in entry mode type their digit twice.
        const bool button = qobject_cast<QAbstractButton*>(controls.widget(id)) != nullptr;
        if (s.entryMode)
            return button && !IsKeypadDigitKey(id);
        if (id == idc::AfMainMin) {
            link.ConnAG("W", 0, 0);
            return true;
        }
        if (id == idc::AfSubMin) {
            if (s.subReceiver)
                link.ConnAG("W", 1, 0);
            return true;
        }
        if (position != 0) {
            // The second press of a double click holds the digit as the first did.
            PressDigitLabel(band, position, 0, true);
            return true;
        }
        // Outside entry mode a double click on a button acts once.
        return button;
    }
    if (mouse->button() == Qt::RightButton &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        if (s.mouseWheelSelection == 0 && !s.entryMode && position != 0)
            PressDigitLabel(band, position, 1, true);
        return false;
    }
    if (type != QEvent::MouseButtonPress || mouse->button() != Qt::LeftButton)
        return false;
    // A press on the console while another window (a panel, the help) had
    // the focus brings the console forward and counts: the operator clicked
    // a control of the console, whether or not the window system has told
    // the console of its activation yet.
    if (!active && host.window)
        host.window->activateWindow();
    if (id == idc::TuningDial) {
        if (!s.entryMode)
            SetWheelSelection(s.mouseWheelSelection ? 0 : 1);
        return true;
    }
    if (s.mouseWheelSelection)
        return true;
    if (s.entryMode) {
        if (s.memoryScroll && (id == idc::MultiUp || id == idc::MultiDown)) {
            m_repeatDirection = id == idc::MultiUp ? 1 : -1;
            StartHold(kMultiRepeatTimer, kFirstRepeat);
        }
        return false;
    }
    switch (id) {
    case idc::MainText:
    case idc::SubText:
        return true;
    case idc::TuneUp:
    case idc::TuneDown:
        m_repeatDirection = id == idc::TuneUp ? 1 : -1;
        StartHold(kTuneRepeatTimer, kFirstRepeat);
        break;
    case idc::MultiUp:
    case idc::MultiDown:
        m_repeatDirection = id == idc::MultiUp ? 1 : -1;
        StartHold(kMultiRepeatTimer, kFirstRepeat);
        break;
    case idc::BandUp:
    case idc::BandDown:
        m_repeatDirection = id == idc::BandUp ? 1 : -1;
        StartHold(kBandRepeatTimer, kFirstRepeat);
        break;
    case idc::RitDown: m_ritStep = -1; StartHold(kRitRepeatTimer, kFirstRepeat); break;
    case idc::RitDownFast: m_ritStep = -10; StartHold(kRitRepeatTimer, kFirstRepeat); break;
    case idc::RitUp: m_ritStep = 1; StartHold(kRitRepeatTimer, kFirstRepeat); break;
    case idc::RitUpFast: m_ritStep = 10; StartHold(kRitRepeatTimer, kFirstRepeat); break;
    case idc::RxMonitor:
        RxMonitor(true);
        break;
    case idc::DspMonitor:
        DspMonitor(true);
        break;
    case idc::TfSetButton:
        if (!s.funcMode) {
            m_tfSetHeld = false;
            StartHold(s.controlBand == 1 ? kSubSimplexHoldTimer : kMainSimplexHoldTimer, 1000);
        }
        break;
    case idc::Clear:
        if ((s.controlBand == 1 ? s.subVfo : s.mainVfo) == 2)
            StartHold(kMemoryClearTimer, 2000);
        break;
    case idc::QuickMemoryIn: {
        if (zephyra::OnProgramScanChannel(s)) {
            m_quickMemoryHeld = false;
            StartHold(kQuickMemoryHoldTimer, 1000);
        }
        break;
    }
    case idc::Tone:
        if (s.consoleReady && s.mode[s.controlBand == 1 ? 1 : 0] == 4) {
            u32 number = 0;
            if (ReadOnce(link, &CCorvan::RcvDataTN, number) && number == corvan::kToneBurstNumber) {
                m_toneHold = true;
                s.toneScan = 1; // the radio searches the tones while held
                link.ConnTO("W", 2);
            }
        }
        break;
    default:
        if (position != 0)
            PressDigitLabel(band, position, 0, true);
        break;
    }
    return false;
}

// ---- the hold and repeat timers

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
    if (!state.connected || OperationRunning()) {
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
