// SPDX-License-Identifier: GPL-3.0-or-later
// console_accessibility.cpp - the console's accessibility put together, and
// what a reader is told of words and captions showing and going dark.
#include "accessibility_private.h"
#include "console_dialog.h"
#include "window_names.h"

#include <QApplication>
#include <QEvent>
#include <QShortcut>

using accessible::CanReadAsHidden;
using accessible::kLitProperty;
using accessible::ReadsAsShowing;

namespace accessible {

bool ReadsAsShowing(QWidget* widget) {
    if (!widget->isVisible())
        return false;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface && !iface->state().invisible;
}

bool CanReadAsHidden(const QObject* widget) {
    return widget->property(kDarkProperty).toBool() || widget->property(kHiddenProperty).toBool() ||
           widget->property("accessibleHiddenWhileEmpty").toBool();
}

} // namespace accessible

ConsoleAccessibility::ConsoleAccessibility(ConsoleDialog& console) : QObject(&console), m_console(console) {
    setObjectName(QStringLiteral("consoleAccessibility"));
    NameControls();
    SetTabOrder();
    m_summary = new accessible::SpokenSummary(&console);
    m_announcer = new accessible::Announcer();
    WatchChanges();
    auto* speak = new QShortcut(QKeySequence(kSpeakKey), &console);
    speak->setContext(Qt::WindowShortcut);
    connect(speak, &QShortcut::activated, this, &ConsoleAccessibility::Speak);
    qApp->installEventFilter(this);
}

bool ConsoleAccessibility::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        // The toolkit tells a reader "showing" as each widget shows, and
        // after this event: a word that is dark, or a label another reading
        // stands for, is then told it is not, once that has gone out.
        const bool hideable = CanReadAsHidden(widget);
        if (hideable || widget->property(kLitProperty).isValid())
            widget->setProperty(kLitProperty, event->type() == QEvent::Show);
        if (event->type() == QEvent::Show && hideable)
            QMetaObject::invokeMethod(
                this,
                [this, widget = QPointer<QWidget>(widget)] {
                    if (widget)
                        TellShowing(widget);
                },
                Qt::QueuedConnection);
    }
    if (event->type() == QEvent::Show && watched->isWidgetType() && watched != &m_console) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow()) {
            accessible::NameByCaptions(widget);
            // Captions the naming leaves out showed before it.
            QMetaObject::invokeMethod(
                this,
                [this, window = QPointer<QWidget>(widget)] {
                    if (!window)
                        return;
                    for (QWidget* child : window->findChildren<QWidget*>())
                        if (CanReadAsHidden(child))
                            TellShowing(child);
                },
                Qt::QueuedConnection);
        }
    }
    return false;
}

ConsoleAccessibility::~ConsoleAccessibility() { delete m_announcer; }

void ConsoleAccessibility::TellShowing(QWidget* widget) {
    const bool now = ReadsAsShowing(widget);
    // Never told by us: the toolkit told "showing" as it showed.
    const QVariant told = widget->property(kLitProperty);
    if ((told.isValid() ? told.toBool() : widget->isVisible()) == now)
        return;
    widget->setProperty(kLitProperty, now);
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, now ? QAccessible::ObjectShow : QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&event);
}

void ConsoleAccessibility::WatchLighting(QWidget* word, const std::vector<CStaticEx*>& sources) {
    // A reader keeps what it was told of "showing": each word that lights
    // or goes dark says so as it happens.
    if (word == nullptr)
        return;
    word->setProperty(kLitProperty, ReadsAsShowing(word));
    for (CStaticEx* source : sources)
        if (source != nullptr)
            connect(source, &CStaticEx::textChanged, this, [this, word = QPointer<QWidget>(word)] {
                if (word)
                    TellShowing(word);
            });
}
