// SPDX-License-Identifier: GPL-3.0-or-later
// meter_poll.h - keeping the meters moving.
//
// The radio reports frequencies, modes and switches by itself but not its
// meters, so while the console is ready and nothing else uses the line the
// MeterPoll asks for them at a steady pace: SM0 for the main band, SM1 for
// the sub band while the sub receiver or satellite mode is on (every other
// poll, in turn with the main band), and while transmitting the power meter
// (SM of the transmitting band) in turn with the second meter (RM), which is
// asked once more when the transmission has ended. The answers go through
// the console's usual reply handling.
//
// No poll is sent inside the operation guard or a sequence of the
// connection, while the radio is off, in terminal mode, or while the pause
// check given by the console holds (a visual-scan sweep, a memory-table read
// or write). A poll is one short query sent between the operator's
// commands on the console's thread, so an operator's command never waits
// behind more than one of them.
//
// The pace is kept in the profile: "Setting"/"MeterPace", one of "off",
// "slow", "normal" (default), "fast".
//
// Threading: UI thread only.
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QTimer;

namespace zephyra {

class ConsoleLink;

enum class MeterPace { Off, Slow, Normal, Fast };

// The time between two polls; zero for Off.
std::chrono::milliseconds MeterPaceInterval(MeterPace pace);
// "off", "slow", "normal", "fast" and back; nullopt for any other text.
QString MeterPaceName(MeterPace pace);
std::optional<MeterPace> MeterPaceOfName(const QString& name);
// The profile's pace; a missing or unknown value reads as Normal.
MeterPace MeterPaceFromProfile();
void WriteMeterPaceToProfile(MeterPace pace);

class MeterPoll : public QObject {
    Q_OBJECT
public:
    explicit MeterPoll(ConsoleLink& link, QObject* parent = nullptr);
    ~MeterPoll() override;

    void SetPace(MeterPace pace);
    MeterPace Pace() const { return m_pace; }
    // Extra pauses the console knows of (sweep, memory table).
    void SetPauseCheck(std::function<bool()> paused) { m_paused = std::move(paused); }
    // True when no poll may go out now.
    bool Paused() const;
    // Sends the next poll unless paused; the timer calls it.
    void Tick();
    // Polls sent so far.
    long long PollsSent() const { return m_sent; }

private:
    ConsoleLink& m_link;
    std::unique_ptr<QTimer> m_timer;
    std::function<bool()> m_paused;
    MeterPace m_pace = MeterPace::Normal;
    long long m_sent = 0;
    unsigned m_turn = 0;
    // A transmission ended since the second meter was last asked.
    bool m_secondMeterOwed = false;
};

} // namespace zephyra
