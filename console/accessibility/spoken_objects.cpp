// SPDX-License-Identifier: GPL-3.0-or-later
// spoken_objects.cpp - the speak key's summary object and the notification
// windows with their announcer: what a reader speaks wherever the focus is.
#include "accessibility_private.h"
#include "console_dialog.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

namespace accessible {

SpokenSummary::SpokenSummary(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("spokenSummary"));
    // Reached by the speak key only, never by Tab or the mouse.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(0, 0, 1, 1);
    // Out of the window's reading until the speak key opens it: a
    // reader must never take an old summary for the display.
    hide();
}

void SpokenSummary::Open(const QString& summary, QWidget* back) {
    if (back != this)
        m_back = back;
    setAccessibleName(summary);
    setAccessibleDescription(QStringLiteral("F2 reads frequency, mode and meter; Esc goes back"));
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

// Once the focus leaves, the summary says nothing and does not show.
void SpokenSummary::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
        // The window comes back to the control the operator left.
        if (m_back && m_back->isVisible() && m_back->isEnabled())
            m_back->setFocus(Qt::OtherFocusReason);
    }
    setAccessibleName(QString());
    setAccessibleDescription(QString());
    hide();
}

bool SpokenSummary::event(QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::event(event);
    auto* key = static_cast<QKeyEvent*>(event);
    QWidget* back = m_back && m_back->isVisible() && m_back->isEnabled() ? m_back.data() : nullptr;
    if (back)
        back->setFocus(Qt::OtherFocusReason);
    else
        clearFocus();
    switch (key->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Only back to where the operator was.
        return true;
    default:
        // Any other key goes where it would have gone.
        if (back) {
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                           key->count());
            QCoreApplication::sendEvent(back, &copy);
            return true;
        }
        key->ignore();
        return false;
    }
}

AnnouncementWindow::AnnouncementWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("announcement"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(-100, -100, 1, 1);
    setAccessibleName(QStringLiteral("Announcements"));
    hide();
}

void AnnouncementWindow::Show(const QString& text) {
    setAccessibleName(text);
    // Shown again, it is spoken again. The toolkit tells nobody of a
    // tip window showing; this one says so itself.
    hide();
    show();
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

Announcer::Announcer() {
    for (auto& window : m_windows)
        window = std::make_unique<AnnouncementWindow>();
    m_flush.setSingleShot(true);
    m_flush.setInterval(0);
    QObject::connect(&m_flush, &QTimer::timeout, [this] { Flush(); });
}

void Announcer::Say(const QString& text) {
    if (text.isEmpty())
        return;
    m_pending.removeAll(text);
    m_pending << text;
    m_flush.start();
}

bool Announcer::Owns(const QObject* object) const {
    return std::any_of(m_windows.begin(), m_windows.end(),
                       [object](const auto& window) { return window.get() == object; });
}

void Announcer::Flush() {
    if (m_pending.isEmpty())
        return;
    m_latest = m_next;
    m_next = (m_next + 1) % m_windows.size();
    m_windows[m_latest]->Show(m_pending.join(QStringLiteral(", ")));
    m_pending.clear();
}

} // namespace accessible

void ConsoleAccessibility::Tell(QWidget* console, const QString& text) {
    if (console == nullptr)
        return;
    if (auto* self = console->findChild<ConsoleAccessibility*>(QStringLiteral("consoleAccessibility"),
                                                              Qt::FindDirectChildrenOnly))
        self->m_announcer->Say(text);
}

QWidget* ConsoleAccessibility::SummaryObject() const { return m_summary; }
QWidget* ConsoleAccessibility::AnnouncementObject() const { return m_announcer->Latest(); }
bool ConsoleAccessibility::IsAnnouncement(const QObject* object) const { return m_announcer->Owns(object); }

void ConsoleAccessibility::Speak() {
    QWidget* focus = QApplication::focusWidget();
    if (focus == m_summary) {
        // Asked again where it stands: the summary as a notification.
        m_summary->setAccessibleName(Summary());
        m_announcer->Say(Summary());
        return;
    }
    if (focus && focus->window() != &m_console)
        focus = nullptr;
    m_summary->Open(Summary(), focus);
}
