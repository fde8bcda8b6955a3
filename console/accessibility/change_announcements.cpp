// SPDX-License-Identifier: GPL-3.0-or-later
// change_announcements.cpp - what a reader is told as the display changes:
// a band's frequency, memory channel and mode, transmit and receive, each at
// most a few times a second, an entry's end waiting for the radio's answer.
#include "accessibility_private.h"
#include "console_dialog.h"
#include "console_ids.h"

namespace {

// How long the display's return to the old value after an entry waits for
// the radio's new one before it is said after all (the entry was cleared,
// or the radio kept its frequency).
constexpr std::chrono::milliseconds kEntryAnswerWait{1000};

bool IsEntryReading(const QString& value) {
    return value.startsWith(QLatin1String("frequency entry")) || value.startsWith(QLatin1String("channel entry"));
}

} // namespace

void ConsoleAccessibility::WatchChanges() {
    std::vector<int> mainDigits, subDigits;
    for (int id = idc::MainDigit0; id <= idc::MainSep3; ++id)
        mainDigits.push_back(id);
    for (int id = idc::SubDigit0; id <= idc::SubSep3; ++id)
        subDigits.push_back(id);
    auto plain = [](const QString& value) { return value; };
    auto sub = [](const QString& value) { return value.isEmpty() ? value : QStringLiteral("Sub ") + value; };
    Follow(idc::MainDigit0, mainDigits, [this] { return Frequency(0); }, plain);
    // The right display is named by what it shows.
    Follow(idc::SubDigit0, subDigits, [this] { return Frequency(1); }, [this](const QString& value) {
        const QString name = SubDisplayName();
        if (value.isEmpty())
            return value;
        return name == QLatin1String("Sub frequency") ? QStringLiteral("Sub ") + value : name + QLatin1Char(' ') + value;
    });
    for (const int id : subDigits)
        if (CStaticEx* label = m_console.controls().label(id))
            connect(label, &CStaticEx::textChanged, this, [this] {
                if (QWidget* display = m_console.controls().widget(idc::SubDigit0);
                    display && display->accessibleName() != SubDisplayName())
                    display->setAccessibleName(SubDisplayName());
            });
    // The memory channel shown, typed or stepped to.
    for (int band = 0; band < 2; ++band) {
        const int ch0 = band == 1 ? idc::SubChDigit0 : idc::MainChDigit0;
        const int mch = band == 1 ? idc::SubMch : idc::MainMch;
        Follow(ch0, {ch0, ch0 + 1, ch0 + 2, mch}, [this, band] { return ChannelSaid(band); },
               [band](const QString& value) {
                   if (value.isEmpty() || band == 0)
                       return value;
                   return QStringLiteral("Sub ") + value;
               });
    }
    Follow(idc::MainMode, {idc::MainMode}, [this] { return Mode(0); }, plain);
    Follow(idc::SubMode, {idc::SubMode}, [this] { return Mode(1); }, sub);
    // Transmit and receive: the on-air words of both bands.
    auto onAir = [this](int id) {
        return Text(id).trimmed() == QLatin1String("ONAIR") ? QStringLiteral("transmitting")
                                                             : QStringLiteral("receiving");
    };
    Follow(idc::MainBusy, {idc::MainBusy}, [onAir] { return onAir(idc::MainBusy); }, plain);
    Follow(idc::SubBusy, {idc::SubBusy}, [onAir] { return onAir(idc::SubBusy); }, sub);
}

void ConsoleAccessibility::Follow(int target, const std::vector<int>& sources, std::function<QString()> read,
                                  std::function<QString(const QString&)> say) {
    auto watched = std::make_unique<Watched>();
    watched->target = m_console.controls().widget(target);
    watched->read = std::move(read);
    watched->say = std::move(say);
    watched->last = watched->read();
    watched->settled = watched->last;
    watched->timer.setSingleShot(true);
    Watched* w = watched.get();
    connect(&watched->timer, &QTimer::timeout, this, [this, w] { Announce(*w); });
    for (const int id : sources) {
        if (CStaticEx* label = m_console.controls().label(id))
            connect(label, &CStaticEx::textChanged, this, [this, w] { Schedule(*w); });
    }
    m_watches.push_back(std::move(watched));
}

void ConsoleAccessibility::Schedule(Watched& watched) {
    // Nothing listens without an assistive technology; a change waiting
    // already goes out with the latest value.
    if (!QAccessible::isActive())
        return;
    if (watched.timer.isActive()) {
        // Waiting for the radio's answer to an entry: only a new value
        // ends the wait.
        if (!watched.holding || watched.read() == watched.settled)
            return;
        watched.timer.stop();
    }
    // Even an immediate announcement waits for the event loop, so all the
    // labels of one display change before it is read.
    watched.timer.start(watched.throttle.WaitAt(accessible::AnnounceThrottle::Clock::now()));
}

void ConsoleAccessibility::Announce(Watched& watched) {
    if (!watched.target)
        return;
    const QString now = watched.read();
    if (now == watched.last) {
        watched.holding = false;
        return;
    }
    // Leaving an entry the display first shows the old value again, then
    // the radio's answer: the old one is not said unless no answer comes.
    if (IsEntryReading(watched.last) && now == watched.settled && !watched.holding) {
        watched.holding = true;
        watched.timer.start(kEntryAnswerWait);
        return;
    }
    watched.holding = false;
    if (!IsEntryReading(now))
        watched.settled = now;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(watched.target.data());
    if (!iface)
        return;
    const QString spoken = iface->text(QAccessible::Value);
    QAccessibleTextUpdateEvent event(watched.target.data(), 0, watched.last, spoken);
    watched.last = now;
    watched.throttle.Announced(accessible::AnnounceThrottle::Clock::now());
    QAccessible::updateAccessibility(&event);
    // A reader passes over text changes away from the focus: the
    // notification is what it speaks.
    m_announcer->Say(watched.say(now));
}
