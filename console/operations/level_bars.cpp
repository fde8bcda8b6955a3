// SPDX-License-Identifier: GPL-3.0-or-later
// level_bars.cpp - when a level bar sends: the one place that decides it.
//
// The six level bars (AF GAIN and SQUELCH of both bands, RF GAIN, the B.C.
// point) send their level only when the operator changed it, once per
// change, however the bar moved: a key, the wheel, a drag, a click on the
// groove, its context menu or an assistive tool. The radio's own reports
// move a bar with its signals blocked, so every value change the bar
// announces is the operator's.
//
//  - A line step (arrow key, wheel notch, "Scroll left/right") sends at once.
//  - A change inside a held gesture (a key held on the bar, a button held
//    on it: page steps, a drag, Home and End) is sent once, when the
//    gesture ends, unless the bar stands where the gesture found it.
//  - Any other change (the context menu's "Scroll here", edges and pages)
//    sends at once.
// Focus, Tab, modifiers, a key released on a bar it never moved: nothing.
#include "console_operations.h"

#include "console_controls.h"
#include "console_ids.h"

#include <corvan.h>

#include <QScrollBar>

#include <algorithm>

namespace {

using u32 = std::uint32_t;

constexpr int kLevelBars[] = {idc::RfGainBar, idc::AfMainBar, idc::AfSubBar,
                              idc::SqlMainBar, idc::SqlSubBar, idc::BcPointBar};

int LevelMaximum(int bar) { return bar == idc::BcPointBar ? 63 : 255; }

} // namespace

bool ConsoleOperations::IsLevelBar(int id) {
    return std::find(std::begin(kLevelBars), std::end(kLevelBars), id) != std::end(kLevelBars);
}

ConsoleOperations::LevelGesture* ConsoleOperations::GestureOf(int bar) {
    for (std::size_t i = 0; i < std::size(kLevelBars); ++i)
        if (kLevelBars[i] == bar)
            return &m_levelGestures[i];
    return nullptr;
}

void ConsoleOperations::InstallLevelBars() {
    for (const int id : kLevelBars) {
        QScrollBar* bar = controls.scrollBar(id);
        if (!bar)
            continue;
        QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [this, id](int action) {
            // The step the bar is about to take: a line step sends at once.
            const bool line = action == QAbstractSlider::SliderSingleStepAdd ||
                              action == QAbstractSlider::SliderSingleStepSub;
            m_lineStepBar = line ? id : 0;
        });
        QObject::connect(bar, &QAbstractSlider::valueChanged, bar, [this, id](int) { LevelMoved(id); });
    }
}

void ConsoleOperations::LevelMoved(int id) {
    LevelGesture* gesture = GestureOf(id);
    if (!gesture)
        return;
    const bool line = m_lineStepBar == id;
    m_lineStepBar = 0;
    if (gesture->held && !line) {
        gesture->moved = true; // sent when the gesture ends
        return;
    }
    SendLevel(id);
}

void ConsoleOperations::LevelGestureBegin(int id) {
    LevelGesture* gesture = GestureOf(id);
    QScrollBar* bar = controls.scrollBar(id);
    if (!gesture || !bar || gesture->held)
        return;
    gesture->held = true;
    gesture->moved = false;
    m_lineStepBar = 0;
    gesture->base = bar->value();
}

void ConsoleOperations::LevelGestureEnd() {
    for (const int id : kLevelBars) {
        LevelGesture* gesture = GestureOf(id);
        if (!gesture->held)
            continue;
        const bool moved = gesture->moved;
        gesture->held = false;
        gesture->moved = false;
        QScrollBar* bar = controls.scrollBar(id);
        if (moved && bar && bar->value() != gesture->base)
            SendLevel(id);
    }
    m_lineStepBar = 0;
}

void ConsoleOperations::SendLevel(int id) {
    QScrollBar* bar = controls.scrollBar(id);
    if (!bar || OperationRunning())
        return;
    const int position = bar->value();
    if (position < 0 || position > LevelMaximum(id))
        return; // no level outside a bar's range goes on the wire
    if (LevelGesture* gesture = GestureOf(id))
        gesture->base = position;
    const u32 level = static_cast<u32>(position);
    switch (id) {
    case idc::RfGainBar: link.ConnRG("W", level); break;
    case idc::AfMainBar: link.ConnAG("W", 0, level); break;
    case idc::AfSubBar: link.ConnAG("W", 1, level); break;
    case idc::SqlMainBar: link.ConnSQ("W", 0, level); break;
    case idc::SqlSubBar: link.ConnSQ("W", 1, level); break;
    case idc::BcPointBar: link.ConnBP("W", level); break;
    default: break;
    }
}
