// SPDX-License-Identifier: GPL-3.0-or-later
// accessibility_private.h - what the console's accessibility files share:
// the properties a reading leaves on a widget, the speak key's summary, the
// notification windows and their announcer, a watched value.
#pragma once

#include "console_accessibility.h"

#include <QAccessible>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstddef>
#include <functional>
#include <memory>

namespace accessible {

// Labels that only make up a larger reading (the digits behind a frequency,
// the marks behind a VFO, the scale and name printed with a meter) or only
// caption a control that carries the name itself: a reader skips them.
inline constexpr char kHiddenProperty[] = "accessibleHidden";
// A composite reading covers these client coordinates.
inline constexpr char kSpanProperty[] = "accessibleSpan";
// A display word that reads "off" while it shows nothing is not showing.
inline constexpr char kDarkProperty[] = "accessibleDarkWhenOff";
// Whether a display word was lit when last told.
inline constexpr char kLitProperty[] = "accessibleLit";

// The toolkit's reading of the console's own objects: the front panel as a
// whole, plain windows as dialogs, drop-downs by their choice, the summary
// and the notifications.
QAccessibleInterface* PanelFactory(const QString& className, QObject* object);
QAccessibleInterface* SpokenFactory(const QString& className, QObject* object);

// Whether a reader is to take the widget as showing, and whether it was
// last told so (the toolkit tells "showing" whenever a widget shows, even
// one whose reading leaves it out of the window).
bool ReadsAsShowing(QWidget* widget);
bool CanReadAsHidden(const QObject* widget);

// The speak key's summary: a widget that paints nothing and takes no mouse,
// takes the focus on the speak key and reads the summary as its name. The
// next key gives the focus back to the control that had it.
class SpokenSummary final : public QWidget {
public:
    explicit SpokenSummary(QWidget* parent);
    void Open(const QString& summary, QWidget* back);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent*) override {}

private:
    QPointer<QWidget> m_back;
};

// What changes goes out through a notification object: a screen reader
// speaks a notification as it shows, wherever the focus is. A window of its
// own, off the screen, that never takes the focus: inside the console a
// reader would speak the whole console around it each time.
class AnnouncementWindow final : public QWidget {
public:
    AnnouncementWindow();
    void Show(const QString& text);

protected:
    void paintEvent(QPaintEvent*) override {}
};

// The texts of one turn of the event loop go out together. A reader reads
// a notification's text when it comes to the event, which may be after
// the next announcements: each goes out on the next of a few windows in
// turn, so none is renamed before a reader has read it.
class Announcer final {
public:
    Announcer();
    void Say(const QString& text);
    // The window of the latest announcement.
    QWidget* Latest() const { return m_windows[m_latest].get(); }
    bool Owns(const QObject* object) const;

private:
    void Flush();

    std::array<std::unique_ptr<AnnouncementWindow>, 8> m_windows;
    std::size_t m_next = 0;
    std::size_t m_latest = 0;
    QStringList m_pending;
    QTimer m_flush;
};

} // namespace accessible

struct ConsoleAccessibility::Watched {
    QPointer<QWidget> target;
    std::function<QString()> read;
    // What the notification says of the value.
    std::function<QString(const QString&)> say;
    QString last;
    // The last value that was no entry, and whether its announcement waits
    // for the radio's answer to an entry.
    QString settled;
    bool holding = false;
    accessible::AnnounceThrottle throttle{kAnnounceGap};
    QTimer timer;
};
