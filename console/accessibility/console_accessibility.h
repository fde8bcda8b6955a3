// SPDX-License-Identifier: GPL-3.0-or-later
// console_accessibility.h - the console for an operator who cannot see it.
//
// A screen reader reads the console through the toolkit's accessibility
// interface. This topic gives it what the painting alone shows:
// - the display as values: each band's frequency as one value ("14.195.000
//   MHz") instead of eleven digit labels, its VFO, memory channel and mode,
//   every status word (its value "off" while dark), the meters' readings
//   (S-units or decibels over S9 on receive, watts on transmit), the lamps;
// - names for the level bars ("Main AF gain"), the step list, the group
//   frames and the buttons whose captions are only signs ("<<"), and each
//   control's group as its description;
// - the Tab order through the groups as they stand on the panel;
// - announcements: a change of a band's frequency or mode, or of transmit
//   and receive, raises a text-changed event, at most a few a second per
//   value, the last value always announced;
//   The same words go out through a notification object, which a screen
//   reader speaks wherever the focus is (a reader passes over text changes
//   of controls without the focus);
// - the speak key (F2): the focus moves to a summary object that reads the
//   frequency, mode and meter of the main band, and of the sub band while
//   it shows a frequency, and that a reader speaks as the focus lands on
//   it; Esc, Tab or any other key gives the focus back (the other keys then
//   go where they would have gone). F2 again says the summary anew.
// The secondary windows' unnamed controls take the captions beside them as
// names when the windows show. Nothing painted changes.
//
// Threading: UI thread only.
#pragma once

#include "accessible_readings.h"

#include <QObject>
#include <Qt>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CStaticEx;
class ConsoleDialog;
class QTimer;
class QWidget;

namespace accessible {
class Announcer;
class SpokenSummary;
} // namespace accessible

class ConsoleAccessibility : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kAnnounceGap{300};
    static constexpr int kSpeakKey = Qt::Key_F2;

    // The reading of the front panel as a whole (which labels stand for a
    // display of several); installed before the console builds its controls.
    static void InstallFactory();

    // Names, readings, Tab order, announcements and the speak key of
    // `console`, whose controls are built. A child of the console.
    explicit ConsoleAccessibility(ConsoleDialog& console);
    ~ConsoleAccessibility() override;

    // What the speak key says now.
    QString Summary() const;
    // The speak key: the focus moves to the summary object, which reads
    // the summary, and goes back with the next key.
    void Speak();
    // The summary object and the notification object.
    QWidget* SummaryObject() const;
    QWidget* AnnouncementObject() const;
    // Whether `object` is one of the notification objects (each announcement
    // goes out on the next of a few, so that none is renamed unread).
    bool IsAnnouncement(const QObject* object) const;

    // The reading of one band's parts (0 main, 1 sub).
    QString Frequency(int band) const;
    QString Mode(int band) const;
    QString MeterReading(int band) const;
    // What the right display shows: "Sub frequency", "RIT offset",
    // "Transmit frequency, VFO B", ...; and the offset it shows as a reading
    // ("minus 0.030 kHz").
    QString SubDisplayName() const;
    QString OffsetReading() const;
    // The memory channel a band shows ("010", "call", "channel entry 0 1"),
    // empty while it shows none; and as said ("memory channel 010").
    QString Channel(int band) const;
    QString ChannelSaid(int band) const;

    // Says `text` through the notification object of the console `console`
    // (a confirmation of the operator's action: "Stored in channel 010").
    static void Tell(QWidget* console, const QString& text);

protected:
    // Names the controls of every other window of the program as it shows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Watched;
    void NameControls();
    void SetTabOrder();
    // Tells a reader when `word` lights or goes dark as `sources` change.
    void WatchLighting(QWidget* word, const std::vector<CStaticEx*>& sources);
    // Tells a reader whether `widget` reads as showing, when that differs
    // from what it was last told.
    void TellShowing(QWidget* widget);
    void WatchChanges();
    void Follow(int target, const std::vector<int>& sources, std::function<QString()> read,
                std::function<QString(const QString&)> say);
    void Schedule(Watched& watched);
    void Announce(Watched& watched);
    QString Text(int id) const;

    ConsoleDialog& m_console;
    std::vector<std::unique_ptr<Watched>> m_watches;
    accessible::SpokenSummary* m_summary = nullptr;
    accessible::Announcer* m_announcer = nullptr;
};
