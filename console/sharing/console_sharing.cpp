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
#include "operations/console_operations.h"
#include "sharing/radio_sharing.h"

#include <console_link.h>
#include <reconnect.h>
#include <platform.h>

#include <QAction>
#include <QPointer>
#include <memory>

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
    InstallTransmitterOwner();
}

// Every key and unkey of the console goes through the transmitter's one
// owner, which the servers share: the operator's SEND, and the release as
// the link closes (Control > OFF, the watchdog, the end of the program). A
// release that could not reach the radio is done once it is back, and a
// radio found transmitting after a loss with nobody here owning it is
// returned to receive; the operator reads so on the status line.
void ConsoleDialog::InstallTransmitterOwner() {
    zshare::Transmitter& ptt = m_sharing->Queue().Ptt();
    if (m_operations) {
        m_operations->host.transmit = [this](bool on) {
            if (m_sharing)
                m_sharing->Queue().Ptt().Key(zshare::Transmitter::kOperator, on);
        };
    }
    // A key from anyone (the operator or a client of either server) first
    // stops a visual-scan sweep and tunes back to its centre.
    ptt.SetBeforeKey([this] {
        if (m_windows)
            m_windows->GlimraScanStop();
    });
    zephyra::ConsoleLink* link = m_connection.get();
    if (!link)
        return;
    link->SetTransmitterRelease([this](bool reachable, bool transmitting, bool lost) {
        return !m_sharing || m_sharing->Queue().Ptt().LinkClosing(reachable, transmitting, lost);
    });
    // Found again by the reconnector: the note follows its "Connected
    // again" line; otherwise it is shown at once.
    QPointer<zephyra::Reconnector> reconnector = link->findChild<zephyra::Reconnector*>();
    QPointer<zephyra::ConsoleLink> alive = link;
    auto held = std::make_shared<QString>();
    ptt.SetNotify([alive, reconnector, held](const QString& text) {
        if (reconnector && reconnector->Trying())
            *held = text;
        else if (alive)
            alive->ShowConnectionNote(text, false);
    });
    if (reconnector) {
        connect(reconnector, &zephyra::Reconnector::reconnected, this, [link, held] {
            if (held->isEmpty())
                return;
            link->ShowConnectionNote(link->ConnectionNote() + QStringLiteral(". ") + *held, false);
            held->clear();
        });
        connect(reconnector, &zephyra::Reconnector::tryingChanged, this, [held](bool trying) {
            if (trying)
                held->clear();
        });
    }
    connect(link, &zephyra::ConsoleLink::settingsReadStarted, this, [this] {
        if (m_sharing)
            m_sharing->Queue().Ptt().LinkOpened();
    });
    connect(link, &zephyra::ConsoleLink::settingsRead, this, [this] {
        if (m_sharing)
            m_sharing->Queue().Ptt().RadioReady();
    });
}
