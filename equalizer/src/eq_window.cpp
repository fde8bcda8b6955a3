// SPDX-License-Identifier: GPL-3.0-or-later
#include "eq_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace tonwell {

namespace {
platform::SecondaryWindowDescription DescriptionOf(const WindowKind& kind) {
    return {QString::fromLatin1(kind.title), QString::fromLatin1(kind.profileKey), kind.helpContext,
            QSize(kind.width, kind.height)};
}
} // namespace

CEqWindow::CEqWindow(const WindowKind& kind, QWidget* parent)
    : platform::SecondaryWindow(DescriptionOf(kind), parent), m_kind(kind) {}

void CEqWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_F1:
        platform::ShowHelp(m_kind.helpContext);
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            event->accept();
            OnEnterKey();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (event->modifiers() == Qt::NoModifier) {
            event->accept();
            CloseWindow();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void CEqWindow::closeEvent(QCloseEvent* event) {
    // The close box hides the window; the object and its design stay.
    CloseWindow();
    event->accept();
}

} // namespace tonwell
