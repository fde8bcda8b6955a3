// SPDX-License-Identifier: GPL-3.0-or-later
#include "eq_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace tonwell {

void CEqWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
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
    platform::SecondaryWindow::keyPressEvent(event);
}

void CEqWindow::closeEvent(QCloseEvent* event) {
    // The close box hides the window; the object and its design stay.
    CloseWindow();
    event->accept();
}

} // namespace tonwell
