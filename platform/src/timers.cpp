// SPDX-License-Identifier: GPL-3.0-or-later
// timers.cpp - the timer table keyed by the windows' timer ids.
#include "platform.h"

#include <QTimerEvent>

#include <algorithm>

namespace platform {

TimerTable::TimerTable(std::function<void(int id)> onTimer, QObject* parent)
    : QObject(parent), m_onTimer(std::move(onTimer)) {}

TimerTable::~TimerTable() { KillAll(); }

void TimerTable::SetTimer(int id, int milliseconds) {
    KillTimer(id);
    const int interval = std::max(0, milliseconds);
    // A zero period would fire on every pass of the event loop.
    const int qtId = startTimer(std::max(1, interval));
    if (qtId != 0) {
        m_entries.push_back({id, qtId, interval});
    }
}

void TimerTable::KillTimer(int id) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [id](const Entry& e) { return e.id == id; });
    if (it != m_entries.end()) {
        killTimer(it->qtTimerId);
        m_entries.erase(it);
    }
}

void TimerTable::KillAll() {
    for (const Entry& e : m_entries) {
        killTimer(e.qtTimerId);
    }
    m_entries.clear();
}

bool TimerTable::IsRunning(int id) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [id](const Entry& e) { return e.id == id; });
}

int TimerTable::Interval(int id) const {
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [id](const Entry& e) { return e.id == id; });
    return it == m_entries.end() ? 0 : it->interval;
}

void TimerTable::timerEvent(QTimerEvent* event) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [event](const Entry& e) { return e.qtTimerId == event->timerId(); });
    if (it == m_entries.end()) {
        QObject::timerEvent(event);
        return;
    }
    const int id = it->id; // the callback may change the table
    if (m_onTimer) {
        m_onTimer(id);
    }
}

} // namespace platform
