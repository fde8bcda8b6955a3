// SPDX-License-Identifier: GPL-3.0-or-later
// radio_sharing.cpp - the servers, their profile settings and status.
#include "radio_sharing.h"

#include <platform.h>

#include <QRegularExpression>
#include <QStringList>

namespace zephyra {

namespace {

const QString kSection = QStringLiteral("Sharing");

struct Keys {
    const char* on;
    const char* address;
    const char* port;
};
constexpr Keys kRigctlKeys{"RigctlOn", "RigctlAddress", "RigctlPort"};
constexpr Keys kFlrigKeys{"FlrigOn", "FlrigAddress", "FlrigPort"};

zshare::ServerSettings LoadServer(const Keys& keys, quint16 defaultPort, const QList<QHostAddress>& allowed,
                                  int silence) {
    zshare::ServerSettings s;
    s.enabled = platform::GetProfileInt(kSection, QString::fromLatin1(keys.on), 0) == 1;
    // Another address than the loopback is an explicit setting; a damaged
    // one falls back to the loopback.
    const QHostAddress address(
        platform::GetProfileString(kSection, QString::fromLatin1(keys.address), QStringLiteral("127.0.0.1")));
    s.address = address.isNull() ? QHostAddress(QHostAddress::LocalHost) : address;
    const int port = platform::GetProfileInt(kSection, QString::fromLatin1(keys.port), defaultPort);
    s.port = port >= 1 && port <= 65535 ? static_cast<quint16>(port) : defaultPort;
    s.allowed = allowed;
    s.pttSilenceSeconds = silence;
    return s;
}

void SaveServer(const Keys& keys, const zshare::ServerSettings& s) {
    platform::WriteProfileInt(kSection, QString::fromLatin1(keys.on), s.enabled ? 1 : 0);
    platform::WriteProfileString(kSection, QString::fromLatin1(keys.address), s.address.toString());
    platform::WriteProfileInt(kSection, QString::fromLatin1(keys.port), s.port);
}

} // namespace

RadioSharing::RadioSharing(ConsoleState& state, ConsoleBackend::LinkSource link, ConsoleBackend::BusyCheck busy,
                           QObject* parent)
    : QObject(parent),
      m_backend(state, std::move(link), std::move(busy)),
      m_queue(m_backend),
      m_rigctl(m_queue),
      m_flrig(m_queue) {
    connect(&m_rigctl, &zshare::ShareServer::statusChanged, this, &RadioSharing::statusChanged);
    connect(&m_flrig, &zshare::ShareServer::statusChanged, this, &RadioSharing::statusChanged);
}

RadioSharing::~RadioSharing() {
    // The servers go before this object: their last words are not passed on.
    m_rigctl.disconnect(this);
    m_flrig.disconnect(this);
}

RadioSharing::Settings RadioSharing::LoadSettings() {
    // "AllowedClients": addresses separated by spaces or commas; empty for
    // every client that reaches the listening address.
    QList<QHostAddress> allowed;
    const QString list = platform::GetProfileString(kSection, QStringLiteral("AllowedClients"), QString());
    for (const QString& word : list.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)) {
        const QHostAddress a(word);
        if (!a.isNull())
            allowed << a;
    }
    int silence = platform::GetProfileInt(kSection, QStringLiteral("PttSilenceSeconds"), 30);
    if (silence < 0 || silence > 3600)
        silence = 30;
    Settings s;
    s.rigctl = LoadServer(kRigctlKeys, zshare::RigctlServer::kDefaultPort, allowed, silence);
    s.flrig = LoadServer(kFlrigKeys, zshare::FlrigServer::kDefaultPort, allowed, silence);
    return s;
}

void RadioSharing::SaveSettings(const Settings& s) {
    SaveServer(kRigctlKeys, s.rigctl);
    SaveServer(kFlrigKeys, s.flrig);
    QStringList allowed;
    for (const QHostAddress& a : s.rigctl.allowed)
        allowed << a.toString();
    platform::WriteProfileString(kSection, QStringLiteral("AllowedClients"), allowed.join(QLatin1Char(' ')));
    platform::WriteProfileInt(kSection, QStringLiteral("PttSilenceSeconds"), s.rigctl.pttSilenceSeconds);
}

void RadioSharing::Apply(const Settings& settings, bool save) {
    if (save)
        SaveSettings(settings);
    m_rigctl.Apply(settings.rigctl);
    m_flrig.Apply(settings.flrig);
    emit statusChanged();
}

RadioSharing::Settings RadioSharing::Current() const { return {m_rigctl.Settings(), m_flrig.Settings()}; }

void RadioSharing::SetEnabled(Server server, bool on) {
    Settings s = Current();
    (server == Server::Rigctl ? s.rigctl : s.flrig).enabled = on;
    Apply(s);
}

bool RadioSharing::Enabled(Server server) const {
    return (server == Server::Rigctl ? m_rigctl.Settings() : m_flrig.Settings()).enabled;
}

zshare::ServerStatus RadioSharing::Status(Server server) const {
    return server == Server::Rigctl ? m_rigctl.Status() : m_flrig.Status();
}

QString RadioSharing::StatusLine(Server server) const {
    const zshare::ShareServer& s = server == Server::Rigctl ? static_cast<const zshare::ShareServer&>(m_rigctl)
                                                            : static_cast<const zshare::ShareServer&>(m_flrig);
    return QStringLiteral("%1: %2").arg(server == Server::Rigctl ? "rigctld" : "flrig", s.Summary());
}

} // namespace zephyra
