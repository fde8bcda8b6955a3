// SPDX-License-Identifier: GPL-3.0-or-later
// A lost radio: telling why it went (no answer, the device gone, switched
// off) on the status line and in the window title, and noticing when the
// device the link uses has vanished from under it.
#include "console_link.h"

#include <platform.h>

#include <sys/stat.h>

#include <algorithm>

namespace zephyra {

bool IsNetworkPort(const std::string& port) {
    std::string error;
    const auto address = corvan::ParsePortAddress(port, &error);
    return address && address->kind != corvan::PortAddress::Kind::Device;
}

QString NetworkLossText(const std::string& port) {
    const std::string said = corvan::LinkLossText();
    if (!said.empty())
        return QString::fromStdString(said);
    std::string error;
    const auto address = corvan::ParsePortAddress(port, &error);
    const std::string where = address ? corvan::DescribePort(*address) : port;
    return QStringLiteral("The connection to %1 has gone").arg(QString::fromStdString(where));
}

QString RadioLossText(RadioLoss loss, const QString& device) {
    switch (loss) {
    case RadioLoss::NoAnswer:
        return QStringLiteral("No answer from the radio on %1").arg(device);
    case RadioLoss::DeviceGone:
        return QStringLiteral("The serial device %1 has gone").arg(device);
    case RadioLoss::SwitchedOff:
        return QStringLiteral("The radio was switched off");
    case RadioLoss::None:
        break;
    }
    return {};
}

void ConsoleLink::NoteOpened(const std::string& path) {
    m_openedPath = path;
    struct stat info {};
    m_openedKnown = ::stat(path.c_str(), &info) == 0;
    m_openedDevice = m_openedKnown ? static_cast<std::uint64_t>(info.st_rdev) : 0;
}

bool ConsoleLink::DeviceGone() const {
    if (m_openedPath.empty() || !m_state.connected)
        return false;
    // A network port has no device to look at: it is gone once the link
    // says the connection went.
    if (IsNetworkPort(m_openedPath))
        return !corvan::LinkLossText().empty();
    struct stat info {};
    if (::stat(m_openedPath.c_str(), &info) != 0)
        return true;
    // A name that now leads to another device (an adapter plugged in again
    // behind the same link name) is not the device the port holds.
    return m_openedKnown && static_cast<std::uint64_t>(info.st_rdev) != m_openedDevice;
}

bool ConsoleLink::DisconnectIfDeviceGone() {
    if (m_disconnecting || !DeviceGone())
        return false;
    m_deviceLost = true;
    if (m_state.tncMode) {
        // Terminal mode ends with the link, as when the operator leaves it.
        m_state.tncMode = 0;
        m_tncSwitchPending = false;
        m_surface.SetStatusText(QString());
        m_peers.SolvikDestroy();
        m_peers.SolvikMsgTC(1);
    }
    DisconnectRadio();
    m_deviceLost = false;
    ReportLoss(RadioLoss::DeviceGone);
    return true;
}

void ConsoleLink::DeviceCheckTick() {
    m_timers->KillTimer(kDeviceCheckTimer);
    if (!m_state.connected || !m_state.tncMode)
        return;
    if (DisconnectIfDeviceGone())
        return;
    m_timers->SetTimer(kDeviceCheckTimer, std::max(1, Scaled(1000)));
}

void ConsoleLink::ReportLoss(RadioLoss loss) {
    if (loss == m_loss)
        return;
    m_loss = loss;
    // Over the network, no answer and a device gone are both a connection
    // that went (a half-open one found by the watchdog included), in the
    // link's words when it has them (the refusal, the certificate).
    const bool network = (loss == RadioLoss::NoAnswer || loss == RadioLoss::DeviceGone) &&
                         IsNetworkPort(m_openedPath);
    const QString text = network ? NetworkLossText(m_openedPath) : RadioLossText(loss, OpenedDevice());
    if (loss == RadioLoss::None)
        ShowConnectionNote(QString(), false);
    else
        ShowConnectionNote(text, true);
    emit radioLossChanged(loss);
}

void ConsoleLink::ShowConnectionNote(const QString& text, bool away) {
    m_connectionNote = text;
    emit connectionNote(text, away);
}

} // namespace zephyra
