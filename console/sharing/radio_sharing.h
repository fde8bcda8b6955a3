// SPDX-License-Identifier: GPL-3.0-or-later
// radio_sharing.h - the console's side of sharing the radio with other
// programs: the backend over the console's link and state
// (console_backend.h), and the two servers with their profile settings.
//
// RadioSharing owns the backend, the request queue and the servers, reads
// and writes their settings in the profile section "Sharing", and says what
// each server is doing in a line for the console.
//
// Threading: the console's thread only.
#pragma once

#include "console_backend.h"

#include <console_state.h>
#include <zephyra_share.h>

#include <QObject>
#include <QString>

#include <memory>

namespace zephyra {

class RadioSharing : public QObject {
    Q_OBJECT
public:
    enum class Server { Rigctl, Flrig };

    struct Settings {
        zshare::ServerSettings rigctl;
        zshare::ServerSettings flrig;
    };

    RadioSharing(ConsoleState& state, ConsoleBackend::LinkSource link, ConsoleBackend::BusyCheck busy,
                 QObject* parent = nullptr);
    ~RadioSharing() override;

    // The settings of the profile section "Sharing" (documented defaults for
    // anything missing or damaged): servers off, loopback, ports 4532 and
    // 12345, no address list, PTT released after 30 s of silence.
    static Settings LoadSettings();
    static void SaveSettings(const Settings& settings);
    // Applies `settings` to the servers (and keeps them in the profile when
    // `save`).
    void Apply(const Settings& settings, bool save = true);
    // Applies what the profile holds now (after the setup panel's OK).
    void ApplyProfile() { Apply(LoadSettings(), false); }
    Settings Current() const;
    // The menu switch of one server: on or off, kept in the profile.
    void SetEnabled(Server server, bool on);
    bool Enabled(Server server) const;

    // "rigctld: 127.0.0.1:4532, 1 client", "flrig: off", "rigctld: Port ... in use".
    QString StatusLine(Server server) const;
    zshare::ServerStatus Status(Server server) const;

    ConsoleBackend& Backend() { return m_backend; }
    zshare::RequestQueue& Queue() { return m_queue; }
    zshare::RigctlServer& Rigctl() { return m_rigctl; }
    zshare::FlrigServer& Flrig() { return m_flrig; }

signals:
    void statusChanged();

private:
    ConsoleBackend m_backend;
    zshare::RequestQueue m_queue;
    zshare::RigctlServer m_rigctl;
    zshare::FlrigServer m_flrig;
};

} // namespace zephyra
