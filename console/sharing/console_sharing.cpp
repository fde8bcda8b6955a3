// SPDX-License-Identifier: GPL-3.0-or-later
// console_sharing.cpp - the console's menu switches and status of the
// sharing servers.
//
// Control > "Share: rigctld" and "Share: flrig" switch each server on and
// off (kept in the profile, section "Sharing"); each item shows what its
// server is doing beside its text: the listening address and port and the
// number of clients, or the last error ("Port 127.0.0.1:4532 is already in
// use"). Switching a server on from the menu that cannot listen also says so
// in a message box. The setup panel switches the same servers in the
// profile; its OK message makes the console apply them (ApplyProfile).
#include "console_dialog.h"
#include "console_menu.h"
#include "sharing/RadioSharing.h"

#include <ConsoleLink.h>
#include <platform.h>

#include <QAction>

namespace {

struct ShareItem {
    int command;
    zephyra::RadioSharing::Server server;
    const char* text;
};

constexpr ShareItem kItems[] = {
    {cmd::ShareRigctl, zephyra::RadioSharing::Server::Rigctl, "Share: rigctld (&N)"},
    {cmd::ShareFlrig, zephyra::RadioSharing::Server::Flrig, "Share: flrig (&X)"},
};

} // namespace

void ConsoleDialog::InstallSharing() {
    m_sharing = std::make_unique<zephyra::RadioSharing>(
        m_state, [this] { return m_link.get(); }, [this] { return OperationRunning(); });
    auto show = [this] {
        for (const ShareItem& item : kItems) {
            QAction* action = menuAction(item.command);
            if (!action)
                continue;
            const QString status = m_sharing->StatusLine(item.server);
            const QString detail = status.mid(status.indexOf(QLatin1Char(':')) + 2);
            action->setCheckable(true);
            action->setChecked(m_sharing->Enabled(item.server));
            action->setText(QString::fromLatin1(item.text) + QLatin1Char('\t') + detail);
            action->setToolTip(status);
            action->setStatusTip(status);
        }
    };
    connect(m_sharing.get(), &zephyra::RadioSharing::statusChanged, this, show);
    for (const ShareItem& item : kItems) {
        SetCommandHandler(item.command, [this, item] {
            const bool on = !m_sharing->Enabled(item.server);
            m_sharing->SetEnabled(item.server, on);
            const QString error = m_sharing->Status(item.server).lastError;
            if (on && !m_sharing->Status(item.server).listening && !error.isEmpty())
                platform::MessageBox(error);
        });
    }
    m_sharing->Apply(zephyra::RadioSharing::LoadSettings(), false);
    show();
}
