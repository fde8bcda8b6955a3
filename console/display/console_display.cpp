// SPDX-License-Identifier: GPL-3.0-or-later
// console_display.cpp - the display operations' shared parts: construction,
// the display timers and the clear-all operation.
#include "console_display.h"

#include "console_controls.h"
#include "console_ids.h"
#include "console_template.h"

#include <console_link.h>
#include <corvan.h>
#include <platform.h>

bool IsDisplayControl(const ControlRow& entry);

ConsoleDisplay::ConsoleDisplay(zephyra::ConsoleState& stateRef, ConsoleControls& controlsRef,
                               CCorvan& linkRef, zephyra::SecondaryWindows& windowsRef,
                               zephyra::ConsoleLink& connectionRef, DisplayHost hostRef)
    : state(stateRef),
      controls(controlsRef),
      link(linkRef),
      windows(windowsRef),
      connection(connectionRef),
      host(std::move(hostRef)),
      m_timers(std::make_unique<platform::TimerTable>([this](int id) { OnTimer(id); })) {}

ConsoleDisplay::~ConsoleDisplay() { m_timers->KillAll(); }

void ConsoleDisplay::ClearAll() {
    m_timers->KillAll();
    for (const ControlRow& entry : ConsoleTemplate()) {
        if (!IsDisplayControl(entry))
            continue;
        if (CStaticEx* label = controls.label(entry.id))
            label->setText(QString());
        else if (CEditEx* edit = controls.edit(entry.id))
            edit->clear();
    }
}
