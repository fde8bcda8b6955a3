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
// - the speak key (F2): frequency, mode and meter of the main band, and of
//   the sub band while it shows a frequency, become the description of the
//   control that has the focus, which a screen reader speaks at once.
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

class ConsoleDialog;
class QTimer;
class QWidget;

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
    // The speak key: the summary becomes the description of the control
    // with the focus (the console when none has it) until the focus moves.
    void Speak();

    // The reading of one band's parts (0 main, 1 sub).
    QString Frequency(int band) const;
    QString Mode(int band) const;
    QString MeterReading(int band) const;

protected:
    // Names the controls of every other window of the program as it shows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Watched;
    void NameControls();
    void SetTabOrder();
    void WatchChanges();
    void Follow(int target, const std::vector<int>& sources, std::function<QString()> read);
    void Schedule(Watched& watched);
    void Announce(Watched& watched);
    void OnFocusChanged(QWidget* old, QWidget* now);
    QString Text(int id) const;

    ConsoleDialog& m_console;
    std::vector<std::unique_ptr<Watched>> m_watches;
    // The control that carries the spoken summary, and its own description.
    QPointer<QWidget> m_spokenOn;
    QString m_savedDescription;
};
