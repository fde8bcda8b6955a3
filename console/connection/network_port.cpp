// SPDX-License-Identifier: GPL-3.0-or-later
// A radio on the network: the profile's TLS keys, and the warning the
// operator gets once for an address that lets anyone on the way key the
// radio.
#include "console_link.h"

#include <platform.h>

#include <QStringList>

namespace zephyra {

namespace {

const QString kSetting = QStringLiteral("Setting");
const QString kWarnedKey = QStringLiteral("OpenLineWarned");

std::optional<corvan::PortAddress> Parse(const std::string& port) {
    std::string error;
    return corvan::ParsePortAddress(port, &error);
}

// The addresses already told, as the profile keeps them (separated by
// blanks; an address holds none).
QStringList Warned() {
    return platform::GetProfileString(kSetting, kWarnedKey, QString())
        .split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString Key(const corvan::PortAddress& address) {
    return QString::fromStdString(corvan::PortAddressText(address));
}

std::string ProfilePath(const char* key) {
    return platform::GetProfileString(kSetting, QString::fromLatin1(key), QString()).trimmed().toStdString();
}

} // namespace

bool OpenLineWarningDue(const std::string& port) {
    const auto address = Parse(port);
    if (!address || address->kind == corvan::PortAddress::Kind::Device || address->tls ||
        corvan::IsLoopback(*address))
        return false;
    return !Warned().contains(Key(*address));
}

void NoteOpenLineWarned(const std::string& port) {
    const auto address = Parse(port);
    if (!address)
        return;
    QStringList warned = Warned();
    if (warned.contains(Key(*address)))
        return;
    warned.append(Key(*address));
    platform::WriteProfileString(kSetting, kWarnedKey, warned.join(QLatin1Char(' ')));
}

QString OpenLineWarningText(const std::string& port) {
    const auto address = Parse(port);
    const QString where = QString::fromStdString(address ? corvan::DescribePort(*address) : port);
    return QStringLiteral(
               "The radio at %1 is reached without TLS over a network that leaves this computer.\n\n"
               "Anyone on that network path can read the line and send the radio commands, "
               "including keying the transmitter.\n\n"
               "Use an rfc2217+tls:// address with a client certificate, or an SSH tunnel to a "
               "server that listens on its loopback address only: see Help, \"Operating remotely\".")
        .arg(where);
}

void ApplyTlsProfile() {
    corvan::TlsOptions options;
    options.caFile = ProfilePath("TlsCaFile");
    options.pinnedCertificateFile = ProfilePath("TlsPinnedCertificate");
    options.clientCertificateFile = ProfilePath("TlsClientCertificate");
    options.clientKeyFile = ProfilePath("TlsClientKey");
    corvan::SetTlsOptions(options);
}

} // namespace zephyra
