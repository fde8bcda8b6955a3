// SPDX-License-Identifier: GPL-3.0-or-later
// The meters' poll: SM and RM queries at the chosen pace while the line is
// the console's own.
#include "meter_poll.h"

#include "console_link.h"

#include <platform.h>

#include <QTimer>

namespace zephyra {

namespace {

const QString kSetting = QStringLiteral("Setting");
const QString kMeterPace = QStringLiteral("MeterPace");

} // namespace

std::chrono::milliseconds MeterPaceInterval(MeterPace pace) {
    using std::chrono::milliseconds;
    switch (pace) {
    case MeterPace::Off: return milliseconds(0);
    case MeterPace::Slow: return milliseconds(400);
    case MeterPace::Normal: return milliseconds(150);
    case MeterPace::Fast: return milliseconds(100);
    }
    return milliseconds(150);
}

QString MeterPaceName(MeterPace pace) {
    switch (pace) {
    case MeterPace::Off: return QStringLiteral("off");
    case MeterPace::Slow: return QStringLiteral("slow");
    case MeterPace::Normal: return QStringLiteral("normal");
    case MeterPace::Fast: return QStringLiteral("fast");
    }
    return QStringLiteral("normal");
}

std::optional<MeterPace> MeterPaceOfName(const QString& name) {
    const QString key = name.trimmed().toLower();
    for (MeterPace pace : {MeterPace::Off, MeterPace::Slow, MeterPace::Normal, MeterPace::Fast})
        if (key == MeterPaceName(pace))
            return pace;
    return std::nullopt;
}

MeterPace MeterPaceFromProfile() {
    // ZEPHYRA_METER_PACE names a pace for one run without touching the profile.
    const QString forRun = qEnvironmentVariable("ZEPHYRA_METER_PACE");
    if (const auto pace = MeterPaceOfName(forRun); !forRun.isEmpty() && pace)
        return *pace;
    const QString name = platform::GetProfileString(kSetting, kMeterPace, QStringLiteral("normal"));
    return MeterPaceOfName(name).value_or(MeterPace::Normal);
}

void WriteMeterPaceToProfile(MeterPace pace) {
    platform::WriteProfileString(kSetting, kMeterPace, MeterPaceName(pace));
}

MeterPoll::MeterPoll(ConsoleLink& link, QObject* parent)
    : QObject(parent), m_link(link), m_timer(std::make_unique<QTimer>()) {
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer.get(), &QTimer::timeout, this, &MeterPoll::Tick);
    SetPace(MeterPaceFromProfile());
}

MeterPoll::~MeterPoll() = default;

void MeterPoll::SetPace(MeterPace pace) {
    m_pace = pace;
    const auto interval = MeterPaceInterval(pace);
    if (interval.count() <= 0) {
        m_timer->stop();
        return;
    }
    m_timer->start(static_cast<int>(interval.count()));
}

bool MeterPoll::Paused() const {
    const ConsoleState& s = m_link.State();
    if (m_pace == MeterPace::Off)
        return true;
    if (!s.connected || !s.consoleReady || !s.initialReadDone || s.tncMode)
        return true;
    if (s.busy || m_link.SequenceRunning())
        return true;
    return m_paused && m_paused();
}

void MeterPoll::Tick() {
    if (Paused())
        return;
    // A device gone is not asked again: the link closes instead.
    if (m_link.DisconnectIfDeviceGone())
        return;
    const ConsoleState& s = m_link.State();
    const bool second = (m_turn++ & 1U) != 0;
    CCorvan& link = m_link.Link();
    std::int32_t written = 0;
    if (s.transmitting[0] || s.transmitting[1]) {
        // The power meter of the transmitting band, in turn with the
        // second meter.
        if (second)
            written = link.ConnRM("R", 0);
        else
            written = link.ConnSM(s.transmitting[1] ? 1 : 0);
        m_secondMeterOwed = true;
    } else if (m_secondMeterOwed) {
        // Back in receive: the second meter is asked once more, so that it
        // falls from its last transmit reading to what the radio shows now.
        written = link.ConnRM("R", 0);
        m_secondMeterOwed = false;
    } else if (second && (s.subReceiver || s.satelliteMode)) {
        // The sub bar: the sub receiver's, or in satellite mode the second
        // VFO's.
        written = link.ConnSM(1);
    } else {
        written = link.ConnSM(0);
    }
    ++m_sent;
    // A write that failed on a device gone ends the polls with the link.
    if (!written)
        m_link.DisconnectIfDeviceGone();
}

} // namespace zephyra
