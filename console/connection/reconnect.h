// SPDX-License-Identifier: GPL-3.0-or-later
// reconnect.h - finding a lost radio again.
//
// When the watchdog hears nothing more or the serial device vanishes, the
// Reconnector tries Control > ON again by itself, with its whole initial
// read: after 1 s, 2 s, 5 s and then every 5 s, for as long as the radio
// stays away. A try is only made when the device is there (the same path,
// or the /dev/serial/by-id name that led to it when it was opened, for an
// adapter that comes back as another ttyUSBn); a silent radio is asked
// again at the same pace. No try is made while an operation or a modal
// question is open (the time of the try is kept until it closes); the
// operator's Control > OFF or switching the setting off ends the trying.
//
// The setting lives in the profile: "Setting"/"Reconnect", 1 (default) or 0.
//
// Threading: UI thread only.
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class QTimer;

namespace zephyra {

class ConsoleLink;
enum class RadioLoss;

class Reconnector : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit Reconnector(ConsoleLink& link, QObject* parent = nullptr);
    ~Reconnector() override;

    // The pause before try `attempt` (0 for the first): 1 s, 2 s, 5 s, 5 s ...
    static std::chrono::milliseconds Delay(int attempt);

    // The profile setting.
    static bool EnabledInProfile();
    static void WriteEnabledToProfile(bool on);
    // Switching off ends a running search; the setting is not written here.
    void SetEnabled(bool on);
    bool Enabled() const { return m_enabled; }

    // The time source (tests step it by hand); steady_clock by default.
    void SetClock(Clock clock);
    // True while no try may be made (an operation or a modal question is
    // open). The console's guard is always asked as well.
    void SetBlocked(std::function<bool()> blocked) { m_blocked = std::move(blocked); }
    // Where adapters keep their lasting names; /dev/serial/by-id by default.
    void SetByIdDirectory(const QString& directory) { m_byIdDirectory = directory; }

    // The operator chose Control > OFF: no more tries.
    void Stop();
    // True while the radio is away and tries are made.
    bool Trying() const { return m_trying; }
    // Tries made since the radio went away.
    int Attempts() const { return m_attempts; }
    // The by-id name of the device opened last, if it had one.
    QString ByIdName() const { return m_byIdName; }

    // Makes a try when its time has come; the timer calls it, tests may too.
    void Tick();

signals:
    void tryingChanged(bool trying);
    // Connected again and ready, after the whole initial read.
    void reconnected(const QString& device);

private:
    void OnLoss(RadioLoss loss);
    void OnConnectionChanged(bool connected);
    void Begin();
    void End();
    bool TryOnce();
    void TellWhyNotBack(const QString& device);
    std::chrono::steady_clock::time_point Now() const;
    QString FindByIdName(const QString& device) const;

    ConsoleLink& m_link;
    Clock m_clock;
    std::function<bool()> m_blocked;
    QString m_byIdDirectory = QStringLiteral("/dev/serial/by-id");
    QString m_byIdName;
    QString m_lostDevice;
    std::unique_ptr<QTimer> m_timer;
    std::chrono::steady_clock::time_point m_next{};
    int m_attempts = 0;
    bool m_enabled = true;
    bool m_trying = false;
    bool m_inTry = false;
};

} // namespace zephyra
