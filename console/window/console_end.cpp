// SPDX-License-Identifier: GPL-3.0-or-later
// console_end.cpp - the end of the console: closing the secondary windows,
// saving the position, and the orderly teardown.
#include "console_dialog.h"

#include "splash_window.h"
#include "display/console_display.h"

#include <console_link.h>
#include <corvan.h>


void ConsoleDialog::NoteEnd(EndStep step, const char* name) {
    if (m_endObserver) {
        m_endObserver(step, name);
    }
}

// Closes every secondary window; each export is safe when its window is closed.
void ConsoleDialog::DestroyAllPanels() {
    for (const zephyra::DestroyCall& call : zephyra::kDestroyOrder) {
        (m_windows.get()->*call.destroy)();
        NoteEnd(EndStep::PanelDestroyed, call.name);
    }
}

// File > Exit, the close box and a cancel: let pending messages run, close
// the secondary windows, then close the console.
void ConsoleDialog::OnCancel() {
    PumpMessages();
    DestroyAllPanels();
    QDialog::reject();
}

void ConsoleDialog::DestroyWindow() {
    if (m_destroyed) {
        return;
    }
    m_destroyed = true;
    if (m_options.persistent) {
        // "%05d%05d" of top and left, negatives stored as 0.
        platform::SaveWindowPos(QStringLiteral("Main"), this);
        NoteEnd(EndStep::PositionSaved);
    }
    if (m_state.connected && m_disconnect) {
        // Auto-information off and the port closed before the link goes.
        m_disconnect();
        NoteEnd(EndStep::Disconnected);
    }
    // The connection and the display work on the controls and the link:
    // they go before either.
    if (m_connection)
        m_simulator = m_connection->TakeSimulator();
    m_connection.reset();
    m_display.reset();
    PumpMessages();
    NoteEnd(EndStep::MessagesPumped);
    m_controls.deleteAll();
    NoteEnd(EndStep::ControlsDeleted);
    m_link.reset();
    NoteEnd(EndStep::LinkDeleted);
    m_splash.reset();
    NoteEnd(EndStep::SplashDeleted);
}
