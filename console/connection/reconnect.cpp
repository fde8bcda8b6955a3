// SPDX-License-Identifier: GPL-3.0-or-later
// Finding a lost radio again: tries of Control > ON with a back-off, while
// the radio is away and nothing else holds the console.
#include "reconnect.h"

#include "console_link.h"

#include <corvan.h>
#include <platform.h>

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace zephyra {

namespace {

const QString kSetting = QStringLiteral("Setting");
const QString kReconnect = QStringLiteral("Reconnect");
// How often the timer looks whether a try is due; a try itself comes at the
// back-off's pace.
constexpr int kTickMs = 200;

// A network address is always worth a try: only connecting tells whether
// the server is back.
bool Present(const QString& path) {
    return !path.isEmpty() && (QFileInfo::exists(path) || IsNetworkPort(path.toStdString()));
}

// Open failures without the link's box while it stands.
class QuietOpen {
public:
    QuietOpen() { corvan::SetOpenFailureBox(false); }
    ~QuietOpen() { corvan::SetOpenFailureBox(true); }
    QuietOpen(const QuietOpen&) = delete;
    QuietOpen& operator=(const QuietOpen&) = delete;
};

} // namespace

Reconnector::Reconnector(ConsoleLink& link, QObject* parent)
    : QObject(parent), m_link(link), m_timer(std::make_unique<QTimer>()) {
    m_enabled = EnabledInProfile();
    m_timer->setInterval(kTickMs);
    connect(m_timer.get(), &QTimer::timeout, this, &Reconnector::Tick);
    connect(&m_link, &ConsoleLink::radioLossChanged, this, &Reconnector::OnLoss);
    connect(&m_link, &ConsoleLink::connectionChanged, this, &Reconnector::OnConnectionChanged);
}

Reconnector::~Reconnector() = default;

std::chrono::milliseconds Reconnector::Delay(int attempt) {
    using std::chrono::milliseconds;
    if (attempt <= 0)
        return milliseconds(1000);
    if (attempt == 1)
        return milliseconds(2000);
    return milliseconds(5000);
}

bool Reconnector::EnabledInProfile() {
    return platform::GetProfileInt(kSetting, kReconnect, 1) != 0;
}

void Reconnector::WriteEnabledToProfile(bool on) {
    platform::WriteProfileInt(kSetting, kReconnect, on ? 1 : 0);
}

void Reconnector::SetEnabled(bool on) {
    m_enabled = on;
    if (!on)
        End();
}

void Reconnector::SetClock(Clock clock) { m_clock = std::move(clock); }

std::chrono::steady_clock::time_point Reconnector::Now() const {
    return m_clock ? m_clock() : std::chrono::steady_clock::now();
}

void Reconnector::Stop() { End(); }

void Reconnector::OnLoss(RadioLoss loss) {
    if ((loss == RadioLoss::NoAnswer || loss == RadioLoss::DeviceGone) && m_enabled &&
        !m_link.State().connected)
        Begin();
}

void Reconnector::OnConnectionChanged(bool connected) {
    if (!connected)
        return;
    // The lasting name of the device just opened, for an adapter that comes
    // back under another ttyUSBn.
    m_byIdName = FindByIdName(m_link.OpenedDevice());
}

void Reconnector::TellWhyNotBack(const QString& device) {
    const std::string why = corvan::LastOpenError();
    if (why.empty() || m_link.Loss() == RadioLoss::None)
        return;
    // The loss stays said, with the reason this try gave (the refusal, the
    // certificate), for a network address above all.
    const QString lost = IsNetworkPort(device.toStdString()) ? NetworkLossText(device.toStdString())
                                                             : RadioLossText(m_link.Loss(), device);
    m_link.ShowConnectionNote(QStringLiteral("%1 (%2)").arg(lost, QString::fromStdString(why)), true);
}

QString Reconnector::FindByIdName(const QString& device) const {
    if (device.isEmpty())
        return {};
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QDir dir(m_byIdDirectory);
    if (QFileInfo(device).absolutePath() == dir.absolutePath())
        return device; // opened by that name already
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString path = dir.filePath(name);
        if (QFileInfo(path).canonicalFilePath() == target)
            return path;
    }
    return {};
}

void Reconnector::Begin() {
    m_lostDevice = m_link.OpenedDevice();
    m_attempts = 0;
    m_next = Now() + Delay(0);
    const bool was = m_trying;
    m_trying = true;
    m_timer->start();
    if (!was)
        emit tryingChanged(true);
}

void Reconnector::End() {
    m_timer->stop();
    if (!m_trying)
        return;
    m_trying = false;
    emit tryingChanged(false);
}

void Reconnector::Tick() {
    if (!m_trying || m_inTry)
        return;
    if (m_link.State().connected) {
        End(); // the operator connected meanwhile
        return;
    }
    if (Now() < m_next)
        return;
    if (m_link.SequenceRunning() || m_link.State().busy || (m_blocked && m_blocked()))
        return; // the try waits until the console is free again
    TryOnce();
}

bool Reconnector::TryOnce() {
    m_inTry = true;
    QString device;
    if (Present(m_lostDevice))
        device = m_lostDevice;
    else if (Present(m_byIdName))
        device = m_byIdName;

    bool back = false;
    if (!device.isEmpty()) {
        const QString override = m_link.PortOverride();
        // The port in use may be the profile's or a one-run choice; either
        // way the device that went away is the one opened again.
        m_link.SetPortOverride(device);
        {
            // A failed try shows no box: it would wait for the operator and
            // hold up every later try. Why it failed goes on the line below.
            const QuietOpen quiet;
            m_link.ControlOn();
        }
        back = m_link.State().connected != 0;
        if (!back)
            TellWhyNotBack(device);
        if (!back || device == m_lostDevice)
            m_link.SetPortOverride(override);
    }
    m_inTry = false;

    if (back) {
        End();
        m_link.ForgetLoss();
        m_link.ShowConnectionNote(QStringLiteral("Connected again to the radio on %1").arg(device), false);
        emit reconnected(device);
        return true;
    }
    ++m_attempts;
    m_next = Now() + Delay(m_attempts);
    return false;
}

} // namespace zephyra
