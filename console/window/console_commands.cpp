// SPDX-License-Identifier: GPL-3.0-or-later
// console_commands.cpp - what the menu commands do.
//
// Each topic installs its handlers into the command table (the dialog runs
// them: ConsoleDialog::OnCommand). Commands that act on the radio arrive with
// the topics that talk to it (connection, control handlers, memory, scan);
// they install themselves the same way, from InstallCommands below.
#include "console_dialog.h"

#include "console_ids.h"
#include "console_menu.h"
#include "menu_help.h"

#include <console_link.h>
#include <memory_table.h>

#include <QAbstractButton>
#include <QAction>

namespace {
// Memory > Memory Channels: the table of every channel. The window is a child
// of the console (it goes with it) and borrows the console's link.
void ViewMemoryTable(ConsoleDialog& console) {
    auto* window = console.findChild<memory_table::MemoryTableWindow*>();
    if (window == nullptr) {
        memory_table::ConsoleHooks hooks;
        hooks.link = [&console] { return console.link(); };
        hooks.operationRunning = [&console] { return console.OperationRunning(); };
        hooks.identification = [&console] { return console.state().radioIdentification; };
        hooks.closeIfDeviceGone = [&console] {
            zephyra::ConsoleLink* connection = console.connection();
            return connection != nullptr && connection->DisconnectIfDeviceGone();
        };
        window = new memory_table::MemoryTableWindow(std::move(hooks), &console);
    }
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

void ConsoleDialog::InstallCommands() {
    InstallFileCommands();
    InstallFocusCommands();
    InstallHelpCommands();
    SetCommandHandler(cmd::MemoryChannels, [this] { ViewMemoryTable(*this); });
}

void ConsoleDialog::InstallFileCommands() {
    SetCommandHandler(cmd::Exit, [this] { reject(); });
}

// Menu items whose only action is to move the keyboard focus to a level or
// list of the front panel.
void ConsoleDialog::InstallFocusCommands() {
    const std::pair<int, int> focusOnly[] = {
        {cmd::GainRf, idc::RfGainBar},
        {cmd::GainAfMain, idc::AfMainBar},
        {cmd::GainAfSub, idc::AfSubBar},
        {cmd::GainSquelchMain, idc::SqlMainBar},
        {cmd::GainSquelchSub, idc::SqlSubBar},
        {cmd::StepCmd, idc::StepList},
        {cmd::BeatCancelPoint, idc::BcPointBar},
    };
    for (const auto& [command, control] : focusOnly) {
        const int id = control;
        SetCommandHandler(command, [this, id] {
            if (QWidget* target = m_controls.widget(id)) {
                target->setFocus(Qt::OtherFocusReason);
            }
        });
    }
}

void ConsoleDialog::InstallHelpCommands() {
    SetCommandHandler(cmd::HelpIndex, [] { platform::ShowHelp(kHelpContents); });
    SetCommandHandler(cmd::About, [this] { ShowAbout(); });
    menu_help::Install(m_menuBar);
}
