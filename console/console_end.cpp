// console_end.cpp - the end of the console: closing the secondary windows,
// saving the position, and the orderly teardown.
#include "console_dialog.h"

#include "splash_window.h"

#include <corvan.h>
#include <glimra.h>
#include <pandor.h>
#include <tonwell.h>

namespace {

// The secondary windows' destroy exports in the order the console closes
// them. The outside plug-in windows have no library yet: a window that
// cannot be opened needs no closing, so their entries stay empty.
struct PanelDestroyer {
    const char* name;
    void (*destroy)();
};

constexpr PanelDestroyer kPanelDestroyers[] = {
    {"TrevanDestroy", nullptr},   {"RadioEqgDestroy", &RadioEqgDestroy}, {"RadioEqsDestroy", &RadioEqsDestroy},
    {"PimbelDestroy", nullptr},   {"RadioAgcDestroy", &RadioAgcDestroy}, {"RadioMchDestroy", &RadioMchDestroy},
    {"RadioMgrDestroy", &RadioMgrDestroy}, {"PandorDestroy", &PandorDestroy},   {"QuorelDestroy", &QuorelDestroy},
    {"RadioSgrDestroy", &RadioSgrDestroy}, {"RadioSmnDestroy", &RadioSmnDestroy}, {"OrlintDestroy", nullptr},
    {"DunmarDestroy", nullptr},   {"YarrelDestroy", nullptr},   {"GlimraScanStop", &GlimraScanStop},
    {"GlimraDestroy", &GlimraDestroy},   {"SolvikDestroy", nullptr},
};

} // namespace

void ConsoleDialog::NoteEnd(EndStep step, const char* name) {
    if (m_endObserver) {
        m_endObserver(step, name);
    }
}

// Closes every secondary window; each export is safe when its window is closed.
void ConsoleDialog::DestroyAllPanels() {
    for (const PanelDestroyer& panel : kPanelDestroyers) {
        if (panel.destroy != nullptr) {
            panel.destroy();
        }
        NoteEnd(EndStep::PanelDestroyed, panel.name);
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
    PumpMessages();
    NoteEnd(EndStep::MessagesPumped);
    m_controls.deleteAll();
    NoteEnd(EndStep::ControlsDeleted);
    m_link.reset();
    NoteEnd(EndStep::LinkDeleted);
    m_splash.reset();
    NoteEnd(EndStep::SplashDeleted);
}
